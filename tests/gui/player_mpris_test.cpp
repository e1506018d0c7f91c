// The desktop's media controls: the MPRIS2 service on a private session bus
// started by the test, driven through D-Bus as a desktop panel would.
#include <QtTest>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QProcess>
#include <QSlider>
#include <QToolButton>
#include <QStandardPaths>

#include "collection/Um3u_obj.h"
#include "core/Settings.h"
#include "gui/player/Mpris.h"
#include "gui/player/PlayerAlbumSource.h"
#include "gui/player/PlayerController.h"
#include "gui/player/PlayerPanel.h"
#include "player_rig.h"

class TSeekedProbe : public QObject {
    Q_OBJECT
  public:
    explicit TSeekedProbe(QList<qlonglong>& seen) : seen_(seen) {}
  public slots:
    void Seeked(qlonglong position) { seen_.append(position); }

  private:
    QList<qlonglong>& seen_;
};

namespace {
class TNoAlbums : public TPlayerAlbumSource {
  public:
    Tm3u* CurrentAlbum() override { return nullptr; }
    Tmp3* CurrentTrack() override { return nullptr; }
    std::vector<Tm3u*> ShownAlbums() override { return {}; }
    bool SelectAlbum(const std::string&, const std::string&, const std::string&, int32_t) override {
        return false;
    }
    void MarkListModified() override {}
};
}  // namespace

class PlayerMprisTest : public QObject {
    Q_OBJECT
  private:
    QProcess daemon;
    QString address;
    TNoAlbums albums;
    std::unique_ptr<TPlayerRig> rig;
    TPlayerController* player = nullptr;

    // Calls without blocking: the service answers from this very thread.
    QVariant Call(const QString& interface, const QString& method, const QVariantList& args = {}) {
        QDBusConnection client = QDBusConnection::connectToBus(address, "client");
        QDBusMessage message = QDBusMessage::createMethodCall(
            "org.mpris.MediaPlayer2.mavelo", "/org/mpris/MediaPlayer2", interface, method);
        message.setArguments(args);
        QDBusPendingCall pending = client.asyncCall(message);
        QDeadlineTimer deadline(20000);
        while (!pending.isFinished() && !deadline.hasExpired()) QTest::qWait(10);
        if (!pending.isFinished() || pending.isError()) {
            QTest::qFail(qPrintable(method + " failed: " + pending.error().message()), __FILE__,
                         __LINE__);
            return {};
        }
        const auto reply = pending.reply().arguments();
        return reply.isEmpty() ? QVariant() : reply.front();
    }
    QVariant Property(const QString& name) {
        const QVariant value =
            Call("org.freedesktop.DBus.Properties", "Get", {"org.mpris.MediaPlayer2.Player", name});
        return value.value<QDBusVariant>().variant();
    }
    void Player(const QString& method) { Call("org.mpris.MediaPlayer2.Player", method); }

  private slots:
    void initTestCase() {
        const QString program = QStandardPaths::findExecutable("dbus-daemon");
        if (program.isEmpty()) QSKIP("dbus-daemon is not installed");
        daemon.start(program, {"--session", "--nofork", "--print-address=1"});
        QVERIFY(daemon.waitForReadyRead(20000));
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        QVERIFY(!address.isEmpty());
        qputenv("SDL_AUDIODRIVER", "dummy");
    }
    void cleanupTestCase() {
        rig.reset();
        QDBusConnection::disconnectFromBus("service");
        QDBusConnection::disconnectFromBus("client");
        daemon.terminate();
        daemon.waitForFinished();
    }

    void withoutABusNothingIsRegistered() {
        TPlayerRig quiet(albums);
        TMprisService service(*quiet.player, quiet.shell.Window(),
                              QDBusConnection("no-such-connection"));
        QVERIFY(!service.Registered());
    }

