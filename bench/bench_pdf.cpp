// Print copies of a full joint PIT-36 set with its attachments (PIT/Z of
// both spouses, three PIT/B and three PIT/ZG copies, PIT/M of both, PIT/D,
// PIT/O) written to a PDF file: pages per second.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QString>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "calc/dispatch.hpp"
#include "pdf_export.hpp"
#include "report/print_page.hpp"
#include "report/print_selection.hpp"
#include "store/cp1250.hpp"
#include "store/store.hpp"

namespace {

const char* const kPrintSet =
    "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\nP1=1234563218\nP2=9876543210\nP5=2010\nP6A=[  ]\nP6B=[X]\nP6C=[  ]\n"
    "P6D=[  ]\nP7=Urząd Skarbowy Łódź-Bałuty\nP10A=[X]\nP10B=[  ]\nP11=Kowalski\nP12=Jan\nP13=01-02-1970\n"
    "P14=Anna\nP15=POLSKA\nP16=łódzkie\nP17=Łódź\nP18=Łódź\nP19=Piotrkowska\nP20=12\nP21=3\nP22=Łódź\n"
    "P23=90-001\nP24=Łódź\nP25=Kowalska\nP26=Maria\nP27=03-04-1972\nP28=Zofia\n"
    "P45=36000,00\nP46=1335,00\nP49=3100\nP50=2000,00\nP52=150\nP57=8000\nP59=5000,00\nP60=2000,00\nP63=100\n"
    "P88=42000,00\nP89=1335,00\nP92=4200\nP93=1000,00\nP95=80\nP100=1500\nP102=1000,00\nP103=1500,00\n"
    "P131=1200,00\nP132=800,00\nP133=120\nP134=80\nP135=500,00\nP136=300,00\nP137=2000,00\nP1371=działalność\n"
    "P305=0000012345\nP307=\"\"pomagam podatkiem\"\"\nP308A=[X]\n"
    "[PITZa]\nP1=1234563218\nP19=150000,00\nP20=90000,00\nP21=60000,00\nP33=152000,00\nP34=91000,00\n"
    "[PITZa_M]\nP1=9876543210\nP19=30000,00\nP20=34000,00\nP22=4000,00\nP23=500,00\n"
    "[PITBa]\nP1=1234563218\nP3=2\nP11=100000,00\nP12=60000,00\nP13=40000,00\n"
    "[PITBa_1]\nP1=1234563218\nP3=2\nP11=50000,00\nP12=30000,00\nP13=20000,00\nP53=150000,00\n"
    "[PITBa_2]\nP1=9876543210\nP3=1\nP11=30000,00\nP12=34000,00\nP13=-4000,00\nP53=30000,00\n"
    "[PITZGa]\nP1=1234563218\nP5=NIEMCY\nP13A=4000,00\nP13B=1000,00\nP27=10000,00\nP29=400,00\n"
    "[PITZGa_1]\nP1=1234563218\nP5=CZECHY\nP13A=1500,00\nP13B=2500,00\n"
    "[PITZGa_2]\nP1=9876543210\nP5=AUSTRIA\nP13A=2000,00\nP13B=500,00\nP27=5000,00\nP29=300,00\n"
    "[PITMa]\nP1=1234563218\nP9=1200,00\n[PITMa_M]\nP1=9876543210\nP9=800,00\n"
    "[PITDa]\nP1=1234563218\nP33=1000,00\n[PITOa]\nP1=1234563218\nP11=760,00\n";

void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "solv_bench";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

struct PrintCopies {
  std::filesystem::path dir;
  std::vector<std::unique_ptr<solv::TKVZPage>> copies;
  std::vector<const solv::TKVZPage*> pages;
  PrintCopies() {
    std::string pattern = (std::filesystem::temp_directory_path() / "solvbenchpdf-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    dir = pattern;
    std::string crlf;
    for (const char* p = kPrintSet; *p; ++p) crlf += *p == '\n' ? std::string("\r\n") : std::string(1, *p);
    std::ofstream(dir / "1.i10", std::ios::binary) << solv::Utf8ToCp1250(crlf);
    solv::Store() = solv::StoreState{};
    solv::Store().programFolder = dir;
    solv::OpenSet(dir / "1.i10");
    // Twice, so the main form sees its attachments and PIT/O its main form.
    for (int pass = 0; pass < 2; ++pass)
      for (const auto& section : solv::SetStore().Sections())
        if (section != "MAIN") solv::Recalculate(section);
    for (const auto& ref : solv::PagesToPrint(solv::PreCheckedRows())) {
      auto page = solv::BuildPage(*solv::FindPage(ref.pageClass), ref.section);
      solv::PageModelCells cells(*page);
      solv::LoadPageCells(cells);
      copies.push_back(solv::MakePrintCopy(*page));
      pages.push_back(copies.back().get());
    }
  }
  ~PrintCopies() {
    copies.clear();
    solv::Store() = solv::StoreState{};
    std::filesystem::remove_all(dir);
  }
};

void BM_PrintCopiesToPdf(benchmark::State& state) {
  EnsureGuiApplication();
  PrintCopies set;
  const QString out = QString::fromStdString((set.dir / "out.pdf").string());
  for (auto _ : state)
    if (!solv::WritePdf(set.pages, out)) state.SkipWithError("the PDF could not be written");
  state.counters["pages"] = static_cast<double>(set.pages.size());
  state.counters["pages/s"] =
      benchmark::Counter(static_cast<double>(set.pages.size() * state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_PrintCopiesToPdf)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
