#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>

// What a start sends: each file's absolute name, encoded as the system names files, followed by a
// NUL, and one more NUL to end the list (no name is empty, none holds a NUL). The running program
// answers one byte once it has the list.
namespace {

// How long a start waits for the running program; a program that does not answer in this time
// counts as gone.
constexpr int kAnswerMs = 2000;
// A file list longer than this is no list of files a start was given.
constexpr qsizetype kLongestList = 1 << 20;

std::optional<sockaddr_un> addressOf(const QString& name) {
    const QByteArray path = QFile::encodeName(name);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || path.size() >= static_cast<qsizetype>(sizeof address.sun_path)) {
        return std::nullopt; // too long a name for a socket: this start runs alone
    }
    std::copy(path.begin(), path.end(), address.sun_path);
    return address;
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ != -1) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

  private:
    int fd_;
};

// Waits for `events` on `fd` until `deadline`; false when the time ran out or the wait failed.
bool waitFor(int fd, short events, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd descriptor{fd, events, 0};
        const int n = ::poll(&descriptor, 1, static_cast<int>(left.count()));
        if (n > 0) {
            return true;
        }
        if (n == 0 || errno != EINTR) {
            return false;
        }
    }
}

// The list a start sent, once `received` holds all of it.
std::optional<QStringList> listIn(const QByteArray& received) {
    QStringList files;
    for (qsizetype at = 0; at < received.size();) {
        const qsizetype end = received.indexOf('\0', at);
        if (end == -1) {
            return std::nullopt;
        }
        if (end == at) { // the empty name that ends the list
            return files;
        }
        files << QFile::decodeName(received.mid(at, end - at));
        at = end + 1;
    }
    return std::nullopt; // the rest is on its way
}

// One start that called: its list is read as it arrives, answered, and the call closed.
class Caller : public QObject {
  public:
    Caller(int fd, SingleInstance* instance)
        : QObject(instance), fd_(fd),
          notifier_(new QSocketNotifier(fd, QSocketNotifier::Read, this)) {
        connect(notifier_, &QSocketNotifier::activated, this, [this, instance] { read(instance); });
    }
    ~Caller() override {
        delete notifier_; // before its descriptor closes
        ::close(fd_);
    }

  private:
    void read(SingleInstance* instance) {
        char block[4096];
        ssize_t n;
        while ((n = ::read(fd_, block, sizeof block)) > 0) {
            received_.append(block, n);
            if (received_.size() > kLongestList) {
                deleteLater();
                return;
            }
        }
        if (n == -1 && (errno == EAGAIN || errno == EINTR)) {
            if (const std::optional<QStringList> files = listIn(received_)) {
                notifier_->setEnabled(false);
                const char answer = '1';
                if (::write(fd_, &answer, 1) != 1) {
                    // the start left early and misses its answer; the list came whole
                }
                deleteLater();
                emit instance->filesHanded(*files);
            }
            return;
        }
        deleteLater(); // the caller went away before its list was whole, or the read failed
    }

    int fd_;
    QSocketNotifier* notifier_;
    QByteArray received_;
};

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
}

SingleInstance::~SingleInstance() {
    if (listening_ != -1) {
        delete listener_; // before its descriptor closes
        ::close(listening_);
        if (const std::optional<sockaddr_un> address = addressOf(name_)) {
            ::unlink(address->sun_path);
        }
    }
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
    const std::optional<sockaddr_un> address = addressOf(name_);
    if (!address) {
        return false;
    }
    const Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.get() != -1 && ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&*address),
                                        sizeof *address) == 0) {
        QByteArray list;
        for (const QString& file : files) { // absolute: the running program has its own folder
            list += QFile::encodeName(QDir::current().absoluteFilePath(file)) + '\0';
        }
        list += '\0';
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerMs);
        qsizetype sent = 0;
        while (sent < list.size() && waitFor(socket.get(), POLLOUT, deadline)) {
            const ssize_t n = ::send(socket.get(), list.constData() + sent,
                                     static_cast<size_t>(list.size() - sent), MSG_NOSIGNAL);
            if (n == -1 && errno != EAGAIN && errno != EINTR) {
                break;
            }
            sent += n > 0 ? n : 0;
        }
        char answer = 0;
        // the running program's one-byte answer: it has the list
        if (sent == list.size() && waitFor(socket.get(), POLLIN, deadline) &&
            ::read(socket.get(), &answer, 1) == 1) {
            return true;
        }
    }
    // nobody listens (or a killed program's name is left): this start is the running program
    listen();
    return false;
}

void SingleInstance::listen() {
    const std::optional<sockaddr_un> address = addressOf(name_);
    if (!address || listening_ != -1) {
        return;
    }
    ::unlink(address->sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd == -1) {
        return;
    }
    // only this user may call (the runtime folder is the user's own as well)
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        ::chmod(address->sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(fd, 16) != 0) {
        ::close(fd);
        return;
    }
    listening_ = fd;
    listener_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(listener_, &QSocketNotifier::activated, this, &SingleInstance::acceptCallers);
}

void SingleInstance::acceptCallers() {
    int fd;
    while ((fd = ::accept4(listening_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) != -1) {
        new Caller(fd, this);
    }
}
