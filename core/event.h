// An auto-reset event: set() wakes one waiter and the signal is consumed by
// the wait that sees it, as with the Windows kernel events the hand-over
// protocol was designed around.
#pragma once

#include <condition_variable>
#include <mutex>

namespace torvek {

class AutoResetEvent {
 public:
  void set() {
    std::lock_guard<std::mutex> lock(mutex_);
    signalled_ = true;
    cv_.notify_one();
  }
  void wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait(lock, [this] { return signalled_; });
    signalled_ = false;
  }
  // Zero-timeout wait: true (and reset) when the event was signalled.
  bool try_wait() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!signalled_) return false;
    signalled_ = false;
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool signalled_ = false;
};

}  // namespace torvek
