// MPRIS on Qt D-Bus: one object holding the two interface adaptors, a connection of its own to
// the session bus (so the controls can be set up and taken down again in one process), and the
// PropertiesChanged signals worked out from the difference between two published states.
#include "platform/desktop/media_controls.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/core/log.h"
#include "platform/core/qt_text_impl.h"

namespace plat {

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

QString StatusText(MediaStatus status) {
    switch (status) {
        case MediaStatus::kPlaying:
            return QStringLiteral("Playing");
        case MediaStatus::kPaused:
            return QStringLiteral("Paused");
        case MediaStatus::kStopped:
            break;
    }
    return QStringLiteral("Stopped");
}

QVariantMap MetadataOf(const MediaState& state) {
    QVariantMap metadata;
    if (state.track == 0) {
        return metadata;
    }
    metadata.insert(
        QStringLiteral("mpris:trackid"),
        QVariant::fromValue(QDBusObjectPath(QString::fromStdString(MediaTrackPath(state.track)))));
    metadata.insert(QStringLiteral("xesam:title"), ToQString(state.title));
    if (state.lengthUs > 0) {
        metadata.insert(QStringLiteral("mpris:length"), qlonglong(state.lengthUs));
    }
    if (!state.url.empty()) {
        metadata.insert(QStringLiteral("xesam:url"), ToQString(state.url));
    }
    return metadata;
}

// The session bus's address: the one in the environment, else the socket a user session's bus
// listens on; empty without either, and no connection is tried then, so the bus library never
// launches a bus of its own for the player. Read at every registration (the bus library keeps
// the first one it reads for the life of the process).
QString SessionBusAddress() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address != nullptr && address[0] != '\0') {
        return QString::fromUtf8(address);
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] != '/') {
        return {};
    }
    const std::string socket = std::string(runtime) + "/bus";
    struct stat info {};
    if (::stat(socket.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) {
        return {};
    }
    return QStringLiteral("unix:path=") + PathToQString(socket);
}

}  // namespace

std::string MediaTrackPath(std::uint64_t track) {
    if (track == 0) {
        return "/org/mpris/MediaPlayer2/TrackList/NoTrack";
    }
    return "/org/tunova/track/" + std::to_string(track);
}

std::int64_t ClampPositionUs(std::int64_t positionUs, std::int64_t lengthUs) {
    if (positionUs < 0) {
        return 0;
    }
    return positionUs > lengthUs ? std::max<std::int64_t>(lengthUs, 0) : positionUs;
}

double ClampVolume(double volume, double current) {
    if (std::isnan(volume)) {
        return std::isnan(current) ? 0.0 : std::clamp(current, 0.0, 1.0);
    }
    return std::clamp(volume, 0.0, 1.0);
}

// The object on the bus; its adaptors reach the program through it.
class MprisObject : public QObject {
  public:
    explicit MprisObject(MediaCommands& program) : commands(program) {}
    MediaCommands& commands;
    MediaState state;
};

class MprisRoot : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)

  public:
    explicit MprisRoot(MprisObject* object) : QDBusAbstractAdaptor(object), object_(object) {}
    bool CanQuit() const { return true; }
    bool CanRaise() const { return true; }
    bool HasTrackList() const { return false; }
    QString Identity() const { return QStringLiteral("Tunova"); }
    QString DesktopEntry() const { return QStringLiteral("tunova"); }
    QStringList SupportedUriSchemes() const { return {}; }
    QStringList SupportedMimeTypes() const { return {}; }

  public Q_SLOTS:
    void Raise() { object_->commands.Raise(); }
    void Quit() { object_->commands.Quit(); }

  private:
    MprisObject* object_;
};

class MprisPlayer : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate WRITE SetRate)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(bool CanGoNext READ CanGoNext)
    Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
    Q_PROPERTY(bool CanPlay READ CanPlay)
    Q_PROPERTY(bool CanPause READ CanPause)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)

  public:
    explicit MprisPlayer(MprisObject* object) : QDBusAbstractAdaptor(object), object_(object) {}
    QString PlaybackStatus() const { return StatusText(State().status); }
    double Rate() const { return 1.0; }
    void SetRate(double) {}  // one speed only
    QVariantMap Metadata() const { return MetadataOf(State()); }
    double Volume() const { return State().volume; }
    void SetVolume(double volume) {
        object_->commands.SetVolume(ClampVolume(volume, State().volume));
    }
    qlonglong Position() const {
        return ClampPositionUs(object_->commands.PositionUs(), State().lengthUs);
    }
    bool CanGoNext() const { return State().canGoNext; }
    bool CanGoPrevious() const { return State().canGoPrevious; }
    bool CanPlay() const { return State().canPlay; }
    bool CanPause() const { return State().canPause; }
    bool CanSeek() const { return State().track != 0 && State().lengthUs > 0; }
    bool CanControl() const { return true; }

  public Q_SLOTS:
    void Next() { object_->commands.Next(); }
    void Previous() { object_->commands.Previous(); }
    void Pause() { object_->commands.Pause(); }
    void PlayPause() { object_->commands.PlayPause(); }
    void Stop() { object_->commands.Stop(); }
    void Play() { object_->commands.Play(); }
    void Seek(qlonglong Offset) {
        if (!CanSeek()) {
            return;
        }
        const std::int64_t now = ClampPositionUs(object_->commands.PositionUs(), State().lengthUs);
        // Offsets are added without overflow: anything past either end is that end.
        const std::int64_t length = State().lengthUs;
        const std::int64_t target = Offset > 0 ? (Offset > length - now ? length : now + Offset)
                                               : (Offset < -now ? 0 : now + Offset);
        MoveTo(target);
    }
    void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
        // A position for another track is stale: the desktop asked before the video changed.
        if (!CanSeek() || TrackId.path() != QString::fromStdString(MediaTrackPath(State().track))) {
            return;
        }
        MoveTo(ClampPositionUs(Position, State().lengthUs));
    }
    void OpenUri(const QString&) {}  // the player opens no outside addresses

  Q_SIGNALS:
    void Seeked(qlonglong Position);

  private:
    const MediaState& State() const { return object_->state; }
    void MoveTo(std::int64_t positionUs) {
        object_->commands.SetPositionUs(positionUs);
        Q_EMIT Seeked(positionUs);
    }
    MprisObject* object_;
};

