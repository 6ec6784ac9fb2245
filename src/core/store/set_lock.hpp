// One writer per set: an advisory lock on a lock file beside the set
// (".<name>.lock"), which every copy of the program and solvcalc take before
// they write the set, and which the system releases when the process ends,
// however it ends.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>

namespace solv {

class SetLock {
 public:
  // The lock of the set at path, waiting up to wait for another holder to let
  // go; nothing when another process still holds it. Where no lock file can
  // be made (a folder that cannot be written) there is nothing to hold: no
  // writer can replace the set there either, so the lock is granted empty.
  static std::unique_ptr<SetLock> Acquire(const std::filesystem::path& set,
                                          std::chrono::milliseconds wait = std::chrono::milliseconds(0));
  ~SetLock();
  SetLock(const SetLock&) = delete;
  SetLock& operator=(const SetLock&) = delete;

  const std::filesystem::path& Set() const { return set_; }
  static std::filesystem::path LockFileOf(const std::filesystem::path& set);

 private:
  SetLock(std::filesystem::path set, int fd) : set_(std::move(set)), fd_(fd) {}
  std::filesystem::path set_;
  int fd_;
};

}  // namespace solv
