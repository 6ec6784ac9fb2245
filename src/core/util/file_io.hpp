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

// Replaces file with bytes through a new temporary file beside it ("<file>.tmp",
// never a link left under that name), flushed to the disk before it takes the
// file's name; false when any step failed (the file is then as it was).
bool ReplaceFile(const std::filesystem::path& file, std::string_view bytes, unsigned mode = 0644);

}  // namespace solv