struct MediaControls::Impl {
    explicit Impl(MediaCommands& commands) : object(commands) {}
    MprisObject object;
    MprisRoot* root = nullptr;
    MprisPlayer* player = nullptr;
    QString connectionName;
    QString busName;
    bool registered = false;

    QDBusConnection Connection() const { return QDBusConnection(connectionName); }
    void SignalChanges(const MediaState& before, const MediaState& after);
};

void MediaControls::Impl::SignalChanges(const MediaState& before, const MediaState& after) {
    QVariantMap changed;
    auto note = [&](const char* name, bool differs, const QVariant& value) {
        if (differs) {
            changed.insert(QString::fromLatin1(name), value);
        }
    };
    note("PlaybackStatus", before.status != after.status, StatusText(after.status));
    note("Metadata",
         before.track != after.track || before.title != after.title ||
             before.lengthUs != after.lengthUs || before.url != after.url,
         MetadataOf(after));
    note("Volume", before.volume != after.volume, after.volume);
    note("CanPlay", before.canPlay != after.canPlay, after.canPlay);
    note("CanPause", before.canPause != after.canPause, after.canPause);
    note("CanGoNext", before.canGoNext != after.canGoNext, after.canGoNext);
    note("CanGoPrevious", before.canGoPrevious != after.canGoPrevious, after.canGoPrevious);
    const bool couldSeek = before.track != 0 && before.lengthUs > 0;
    const bool canSeek = after.track != 0 && after.lengthUs > 0;
    note("CanSeek", couldSeek != canSeek, canSeek);
    if (changed.isEmpty()) {
        return;
    }
    QDBusMessage signal =
        QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    Connection().send(signal);
}

MediaControls::MediaControls(MediaCommands& commands) : impl_(std::make_unique<Impl>(commands)) {
    impl_->root = new MprisRoot(&impl_->object);
    impl_->player = new MprisPlayer(&impl_->object);
}

MediaControls::~MediaControls() {
    if (!impl_->connectionName.isEmpty()) {
        QDBusConnection connection = impl_->Connection();
        if (impl_->registered) {
            connection.unregisterObject(kObjectPath);
            connection.unregisterService(impl_->busName);
        }
        QDBusConnection::disconnectFromBus(impl_->connectionName);
    }
}

bool MediaControls::Register(std::string_view name) {
    if (impl_->registered) {
        return true;
    }
    const QString address = SessionBusAddress();
    if (address.isEmpty()) {
        LogInfo("media", "no session bus: desktop media controls are off");
        return false;
    }
    // A connection of this object's own: set up and taken down with it.
    static std::atomic<int> connections{0};
    impl_->connectionName = QStringLiteral("tunova-media-controls-%1").arg(++connections);
    QDBusConnection connection = QDBusConnection::connectToBus(address, impl_->connectionName);
    if (!connection.isConnected()) {
        LogInfo("media", "no session bus (" + FromQString(connection.lastError().message()) +
                             "): desktop media controls are off");
        return false;
    }
    const QString wanted = kRootInterface + QLatin1Char('.') +
                           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    QString busName = wanted;
    if (!connection.registerService(busName)) {
        busName = wanted + QStringLiteral(".instance%1").arg(::getpid());
        if (!connection.registerService(busName)) {
            LogInfo("media", "the bus name " + FromQString(wanted) +
                                 " cannot be had: desktop media controls are off");
            return false;
        }
    }
    if (!connection.registerObject(kObjectPath, &impl_->object, QDBusConnection::ExportAdaptors)) {
        connection.unregisterService(busName);
        LogInfo("media",
                "the media player object cannot be registered: desktop media controls "
                "are off");
        return false;
    }
    impl_->busName = busName;
    impl_->registered = true;
    LogDebug("media", "desktop media controls on as " + FromQString(busName));
    return true;
}

bool MediaControls::IsRegistered() const {
    return impl_->registered;
}

std::string MediaControls::BusName() const {
    return FromQString(impl_->busName);
}

void MediaControls::Publish(const MediaState& state) {
    MediaState next = state;
    next.volume = ClampVolume(next.volume, 0.0);
    if (next == impl_->object.state) {
        return;
    }
    const MediaState before = impl_->object.state;
    impl_->object.state = next;
    if (impl_->registered) {
        impl_->SignalChanges(before, next);
    }
}

const MediaState& MediaControls::Published() const {
    return impl_->object.state;
}

}  // namespace plat

#include "media_controls.moc"
