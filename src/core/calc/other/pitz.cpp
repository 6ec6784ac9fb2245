// PIT/Z: business income after adding back 20% of the income of the year in
// which the art.44 ust.7a exemption was used.
#include "calc/other/pitz.hpp"

#include <string>

#include "calc/context.hpp"
#include "calc/rules.hpp"
#include "store/store.hpp"
#include "calc/fields.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

constexpr int kPit36L = 2;

using namespace calc;

// A PIT-36L set has no part B; C.1 follows the first PIT/B copy with revenue.
void FromPitB() {
  Fill(box_lists::kPitzPartBEntered, "");
  Fill({9, 10, 13, 14, 17, 18, 19, 20, 21, 22, 23}, "");
  // Every copy counts, also when the first one ("PITBa") was deleted.
  for (const auto& pitb : SectionsOfForm("PITBa")) {
    // Revenue is compared in whole grosz: a copy whose revenue shows as
    // 0,00 has none.
    if (!(ToGrosz(N(53, pitb)) > 0)) continue;
    for (int k = 0; k < 4; ++k) Money(24 + k, N(53 + k, pitb));
    return;
  }
}

// Part B of a PIT-36 set: the business split into what the exemption covers
// and the rest.
void PartB() {
  IncomeOrLoss({.revenue = 7, .cost = 8, .income = 9, .loss = 10});
  IncomeOrLoss({.revenue = 11, .cost = 12, .income = 13, .loss = 14});
  IncomeOrLoss({.revenue = 15, .cost = 16, .income = 17, .loss = 18});
  Money(19, N(7));
  Money(20, N(8));
  Money(21, N(13));
  Money(22, N(14) + N(18));
  Money(23, N(17));
}

}  // namespace

void RecalcPITZ(std::string_view section) {
  const CalcRun run(section);

  if (ActiveMainForm() == kPit36L) FromPitB();
  else PartB();

  IncomeOrLoss({.revenue = 24, .cost = 25, .income = 26, .loss = 27});

  // The addition first uses up the loss; what is left of it is income.
  const long double x = N(27) - N(29);
  Split(x, x > 0, 30, 31, "%.2f");
  Money(32, N(26) + N(31));

  Money(33, N(24));
  Money(34, N(25));
  Money(35, N(32));
  Money(36, N(30));
}

}  // namespace solv
