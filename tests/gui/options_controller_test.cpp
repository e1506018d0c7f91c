// The options window and what closing it does, without the main window: a
// session with a few albums, a stand-in shell, and prompts whose modal run
// plays the user's part in the window before it closes.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <functional>

#include "collection/Um3u_obj.h"
#include "core/IniFile.h"
#include "core/Ucommon.h"
#include "gui/common/Session.h"
#include "gui/options/OptionsController.h"
#include "gui/options/Uconfig.h"
#include "scripted_prompts.h"

namespace {
// The user's part: what is done in the window, and how it is closed.
class TOptionsPrompts : public TScriptedPrompts {
  public:
    std::function<void(TFormConfig&)> edit;
    bool closeButton = true;  // "Close"; false: the window's close box

    int RunModal(QDialog& dialog) override {
        modals << dialog.objectName();
        auto& form = static_cast<TFormConfig&>(dialog);
        form.show();
        if (edit) edit(form);
        if (closeButton)
            form.findChild<QPushButton*>("SpeedButtonOk")->click();
        else
            form.close();  // the close box
        return form.result();
    }
};

template <typename T>
T* Control(TFormConfig& form, const char* name) {
    T* control = form.findChild<T*>(name);
    if (!control) qFatal("no control %s", name);
    return control;
}

// Picks an item as the user does (activated is what a user's pick sends).
void Pick(TFormConfig& form, const char* name, int item) {
    auto* box = Control<QComboBox>(form, name);
    box->setCurrentIndex(item);
    emit box->activated(item);
}

void Click(TFormConfig& form, const char* name) {
    Control<QPushButton>(form, name)->click();
}

void AddAlbum(TSession& session, const std::string& path, int playCount, const std::string& last,
              const std::string& cover) {
    auto album = std::make_unique<Tm3u>(path);
    album->PlayCount = playCount;
    album->LastPlayed = last;
    album->CachedCover = cover;
    session.Catalogue.Albums().Add(path, std::move(album));
}
}  // namespace

class OptionsControllerTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<TSession> session_;
    std::unique_ptr<TFakeShell> shell_;
    std::unique_ptr<TOptionsPrompts> prompts_;
    std::unique_ptr<TOptionsController> controller_;
    QStringList calls_;            // the hooks called, in order
    std::vector<TSoundSetup> setups_;
    std::vector<int> devicesAskedFor;

    TSettings& Settings() { return session_->Settings; }
    TCatalogue& Catalogue() { return session_->Catalogue; }

    void Build() {
        TOptionsHooks hooks;
        hooks.outputTypes = [] { return std::vector<std::string>{"Default output", "pulse", "alsa"}; };
        hooks.driverNames = [this](int type) {
            devicesAskedFor.push_back(type);
            std::vector<std::string> names{"Default device"};
            for (int i = 1; i < type + 1; ++i) names.push_back("device " + std::to_string(i));
            return names;
        };
        hooks.showSpectrum = [this](bool on) { calls_ << (on ? "spectrum on" : "spectrum off"); };
        hooks.placeCover = [this] { calls_ << "cover " + QString::number(Settings().CoverPos); };
        hooks.reinitSound = [this](const TSoundSetup& setup) {
            calls_ << "sound";
            setups_.push_back(setup);
        };
        hooks.rebuildViews = [this] { calls_ << "rebuild"; };
        controller_ = std::make_unique<TOptionsController>(*session_, *shell_, *prompts_, hooks);
        connect(controller_.get(), &TOptionsController::cachedCoversDropped, this,
                [this] { calls_ << "covers dropped"; });
    }
    // The Options command; what happened since the last call.
    QStringList RunOptions() {
        calls_.clear();
        shell_->Trigger(TCommandId::EditOptions);
        return calls_;
    }
    QString SettingsText() {
        TIniFile ini;
        Settings().Write(ini);
        return QString::fromStdString(ini.ToText());
    }

  private slots:
    void init() {
        cleanup();  // cases of a table start afresh too
        session_ = std::make_unique<TSession>();
        shell_ = std::make_unique<TFakeShell>();
        prompts_ = std::make_unique<TOptionsPrompts>();
        calls_.clear();
        setups_.clear();
        devicesAskedFor.clear();
        AddAlbum(*session_, "/music/a/a.m3u", 4, "20240102030405", "cover-a");
        AddAlbum(*session_, "/music/b/b.m3u", 0, "", "cover-b");
        Settings().FreeDBLogin = "someone";
        Settings().FreeDBHostName = "somewhere";
        Build();
    }
    void cleanup() {
        controller_.reset();
        shell_.reset();
    }

    void opensOnGeneralWithTheFocusOnStayOnTop() {
        QStringList pages;
        prompts_->edit = [&](TFormConfig& form) {
            pages << QString::number(form.CurrentPage());
            QCOMPARE(form.focusWidget(), Control<QWidget>(form, "CheckBoxStayOnTop"));
            form.ShowPage(TFormConfig::InternetPage);
        };
        RunOptions();
        RunOptions();
        QCOMPARE(pages, QStringList({"0", "0"}));
        QCOMPARE(prompts_->modals, QStringList({"FormConfig", "FormConfig"}));
    }

    void closeWithoutEditsChangesNothing() {
        Settings().CacheCovers = false;  // caching already off: nothing left to drop
        Catalogue().Albums()[0].CachedCover.clear();
        Catalogue().Albums()[1].CachedCover.clear();
        Settings().SortString = "LastPlayed";
        const QString before = SettingsText();
        for (bool closeButton : {true, false}) {
            prompts_->closeButton = closeButton;
            const QStringList calls = RunOptions();
            QVERIFY2(!calls.contains("sound") && !calls.contains("rebuild"),
                     qPrintable(calls.join(",")));
            QVERIFY(!Catalogue().ListModified);
            QCOMPARE(SettingsText(), before);
            QCOMPARE(Catalogue().Albums()[0].PlayCount, 4);
        }
    }

    // The window's values are taken by "Close" only; "Clear list" and the
    // count edits count whichever way the window closes.
    void clearListThenTheCloseBoxStillClears() {
        const struct {
            const char* button;
            const char* sort;
            bool rebuilt;
        } cases[] = {{"SpeedButtonMOP", "MostPlayed", true},
                     {"SpeedButtonMOP", "LastPlayed", false},
                     {"SpeedButtonLPA", "LastPlayed", true},
                     {"SpeedButtonLPA", "AYG", false}};
        for (const auto& c : cases) {
            init();
            Settings().SortString = c.sort;
            prompts_->closeButton = false;
            prompts_->edit = [&](TFormConfig& form) {
                Control<QCheckBox>(form, "CheckBoxSpectrum")->setChecked(false);
                Click(form, c.button);
            };
            const QStringList calls = RunOptions();
            QVERIFY(Catalogue().ListModified);
            QCOMPARE(calls.contains("rebuild"), c.rebuilt);
            QVERIFY(Settings().ViewSpectrum);  // not taken
            const bool counts = std::string(c.button) == "SpeedButtonMOP";
            QCOMPARE(Catalogue().Albums()[0].PlayCount, counts ? 0 : 4);
            QCOMPARE(Catalogue().Albums()[0].LastPlayed.empty(), !counts);
        }
    }

    void aCountEditRebuildsOnlyTheChartShown() {
        const struct {
            const char* spin;
            const char* sort;
            bool closeButton;
            bool rebuilt;
        } cases[] = {{"SpinEditLPA", "AYG", true, false},
                     {"SpinEditLPA", "LastPlayed", true, true},
                     {"SpinEditLPA", "MostPlayed", true, false},
                     {"SpinEditMOP", "MostPlayed", true, true},
                     // The edit counts even when the close box drops the value.
                     {"SpinEditLPA", "LastPlayed", false, true}};
        for (const auto& c : cases) {
            init();
            Settings().SortString = c.sort;
            prompts_->closeButton = c.closeButton;
            prompts_->edit = [&](TFormConfig& form) {
                Control<QSpinBox>(form, c.spin)->setValue(40);
            };
            QCOMPARE(RunOptions().contains("rebuild"), c.rebuilt);
            const int count = std::string(c.spin) == "SpinEditLPA" ? Settings().LastPlayedCount
                                                                  : Settings().MostOftenPlayedCount;
            QCOMPARE(count, c.closeButton ? 40 : 25);
            QVERIFY(!Catalogue().ListModified);
        }
    }

    void cachingOffOrANewQualityDropsTheCachedCovers() {
        const struct {
            const char* what;
            std::function<void(TFormConfig&)> edit;
            bool dropped;
        } cases[] = {
            {"caching off",
             [](TFormConfig& f) { Control<QCheckBox>(f, "CheckBoxCacheCovers")->setChecked(false); },
             true},
            {"quality", [](TFormConfig& f) { Pick(f, "ComboBoxQuality", 2); }, true},
            {"database quality", [](TFormConfig& f) { Pick(f, "ComboBoxCdbQuality", 2); }, false},
            {"saving off",
             [](TFormConfig& f) {
                 Control<QCheckBox>(f, "CheckBoxSaveCachedCovers")->setChecked(false);
             },
             false},
        };
        for (const auto& c : cases) {
            init();
            prompts_->edit = c.edit;
            const QStringList calls = RunOptions();
            QCOMPARE(calls.contains("covers dropped"), c.dropped);
            QCOMPARE(Catalogue().ListModified, c.dropped);
            QCOMPARE(Catalogue().Albums()[0].CachedCover.empty(), c.dropped);
            QVERIFY2(!calls.contains("rebuild"), c.what);
        }
        QCOMPARE(Settings().SaveCachedCovers, false);
    }

    void cachingOnAgainMakesNoCoversAtOnce() {
        Settings().CacheCovers = false;
        Catalogue().Albums()[0].CachedCover.clear();
        Catalogue().Albums()[1].CachedCover.clear();
        prompts_->edit = [](TFormConfig& f) {
            Control<QCheckBox>(f, "CheckBoxCacheCovers")->setChecked(true);
        };
        const QStringList calls = RunOptions();
        QVERIFY(Settings().CacheCovers);
        QVERIFY(!calls.contains("covers dropped"));
        QVERIFY(Catalogue().Albums()[0].CachedCover.empty());
        QVERIFY(!Catalogue().ListModified);
    }

    void coversFromAudioFilesGoWhenTheyAreSwitchedOff() {
        Catalogue().Albums()[1].PictureState = TPictureState::Present;
        prompts_->edit = [](TFormConfig& f) {
            Control<QCheckBox>(f, "CheckBoxEmbeddedCovers")->setChecked(false);
        };
        QVERIFY(RunOptions().contains("covers dropped"));
        QVERIFY(!Settings().EmbeddedCovers);
        QVERIFY(Catalogue().Albums()[0].CachedCover.empty());   // from a track
        QCOMPARE(Catalogue().Albums()[1].CachedCover, std::string("cover-b"));  // its picture file
        QVERIFY(Catalogue().ListModified);
    }

    void aSoundChangeReinitialisesAndOtherChangesDoNot() {
        Settings().OutputType = 1;
        Settings().DriverIndex = -1;
        Settings().MixerType = 4;
        Settings().OutputRate = -1;
        const struct {
            const char* what;
            std::function<void(TFormConfig&)> edit;
            bool reinit;
        } cases[] = {
            {"mixer", [](TFormConfig& f) { Pick(f, "cbxMixerType", 6); }, true},
            {"rate", [](TFormConfig& f) { Pick(f, "cbxOutputRate", 0); }, true},
            {"device", [](TFormConfig& f) { Pick(f, "cbxOutputDevice", 0); }, false},  // as shown
            {"tree", [](TFormConfig& f) { Control<QCheckBox>(f, "CheckBoxTreeOne")->toggle(); },
             false},
            {"splash",
             [](TFormConfig& f) { Control<QCheckBox>(f, "CheckBoxShowSplash")->toggle(); }, false},
        };
        for (const auto& c : cases) {
            const int before = int(setups_.size());
            prompts_->edit = c.edit;
            RunOptions();
            QVERIFY2((int(setups_.size()) > before) == c.reinit, c.what);
        }
        QCOMPARE(setups_.size(), size_t(2));
        QCOMPARE(setups_[0].MixerType, 6);
        QCOMPARE(setups_[0].DriverIndex, 0);  // none stored: the default device
        QCOMPARE(Settings().OutputRate, 48000);
        QCOMPARE(Settings().DriverIndex, 0);  // taken with the other sound values
    }

    void anotherOutputTypeRefillsTheDevicesAtOnce() {
        Settings().OutputType = 1;
        QStringList devices;
        prompts_->closeButton = false;
        prompts_->edit = [&](TFormConfig& form) {
            Pick(form, "cbxOutputType", 2);
            auto* box = Control<QComboBox>(form, "cbxOutputDevice");
            for (int i = 0; i < box->count(); ++i) devices << box->itemText(i);
        };
        const QStringList calls = RunOptions();
        QCOMPARE(devicesAskedFor, std::vector<int>({1, 3}));
        QCOMPARE(devices, QStringList({"Default device", "device 1", "device 2", "device 3"}));
        QVERIFY(!calls.contains("sound"));  // the close box takes nothing
        QCOMPARE(Settings().OutputType, 1);

        prompts_->closeButton = true;
        prompts_->edit = [](TFormConfig& form) {
            Pick(form, "cbxOutputType", 2);
            Pick(form, "cbxOutputDevice", 3);
        };
        RunOptions();
        QCOMPARE(Settings().OutputType, 3);
        QCOMPARE(Settings().DriverIndex, 3);
        QCOMPARE(setups_.back().OutputType, 3);
        QCOMPARE(setups_.back().DriverIndex, 3);
    }

    // Stored values without an item show none and stay unless one is picked.
    void storedValuesOutsideTheListsStay() {
        Settings().CoverPos = 5;
        Settings().OutputRate = 11025;
        Settings().DriverIndex = 9;
        Settings().CacheCoversQuality = 1;
        Settings().FreeDBTagging = 7;
        prompts_->edit = [](TFormConfig& form) {
            QCOMPARE(Control<QComboBox>(form, "ComboBoxCoverPos")->currentIndex(), -1);
            QCOMPARE(Control<QComboBox>(form, "cbxOutputRate")->currentIndex(), -1);
            QCOMPARE(Control<QComboBox>(form, "cbxOutputDevice")->currentIndex(), -1);
            QCOMPARE(Control<QComboBox>(form, "ComboBoxTag")->currentIndex(), -1);
            QCOMPARE(Control<QComboBox>(form, "ComboBoxQuality")->currentIndex(), 1);
        };
        const QStringList calls = RunOptions();
        QCOMPARE(Settings().CoverPos, 5);
        QCOMPARE(Settings().OutputRate, 11025);
        QCOMPARE(Settings().DriverIndex, 9);
        QCOMPARE(Settings().FreeDBTagging, 7);
        QVERIFY(!calls.contains("sound"));
        QVERIFY(!calls.join(",").contains("cover "));  // the picture stays where it was

        prompts_->edit = [](TFormConfig& form) { Pick(form, "ComboBoxCoverPos", 2); };
        QVERIFY(RunOptions().contains("cover 2"));
    }

    void emptyLoginAndHostBecomeTheSystemNames() {
        prompts_->edit = [](TFormConfig& form) {
            Control<QLineEdit>(form, "EditFreeDBLogin")->clear();
            Control<QLineEdit>(form, "EditFreeDBHostName")->clear();
        };
        RunOptions();
        QCOMPARE(Settings().FreeDBLogin, GetLoginName());
        QCOMPARE(Settings().FreeDBHostName, GetHostNameOrDefault());
        QVERIFY(!Settings().FreeDBLogin.empty());
        QVERIFY(!Settings().FreeDBHostName.empty());
    }

    // Everything edited at once: the steps run in their order, and every
    // field reaches its setting.
    void theAfterCloseStepsRunInOrder() {
        Settings().SortString = "MostPlayed";
        prompts_->edit = [](TFormConfig& form) {
            Control<QCheckBox>(form, "CheckBoxStayOnTop")->setChecked(true);
            Control<QCheckBox>(form, "CheckBoxSpectrum")->setChecked(false);
            Pick(form, "ComboBoxCoverPos", 1);
            Pick(form, "cbxMixerType", 1);
            Pick(form, "ComboBoxQuality", 1);
            Click(form, "SpeedButtonMOP");
            Control<QLineEdit>(form, "EditListFileName")->setText("%album");
            Control<QLineEdit>(form, "EditFreeDB")->setText("http://127.0.0.1:1/cddb");
            Control<QCheckBox>(form, "CheckBoxWatchFolders")->setChecked(false);
            Control<QCheckBox>(form, "CheckBoxFreeDBRenameDir")->setChecked(true);
            Pick(form, "ComboBoxTag", 2);
        };
        const QStringList calls = RunOptions();
        QCOMPARE(calls, QStringList({"spectrum off", "cover 1", "sound", "covers dropped",
                                     "rebuild"}));
        QVERIFY(shell_->Window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(Settings().ListFormat, std::string("%album"));
        QCOMPARE(Settings().FreeDB, std::string("http://127.0.0.1:1/cddb"));
        QVERIFY(!Settings().WatchFolders);
        QVERIFY(Settings().FreeDBRenameDir);
        QCOMPARE(Settings().FreeDBTagging, 2);
        QCOMPARE(Settings().CacheCoversQuality, 1);
        QVERIFY(Catalogue().ListModified);

        prompts_->edit = [](TFormConfig& form) {
            Control<QCheckBox>(form, "CheckBoxStayOnTop")->setChecked(false);
        };
        RunOptions();
        QVERIFY(!shell_->Window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }
};

QTEST_MAIN(OptionsControllerTest)
#include "options_controller_test.moc"