    void panelControlsThePlayerAndSeesWhatPlays() {
        rig = std::make_unique<TPlayerRig>(albums);
        player = rig->player;
        TSettings settings;
        settings.OutputType = TSoundSystem::OutputTypeOf("dummy");
        (void)player->InitSound(settings);
        Tmp3 track(std::string(MAVELO_TEST_DATA) + "/player/tone.ogg");
        track.Title = "Sine";
        track.Artist = "Tester";
        QVERIFY(player->Queue().Add("", track, true, true));
        player->RefreshQueueGrid();
        auto* service = new TMprisService(*player, rig->shell.Window(),
                                          QDBusConnection::connectToBus(address, "service"));
        QVERIFY(service->Registered());
        QCOMPARE(service->ServiceName(), QString("org.mpris.MediaPlayer2.mavelo"));

        QCOMPARE(Property("PlaybackStatus").toString(), QString("Stopped"));
        Player("Play");
        QCOMPARE(player->Queue().Current, std::optional<size_t>(0));
        QCOMPARE(Property("PlaybackStatus").toString(), QString("Playing"));
        QVariantMap metadata;
        Property("Metadata").value<QDBusArgument>() >> metadata;
        QCOMPARE(metadata["xesam:title"].toString(), QString("Sine"));
        QCOMPARE(metadata["xesam:artist"].toStringList(), QStringList{"Tester"});
        QCOMPARE(metadata["mpris:length"].toLongLong(), 2000000LL);

        Player("PlayPause");
        QCOMPARE(Property("PlaybackStatus").toString(), QString("Paused"));
        Player("PlayPause");
        QCOMPARE(Property("PlaybackStatus").toString(), QString("Playing"));
        Player("Stop");
        QCOMPARE(player->Queue().Current, std::optional<size_t>());
        QCOMPARE(Property("PlaybackStatus").toString(), QString("Stopped"));
    }

    // A position meant for a song that no longer plays is ignored; one for the
    // playing song jumps there and is announced; the volume follows the panel.
    void positionsVolumeAndShuffleFromThePanel() {
        QVERIFY(player);
        QDBusConnection client = QDBusConnection::connectToBus(address, "client");
        QList<qlonglong> seeked;
        TSeekedProbe probe(seeked);
        QVERIFY(client.connect("", "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player",
                               "Seeked", &probe, SLOT(Seeked(qlonglong))));
        Player("Play");
        QVariantMap metadata;
        Property("Metadata").value<QDBusArgument>() >> metadata;
        const auto playing = metadata["mpris:trackid"].value<QDBusObjectPath>();
        QVERIFY(!playing.path().isEmpty());
        QCOMPARE(Property("CanSeek").toBool(), true);

        const QVariant stale = QVariant::fromValue(QDBusObjectPath("/org/mavelo/song/999999"));
        Call("org.mpris.MediaPlayer2.Player", "SetPosition", {stale, qlonglong(1500000)});
        QVERIFY(Property("Position").toLongLong() < 1000000);
        Call("org.mpris.MediaPlayer2.Player", "SetPosition",
             {QVariant::fromValue(playing), qlonglong(1500000)});
        QVERIFY(Property("Position").toLongLong() >= 1500000);
        QTRY_VERIFY(!seeked.isEmpty());
        QVERIFY(seeked.back() >= 1500000);
        // Past the end is the next song: here, the end of the queue.
        Call("org.mpris.MediaPlayer2.Player", "Seek", {qlonglong(60000000)});
        QCOMPARE(Property("PlaybackStatus").toString(), QString("Stopped"));

        Call("org.freedesktop.DBus.Properties", "Set",
             {"org.mpris.MediaPlayer2.Player", "Volume", QVariant::fromValue(QDBusVariant(0.5))});
        QCOMPARE(player->Panel()->VolumeSlider()->value(), 128);
        QCOMPARE(player->Queue().Volume, 128);
        Call("org.freedesktop.DBus.Properties", "Set",
             {"org.mpris.MediaPlayer2.Player", "Shuffle", QVariant::fromValue(QDBusVariant(true))});
        QVERIFY(player->Queue().Shuffle);
        QVERIFY(player->Panel()->ShuffleButton()->isChecked());
    }

    // Play with an empty queue and no album to offer stays stopped and says so.
    void playWithNothingToPlay() {
        QVERIFY(player);
        player->ClearCommand();
        rig->shell.status.clear();
        Player("Play");
        QCOMPARE(Property("PlaybackStatus").toString(), QString("Stopped"));
        QCOMPARE(rig->shell.status, QString("There is no album to play"));
        QVERIFY(rig->prompts.errors.isEmpty());
    }
};

QTEST_MAIN(PlayerMprisTest)
#include "player_mpris_test.moc"
