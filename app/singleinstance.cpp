#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>

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

// How long a start waits for the running program, and the running program for a start's list:
// a program that does not answer in this time is left alone, a caller that does not send its
// list in it is dropped.
constexpr int kAnswerMs = 2000;
// A file list longer than this is no list of files a start was given: refused.
constexpr qsizetype kLongestList = 1 << 20;
// The callers heard at once; more wait in the socket's queue.
constexpr int kMostCallers = 16;
// After the descriptors ran out, the next try to take a caller.
constexpr int kRetryMs = 200;
// The running program's answers: it has the list, or it refuses one too long.
constexpr char kTaken = '1', kRefused = '0';

// A folder only this user can reach: the runtime folder when it is one (a directory of this
// user's, mode 0700), else one of the program's own in the temporary folder, made so. Empty when
// neither is: the program then runs alone.
QString privateFolder() {
    const uid_t uid = ::getuid();
    const auto usable = [uid](const QByteArray& path) {
        struct stat s {};
        return !path.isEmpty() && ::lstat(path.constData(), &s) == 0 && S_ISDIR(s.st_mode) &&
               s.st_uid == uid && (s.st_mode & 077) == 0;
    };
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (usable(runtime)) {
        return QFile::decodeName(runtime);
    }
    const QByteArray own =
        QFile::encodeName(QDir::tempPath()) + "/slope-support-" + QByteArray::number(uid);
    ::mkdir(own.constData(), 0700); // when it is there already, whose it is is checked below
    return usable(own) ? QFile::decodeName(own) : QString();
}

// Whether the process at the other end of a connected socket runs as this user.
bool peerIsThisUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

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

// One start that called: its list is read as it arrives, answered, and the call closed. A caller
// that sends no whole list within the answer time is dropped; a list too long is refused.
class Caller : public QObject {
  public:
    Caller(int fd, SingleInstance* instance)
        : QObject(instance), fd_(fd),
          notifier_(new QSocketNotifier(fd, QSocketNotifier::Read, this)) {
        connect(notifier_, &QSocketNotifier::activated, this, [this, instance] { read(instance); });
        QTimer::singleShot(kAnswerMs, this, &QObject::deleteLater);
    }
    ~Caller() override {
        delete notifier_; // before its descriptor closes
        ::close(fd_);
    }

  private:
    void answer(char word) {
        notifier_->setEnabled(false);
        if (::write(fd_, &word, 1) != 1) {
            // the start left early and misses its answer
        }
        deleteLater();
    }

    void read(SingleInstance* instance) {
        char block[4096];
        ssize_t n;
        while ((n = ::read(fd_, block, sizeof block)) > 0) {
            received_.append(block, n);
            if (received_.size() > kLongestList) {
                return answer(kRefused);
            }
        }
        if (n == -1 && (errno == EAGAIN || errno == EINTR)) {
            if (const std::optional<QStringList> files = listIn(received_)) {
                answer(kTaken);
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
    // in a folder where no other user can put a socket first; the user's id in the name too
    if (const QString folder = privateFolder(); !folder.isEmpty()) {
        name_ = QDir(folder).filePath(
            QStringLiteral("slope-support-%1-%2").arg(::getuid()).arg(QString::fromLatin1(digest)));
    }
}

SingleInstance::~SingleInstance() {
    if (listening_ != -1) {
        delete listener_; // before its descriptor closes
        listener_ = nullptr;
        ::close(listening_);
        // the name, while it is still this program's socket: a later program may have taken it
        struct stat s {};
        if (const std::optional<sockaddr_un> address = addressOf(name_);
            address && ::lstat(address->sun_path, &s) == 0 && s.st_dev == socketDevice_ &&
            s.st_ino == socketInode_) {
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

SingleInstance::HandOver SingleInstance::handOver(const QStringList& files) {
    const std::optional<sockaddr_un> address = addressOf(name_);
    if (!address) {
        return HandOver::RunHere; // alone
    }
    const Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.get() == -1) {
        return HandOver::RunHere;
    }
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) !=
        0) {
        // nobody listens: this start is the running program. A name that refuses the call was
        // left by a killed program, and goes; any other failure (a queue full) leaves the name
        // to the program that has it, and this start runs alone.
        if (errno == ECONNREFUSED || errno == ENOENT) {
            listen(errno == ECONNREFUSED);
        }
        return HandOver::RunHere;
    }
    if (!peerIsThisUser(socket.get())) {
        return HandOver::RunHere; // never hands this user's file names to another
    }
    QByteArray list;
    for (const QString& file : files) { // absolute: the running program has its own folder
        list += QFile::encodeName(QDir::current().absoluteFilePath(file)) + '\0';
    }
    list += '\0';
    if (list.size() > kLongestList) {
        return HandOver::Refused;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerMs);
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
    // the running program's one-byte answer: it has the list, or refuses it
    if (sent == list.size() && waitFor(socket.get(), POLLIN, deadline) &&
        ::read(socket.get(), &answer, 1) == 1) {
        return answer == kTaken ? HandOver::Taken : HandOver::Refused;
    }
    return HandOver::RunHere; // a program that does not answer keeps its name; this one runs alone
}

void SingleInstance::listen(bool removeLeftName) {
    const std::optional<sockaddr_un> address = addressOf(name_);
    if (!address || listening_ != -1) {
        return;
    }
    if (removeLeftName) {
        ::unlink(address->sun_path);
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd == -1) {
        return;
    }
    // only this user may call (the folder is the user's own as well)
    struct stat s {};
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        ::chmod(address->sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(fd, kMostCallers) != 0 ||
        ::lstat(address->sun_path, &s) != 0) {
        ::close(fd);
        return;
    }
    socketDevice_ = s.st_dev;
    socketInode_ = s.st_ino;
    listening_ = fd;
    listener_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(listener_, &QSocketNotifier::activated, this, &SingleInstance::acceptCallers);
}

void SingleInstance::acceptCallers() {
    while (callers_ < kMostCallers) {
        const int fd = ::accept4(listening_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd == -1) {
            if (errno == EMFILE || errno == ENFILE) { // no descriptor left: a pause, not a spin
                listener_->setEnabled(false);
                QTimer::singleShot(kRetryMs, listener_, [this] { listener_->setEnabled(true); });
            }
            return;
        }
        if (!peerIsThisUser(fd)) {
            ::close(fd);
            continue;
        }
        ++callers_;
        connect(new Caller(fd, this), &QObject::destroyed, this, [this] {
            --callers_;
            if (listener_) {
                listener_->setEnabled(true);
            }
        });
    }
    listener_->setEnabled(false); // as many as it hears at once: the others wait in the queue
}
