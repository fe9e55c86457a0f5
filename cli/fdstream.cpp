#include "fdstream.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t gStopSignal = 0;

} // namespace

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = [](int signal) { gStopSignal = signal; };
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no restart: a read that waits returns
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

int stopSignal() {
    return gStopSignal;
}

bool FdOutput::drain() {
    const char* p = pbase();
    while (error_ == 0 && p < pptr()) {
        const ssize_t n = ::write(fd_, p, static_cast<std::size_t>(pptr() - p));
        if (n >= 0) {
            p += n;
        } else if (errno != EINTR) {
            error_ = errno;
        }
    }
    setp(buffer_, buffer_ + sizeof buffer_);
    return error_ == 0;
}

FdOutput::int_type FdOutput::overflow(int_type c) {
    if (!drain()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int FdOutput::sync() {
    return drain() ? 0 : -1;
}

FdInput::~FdInput() {
    if (owned_) {
        ::close(fd_);
    }
}

FdInput::int_type FdInput::underflow() {
    if (error_ != 0) {
        return traits_type::eof();
    }
    if (flushFirst_) {
        flushFirst_->flush();
    }
    ssize_t n;
    do {
        n = ::read(fd_, buffer_, sizeof buffer_);
    } while (n < 0 && errno == EINTR && gStopSignal == 0);
    if (n < 0 && errno == EINTR) {
        return traits_type::eof(); // stopped
    }
    if (n <= 0) {
        error_ = n < 0 ? errno : 0;
        return traits_type::eof();
    }
    setg(buffer_, buffer_, buffer_ + n);
    return traits_type::to_int_type(buffer_[0]);
}

int streamError(const std::ios& stream) {
    if (const auto* out = dynamic_cast<const FdOutput*>(stream.rdbuf())) {
        return out->error();
    }
    if (const auto* in = dynamic_cast<const FdInput*>(stream.rdbuf())) {
        return in->error();
    }
    return 0;
}
