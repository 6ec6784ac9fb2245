// PIT-37: income from payers taxed on the 2010 scale, alone or jointly.
#include "calc/scale/pit37.hpp"

#include <algorithm>
#include <string>

#include "calc/context.hpp"
#include "calc/rules.hpp"
#include "calc/scale/pit37_messages.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"
#include "calc/fields.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

using namespace calc;
using C = Pit37Check;

// One column of part C: rows 1, 3, 4, 5 with revenue, cost, income and loss,
// row 2 (pensions) revenue and income only, then the totals.
struct IncomeColumn {
  IncomeRow employment, otherEmployment, activity, other;
  Box pensionRevenue, pensionIncome;
  Box totalRevenue, totalCost, totalIncome, totalAdvance;
  Box employmentAdvance, pensionAdvance, otherEmploymentAdvance, activityAdvance, otherAdvance;
};

constexpr IncomeColumn kTaxpayer{
    .employment = {.revenue = 39, .cost = 40, .income = 41, .loss = 42},
    .otherEmployment = {.revenue = 47, .cost = 48, .income = 49, .loss = 50},
    .activity = {.revenue = 52, .cost = 53, .income = 54, .loss = 55},
    .other = {.revenue = 57, .cost = 58, .income = 59, .loss = 60},
    .pensionRevenue = 44, .pensionIncome = 45,
    .totalRevenue = 62, .totalCost = 63, .totalIncome = 64, .totalAdvance = 65,
    .employmentAdvance = 43, .pensionAdvance = 46, .otherEmploymentAdvance = 51, .activityAdvance = 56,
    .otherAdvance = 61};
constexpr IncomeColumn kSpouse{
    .employment = {.revenue = 66, .cost = 67, .income = 68, .loss = 69},
    .otherEmployment = {.revenue = 74, .cost = 75, .income = 76, .loss = 77},
    .activity = {.revenue = 79, .cost = 80, .income = 81, .loss = 82},
    .other = {.revenue = 84, .cost = 85, .income = 86, .loss = 87},
    .pensionRevenue = 71, .pensionIncome = 72,
    .totalRevenue = 89, .totalCost = 90, .totalIncome = 91, .totalAdvance = 92,
    .employmentAdvance = 70, .pensionAdvance = 73, .otherEmploymentAdvance = 78, .activityAdvance = 83,
    .otherAdvance = 88};

void Column(const IncomeColumn& c) {
  IncomeOrLoss(c.employment);
  Money(c.pensionIncome, N(c.pensionRevenue));
  for (const IncomeRow* r : {&c.otherEmployment, &c.activity, &c.other}) IncomeOrLoss(*r);

  SumInto({c.employment.revenue, c.pensionRevenue, c.otherEmployment.revenue, c.activity.revenue, c.other.revenue},
          c.totalRevenue);
  SumInto({c.employment.cost, c.otherEmployment.cost, c.activity.cost, c.other.cost}, c.totalCost);
  SumInto({c.employment.income, c.pensionIncome, c.otherEmployment.income, c.activity.income, c.other.income},
          c.totalIncome);
  // The advances total in the "0.00" form, read back and stored in whole
  // zloty; only the final text is written.
  const long double advances = SumOf({c.employmentAdvance, c.pensionAdvance, c.otherEmploymentAdvance,
                                      c.activityAdvance, c.otherAdvance});
  Put(c.totalAdvance, Format("0", Through("0.00", advances)));
}

}  // namespace

