#include "fdstream.h"

#include "core/stop.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <poll.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t gStopSignal = 0;

// How long after a stop the output still goes to a reader that takes it.
constexpr long long kGraceMs = 500;

long long nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

void catchStopSignals() {
    struct sigaction action {}; // no flags: no SA_RESTART, so a read or a write that waits returns
    sigemptyset(&action.sa_mask);
    // A read or write entered between the test of the flag and the signal would not be ended by
    // it: the alarm a second later ends it.
    action.sa_handler = [](int signal) {
        gStopSignal = signal;
        stopEverywhere(); // a long calculation ends at its next stop point
        ::alarm(1);
    };
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    action.sa_handler = [](int) {};
    sigaction(SIGALRM, &action, nullptr);
}

int stopSignal() {
    return gStopSignal;
}

bool FdOutput::drain() {
    const char* p = pbase();
    while (error_ == 0 && !stopped_ && p < pptr()) {
        auto size = static_cast<std::size_t>(pptr() - p);
        if (gStopSignal != 0) {
            // no more than the reader takes at once, so that a write never waits
            if (!writableInTime()) {
                stopped_ = true;
                break;
            }
            size = std::min<std::size_t>(size, PIPE_BUF);
        }
        const ssize_t n = ::write(fd_, p, size);
        if (n >= 0) {
            p += n;
            written_ += static_cast<unsigned long long>(n);
        } else if (errno != EINTR) {
            error_ = errno;
        }
    }
    setp(buffer_, buffer_ + sizeof buffer_);
    return error_ == 0 && !stopped_;
}

bool FdOutput::writableInTime() {
    if (deadline_ == 0) {
        deadline_ = nowMs() + kGraceMs;
    }
    for (;;) {
        const long long left = deadline_ - nowMs();
        if (left <= 0) {
            return false;
        }
        pollfd descriptor{};
        descriptor.fd = fd_;
        descriptor.events = POLLOUT;
        const int n = ::poll(&descriptor, 1, static_cast<int>(left));
        if (n > 0 || (n < 0 && errno != EINTR)) {
            return true; // writable, or a fault that the write itself reports
        }
        if (n == 0) {
            return false;
        }
        // interrupted: wait for what is left of the grace
    }
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
    if (gStopSignal != 0) { // stopped: no more input is waited for
        return traits_type::eof();
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
