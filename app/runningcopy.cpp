#include "runningcopy.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace ruvo {

namespace {

constexpr QByteArrayView kRequest = "front\n";
constexpr QByteArrayView kAnswer = "done\n";
// A Unix socket's path holds at most 107 bytes.
constexpr qsizetype kLongestSocketPath = 107;

} // namespace

QString RunningCopy::serverName(const QString &folder)
{
    const QString beside = QDir(folder).absoluteFilePath(QStringLiteral(".ruvo.socket"));
    if (QFile::encodeName(beside).size() <= kLongestSocketPath)
        return beside;
    const QByteArray hash = QCryptographicHash::hash(QFile::encodeName(QDir(folder).absolutePath()),
                                                     QCryptographicHash::Sha1);
    return u"ruvo-" + QString::fromLatin1(hash.toHex());
}

bool RunningCopy::bringToFront(const QString &folder, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName(folder));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kRequest.data(), kRequest.size());
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (socket.bytesAvailable() < kAnswer.size()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readAll().startsWith(kAnswer);
}

RunningCopy::RunningCopy(const QString &folder, QWidget *window)
    : m_server(new QLocalServer(this)), m_window(window)
{
    // A socket left by a copy that crashed is stale: this copy holds the folder's lock now.
    const QString name = serverName(folder);
    QLocalServer::removeServer(name);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name))
        qWarning("Ruvo: a second start cannot reach this one: %s",
                 qPrintable(m_server->errorString()));
    connect(m_server, &QLocalServer::newConnection, this, &RunningCopy::answer);
}

RunningCopy::~RunningCopy()
{
    m_server->close(); // removes the socket file
}

void RunningCopy::answer()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() < kRequest.size() ||
                !socket->readAll().startsWith(kRequest))
                return;
            m_window->show();
            m_window->setWindowState((m_window->windowState() & ~Qt::WindowMinimized) |
                                     Qt::WindowActive);
            m_window->raise();
            m_window->activateWindow();
            socket->write(kAnswer.data(), kAnswer.size());
            socket->flush();
            emit broughtToFront();
        });
    }
}

} // namespace ruvo
