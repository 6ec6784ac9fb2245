#include "util/file_io.hpp"

#include <unistd.h>

#include <cerrno>

namespace solv {

bool WriteAll(int fd, std::string_view bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace solv
