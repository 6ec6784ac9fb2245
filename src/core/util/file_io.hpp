// Small POSIX file helpers.
#pragma once

#include <string_view>

namespace solv {

// Writes all bytes to fd, retrying interrupted and partial writes; false on error.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace solv
