// Single instance over a lock file (the "mutex") and a local socket (the activation request).
#include "app/SingleInstance.h"

#include "app/Trace.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {
// The request: "activate", a blank and the file's path percent-encoded (empty for none), a newline.
constexpr char kActivate[] = "activate ";
constexpr int kTimeoutMs = 1000;

QString LockFilePath(const QString& name) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QLatin1Char('/') + name + QStringLiteral(".lock");
}
} // namespace

CSingleInstance::CSingleInstance(const QString& name, QObject* parent)
    : QObject(parent), m_name(name) {
    connect(&m_server, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
}

CSingleInstance::~CSingleInstance() {
    m_server.close();
    if (m_lock)
        m_lock->unlock();
}

bool CSingleInstance::TryBecomeInstance(const QString& file) {
    m_lock = std::make_unique<QLockFile>(LockFilePath(m_name));
    m_lock->setStaleLockTime(0); // a lock left by a dead process is taken over at once
    if (!m_lock->tryLock(0)) {
        m_lock.reset();
        AskRunningInstanceToActivate(file);
        return false;
    }
    // Holding the lock, any socket of that name is a leftover of a crashed instance.
    QLocalServer::removeServer(m_name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(m_name))
        Trace(TRACE_ERROR, "single instance: cannot listen on '%s': %s", m_name,
              m_server.errorString());
    return true;
}

void CSingleInstance::AskRunningInstanceToActivate(const QString& file) {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kTimeoutMs))
        return;
    const QString path = file.isEmpty() ? file : QFileInfo(file).absoluteFilePath();
    socket.write(kActivate + path.toUtf8().toPercentEncoding() + '\n');
    socket.waitForBytesWritten(kTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kTimeoutMs);
}

void CSingleInstance::OnNewConnection() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine().chopped(1);
                if (!line.startsWith(kActivate))
                    continue;
                const QString file = QString::fromUtf8(
                    QByteArray::fromPercentEncoding(line.mid(int(sizeof kActivate) - 1)));
                // Handled from the event loop: opening the file runs events of its own, in which
                // the socket may already be gone.
                QMetaObject::invokeMethod(
                    this, [this, file] { Q_EMIT activationRequested(file); }, Qt::QueuedConnection);
            }
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}
