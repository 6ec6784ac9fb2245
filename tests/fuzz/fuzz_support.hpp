// Shared by the fuzz targets: a scratch folder per process and a check that
// stops the run with a message when a property does not hold.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace solv::fuzz {

// Stops the run (libFuzzer then saves the input) when a property fails.
inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "property failed: %s\n", what);
  std::abort();
}

// A folder of this process, kept between inputs and removed at exit; in
// memory when /dev/shm exists.
inline std::filesystem::path& ScratchPath() {
  static std::filesystem::path dir;
  return dir;
}
inline const std::filesystem::path& Scratch() {
  std::filesystem::path& dir = ScratchPath();
  if (dir.empty()) {
    const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    dir = base / ("solvfuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(ScratchPath(), ec);
    });
  }
  return dir;
}

inline std::string_view Text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace solv::fuzz
