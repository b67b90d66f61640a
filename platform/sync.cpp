#include "platform/sync.h"

#include "platform/dynamic_library.h"

namespace platform {

namespace {
constexpr unsigned kLockSpinCount = 4000;
using SetSpinCountFn = int (*)(void *lock, unsigned long spinCount);
} // namespace

RecursiveLock::RecursiveLock() {
    // Locks are tuned with a spin count where the system offers one. The entry point is
    // looked up by name in the system library; on this platform that library does not
    // exist, so the lookup fails and the lock keeps the default behaviour.
    if (LibraryHandle kernel = os_load_library("Kernel32.dll")) {
        auto setSpinCount = reinterpret_cast<SetSpinCountFn>(
            os_get_proc_address(kernel, "SetCriticalSectionSpinCount"));
        if (setSpinCount) {
            setSpinCount(&mutex_, kLockSpinCount);
            spinCountApplied_ = true;
        }
        os_unload_library(kernel);
    }
}

void AutoResetEvent::set() {
    {
        std::lock_guard guard(mutex_);
        signalled_ = true;
    }
    changed_.notify_one();
}

WaitResult AutoResetEvent::wait(long timeoutMs) {
    try {
        std::unique_lock guard(mutex_);
        if (timeoutMs < 0) {
            changed_.wait(guard, [this] { return signalled_; });
        } else if (!changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                                      [this] { return signalled_; })) {
            return WaitResult::TimedOut;
        }
        signalled_ = false;
        return WaitResult::Signalled;
    } catch (...) {
        return WaitResult::Failed;
    }
}

Thread::Thread(std::function<void()> body) : thread_(std::move(body)) {}

Thread::~Thread() { join(); }

void Thread::join() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
}

} // namespace platform
