// Small POSIX file helpers.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace solv {

// Writes all bytes to fd, retrying interrupted and partial writes; false on error.
bool WriteAll(int fd, std::string_view bytes);

// The whole content of a file; nothing when it cannot be opened or read (a
// folder in place of the file included).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

}  // namespace solv
