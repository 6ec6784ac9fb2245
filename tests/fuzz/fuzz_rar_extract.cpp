// Archives of any bytes through the extraction the updater uses: nothing is
// ever written outside the target folder, and no link is created.
#include <filesystem>
#include <fstream>

#include "fuzz_support.hpp"
#include "rar_archive.hpp"

namespace fs = std::filesystem;
using solv::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path root = solv::fuzz::Scratch() / "rar";
  const fs::path target = root / "program";
  std::error_code ec;
  fs::remove_all(root, ec);
  fs::create_directories(target);
  const fs::path archive = root / "upd.rar";
  {
    std::ofstream out(archive, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }

  // As the update run does it: one pass that refuses unsafe entries.
  solv::RarExtractor extractor;
  (void)extractor.ExtractAll(
      archive, target,
      [](const solv::ArchiveEntry& e) { return !e.link && solv::IsSafeRelativeName(e.name); },
      [] { return true; });
  // And the whole archive at once, which guards by itself.
  solv::TRAR rar;
  rar.ArchiveName = archive.string();
  rar.TargetDir = target.string();
  (void)rar.Extract();

  for (const auto& e : fs::directory_iterator(root))
    Require(e.path() == archive || e.path() == target, "nothing is written beside the target folder");
  for (const auto& e : fs::recursive_directory_iterator(target))
    Require(!e.is_symlink(), "no link is created");
  return 0;
}
