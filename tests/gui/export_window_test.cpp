// The export window through its controller: the Export command, the window's
// fields before it shows, the output extension from the template's header,
// the log and progress of an export, opening the result, and the settings.
#include <QtTest>

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>

#include "export/Template.h"
#include "export_fixture.h"
#include "gui/export/ExportController.h"
#include "gui/export/Uexport.h"
#include "gui/export/Utemplate.h"

class ExportWindowTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<ExportHome> home;
    std::unique_ptr<TSession> session;
    std::unique_ptr<TFakeShell> shell;
    std::unique_ptr<TScriptedPrompts> prompts;
    std::unique_ptr<TExportController> controller;
    std::vector<std::string> opened;

    TFormExport& Form() { return controller->Form(); }
    template <typename T>
    T* Child(const char* name) {
        return Form().findChild<T*>(name);
    }
    QString Log() { return Child<QPlainTextEdit>("MemoLog")->toPlainText(); }
    QString Output() { return Child<QLineEdit>("EditOutput")->text(); }
    bool PerformEnabled() { return Child<QPushButton>("SpeedButtonPerform")->isEnabled(); }

    // Runs the Export command; `script` works the window while it is shown.
    void RunExportCommand(const std::function<void()>& script) {
        bool shown = false;
        Form().RunModal = [&](QDialog& dialog) {
            if (&dialog == &Form()) {
                shown = true;
                script();
            }
            return 0;
        };
        shell->Action(TCommandId::FileExport)->trigger();
        QVERIFY(shown);
    }

    std::string Template(const std::string& name, const std::string& text) {
        return home->Dir().File(name, text);
    }

  private slots:
    void init() {
        home = std::make_unique<ExportHome>();
        session = std::make_unique<TSession>();
        FillSession(*session);
        shell = std::make_unique<TFakeShell>();
        prompts = std::make_unique<TScriptedPrompts>();
        controller = std::make_unique<TExportController>(*session, *shell, *prompts);
        opened.clear();
        Form().OpenFile = [this](const std::string& path) { opened.push_back(path); };
    }
    void cleanup() {
        controller.reset();
        shell.reset();
    }

    void windowsAreNamedForTheLanguageFiles() {
        QCOMPARE(Form().objectName(), QString("FormExport"));
        QCOMPARE(Form().windowTitle(), QString("Export"));
        QCOMPARE(shell->registered.size(), size_t(2));
        for (const char* name :
             {"EditTemplate", "SpeedButtonLoad", "SpeedButtonEdit", "EditOutput", "SpeedButtonSave",
              "SpinEditLimit", "CheckBoxOpen", "MemoLog", "SpeedButtonPerform", "SpeedButtonClose"})
            QVERIFY2(Form().findChild<QWidget*>(name), name);
    }

    // The shipped HTML template by its settings name: found among the
    // shipped files, the output named .html, the whole view exported with
    // one log line per stage, then opened.
    void exportWithTheShippedTemplateLogsEachStageOnceAndOpensTheResult() {
        session->Settings.Output = "export.txt";
        RunExportCommand([&] {
            QCOMPARE(Child<QLineEdit>("EditTemplate")->text(), QString("export_html.tpt"));
            QCOMPARE(Output(), QString("export.html"));
            QCOMPARE(Child<QSpinBox>("SpinEditLimit")->maximum(), 3);
            QCOMPARE(Child<QSpinBox>("SpinEditLimit")->value(), 3);
            QVERIFY(PerformEnabled());
            QTest::mouseClick(Child<QPushButton>("SpeedButtonPerform"), Qt::LeftButton);
        });
        QCOMPARE(Log(),
                 QString("Building list\nInitializing list\nExporting list\nProcess terminated"));
        const std::string output = home->Dir() / "export.html";
        QCOMPARE(opened, std::vector<std::string>{output});
        const std::string page = home->Dir().Read("export.html");
        QVERIFY(page.find("Album 1") < page.find("Album 0"));  // ABBA before Queen
        QVERIFY(page.find("Album 0") < page.find("Album 2"));
        QCOMPARE(shell->busy, 0);
        QCOMPARE(shell->busyCalls, 2);
        QCOMPARE(Child<QProgressBar>("ProgressBar")->value(), 1);
        QCOMPARE(session->Settings.Output, std::string("export.html"));
    }

    void limitExportsTheFirstAlbumsAndTheBoxDecidesOpening() {
        session->Settings.Template =
            Template("list.tpt", "@#List|*.lst\n@foreach a (albums) {${a.artist};}");
        session->Settings.Open = false;
        RunExportCommand([&] {
            QCOMPARE(Output(), QString("export.lst"));
            QVERIFY(!Child<QCheckBox>("CheckBoxOpen")->isChecked());
            Child<QSpinBox>("SpinEditLimit")->setValue(2);
            Child<QPushButton>("SpeedButtonPerform")->click();
        });
        QCOMPARE(home->Dir().Read("export.lst"), std::string("ABBA;Queen;"));
        QVERIFY(opened.empty());
        QCOMPARE(session->Settings.Open, false);
    }

    void templateWithErrorsShowsTheProblemAndLeavesNoOutput() {
        session->Settings.Template = Template("bad.tpt", "@# Page|*.html\n\n@set(i,j)");
        home->Dir().File("export.html", "an earlier export");
        RunExportCommand([&] { Child<QPushButton>("SpeedButtonPerform")->click(); });
        QVERIFY2(Log().contains("Line 3: unknown variable \"j\""), qPrintable(Log()));
        QVERIFY(Log().endsWith("Process terminated"));
        QVERIFY(!QFile::exists(QString::fromStdString(home->Dir() / "export.html")));
        QVERIFY(opened.empty());
    }

    void missingTemplateIsForgottenAndNothingCanBeExported() {
        session->Settings.Template = home->Dir() / "gone.tpt";
        RunExportCommand([&] {
            QCOMPARE(Child<QLineEdit>("EditTemplate")->text(), QString());
            QVERIFY(!PerformEnabled());
            QVERIFY(Child<QPushButton>("SpeedButtonEdit")->isEnabled());
        });
    }

    void emptyViewListCannotBeExported() {
        session->Catalogue.View.Clear();
        RunExportCommand([&] {
            QCOMPARE(Child<QSpinBox>("SpinEditLimit")->value(), 1);
            QVERIFY(!PerformEnabled());
        });
    }

    // Choosing a template and editing its header both change the output's
    // extension; the file dialogs get the template filter.
    void chosenAndEditedTemplatesSetTheOutputExtension() {
        const std::string text = Template("plain.tpt", "no header\n");
        prompts->fileNames = {QString::fromStdString(text)};
        RunExportCommand([&] {
            Child<QPushButton>("SpeedButtonLoad")->click();
            QCOMPARE(Child<QLineEdit>("EditTemplate")->text(), QString::fromStdString(text));
            QCOMPARE(Output(), QString("export.txt"));

            QString shownText;
            Form().RunModal = [&](QDialog& dialog) {
                auto& editor = dynamic_cast<TFormTemplate&>(dialog);
                shownText = editor.Text();
                editor.findChild<QPlainTextEdit*>("MemoTemplate")->setPlainText("@# Data|*.xml\n");
                editor.findChild<QPushButton*>("SpeedButtonApply")->click();
                return 1;
            };
            Child<QPushButton>("SpeedButtonEdit")->click();
            QCOMPARE(shownText, QString("no header\n"));
            QCOMPARE(Output(), QString("export.xml"));
        });
        QCOMPARE(prompts->dialogFilters, QStringList{"Template file (*.tpt)"});
        QCOMPARE(home->Dir().Read("plain.tpt"), std::string("@# Data|*.xml\n"));
        QCOMPARE(session->Settings.Template, text);
    }

    // Editing without a template starts an unnamed one that Apply names.
    void editingWithoutTemplateStartsANewOne() {
        session->Settings.Template = "";
        prompts->fileNames = {QString::fromStdString(home->Dir() / "new.tpt")};
        RunExportCommand([&] {
            bool unnamed = false;
            Form().RunModal = [&](QDialog& dialog) {
                auto& editor = dynamic_cast<TFormTemplate&>(dialog);
                unnamed = editor.Path().empty();
                editor.findChild<QPushButton*>("SpeedButtonNew")->click();
                editor.findChild<QPushButton*>("SpeedButtonApply")->click();
                return 1;
            };
            Child<QPushButton>("SpeedButtonEdit")->click();
            QVERIFY(unnamed);
            QCOMPARE(Child<QLineEdit>("EditTemplate")->text(),
                     QString::fromStdString(home->Dir() / "new.tpt"));
            QCOMPARE(Output(), QString("export.txt"));
            QVERIFY(PerformEnabled());
        });
        QCOMPARE(home->Dir().Read("new.tpt"), std::string(kDefaultTemplate));
    }

    void outputThatIsTheTemplateIsRefused() {
        const std::string tpl = Template("self.tpt", "@# Self|*.tpt\nkeep me");
        session->Settings.Template = tpl;
        session->Settings.Output = tpl;
        RunExportCommand([&] {
            QCOMPARE(Output().toStdString(), tpl);
            Child<QPushButton>("SpeedButtonPerform")->click();
        });
        QCOMPARE(home->Dir().Read("self.tpt"), std::string("@# Self|*.tpt\nkeep me"));
        QVERIFY(Log().contains("The output file is the template itself"));
        QVERIFY(opened.empty());
    }
};

QTEST_MAIN(ExportWindowTest)
#include "export_window_test.moc"
