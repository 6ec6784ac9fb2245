// RecalcPIT36 on a full joint return set with its attachments: PIT/Z of both
// spouses, PIT/B copies of both and PIT/ZG copies of both, every income row,
// deductions, the settlement and the 1% filled.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "calc/scale/pit36.hpp"
#include "messages/messages.hpp"
#include "store/cp1250.hpp"
#include "store/store.hpp"

namespace {

const char* const kFullSet =
    "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\nP1=1234563218\nP2=9876543210\nP5=2010\nP6A=[  ]\nP6B=[X]\nP6C=[  ]\n"
    "P6D=[  ]\nP7=Urząd Skarbowy Łódź-Bałuty\nP10A=[X]\nP10B=[  ]\nP11=Kowalski\nP12=Jan\nP13=01-02-1970\n"
    "P14=Anna\nP15=POLSKA\nP16=łódzkie\nP17=Łódź\nP18=Łódź\nP19=Piotrkowska\nP20=12\nP21=3\nP22=Łódź\n"
    "P23=90-001\nP24=Łódź\nP25=Kowalska\nP26=Maria\nP27=03-04-1972\nP28=Zofia\nP39B=[  ]\nP39A=[  ]\n"
    "P45=36000,00\nP46=1335,00\nP49=3100\nP50=2000,00\nP52=150\nP57=8000\nP59=5000,00\nP60=2000,00\nP63=100\n"
    "P64=3000,00\nP65=600,00\nP68=430\nP69=12000,00\nP70=1000,00\nP73=1100\nP74=8000,00\nP75=4000,00\nP78=720\n"
    "P79=1500,00\nP80=100,00\nP83=50\n"
    "P88=42000,00\nP89=1335,00\nP92=4200\nP93=1000,00\nP95=80\nP100=1500\nP102=1000,00\nP103=1500,00\n"
    "P107=2000,00\nP108=400,00\nP111=290\nP112=6000,00\nP113=500,00\nP116=550\nP117=4000,00\nP118=2000,00\n"
    "P121=360\nP122=700,00\nP123=0,00\nP126=0\n"
    "P131=1200,00\nP132=800,00\nP133=120\nP134=80\nP135=500,00\nP136=300,00\nP137=2000,00\nP1371=działalność\n"
    "P138=1000,00\nP139=9000,00\nP140=7500,00\nP141=1000,00\nP142=500,00\nP145=1500,00\nP146=1200,00\n"
    "P147=800,00\nP148=0,00\nP149=0,00\nP150=5000,00\nP153=0,00\nP154=0,00\nP157=100,00\nP158=50,00\n"
    "P168=10000,00\nP169=5000,00\nP172=100,00\nP173=400,00\nP174=300,00\nP176=4200,00\nP177=3900,00\n"
    "P178=200,00\nP179=100,00\nP180=300,00\nP181=200,00\nP182=1500,00\nP186=0,00\nP187=0,00\nP192=27000\n"
    "P193=500\nP194=0\nP195=120\nP196=80\nP197=1000,00\nP198=600,00\nP199=300,00\nP200=200,00\nP201=100,00\n"
    "P202=50,00\nP305=0000012345\nP307=\"\"pomagam podatkiem\"\"\nP308A=[X]\n"
    "[PITZa]\nP1=1234563218\nP19=150000,00\nP20=90000,00\nP21=60000,00\nP22=0,00\nP23=0,00\nP33=152000,00\n"
    "P34=91000,00\nP35=61000,00\nP36=0,00\n"
    "[PITZa_M]\nP1=9876543210\nP19=30000,00\nP20=34000,00\nP21=0,00\nP22=4000,00\nP23=500,00\nP33=0,00\n"
    "P34=0,00\nP35=0,00\nP36=0,00\n"
    "[PITBa]\nP1=1234563218\nP3=2\nP11=100000,00\nP12=60000,00\nP13=40000,00\n"
    "[PITBa_1]\nP1=1234563218\nP3=2\nP11=50000,00\nP12=30000,00\nP13=20000,00\nP53=150000,00\nP54=90000,00\n"
    "P55=60000,00\nP56=0,00\n"
    "[PITBa_2]\nP1=9876543210\nP3=1\nP11=30000,00\nP12=34000,00\nP13=-4000,00\nP53=30000,00\nP54=34000,00\n"
    "P55=0,00\nP56=4000,00\n"
    "[PITZGa]\nP1=1234563218\nP5=NIEMCY\nP13A=4000,00\nP13B=1000,00\nP27=10000,00\nP28=0,00\nP29=400,00\n"
    "[PITZGa_1]\nP1=1234563218\nP5=CZECHY\nP13A=1500,00\nP13B=2500,00\nP27=0,00\nP28=0,00\nP29=0,00\n"
    "[PITZGa_2]\nP1=9876543210\nP5=AUSTRIA\nP13A=2000,00\nP13B=500,00\nP27=5000,00\nP28=0,00\nP29=300,00\n";

struct FullSet {
  std::filesystem::path dir, file;
  FullSet() {
    std::string pattern = (std::filesystem::temp_directory_path() / "solvbench36-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    dir = pattern;
    file = dir / "1.i10";
    std::string crlf;
    for (const char* p = kFullSet; *p; ++p) crlf += *p == '\n' ? std::string("\r\n") : std::string(1, *p);
    std::ofstream(file, std::ios::binary) << solv::Utf8ToCp1250(crlf);
    solv::Store() = solv::StoreState{};
    solv::OpenSet(file);
    solv::RecalcPIT36("PIT36a");  // the filled set as an edit leaves it
  }
  ~FullSet() {
    solv::Store() = solv::StoreState{};
    std::filesystem::remove_all(dir);
  }
};

void BM_RecalcPIT36(benchmark::State& state) {
  FullSet set;
  for (auto _ : state) solv::RecalcPIT36("PIT36a");
  state.counters["messages"] = solv::Messages().counter;
}

BENCHMARK(BM_RecalcPIT36)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

}  // namespace
