// The desktop's media controls: the MPRIS2 service on a private session bus
// started by the test, driven through D-Bus as a desktop panel would.
#include <QtTest>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QProcess>
#include <QStandardPaths>

#include "collection/Um3u_obj.h"
#include "core/Settings.h"
#include "gui/player/Mpris.h"
#include "gui/player/PlayerAlbumSource.h"
#include "gui/player/PlayerController.h"
#include "player_rig.h"

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
};

QTEST_MAIN(PlayerMprisTest)
#include "player_mpris_test.moc"
