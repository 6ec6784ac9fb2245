// One entry as a page makes it, from the typed box to the reloaded page: the
// page saved, its form recalculated, identification copied, the page loaded
// again. Over the store as it is (one replace per entry) and beside it over
// the store as it was (a replace per written box), on a set in memory
// (/dev/shm where there is one): a PIT-37 set and a joint PIT-36 set with
// every attachment. Counters: file replaces per entry. And the
// recalculation of a set with 1000 PIT/B copies.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "calc/dispatch.hpp"
#include "report/page_definition.hpp"
#include "report/print_page.hpp"
#include "shell/page_behaviour.hpp"
#include "store/ini.hpp"
#include "store/store.hpp"

#ifndef SOLV_EXAMPLES_DIR
#error "SOLV_EXAMPLES_DIR names the folder of the example sets"
#endif

namespace {

// The store as it was: every write of a box is a replace of the file, an
// operation holds nothing.
class PerWriteStore final : public solv::IniStore {
 public:
  explicit PerWriteStore(solv::IniFile& file) : file_(file) {}
  std::optional<std::string> Read(std::string_view s, std::string_view k) override { return file_.Read(s, k); }
  void Write(std::string_view s, std::string_view k, std::string_view v) override { file_.Write(s, k, v); }
  void WriteMany(std::string_view s, const solv::IniEntries& e) override { file_.WriteMany(s, e); }
  std::vector<std::string> Sections() override { return file_.Sections(); }
  solv::IniEntries Entries(std::string_view s) override { return file_.Entries(s); }
  void EraseSection(std::string_view s) override { file_.EraseSection(s); }
  void EraseKey(std::string_view s, std::string_view k) override { file_.EraseKey(s, k); }

 private:
  solv::IniFile& file_;
};

// A copy of an example set in a folder of its own, in memory when it can be.
struct ScratchSet {
  std::filesystem::path dir, file;
  explicit ScratchSet(const std::string& example) {
    const std::filesystem::path base =
        ::access("/dev/shm", W_OK | X_OK) == 0 ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
    std::string pattern = (base / "solvbench-edit-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    dir = pattern;
    file = dir / "1.i10";
    std::filesystem::copy_file(std::filesystem::path(SOLV_EXAMPLES_DIR) / example, file);
    solv::Store() = solv::StoreState{};
    if (!solv::OpenSetForWriting(file)) std::abort();
  }
  ~ScratchSet() {
    solv::Store() = solv::StoreState{};
    std::filesystem::remove_all(dir);
  }
};

class BenchPage final : public solv::PageHost {
 public:
  BenchPage(const char* pageClass, const std::string& instance)
      : page_(solv::BuildPage(*solv::FindPage(pageClass), instance)), cells_(*page_), class_(pageClass) {
    solv::LoadPageCells(cells_);
  }
  std::string ClassName() const override { return class_; }
  solv::PageCells& Cells() override { return cells_; }
  void Type(const char* box, const std::string& text) { cells_.SetCellText(solv::FindCell(cells_, box), text); }

 private:
  std::unique_ptr<solv::TKVZPage> page_;
  solv::PageModelCells cells_;
  std::string class_;
};

// Entries into box of page, two amounts in turn, each stored, recalculated
// and reloaded as the page does it.
void Entries(benchmark::State& state, const char* example, const char* pageClass, const char* instance,
             const char* box, bool perWrite) {
  ScratchSet set(example);
  std::optional<PerWriteStore> old;
  if (perWrite) solv::Store().backend = &old.emplace(solv::OpenIni(set.file));
  BenchPage page(pageClass, instance);
  bool odd = false;
  const unsigned long long before = solv::FileReplaceCount();
  for (auto _ : state) {
    page.Type(box, (odd = !odd) ? "24000,01" : "24000,00");
    solv::StorePage(page, nullptr);
  }
  state.counters["replaces_per_entry"] =
      static_cast<double>(solv::FileReplaceCount() - before) / static_cast<double>(state.iterations());
  solv::Store().backend = nullptr;
}

void BM_EntryPIT37(benchmark::State& s) { Entries(s, "pit37.i10", "TPIT37b", "PIT37a", "p39", false); }
void BM_EntryPIT37_PerWriteStore(benchmark::State& s) { Entries(s, "pit37.i10", "TPIT37b", "PIT37a", "p39", true); }
void BM_EntryPIT36Full(benchmark::State& s) { Entries(s, "pit36full.i10", "TPIT36b", "PIT36a", "p45", false); }
void BM_EntryPIT36Full_PerWriteStore(benchmark::State& s) {
  Entries(s, "pit36full.i10", "TPIT36b", "PIT36a", "p45", true);
}

BENCHMARK(BM_EntryPIT37)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_EntryPIT37_PerWriteStore)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_EntryPIT36Full)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_EntryPIT36Full_PerWriteStore)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A PIT-36 set with 1000 more PIT/B copies of both spouses.
void AddThousandPitBCopies() {
  const solv::SetHold hold;
  for (int i = 1; i <= 1000; ++i) {
    const std::string section = "PITBa_" + std::to_string(i);
    solv::WriteField("P1", i % 2 ? "1234563218" : "9876543210", section);
    solv::WriteField("P11", std::to_string(1000 + i) + ",00", section);
    solv::WriteField("P12", std::to_string(500 + i) + ",00", section);
  }
}

// One PIT/B recalculation in that set, as an entry on a PIT/B page makes it:
// its part D goes over every copy.
void BM_RecalcPitBAmongAThousand(benchmark::State& state) {
  ScratchSet set("pit36.i10");
  AddThousandPitBCopies();
  const unsigned long long before = solv::FileReplaceCount();
  for (auto _ : state) solv::Recalculate("PITBa_500");
  state.counters["replaces"] =
      static_cast<double>(solv::FileReplaceCount() - before) / static_cast<double>(state.iterations());
}

BENCHMARK(BM_RecalcPitBAmongAThousand)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Every copy of that set recalculated, as solvcalc recalc does it: one
// operation, one write; each copy's part D goes over every copy.
void BM_RecalcThousandPitBCopies(benchmark::State& state) {
  ScratchSet set("pit36.i10");
  AddThousandPitBCopies();
  const unsigned long long before = solv::FileReplaceCount();
  for (auto _ : state) {
    const solv::SetHold hold;
    for (const std::string& section : solv::SectionsOfForm("PITBa")) solv::Recalculate(section);
  }
  state.counters["copies"] = static_cast<double>(solv::CountSectionsOfForm("PITBa"));
  state.counters["replaces"] =
      static_cast<double>(solv::FileReplaceCount() - before) / static_cast<double>(state.iterations());
}

BENCHMARK(BM_RecalcThousandPitBCopies)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
