// PIT/Z: business income after adding back 20% of the income of the year in
// which the art.44 ust.7a exemption was used.
#include "calc/other/pitz.hpp"

#include <string>

#include "calc/rules.hpp"
#include "store/store.hpp"
#include "calc/fields.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

constexpr int kPit36L = 2;

long double N(std::string_view key) { return ReadNumber(key); }
void Money(std::string_view key, long double value) { WriteField(key, Format("%.2f", value)); }

// A PIT-36L set has no part B; C.1 follows the first PIT/B copy with revenue.
void FromPitB() {
  FillFields({"p7", "p8", "p11", "p12", "p15", "p16"}, "");
  FillFields({"p9", "p10", "p13", "p14", "p17", "p18", "p19", "p20", "p21", "p22", "p23"}, "");
  // Every copy counts, also when the first one ("PITBa") was deleted.
  for (const auto& pitb : SectionsOfForm("PITBa")) {
    // Revenue is compared in whole grosz: a copy whose revenue shows as
    // 0,00 has none.
    if (!(ToGrosz(ReadNumber("p53", "0", pitb)) > 0)) continue;
    const char* const from[] = {"p53", "p54", "p55", "p56"};
    const char* const to[] = {"p24", "p25", "p26", "p27"};
    for (int i = 0; i < 4; ++i) Money(to[i], ReadNumber(from[i], "0", pitb));
    return;
  }
}

// Part B of a PIT-36 set: the business split into what the exemption covers
// and the rest.
void PartB() {
  IncomeOrLoss("p7", "p8", "p9", "p10");
  IncomeOrLoss("p11", "p12", "p13", "p14");
  IncomeOrLoss("p15", "p16", "p17", "p18");
  Money("p19", N("p7"));
  Money("p20", N("p8"));
  Money("p21", N("p13"));
  Money("p22", N("p14") + N("p18"));
  Money("p23", N("p17"));
}

}  // namespace

void RecalcPITZ(std::string_view section) {
  const CalcRun run(section);

  if (ActiveMainForm() == kPit36L) FromPitB();
  else PartB();

  IncomeOrLoss("p24", "p25", "p26", "p27");

  // The addition first uses up the loss; what is left of it is income.
  const long double x = N("p27") - N("p29");
  if (x > 0) {
    Money("p30", x);
    WriteField("p31", "0,00");
  } else {
    WriteField("p30", "0,00");
    Money("p31", -x);
  }
  Money("p32", N("p26") + N("p31"));

  Money("p33", N("p24"));
  Money("p34", N("p25"));
  Money("p35", N("p32"));
  Money("p36", N("p30"));
}

}  // namespace solv
