// Bad set files in the data folder: random bytes, a set padded with
// megabytes of keys or one huge value, and a set with 100,000 sections,
// each beside a real set. Measures what the set dialog does (list the
// numbers, label every file) and what opening a set does (open it, read the
// boxes the main window and a page read first), with the parsed copy of the
// file made stale before every open, as a first open in a run finds it.
// Files over the dialog's size limit are labelled and refused unread; the
// store benchmarks open the largest file the dialog still reads.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "store/cp1250.hpp"
#include "store/ini.hpp"
#include "store/set_list.hpp"
#include "store/store.hpp"

namespace {

constexpr const char* kRealSet =
    "[MAIN]\r\nPIT=PIT37\r\nVER=10\r\n[PIT37a]\r\nP1=1234563218\r\nP6A=[X]\r\nP6B=[  ]\r\nP6C=[  ]\r\nP6D=[  ]\r\n"
    "P9=Urząd Skarbowy Łódź-Bałuty\r\nP11=Kowalski\r\nP12=Jan\r\nP13=01-02-1970\r\nP17=Łódź\r\n"
    "P39=61234,56\r\nP40=1335,00\r\nP124=0000012345\r\nP126=\"\"pomagam podatkiem\"\"\r\n";

enum Kind : int64_t {
  kRandom = 0,      // random bytes of the given size
  kManyKeys = 1,    // a real set followed by key=value lines up to the size
  kHugeValue = 2,   // a real set whose P11 is one value of the given size
  kSections = 3,    // a real set followed by the given number of sections
  kBlankTail = 4,   // a real set whose PIT37a ends in blank lines up to the size
};

std::string BadText(int64_t kind, int64_t size) {
  std::string text;
  switch (kind) {
    case kRandom: {
      std::mt19937_64 rng(12345);
      text.resize(static_cast<size_t>(size));
      for (size_t i = 0; i < text.size(); i += 8) {
        const uint64_t r = rng();
        for (size_t k = 0; k < 8 && i + k < text.size(); ++k) text[i + k] = static_cast<char>(r >> (8 * k));
      }
      break;
    }
    case kManyKeys:
      text = solv::Utf8ToCp1250(kRealSet);
      for (int64_t i = 0; static_cast<int64_t>(text.size()) < size; ++i)
        text += "K" + std::to_string(i) + "=wartość " + std::to_string(i * 7) + "\r\n";
      break;
    case kHugeValue:
      text = solv::Utf8ToCp1250("[MAIN]\r\nPIT=PIT37\r\nVER=10\r\n[PIT37a]\r\nP12=Jan\r\nP11=");
      text.append(static_cast<size_t>(size), 'x');
      text += "\r\n";
      break;
    case kBlankTail:
      text = solv::Utf8ToCp1250(kRealSet);
      text.append(static_cast<size_t>(size - static_cast<int64_t>(text.size())) / 2 * 2, '\n');
      break;
    case kSections:
      text = solv::Utf8ToCp1250(kRealSet);
      for (int64_t i = 1; i <= size; ++i) text += "[S" + std::to_string(i) + "]\r\nK=" + std::to_string(i) + "\r\n";
      break;
  }
  return text;
}

// A program folder whose SAVE/ holds the real set 1.i10 and the bad file 5.i10.
struct BadFolder {
  std::filesystem::path dir, data, good, bad;
  BadFolder(int64_t kind, int64_t size) {
    std::string pattern = (std::filesystem::temp_directory_path() / "solvbadbench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    dir = pattern;
    data = dir / "SAVE";
    std::filesystem::create_directories(data);
    good = data / "1.i10";
    bad = data / "5.i10";
    std::ofstream(good, std::ios::binary) << solv::Utf8ToCp1250(kRealSet);
    std::ofstream(bad, std::ios::binary) << BadText(kind, size);
    solv::Store() = solv::StoreState{};
    solv::Store().programFolder = dir;
  }
  ~BadFolder() {
    solv::Store() = solv::StoreState{};
    std::filesystem::remove_all(dir);
    // The process-wide parsed copies see the files gone and drop their text.
    solv::OpenIni(good).Read("MAIN", "PIT");
    solv::OpenIni(bad).Read("MAIN", "PIT");
  }
  // A new modification time, so the next read parses the file again.
  void Touch(const std::filesystem::path& file) {
    auto t = std::filesystem::last_write_time(file);
    std::filesystem::last_write_time(file, t + std::chrono::seconds(++bumps_));
  }
  int bumps_ = 0;
};

// The largest file the set dialog still reads, 8 MB (over the limit by a few
// bytes, so refused unread), 50 MB.
constexpr int64_t kLargestRead = static_cast<int64_t>(solv::kMaxSetFileBytes) - 4096;

void Args(benchmark::internal::Benchmark* b) {
  for (int64_t size : {int64_t{1} << 20, kLargestRead, int64_t{8} << 20, int64_t{50} << 20}) b->Args({kRandom, size});
  for (int64_t size : {kLargestRead, int64_t{8} << 20, int64_t{50} << 20}) b->Args({kManyKeys, size});
  for (int64_t size : {kLargestRead, int64_t{8} << 20, int64_t{50} << 20}) b->Args({kHugeValue, size});
  b->Args({kBlankTail, kLargestRead});
  b->Args({kSections, 100000});
  b->ArgNames({"kind", "size"});
  b->Unit(benchmark::kMillisecond);
  b->Iterations(3);
}

// The set dialog's list: the numbers of the data folder and one label each.
void BM_LabelSets(benchmark::State& state) {
  BadFolder folder(state.range(0), state.range(1));
  size_t chars = 0;
  for (auto _ : state) {
    for (int n : solv::SetNumbers(folder.data))
      chars += solv::SetLabel(folder.data / (std::to_string(n) + ".i10")).size();
  }
  benchmark::DoNotOptimize(chars);
}

// Opening the bad file as the dialog's OK does, then the reads that follow
// at once (allowed forms, the 1% boxes, a page load of the main form).
void BM_OpenBadSet(benchmark::State& state) {
  BadFolder folder(state.range(0), state.range(1));
  size_t chars = 0;
  for (auto _ : state) {
    state.PauseTiming();
    solv::Store().setFile.clear();
    folder.Touch(folder.bad);
    state.ResumeTiming();
    solv::OpenExistingSet(folder.data, 5, {});
    chars += solv::ReadField("p11", "", "PIT37a").size() + solv::ReadField("p124", "", "PIT37a").size();
    chars += solv::SectionsOfForm("PITBa").size();
  }
  benchmark::DoNotOptimize(chars);
}

// The real set opened right after the bad one.
void BM_OpenRealSetAfterBad(benchmark::State& state) {
  BadFolder folder(state.range(0), state.range(1));
  solv::OpenExistingSet(folder.data, 5, {});
  size_t chars = 0;
  for (auto _ : state) {
    state.PauseTiming();
    solv::Store().setFile.clear();
    folder.Touch(folder.good);
    state.ResumeTiming();
    solv::OpenExistingSet(folder.data, 1, {});
    chars += solv::ReadField("p11", "", "PIT37a").size();
  }
  benchmark::DoNotOptimize(chars);
}

// Store work on a bad set that is open (opened below the store's dialog, so
// sizes the dialog refuses are measured too): one page save of 100 boxes new
// to the section, as the first entry on a page makes it.
void BM_PageSaveOnBadSet(benchmark::State& state) {
  BadFolder folder(state.range(0), state.range(1));
  solv::OpenSet(folder.bad);
  solv::ReadField("p11", "", "PIT37a");
  int round = 0;
  for (auto _ : state) {
    solv::IniEntries entries;
    ++round;
    for (int i = 0; i < 100; ++i) entries.emplace_back("N" + std::to_string(round) + "_" + std::to_string(i), "1,00");
    solv::SetStore().WriteMany("PIT37a", entries);
  }
}

// The section questions that one edit asks (identification copies, transfer
// markers): a dozen SectionExists and a few SectionsOfForm.
void BM_SectionQueriesOnBadSet(benchmark::State& state) {
  BadFolder folder(state.range(0), state.range(1));
  solv::OpenSet(folder.bad);
  size_t found = 0;
  for (auto _ : state) {
    for (int i = 0; i < 12; ++i) found += solv::SectionExists(i % 2 ? "PITDa" : "PIT2Ka");
    for (const char* base : {"PITBa", "PITOa", "PITZGa", "PITDa"}) found += solv::SectionsOfForm(base).size();
  }
  benchmark::DoNotOptimize(found);
}

void StoreArgs(benchmark::internal::Benchmark* b) {
  b->Args({kRandom, kLargestRead});
  b->Args({kManyKeys, kLargestRead});
  b->Args({kHugeValue, kLargestRead});
  b->Args({kBlankTail, kLargestRead});
  b->Args({kSections, 100000});
  b->ArgNames({"kind", "size"});
  b->Unit(benchmark::kMillisecond);
  b->Iterations(3);
}

BENCHMARK(BM_LabelSets)->Apply(Args);
BENCHMARK(BM_OpenBadSet)->Apply(Args);
BENCHMARK(BM_PageSaveOnBadSet)->Apply(StoreArgs);
BENCHMARK(BM_SectionQueriesOnBadSet)->Apply(StoreArgs);
BENCHMARK(BM_OpenRealSetAfterBad)->Args({kRandom, 50 << 20})->ArgNames({"kind", "size"})->Unit(benchmark::kMillisecond);

}  // namespace
