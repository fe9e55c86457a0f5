#pragma once

#include "core/wholefile.h"

#include <ios>
#include <ostream>
#include <streambuf>

// Stream buffers over file descriptors that remember why a read or a write failed, so that
// slopecalc can say so ("No space left on device") instead of going on as if it had written.
//
// After a stop signal (below) an output writes only what its reader takes within half a second
// of it and drops the rest: a reader that stalls cannot keep slopecalc from ending.
class FdOutput : public std::streambuf {
  public:
    explicit FdOutput(int fd) : fd_(fd) { setp(buffer_, buffer_ + sizeof buffer_); }
    ~FdOutput() override { sync(); }
    int error() const { return error_; }      // errno of the first failed write, or 0
    bool stopped() const { return stopped_; } // a stop signal left bytes unwritten
    // Bytes that reached the descriptor, and those handed to this buffer, since it began.
    unsigned long long written() const { return written_; }
    unsigned long long queued() const {
        return written_ + static_cast<unsigned long long>(pptr() - pbase());
    }

  protected:
    int_type overflow(int_type c) override;
    int sync() override;

  private:
    bool drain();
    bool writableInTime();

    int fd_;
    int error_ = 0;
    bool stopped_ = false;
    unsigned long long written_ = 0;
    long long deadline_ = 0; // after a stop: the end of its grace, in ms of the steady clock
    char buffer_[kReadBlock];
};

class FdInput : public std::streambuf {
  public:
    // Takes over `fd` (and closes it) when `owned`. `beforeWaiting` runs before each read that
    // may wait for input: the output of what was read so far goes out first.
    FdInput(int fd, bool owned, std::ostream* beforeWaiting = nullptr)
        : fd_(fd), owned_(owned), flushFirst_(beforeWaiting) {}
    ~FdInput() override;
    int error() const { return error_; } // errno of a failed read, or 0

  protected:
    int_type underflow() override;

  private:
    int fd_;
    bool owned_;
    std::ostream* flushFirst_;
    int error_ = 0;
    char buffer_[kReadBlock];
};

// SIGINT, SIGTERM and SIGHUP end a read or a write that waits and make stopSignal() say which
// came: a batch then ends at its next row, with every finished row that its reader takes
// written. A read or a write that began just after the signal is ended a second later.
void catchStopSignals();
int stopSignal(); // 0 while none came

// errno of a failed read or write of a stream over a file descriptor; 0 for any other stream.
int streamError(const std::ios& stream);
