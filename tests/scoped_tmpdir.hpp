// TMPDIR pointed at a folder of the test while it runs, so what a test makes
// in the temporary folder can be looked at without other processes' files.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "report/print_copy.hpp"

class ScopedTmpDir {
 public:
  explicit ScopedTmpDir(const std::filesystem::path& folder) {
    if (const char* old = std::getenv("TMPDIR")) saved_ = old;
    ::setenv("TMPDIR", folder.c_str(), 1);
  }
  ~ScopedTmpDir() {
    if (saved_) ::setenv("TMPDIR", saved_->c_str(), 1);
    else ::unsetenv("TMPDIR");
  }
  ScopedTmpDir(const ScopedTmpDir&) = delete;
  ScopedTmpDir& operator=(const ScopedTmpDir&) = delete;

 private:
  std::optional<std::string> saved_;
};

// Print-copy files left in a folder.
inline int PrintCopiesIn(const std::filesystem::path& folder) {
  int n = 0;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec))
    if (e.path().filename().string().rfind(solv::kPrintCopyPrefix, 0) == 0) ++n;
  return n;
}
