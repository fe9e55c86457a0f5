#pragma once

#include <atomic>
#include <exception>

// The way out of a long calculation. A stop is asked for the whole program (a stop signal) or for
// the calculations of one thread (the window's 取消), and every long loop looks at it through
// stopPoint(). A stop is no failure of the calculation: it leaves by Stopped, which no
// calculation catches (it is no CalcError), and nothing of the calculation stopped is kept.
class Stopped : public std::exception {
  public:
    const char* what() const noexcept override { return "stopped"; }
};

namespace stopping {
inline std::atomic<bool> everywhere{false};
inline thread_local const std::atomic<bool>* here = nullptr;
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
} // namespace stopping

// Asks every calculation of the program to stop; safe in a signal handler.
inline void stopEverywhere() {
    stopping::everywhere.store(true, std::memory_order_relaxed);
}

// While it lives, the calculations of this thread stop once `flag` is set (from any thread).
class StopWhen {
  public:
    explicit StopWhen(const std::atomic<bool>& flag) : outer_(stopping::here) {
        stopping::here = &flag;
    }
    ~StopWhen() { stopping::here = outer_; }
    StopWhen(const StopWhen&) = delete;
    StopWhen& operator=(const StopWhen&) = delete;

  private:
    const std::atomic<bool>* outer_;
};

// Throws Stopped when a stop was asked for this thread's calculations.
inline void stopPoint() {
    const std::atomic<bool>* here = stopping::here;
    if (stopping::everywhere.load(std::memory_order_relaxed) ||
        (here && here->load(std::memory_order_relaxed))) [[unlikely]] {
        throw Stopped();
    }
}
