// The updater's archive work: one archive of 4000 small entries unpacked in
// one pass, as an update of the help pages brings it.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "rar_archive.hpp"
#include "rar_fixture.hpp"

namespace {

void BM_UnpackArchiveOfManyEntries(benchmark::State& state) {
  std::string pattern = (std::filesystem::temp_directory_path() / "solvbench-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::filesystem::path root = pattern;
  std::vector<rarfix::Entry> entries;
  for (int i = 0; i < state.range(0); ++i)
    entries.push_back(rarfix::File("pomoc/" + std::to_string(i) + ".htm", std::string(300, 'p')));
  const std::filesystem::path archive = root / "p.rar";
  std::ofstream(archive, std::ios::binary) << rarfix::RarArchive(entries);
  solv::RarExtractor extractor;
  int run = 0;
  for (auto _ : state) {
    const std::filesystem::path into = root / std::to_string(++run);
    const solv::ExtractResult result =
        extractor.ExtractAll(archive, into, [](const solv::ArchiveEntry&) { return true; }, [] { return true; });
    if (result.error != 0) state.SkipWithError("extraction failed");
    state.PauseTiming();
    std::filesystem::remove_all(into);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_UnpackArchiveOfManyEntries)->Arg(4000)->Unit(benchmark::kMillisecond);

}  // namespace
