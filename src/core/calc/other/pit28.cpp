// PIT-28: lump-sum tax on recorded revenue, with its attachments PIT-28/A and
// PIT-28/B.
#include "calc/other/pit28.hpp"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "calc/other/pit28_messages.hpp"
#include "calc/other/pit28b_messages.hpp"
#include "calc/context.hpp"
#include "calc/rules.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"
#include "calc/fields.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

using namespace calc;
using C = Pit28Check;

// Sums of boxes are formed in double precision from the values read.
double Sum(std::initializer_list<int> boxes) {
  double s = 0;
  for (int b : boxes) s += ReadNumber(Box(b).Key());
  return s;
}
double SumFromTo(int first, int last) {
  double s = 0;
  for (int b = first; b <= last; ++b) s += ReadNumber(Box(b).Key());
  return s;
}

long double SharePercent(long double part, long double total) {
  return total > 0 ? Through("%.2f", part / total * 100) : 0;
}
long double PercentOf(long double amount, long double percent) { return Through("%.2f", amount * (percent / 100)); }


// The lump-sum rates of the six columns, in per cent.
constexpr long double kRates[6] = {3, 5.5L, 8.5L, 10, 17, 20};

// Revenue assessed under art.17 (row 5): its share of the deductions, the
// revenue after them in whole zloty and the tax, summed over the columns.
struct AssessedTotals {
  long double deductions = 0, base = 0, tax = 0;
};
void RateColumnStep(Box shareBox, Box revenueBox, long double deductions, long double rate, AssessedTotals& t) {
  const long double share = RoundedThrough("%.2f", N(shareBox));
  const long double revenue = RoundedThrough("%.2f", N(revenueBox));
  long double d = RoundedThrough("%.2f", share / 100 * deductions);
  if (d > revenue) d = revenue;
  t.deductions += d;
  const long double b = Through("%.0f", revenue - d);
  t.base += b;
  t.tax += RoundedThrough("%.2f", rate / 100 * b);
}

// Empty text into every box of the list.
void Empty(const std::vector<Box>& boxes) { Fill(boxes, ""); }

}  // namespace

