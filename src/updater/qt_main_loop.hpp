// The main loop of the updater's window: posted tasks run as queued calls in
// the GUI thread, and waiting keeps serving window events.
#pragma once

#include "main_loop.hpp"

namespace solv {

class QtMainLoop : public MainLoop {
 public:
  void Post(std::function<void()> task) override;
  void WaitUntil(const std::function<bool()>& done) override;
};

}  // namespace solv
