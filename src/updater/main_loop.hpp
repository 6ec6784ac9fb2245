// The thread that owns the windows. Workers hand their progress and their
// final report to it, and a waiting call keeps it serving events meanwhile.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace solv {

class MainLoop {
 public:
  virtual ~MainLoop() = default;
  // Runs task later in the main thread; callable from any thread.
  virtual void Post(std::function<void()> task) = 0;
  // In the main thread: serves posted tasks (and, with windows, window events)
  // until done() answers true.
  virtual void WaitUntil(const std::function<bool()>& done) = 0;
};

// A main loop without windows: a queue that WaitUntil serves. For tools and tests.
class QueueMainLoop : public MainLoop {
 public:
  void Post(std::function<void()> task) override;
  void WaitUntil(const std::function<bool()>& done) override;
  // Serves what is queued now without waiting; answers how many tasks ran.
  int RunPending();

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace solv
