// Threads and synchronisation: a recursive lock, an auto-reset event with a
// millisecond time-out, and a joinable thread wrapper.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace platform {

// A lock that the owning thread may take again. On a platform that offers a spin
// count for such locks it is set at construction; see the constructor.
class RecursiveLock {
public:
    RecursiveLock();
    RecursiveLock(const RecursiveLock &) = delete;
    RecursiveLock &operator=(const RecursiveLock &) = delete;

    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }
    bool try_lock() { return mutex_.try_lock(); }

    // True when the platform's spin-count entry point was found and applied.
    bool spinCountApplied() const { return spinCountApplied_; }

private:
    std::recursive_mutex mutex_;
    bool spinCountApplied_ = false;
};

enum class WaitResult { Signalled, TimedOut, Failed };

// An event that releases exactly one waiter per set() and then resets itself. A set()
// with nobody waiting is kept until the next wait.
class AutoResetEvent {
public:
    AutoResetEvent() = default;
    AutoResetEvent(const AutoResetEvent &) = delete;
    AutoResetEvent &operator=(const AutoResetEvent &) = delete;

    void set();
    // Waits up to timeoutMs milliseconds; a negative time-out waits without limit.
    WaitResult wait(long timeoutMs);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool signalled_ = false;
};

// A thread that is started with a function and must be joined before it is destroyed;
// destroying a thread that still runs joins it rather than ending the process.
class Thread {
public:
    Thread() = default;
    explicit Thread(std::function<void()> body);
    Thread(const Thread &) = delete;
    Thread &operator=(const Thread &) = delete;
    ~Thread();

    bool joinable() const { return thread_.joinable(); }
    void join();

private:
    std::thread thread_;
};

} // namespace platform