void RecalcPIT37(std::string_view section) {
  const CalcRun run(section);

  const int method = TaxationMethod();
  const bool joint = IsJointMethod(method);

  // Method and purpose of the return.
  if (method == 0) Message(C::kNoMethod);
  if (Checked("p7a") && method == 0) Message(C::kBox7WithoutMethod);
  if (Checked("p8a") && method == 0) Message(C::kBox8WithoutMethod);
  if (!Checked("p10a") && !Checked("p10b")) Message(C::kNoPurpose);

  // The spouse's address defaults to the taxpayer's, field by field.
  if (joint)
    for (int k = 0; k <= 9; ++k)
      if (Text(29 + k).empty()) Put(29 + k, Text(15 + k));

  Column(kTaxpayer);
  Limit(93, N(64), C::kSocialAboveIncome);

  if (!joint) {
    Fill(box_lists::kPit37Spouse, "");
  } else {
    Column(kSpouse);
    Limit(94, N(91), C::kSpouseSocialAboveIncome);
  }

  // Part D: deductions from income.
  Limit(95, N(93), C::kForeignSocialAboveSocial);
  if (joint) Limit(96, N(94), C::kSpouseForeignSocialAboveSocial);
  Rule("poz. 97 = poz. 64 − poz. 93, gdy dodatnia (dochód po odliczeniu składek na ubezpieczenia społeczne)");
  Money(97, std::max<long double>(0, N(64) - N(93)));
  if (joint) Rule("poz. 98 = poz. 91 − poz. 94, gdy dodatnia (dochód małżonka po odliczeniu składek)");
  if (joint) Money(98, std::max<long double>(0, N(91) - N(94)));
  Limit(99, N(97), C::kIncomeDeductionsAboveIncome);
  if (joint) Limit(100, N(98), C::kSpouseIncomeDeductionsAboveIncome);
  Limit(101, (N(97) + N(98)) - (N(99) + N(100)), C::kInterestReliefAboveIncome);
  Rule("poz. 103 = poz. 102, nie więcej niż (poz. 97 + poz. 98) − (poz. 99 + poz. 100 + poz. 101), i nie mniej niż 0");
  Money(103, std::max<long double>(0, std::min<long double>(N(102), (N(97) + N(98)) - (N(99) + N(100) + N(101)))));
  Rule("poz. 104 = poz. 102 − poz. 103 (kwota, której nie odliczono)");
  Money(104, N(102) - N(103));
  Rule("poz. 105 = (poz. 97 + poz. 98) − (poz. 99 + poz. 100 + poz. 101 + poz. 103)");
  Money(105, (N(97) + N(98)) - (N(99) + N(100) + N(101) + N(103)));

  // Part E: tax on the scale; every method but 1 splits the income.
  Rule("poz. 106 = poz. 105 w pełnych złotych; przy rozliczeniu wspólnym albo jako osoba samotnie wychowująca dziecko połowa poz. 105");
  Zloty(106, method == 1 ? N(105) : N(105) / 2);
  long double tax = ScaleTax(N(106));
  if (method != 1) tax *= 2;
  Rule("poz. 107 = podatek według skali z poz. 106; przy rozliczeniu wspólnym albo jako osoba samotnie wychowująca dziecko podwojony");
  MoneyRounded(107, tax);
  Rule("poz. 109 = poz. 107 + poz. 108");
  Money(109, N(107) + N(108));

  // Part F: deductions from tax.
  const long double contributions = N(110) + (joint ? N(111) : 0);
  if (ExceedsLimit(contributions, N(109))) {
    if (joint) Message(C::kHealthAboveTaxJoint);
    else Message(C::kHealthAboveTax, FormatGeneral(N(109)));
  }
  Limit(112, N(110), C::kForeignHealthAboveHealth);
  if (joint) Limit(113, N(111), C::kSpouseForeignHealthAboveHealth);
  const long double taxDeductions = N(114) + (joint ? N(115) : 0);
  const long double taxLimit = N(109) - (N(110) + N(111));
  if (ExceedsLimit(taxDeductions, taxLimit)) {
    if (joint) Message(C::kTaxDeductionsAboveTaxJoint);
    else Message(C::kTaxDeductionsAboveTax, FormatGeneral(taxLimit));
  }
  Rule("poz. 116 = poz. 109 − (poz. 110 + poz. 111 + poz. 114 + poz. 115), gdy dodatnia");
  Money(116, std::max<long double>(0, N(109) - (N(110) + N(111) + N(114) + N(115))));
  Rule("poz. 118 = poz. 117, nie więcej niż poz. 116");
  Money(118, std::max<long double>(0, std::min<long double>(N(117), N(116))));
  Rule("poz. 119 = poz. 117 − poz. 118 (kwota, której nie odliczono)");
  Money(119, N(117) - N(118));

  // Part G: settlement in whole zloty, the tax due through whole grosz first.
  Rule("poz. 120 = poz. 116 − poz. 118, w pełnych złotych");
  Zloty(120, Through("%.2f", N(116) - N(118)));
  Rule("poz. 121 = poz. 65 + poz. 92 (zaliczki pobrane przez płatników)");
  Zloty(121, N(65) + N(92));
  SettleInWholeZloty(N(120) - N(121), "p122", "p123");

  // Part H: 1% for a public-benefit organisation.
  OnePercent(N(120), 124, 125, C::kOnePercentAboveLimit, C::kOnePercentReminder, C::kOnePercentWithoutKrs);
}

}  // namespace solv
