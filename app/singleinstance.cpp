#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace {

// How long a start waits for the running program; a program that does not answer in this time
// counts as gone.
constexpr int kAnswerMs = 2000;
// A file list longer than this is no list of files a start was given.
constexpr qint64 kLongestList = 1 << 20;

} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent) {
    const QByteArray digest =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    // in the user's own runtime folder (mode 0700), where no other user can put a socket first;
    // the user's id in the name too, for a system without one
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    name_ = QStringLiteral("slope-support-%1-%2").arg(::getuid()).arg(QString::fromLatin1(digest));
    if (!folder.isEmpty()) {
        name_ = QDir(folder).filePath(name_);
    }
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            take(socket);
        }
    });
}

QString SingleInstance::keyOfThisDisplay() {
    const QString platform = QGuiApplication::platformName();
    const QString display = platform == QLatin1String("xcb") ? qEnvironmentVariable("DISPLAY")
                            : platform.startsWith(QLatin1String("wayland"))
                                ? qEnvironmentVariable("WAYLAND_DISPLAY")
                                : QString();
    return display.isEmpty() ? QString() : platform + QLatin1Char(' ') + display;
}

bool SingleInstance::handOver(const QStringList& files) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (socket.waitForConnected(kAnswerMs)) {
        QStringList list;
        for (const QString& file : files) { // absolute: the running program has its own folder
            list << QDir::current().absoluteFilePath(file);
        }
        QDataStream out(&socket);
        out << list;
        // the running program's one-byte answer: it has the list
        if (socket.waitForBytesWritten(kAnswerMs) && socket.waitForReadyRead(kAnswerMs)) {
            return true;
        }
    }
    // nobody listens (or a killed program's name is left): this start is the running program
    QLocalServer::removeServer(name_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(name_);
    return false;
}

void SingleInstance::take(QLocalSocket* socket) {
    socket->setParent(this);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
        if (socket->bytesAvailable() > kLongestList) {
            socket->abort();
            return;
        }
        QDataStream in(socket);
        in.startTransaction();
        QStringList files;
        in >> files;
        if (!in.commitTransaction()) {
            return; // the rest is on its way
        }
        socket->write("1");
        socket->flush();
        emit filesHanded(files);
    });
}
