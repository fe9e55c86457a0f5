#pragma once

#include <ios>
#include <ostream>
#include <streambuf>

// Stream buffers over file descriptors that remember why a read or a write failed, so that
// slopecalc can say so ("No space left on device") instead of going on as if it had written.
class FdOutput : public std::streambuf {
  public:
    explicit FdOutput(int fd) : fd_(fd) { setp(buffer_, buffer_ + sizeof buffer_); }
    ~FdOutput() override { sync(); }
    int error() const { return error_; } // errno of the first failed write, or 0

  protected:
    int_type overflow(int_type c) override;
    int sync() override;

  private:
    bool drain();

    int fd_;
    int error_ = 0;
    char buffer_[1 << 16];
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
    char buffer_[1 << 16];
};

// SIGINT, SIGTERM and SIGHUP end a read that waits and make stopSignal() say which came: a batch
// then ends at its next row, with every finished row written.
void catchStopSignals();
int stopSignal(); // 0 while none came

// errno of a failed read or write of a stream over a file descriptor; 0 for any other stream.
int streamError(const std::ios& stream);
