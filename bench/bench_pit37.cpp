// RecalcPIT37 on a filled return set: over the store with its parsed copy,
// and over a naive store that opens and parses the file for every read and
// rewrites it for every write (the baseline).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "calc/scale/pit37.hpp"
#include "messages/messages.hpp"
#include "store/cp1250.hpp"
#include "store/ini.hpp"
#include "store/store.hpp"

namespace {

// A joint PIT-37 with every income row, deductions and the 1% filled.
const char* const kFilledSet =
    "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\nP1=1234563218\nP2=9876543210\nP5=2010\nP6A=[  ]\nP6B=[X]\nP6C=[  ]\n"
    "P6D=[  ]\nP7A=[  ]\nP8A=[  ]\nP9=Urząd Skarbowy Łódź-Bałuty\nP10A=[X]\nP10B=[  ]\nP11=Kowalski\nP12=Jan\n"
    "P13=01-02-1970\nP14=Anna\nP15=POLSKA\nP16=łódzkie\nP17=Łódź\nP18=Łódź\nP19=Piotrkowska\nP20=12\nP21=3\n"
    "P22=Łódź\nP23=90-001\nP24=Łódź\nP25=Kowalska\nP26=Maria\nP27=03-04-1972\nP28=Zofia\n"
    "P39=61234,56\nP40=1335,00\nP43=7020\nP44=12000,00\nP46=1100\nP47=3500,00\nP48=700,00\nP51=504\n"
    "P52=10000,00\nP53=5000,00\nP56=900\nP57=800,00\nP58=100,00\nP61=126\n"
    "P66=45000,00\nP67=1335,00\nP70=5100\nP71=8000,00\nP73=700\nP74=2000,00\nP75=400,00\nP78=288\n"
    "P79=1500,00\nP80=750,00\nP83=135\nP84=300,00\nP85=0,00\nP88=54\n"
    "P93=9876,54\nP94=6543,21\nP95=0,00\nP96=0,00\nP99=1200,00\nP100=800,00\nP101=0,00\nP102=3000,00\n"
    "P108=0,00\nP110=6500,00\nP111=4300,00\nP112=0,00\nP113=0,00\nP114=300,00\nP115=0,00\nP117=500,00\n"
    "P124=0000012345\nP126=\"\"pomagam podatkiem\"\"\nP127A=[X]\nP128=\nP129=1\nP130=0\nP131=0\n";

class NaiveStore final : public solv::IniStore {
 public:
  explicit NaiveStore(std::filesystem::path path) : path_(std::move(path)) {}
  std::optional<std::string> Read(std::string_view section, std::string_view key) override {
    return Load().Read(section, key);
  }
  void Write(std::string_view section, std::string_view key, std::string_view value) override {
    solv::IniDocument doc = Load();
    doc.Write(section, key, value);
    solv::SaveIniDocument(path_, doc);
  }
  void WriteMany(std::string_view section, const solv::IniEntries& entries) override {
    for (const auto& [k, v] : entries) Write(section, k, v);
  }
  std::vector<std::string> Sections() override { return Load().SectionNames(); }
  solv::IniEntries Entries(std::string_view section) override { return Load().Entries(section); }
  void EraseSection(std::string_view section) override {
    solv::IniDocument doc = Load();
    doc.EraseSection(section);
    solv::SaveIniDocument(path_, doc);
  }
  void EraseKey(std::string_view section, std::string_view key) override {
    solv::IniDocument doc = Load();
    doc.EraseKey(section, key);
    solv::SaveIniDocument(path_, doc);
  }

 private:
  solv::IniDocument Load() { return solv::LoadIniDocument(path_).value_or(solv::IniDocument{}); }
  std::filesystem::path path_;
};

struct BenchSet {
  std::filesystem::path dir, file;
  BenchSet() {
    std::string pattern = (std::filesystem::temp_directory_path() / "solvbench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    dir = pattern;
    file = dir / "1.i10";
    std::string crlf;
    for (const char* p = kFilledSet; *p; ++p) crlf += *p == '\n' ? std::string("\r\n") : std::string(1, *p);
    std::ofstream(file, std::ios::binary) << solv::Utf8ToCp1250(crlf);
    solv::Store() = solv::StoreState{};
    solv::OpenSet(file);
    solv::RecalcPIT37("PIT37a");  // the filled set as an edit leaves it
  }
  ~BenchSet() {
    solv::Store() = solv::StoreState{};
    std::filesystem::remove_all(dir);
  }
};

void BM_RecalcPIT37(benchmark::State& state) {
  BenchSet set;
  for (auto _ : state) solv::RecalcPIT37("PIT37a");
  state.counters["messages"] = solv::Messages().counter;
}

// An edit as the page makes it: one income box changes, then the whole form
// is recalculated and the changed derived boxes reach the file.
void BM_RecalcPIT37_AfterEdit(benchmark::State& state) {
  BenchSet set;
  bool odd = false;
  for (auto _ : state) {
    solv::WriteField("p39", (odd = !odd) ? "61234,57" : "61234,56", "PIT37a");
    solv::RecalcPIT37("PIT37a");
  }
}

void BM_RecalcPIT37_NaiveStore(benchmark::State& state) {
  BenchSet set;
  NaiveStore naive(set.file);
  solv::Store().backend = &naive;
  for (auto _ : state) solv::RecalcPIT37("PIT37a");
  solv::Store().backend = nullptr;
}

BENCHMARK(BM_RecalcPIT37)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_RecalcPIT37_AfterEdit)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_RecalcPIT37_NaiveStore)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

// Prints the ratio of the two medians after the usual report.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs)
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
        medians_[r.run_name.function_name] = r.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto fast = medians_.find("BM_RecalcPIT37"), slow = medians_.find("BM_RecalcPIT37_NaiveStore");
    if (fast != medians_.end() && slow != medians_.end() && fast->second > 0)
      std::cout << "RecalcPIT37 median " << fast->second << " us; naive store " << slow->second
                << " us; speed-up " << slow->second / fast->second << "x\n";
  }

 private:
  std::map<std::string, double> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