void RecalcPIT28(std::string_view section) {
  const CalcRun run(section);
  const int exemption = ExemptionChoice();

  if (!Checked("p6a") && !Checked("p6b")) Message(C::kNoPurpose);

  // Part C: revenue by source and rate.
  Money(27, SumFromTo(21, 26));
  Money(34, SumFromTo(28, 33));
  Money(36, N(35));
  Money(37, Sum({21, 28}));
  Money(38, Sum({22, 29}));
  Money(39, Sum({23, 30, 35}));
  Money(40, Sum({24, 31}));
  Money(41, Sum({25, 32}));
  Money(42, Sum({26, 33}));
  Money(43, Sum({27, 34, 36}));
  Money(50, SumFromTo(44, 49));

  const long double total = Sum({43, 50});
  for (int k = 0; k < 6; ++k) Money(51 + k, SharePercent(N(37 + k), total));
  for (int k = 0; k < 6; ++k) Money(57 + k, SharePercent(N(44 + k), total));

  // Part D: deductions from revenue.
  Limit(65, N(64), C::kForeignSocialAboveSocial);
  const long double deductions = Sum({63, 64, 66});
  if (ExceedsLimit(deductions, total)) Message(C::kRevenueDeductionsAboveRevenue);
  Rule("poz. 67 = (poz. 43 + poz. 50) − (poz. 63 + poz. 64 + poz. 66), gdy dodatnia");
  Money(67, std::max<long double>(0, total - deductions));
  Limit(68, N(67), C::kInterestReliefAboveBase);
  Money(69, std::max<long double>(0, N(67) - N(68)));
  Money(71, std::max<long double>(0, std::min<long double>(N(70), N(69))));
  Money(72, N(70) - N(71));
  Money(73, Sum({63, 64, 66, 68, 71}));

  // Part E: the deductions spread over the rates by share; never above a
  // column's revenue, so part F never goes negative.
  for (int k = 0; k < 6; ++k) Money(74 + k, std::min<long double>(PercentOf(N(73), N(51 + k)), N(37 + k)));
  AssessedTotals assessed;
  for (int k = 0; k < 6; ++k) RateColumnStep(57 + k, 44 + k, N(73), kRates[k], assessed);
  Money(80, assessed.deductions);
  Zloty(87, assessed.base);
  Money(95, assessed.tax);

  // Part F: revenue after deductions in whole zloty; part G: tax per rate.
  for (int k = 0; k < 6; ++k) Zloty(81 + k, N(37 + k) - N(74 + k));
  Zloty(88, SumFromTo(81, 87));
  for (int k = 0; k < 6; ++k) MoneyRounded(89 + k, N(81 + k) * kRates[k] / 100);

  // Part H: the lump-sum tax and the deductions from it. A tax is never
  // negative: tax paid abroad above the lump sum leaves 0, not a credit.
  Money(96, SumFromTo(89, 95));
  Money(99, std::max<long double>(0, Sum({96, 97}) - N(98)));
  Limit(100, N(99), C::kHealthAboveLumpSum);
  Limit(101, N(100), C::kForeignHealthAboveHealth);
  Limit(102, N(99) - N(100), C::kLumpSumDeductionsAboveLumpSum);
  Money(104, std::max<long double>(0, std::min<long double>(N(103), N(99) - Sum({100, 102}))));
  Money(105, N(103) - N(104));
  // Tax due, rounded through grosz to whole zloty; deductions above the tax
  // leave 0 (M4 or M6 reports them), never a refund.
  const long double due = N(99) - Sum({100, 102, 104});
  Zloty(106, Through("%.2f", std::max<long double>(0, due)));

  // Part I: exemption and settlement of the advances.
  if (exemption == 1) {
    Fill(box_lists::kPit28ExemptionAdvances, "");
    Empty({111, 112, 124});
    Empty({107, 108});
  } else {
    if (exemption == 2) {
      Empty({107, 108});
    } else {
      const long double x = N(106) + N(108) - N(110);
      Split(x, x >= 0, 111, 112, "%.2f");
    }
    Zloty(124, SumFromTo(113, 123));
  }

  // Part J: 1% for a public-benefit organisation.
  OnePercent(N(106), 126, 127, C::kOnePercentAboveLimit, C::kOnePercentReminder, C::kOnePercentWithoutKrs);
}

void RecalcPIT28A(std::string_view section) { const CalcRun run(section); }

void RecalcPIT28B(std::string_view section) {
  const CalcRun run(section);

  // One partnership block: share, partnership revenue, its twelve per-rate
  // entries, the taxpayer's revenue and the taxpayer's twelve per-rate parts.
  struct Block {
    Box share, revenue;
    int firstEntry;
    Box taxpayerRevenue;
    int firstPart;
    Pit28BCheck shareAbove100;
  };
  constexpr Block kBlocks[] = {
      {.share = 23, .revenue = 24, .firstEntry = 25, .taxpayerRevenue = 37, .firstPart = 38,
       .shareAbove100 = Pit28BCheck::kFirstShareAbove100},
      {.share = 65, .revenue = 66, .firstEntry = 67, .taxpayerRevenue = 79, .firstPart = 80,
       .shareAbove100 = Pit28BCheck::kSecondShareAbove100}};
  for (const Block& b : kBlocks) {
    if (ExceedsLimit(N(b.share), 100)) Message(b.shareAbove100);
    Money(b.revenue, SumFromTo(b.firstEntry, b.firstEntry + 11));
    const long double f = N(b.share) / 100;
    Money(b.taxpayerRevenue, N(b.revenue) * f);
    for (int k = 0; k < 12; ++k) Money(b.firstPart + k, N(b.firstEntry + k) * f);
  }

  // Part C.3: both blocks added column by column.
  for (int k = 0; k < 12; ++k) MoneyRounded(92 + k, Sum({38 + k, 80 + k}));
}

}  // namespace solv
