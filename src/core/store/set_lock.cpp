#include "store/set_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace solv {

std::filesystem::path SetLock::LockFileOf(const std::filesystem::path& set) {
  std::filesystem::path lock = set;
  lock.replace_filename("." + set.filename().string() + ".lock");
  return lock;
}

std::unique_ptr<SetLock> SetLock::Acquire(const std::filesystem::path& set, std::chrono::milliseconds wait) {
  const std::filesystem::path lockFile = LockFileOf(set);
  const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return std::unique_ptr<SetLock>(new SetLock(set, -1));
  const auto until = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return std::unique_ptr<SetLock>(new SetLock(set, fd));
    if (errno != EWOULDBLOCK && errno != EINTR) break;
    if (std::chrono::steady_clock::now() >= until) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ::close(fd);
  return nullptr;
}

SetLock::~SetLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the last descriptor releases the lock
}

}  // namespace solv
