// PIT-37: income from payers taxed on the 2010 scale, alone or jointly.
#include "calc/scale/pit37.hpp"

#include <algorithm>
#include <string>

#include "calc/rules.hpp"
#include "calc/scale/pit37_messages.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"
#include "calc/fields.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

std::string P(int box) { return "p" + std::to_string(box); }
long double N(int box) { return ReadNumber(P(box)); }
std::string Text(int box) { return ReadField(P(box)); }
void Put(int box, std::string_view text) { WriteField(P(box), text); }
void Money(int box, long double value) { Put(box, Format("%.2f", value)); }

void Message(int n, std::string_view argument = {}) { AddMessage(kPit37Messages[n], argument); }
void Limit(int box, long double limit, int n) { CheckLimit(N(box), limit, kPit37Messages[n]); }

// The spouse's boxes, emptied while the taxpayer files alone.
Keys SpouseBoxes() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v{"p2"};
    for (int b = 25; b <= 38; ++b) v.push_back(P(b));
    for (int b = 66; b <= 92; ++b) v.push_back(P(b));
    for (int b : {94, 96, 98, 100, 111, 113, 115}) v.push_back(P(b));
    return v;
  }();
  return Keys(names.begin(), names.end());
}

// One column of part C: rows 1, 3, 4, 5 with revenue/cost/income/loss, row 2
// (pensions) income only, then the totals.
struct IncomeColumn {
  int rows[4][4];  // revenue, cost, income, loss
  int pensionRevenue, pensionIncome;
  int totalRevenue, totalCost, totalIncome, totalAdvance;
  int advances[5];
};

constexpr IncomeColumn kTaxpayer{{{39, 40, 41, 42}, {47, 48, 49, 50}, {52, 53, 54, 55}, {57, 58, 59, 60}},
                                 44, 45, 62, 63, 64, 65, {43, 46, 51, 56, 61}};
constexpr IncomeColumn kSpouse{{{66, 67, 68, 69}, {74, 75, 76, 77}, {79, 80, 81, 82}, {84, 85, 86, 87}},
                               71, 72, 89, 90, 91, 92, {70, 73, 78, 83, 88}};

void Column(const IncomeColumn& c) {
  IncomeOrLoss(P(c.rows[0][0]), P(c.rows[0][1]), P(c.rows[0][2]), P(c.rows[0][3]));
  Money(c.pensionIncome, N(c.pensionRevenue));
  for (int r = 1; r < 4; ++r) IncomeOrLoss(P(c.rows[r][0]), P(c.rows[r][1]), P(c.rows[r][2]), P(c.rows[r][3]));

  const std::string rev[] = {P(c.rows[0][0]), P(c.pensionRevenue), P(c.rows[1][0]), P(c.rows[2][0]),
                             P(c.rows[3][0])};
  const std::string cost[] = {P(c.rows[0][1]), P(c.rows[1][1]), P(c.rows[2][1]), P(c.rows[3][1])};
  const std::string inc[] = {P(c.rows[0][2]), P(c.pensionIncome), P(c.rows[1][2]), P(c.rows[2][2]),
                             P(c.rows[3][2])};
  std::string adv[5];
  for (int i = 0; i < 5; ++i) adv[i] = P(c.advances[i]);
  SumFieldsInto(Keys(std::begin(rev), std::end(rev)), P(c.totalRevenue));
  SumFieldsInto(Keys(std::begin(cost), std::end(cost)), P(c.totalCost));
  SumFieldsInto(Keys(std::begin(inc), std::end(inc)), P(c.totalIncome));
  // The advances total in the "0.00" form, read back and stored in whole
  // zloty; only the final text is written.
  const long double advances = SumFieldsValue(Keys(std::begin(adv), std::end(adv)), {});
  Put(c.totalAdvance, Format("0", ParseAmount(Format("0.00", advances), 0)));
}

}  // namespace

void RecalcPIT37(std::string_view section) {
  const CalcRun run(section);

  const int method = TaxationMethod();
  const bool joint = IsJointMethod(method);

  // Method and purpose of the return.
  if (method == 0) Message(0);
  if (IsChecked("p7a") && method == 0) Message(1);
  if (IsChecked("p8a") && method == 0) Message(2);
  if (!IsChecked("p10a") && !IsChecked("p10b")) Message(3);

  // The spouse's address defaults to the taxpayer's, field by field.
  if (joint)
    for (int k = 0; k <= 9; ++k)
      if (Text(29 + k).empty()) Put(29 + k, Text(15 + k));

  Column(kTaxpayer);
  Limit(93, N(64), 4);

  if (!joint) {
    FillFields(SpouseBoxes(), "");
  } else {
    Column(kSpouse);
    Limit(94, N(91), 5);
  }

  // Part D: deductions from income.
  Limit(95, N(93), 6);
  if (joint) Limit(96, N(94), 7);
  Money(97, std::max<long double>(0, N(64) - N(93)));
  if (joint) Money(98, std::max<long double>(0, N(91) - N(94)));
  Limit(99, N(97), 8);
  if (joint) Limit(100, N(98), 9);
  Limit(101, (N(97) + N(98)) - (N(99) + N(100)), 10);
  Money(103, std::max<long double>(0, std::min<long double>(N(102), (N(97) + N(98)) - (N(99) + N(100) + N(101)))));
  Money(104, N(102) - N(103));
  Money(105, (N(97) + N(98)) - (N(99) + N(100) + N(101) + N(103)));

  // Part E: tax on the scale; every method but 1 splits the income.
  Put(106, Format("%.0f", method == 1 ? N(105) : N(105) / 2));
  long double tax = ScaleTax(N(106));
  if (method != 1) tax *= 2;
  Put(107, FormatRounded("%.2f", tax));
  Money(109, N(107) + N(108));

  // Part F: deductions from tax.
  const long double contributions = N(110) + (joint ? N(111) : 0);
  if (ExceedsLimit(contributions, N(109))) {
    if (joint) Message(12);
    else Message(11, FormatGeneral(N(109)));
  }
  Limit(112, N(110), 13);
  if (joint) Limit(113, N(111), 14);
  const long double taxDeductions = N(114) + (joint ? N(115) : 0);
  const long double taxLimit = N(109) - (N(110) + N(111));
  if (ExceedsLimit(taxDeductions, taxLimit)) {
    if (joint) Message(16);
    else Message(15, FormatGeneral(taxLimit));
  }
  Money(116, std::max<long double>(0, N(109) - (N(110) + N(111) + N(114) + N(115))));
  Money(118, std::max<long double>(0, std::min<long double>(N(117), N(116))));
  Money(119, N(117) - N(118));

  // Part G: settlement in whole zloty.
  Put(120, Format("%.0f", ParseAmount(Format("%.2f", N(116) - N(118)), 0)));
  Put(121, Format("%.0f", N(65) + N(92)));
  SettleInWholeZloty(N(120) - N(121), "p122", "p123");

  // Part H: 1% for a public-benefit organisation.
  OnePercentRule(N(120), "p124", "p125", {kPit37Messages[17], kPit37Messages[18], kPit37Messages[19]});
}

}  // namespace solv
