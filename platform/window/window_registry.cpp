// Published top-level windows: one file per window in the runtime folder, named
// "<pid>-<key>" and holding the UTF-8 title, plus a local socket per process through which
// other processes send system commands ("<key> <command>\n", answered "1\n" or "0\n").
#include "platform/window/window_registry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSaveFile>
#include <QThread>
#include <cstdio>

#include "platform/core/codepage.h"
#include "platform/core/qt_text_impl.h"
#include "platform/core/runtime_dir_impl.h"
#include "platform/core/system.h"
#include "platform/window/remote_request_impl.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

namespace plat {
namespace {

constexpr qsizetype kMaxRequestBytes = 64;
constexpr qint64 kMaxTitleBytes = 4096;

ConnectionTaker g_connectionTaker = nullptr;
constexpr int kReplyWaitMs = 2000;

QString RegistryFolder() {
    const std::string dir = RuntimeDir();
    if (dir.empty()) {
        return {};
    }
    const QString folder = PathToQString(dir) + QStringLiteral("/tunova-windows");
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return folder;
}

QString EntryPath(const QString& folder, std::int64_t pid, std::uint64_t key) {
    return folder + QStringLiteral("/%1-%2").arg(pid).arg(key);
}

QString SocketPath(std::int64_t pid) {
    return PathToQString(CommandSocketPath(pid));
}

bool ProcessAlive(std::int64_t pid) {
    return QFile::exists(QStringLiteral("/proc/%1").arg(pid));
}

// Reads "<key> <command>" and posts the command to the window if it is published here.
bool DeliverRequest(const QByteArray& line) {
    unsigned long long key = 0;
    int command = 0;
    if (std::sscanf(line.constData(), "%llu %d", &key, &command) != 2) {
        return false;
    }
    Window* window = WindowImpl::FindLive(key);
    if (window == nullptr || !window->Impl()->published) {
        return false;
    }
    window->PostMessage(kWmSysCommand, static_cast<WParam>(command), 0);
    return true;
}

void ServeConnection(QLocalSocket* socket) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket] {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > kMaxRequestBytes) {
                socket->abort();  // not a request of ours
            }
            return;
        }
        QByteArray line = socket->readLine(kMaxRequestBytes);
        if (g_connectionTaker != nullptr && g_connectionTaker(socket, line)) {
            return;
        }
        const bool ok = DeliverRequest(line);
        socket->write(ok ? "1\n" : "0\n");
        socket->flush();
        socket->disconnectFromServer();
    });
}

// The command socket of this process, started by the first published window.
void EnsureCommandServer() {
    static QLocalServer* server = nullptr;
    if (server != nullptr || QCoreApplication::instance() == nullptr || RuntimeDir().empty()) {
        return;
    }
    server = new QLocalServer(QCoreApplication::instance());
    server->setSocketOptions(QLocalServer::UserAccessOption);
    const QString path = SocketPath(CurrentProcessId());
    QLocalServer::removeServer(path);
    if (!server->listen(path)) {
        return;  // windows stay listed; commands to them fail
    }
    QObject::connect(server, &QLocalServer::newConnection, server, [] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            ServeConnection(socket);
        }
    });
    QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [] { server = nullptr; });
}

}  // namespace

std::string CommandSocketPath(std::int64_t pid) {
    return RuntimeDir() + "/tunova-" + std::to_string(::getuid()) + "-" + std::to_string(pid);
}

void PublishTopLevelWindow(Window* window, std::string_view titleCp949) {
    if (titleCp949.empty()) {
        WithdrawTopLevelWindow(window);
        return;
    }
    const QString folder = RegistryFolder();
    if (folder.isEmpty()) {
        return;
    }
    EnsureCommandServer();
    QSaveFile file(EntryPath(folder, CurrentProcessId(), window->Impl()->key));
    const std::string utf8 = Cp949ToUtf8(titleCp949);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(utf8.data(), static_cast<qint64>(utf8.size())) ==
            static_cast<qint64>(utf8.size()) &&
        file.commit()) {
        window->Impl()->published = true;
    }
}

void WithdrawTopLevelWindow(Window* window) {
    if (!window->Impl()->published) {
        return;
    }
    window->Impl()->published = false;
    const QString folder = RegistryFolder();
    if (!folder.isEmpty()) {
        QFile::remove(EntryPath(folder, CurrentProcessId(), window->Impl()->key));
    }
}

std::vector<TopLevelWindow> EnumTopLevelWindows() {
    std::vector<TopLevelWindow> windows;
    const QString folder = RegistryFolder();
    if (folder.isEmpty()) {
        return windows;
    }
    const QStringList names = QDir(folder).entryList(QDir::Files);
    for (const QString& name : names) {
        const qsizetype dash = name.indexOf(QLatin1Char('-'));
        bool pidOk = false;
        bool keyOk = false;
        const std::int64_t pid = name.left(dash).toLongLong(&pidOk);
        const std::int64_t key = name.mid(dash + 1).toLongLong(&keyOk);
        if (dash <= 0 || !pidOk || !keyOk || pid <= 0) {
            continue;  // not an entry of ours
        }
        if (!ProcessAlive(pid)) {
            QFile::remove(folder + QLatin1Char('/') + name);  // left by a process that died
            continue;
        }
        QFile file(folder + QLatin1Char('/') + name);
        if (!file.open(QIODevice::ReadOnly)) {
            continue;  // withdrawn meanwhile
        }
        const QByteArray title = file.read(kMaxTitleBytes);
        windows.push_back({pid, key,
                           Utf8ToCp949(std::string_view(title.constData(),
                                                        static_cast<std::size_t>(title.size())))});
    }
    return windows;
}

bool SendSystemCommand(const TopLevelWindow& target, int command) {
    const bool uiThread = QCoreApplication::instance() != nullptr &&
                          QThread::currentThread() == QCoreApplication::instance()->thread();
    if (target.processId == CurrentProcessId() && uiThread) {
        // Our own window, from the thread that would have to answer the socket: post directly.
        Window* window = WindowImpl::FindLive(static_cast<std::uint64_t>(target.windowKey));
        if (window == nullptr || !window->Impl()->published) {
            return false;
        }
        window->PostMessage(kWmSysCommand, static_cast<WParam>(command), 0);
        return true;
    }
    QLocalSocket socket;
    socket.connectToServer(SocketPath(target.processId));
    if (!socket.waitForConnected(kReplyWaitMs)) {
        return false;
    }
    const QByteArray request = QByteArray::number(static_cast<qlonglong>(target.windowKey)) + ' ' +
                               QByteArray::number(command) + '\n';
    socket.write(request);
    if (!socket.waitForBytesWritten(kReplyWaitMs)) {
        return false;
    }
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(kReplyWaitMs)) {
            return false;
        }
    }
    return socket.readLine(kMaxRequestBytes).startsWith('1');
}

void SetConnectionTaker(ConnectionTaker taker) {
    g_connectionTaker = taker;
}

}  // namespace plat
