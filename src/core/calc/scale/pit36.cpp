// PIT-36: income taxed on the 2010 scale, business income included, alone or
// jointly with the spouse.
#include "calc/scale/pit36.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "calc/context.hpp"
#include "calc/rules.hpp"
#include "calc/scale/pit36_messages.hpp"
#include "messages/messages.hpp"
#include "store/ini.hpp"
#include "store/store.hpp"
#include "calc/fields.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

using namespace calc;
using C = Pit36Check;

// A limit check that leaves an empty or zero box alone, whatever the limit.
void LimitUnlessZero(Box box, long double limit, C check) {
  if (ToGrosz(N(box)) != 0) Limit(box, limit, check);
}
long double Clamp0(long double x) { return std::max<long double>(0, x); }

// The spouse's boxes as they stand while the taxpayer files alone: empty,
// the check boxes of part C unticked.
const IniEntries& SpouseBoxesAlone() {
  static const IniEntries entries = [] {
    IniEntries v;
    const std::vector<std::string> ticks = ExpandBoxList(box_lists::kPit36SpouseTicks);
    for (std::string& box : ExpandBoxList(box_lists::kPit36Spouse)) {
      const bool tick = std::find(ticks.begin(), ticks.end(), box) != ticks.end();
      v.emplace_back(std::move(box), tick ? "[  ]" : "");
    }
    return v;
  }();
  return entries;
}

// One column of part D.
struct IncomeColumn {
  IncomeRow employment;
  Box pensionRevenue, pensionIncome;
  IncomeRow business;
  Box businessExempt;
  IncomeRow agriculture, personal, rent, authorsRights, otherSources;
  // Advances: employment, pensions, business, agriculture, personal activity,
  // rent, authors' rights, other sources.
  Box advances[8];
  Box totalRevenue, totalCost, totalIncome, totalAdvance;
  const char* pitz;  // the PIT/Z section of this person
  Box nip;           // the NIP that the PIT/B and PIT/ZG copies must carry
};

constexpr IncomeColumn kTaxpayer{
    .employment = {.revenue = 45, .cost = 46, .income = 47, .loss = 48},
    .pensionRevenue = 50, .pensionIncome = 51,
    .business = {.revenue = 53, .cost = 54, .income = 55, .loss = 56},
    .businessExempt = 58,
    .agriculture = {.revenue = 59, .cost = 60, .income = 61, .loss = 62},
    .personal = {.revenue = 64, .cost = 65, .income = 66, .loss = 67},
    .rent = {.revenue = 69, .cost = 70, .income = 71, .loss = 72},
    .authorsRights = {.revenue = 74, .cost = 75, .income = 76, .loss = 77},
    .otherSources = {.revenue = 79, .cost = 80, .income = 81, .loss = 82},
    .advances = {49, 52, 57, 63, 68, 73, 78, 83},
    .totalRevenue = 84, .totalCost = 85, .totalIncome = 86, .totalAdvance = 87,
    .pitz = "PITZa", .nip = 1};
constexpr IncomeColumn kSpouse{
    .employment = {.revenue = 88, .cost = 89, .income = 90, .loss = 91},
    .pensionRevenue = 93, .pensionIncome = 94,
    .business = {.revenue = 96, .cost = 97, .income = 98, .loss = 99},
    .businessExempt = 101,
    .agriculture = {.revenue = 102, .cost = 103, .income = 104, .loss = 105},
    .personal = {.revenue = 107, .cost = 108, .income = 109, .loss = 110},
    .rent = {.revenue = 112, .cost = 113, .income = 114, .loss = 115},
    .authorsRights = {.revenue = 117, .cost = 118, .income = 119, .loss = 120},
    .otherSources = {.revenue = 122, .cost = 123, .income = 124, .loss = 125},
    .advances = {92, 95, 100, 106, 111, 116, 121, 126},
    .totalRevenue = 127, .totalCost = 128, .totalIncome = 129, .totalAdvance = 130,
    .pitz = "PITZa_M", .nip = 2};

// The rows of other sources, in the order of the form.
std::vector<const IncomeRow*> OtherRows(const IncomeColumn& c) {
  return {&c.agriculture, &c.personal, &c.rent, &c.authorsRights, &c.otherSources};
}

// Row 3 (business): from the person's PIT/Z, or else from the first PIT/B
// copy with revenue or costs that carries the person's NIP; then the business
// abroad of the PIT/ZG copies with that NIP on top.
void BusinessRow(const IncomeColumn& c) {
  // Every box of the row comes from the boxes of PIT/Z, PIT/B or PIT/ZG read here.
  const Together row(Together::kOwnReads);
  long double r = 0, cost = 0, income = 0, loss = 0, exempt = 0;
  // Which copies count is a condition, not an input of the row.
  const auto quietly = [](auto read) {
    const TraceQuiet condition;
    return read();
  };
  const std::string nip = quietly([&] { return Text(c.nip); });
  if (SectionExists(c.pitz)) {
    r = N(33, c.pitz);
    cost = N(34, c.pitz);
    income = N(35, c.pitz);
    loss = N(36, c.pitz);
    if (r == 0 && cost == 0 && income == 0 && loss == 0) {
      r = N(19, c.pitz);
      cost = N(20, c.pitz);
      income = N(21, c.pitz);
      loss = N(22, c.pitz);
      exempt = N(23, c.pitz);
    }
  } else if (!nip.empty()) {
    for (const auto& b : SectionsOfForm("PITBa")) {
      const bool chosen = quietly([&] {
        const long double br = N(53, b), bc = N(54, b);
        return (br > 0 || bc > 0) && ReadField("p1", {}, b) == nip;
      });
      if (chosen) {
        r = N(53, b);
        cost = N(54, b);
        income = N(55, b);
        loss = N(56, b);
        break;
      }
    }
  }
  // The row as its boxes read back after the first write: each at "%.2f".
  const auto stored = [](long double x) -> long double {
    return static_cast<double>(ParseAmount(Format("%.2f", x), 0));
  };
  r = stored(r);
  cost = stored(cost);
  income = stored(income);
  loss = stored(loss);

  if (!nip.empty()) {
    long double abroadRevenue = 0, abroadCost = 0;
    for (const auto& zg : SectionsOfForm("PITZGa")) {
      if (quietly([&] { return ReadField("p1", {}, zg) != nip; })) continue;
      const long double a = N("p13a", zg), b = N("p13b", zg);
      if (a > 0) abroadRevenue += a;
      if (b > 0) abroadCost += b;
    }
    if (abroadRevenue > 0) r += abroadRevenue;
    if (abroadCost > 0) cost += abroadCost;
    const long double d = abroadRevenue - abroadCost;
    if (d > 0) income += d;
    else loss -= d;
  }
  // Written once with the business abroad included, so that a recalculation
  // of an unchanged set leaves the file alone.
  const auto rule = [](Box box, const char* text) {
    if (ActiveTrace()) Rule("poz. " + RuleNumber(box.Key()) + " = " + text);
  };
  rule(c.business.revenue, "przychód z PIT/Z (poz. 33, a gdy pusta: poz. 19) albo z PIT/B o tym NIP (poz. 53), z przychodem z zagranicy z PIT/ZG (poz. 13a)");
  Money(c.business.revenue, r);
  rule(c.business.cost, "koszty z PIT/Z (poz. 34, a gdy pusta: poz. 20) albo z PIT/B o tym NIP (poz. 54), z kosztami z zagranicy z PIT/ZG (poz. 13b)");
  Money(c.business.cost, cost);
  rule(c.business.income, "dochód z PIT/Z (poz. 35, a gdy pusta: poz. 21) albo z PIT/B o tym NIP (poz. 55), z dochodem z zagranicy z PIT/ZG");
  Money(c.business.income, income);
  rule(c.business.loss, "strata z PIT/Z (poz. 36, a gdy pusta: poz. 22) albo z PIT/B o tym NIP (poz. 56), ze stratą z zagranicy z PIT/ZG");
  Money(c.business.loss, loss);
  rule(c.businessExempt, "dochód zwolniony z PIT/Z (poz. 23)");
  Money(c.businessExempt, exempt);
}

void Column(const IncomeColumn& c) {
  IncomeOrLoss(c.employment);
  Put(c.pensionIncome, Text(c.pensionRevenue));
  BusinessRow(c);
  for (const IncomeRow* r : OtherRows(c)) IncomeOrLoss(*r);

  std::vector<Box> rev{c.employment.revenue, c.pensionRevenue, c.business.revenue};
  std::vector<Box> cost{c.employment.cost, c.business.cost};
  std::vector<Box> inc{c.employment.income, c.pensionIncome, c.business.income};
  for (const IncomeRow* r : OtherRows(c)) {
    rev.push_back(r->revenue);
    cost.push_back(r->cost);
    inc.push_back(r->income);
  }
  SumInto(rev, c.totalRevenue);
  SumInto(cost, c.totalCost);
  SumInto(inc, c.totalIncome);
  // The advances total in the "0.00" form, read back and stored in whole
  // zloty; only the final text is written.
  const long double advances = SumOf(std::vector<Box>(std::begin(c.advances), std::end(c.advances)));
  Put(c.totalAdvance, Format("0", Through("0.00", advances)));
}

// Box 171. The rate method applies the scale's average rate on the income
// together with the foreign income (X) to the base of box 170.
long double ScaleTaxOf170(int method) {
  const long double tax = ScaleTax(N(170));
  return method == 1 ? tax : tax * 2;
}

void TaxFromScale(int method) {
  Rule("poz. 171 = podatek według skali z poz. 170 (przy dochodach z zagranicy z poz. 168, 169 według stopy procentowej); przy rozliczeniu wspólnym podwojony");
  if (N(168) == 0 && N(169) == 0) {
    MoneyRounded(171, ScaleTaxOf170(method));
    return;
  }
  const long double sum = method == 1 ? N(167) + N(168) : (N(167) + N(168) + N(169)) / 2;
  const long double x = Through("%.0f", sum);
  // No average rate exists for X <= 0 (a negative foreign income); the base
  // is then taxed on the scale as it stands rather than at a rate of 0.
  if (x <= 0) {
    MoneyRounded(171, ScaleTaxOf170(method));
    return;
  }
  const long double rate = RoundedThrough("%.2f", ScaleTax(x) / x * 100);
  long double tax = rate / 100 * N(170);
  if (method != 1) tax *= 2;
  MoneyRounded(171, tax);
}

}  // namespace

void RecalcPIT36(std::string_view section) {
  const CalcRun run(section);

  const int method = TaxationMethod();
  const bool joint = IsJointMethod(method);

  if (method == 0) Message(C::kNoMethod);
  if (!Checked("p10a") && !Checked("p10b")) Message(C::kNoPurpose);

  // The spouse's address defaults to the taxpayer's, field by field.
  if (joint)
    for (int k = 0; k <= 9; ++k)
      if (Text(29 + k).empty()) Put(29 + k, Text(15 + k));

  // Part D: income by source.
  Column(kTaxpayer);
  if (!joint) {
    // One write of the set file for all of them.
    WriteFields(section, SpouseBoxesAlone());
  } else {
    Column(kSpouse);
  }

  // Part E: exempt income, losses and social-insurance contributions.
  Limit(141, N(139), C::kForeignSocialAboveSocial);
  if (joint) Limit(142, N(140), C::kSpouseForeignSocialAboveSocial);
  {
    const long double s = N(135) + N(137) + N(139), n = N(86) + N(131);
    if (ExceedsLimit(s, n)) Message(C::kDeductionsAboveIncome);
    Rule("poz. 143 = (poz. 86 + poz. 131) − (poz. 135 + poz. 137 + poz. 139), gdy dodatnia");
    Money(143, Clamp0(n - s));
  }
  if (joint) {
    const long double s = N(136) + N(138) + N(140), n = N(129) + N(132);
    if (ExceedsLimit(s, n)) Message(C::kSpouseDeductionsAboveIncome);
    Rule("poz. 144 = (poz. 129 + poz. 132) − (poz. 136 + poz. 138 + poz. 140), gdy dodatnia");
    Money(144, Clamp0(n - s));
  }

  // Part F: deductions from income. Box 147 (interest relief) is one amount
  // for both spouses and is held against each one's limit.
  Limit(145, N(143), C::kIncomeDeductionsAboveIncome);
  if (joint) Limit(146, N(144), C::kSpouseIncomeDeductionsAboveIncome);
  if (joint) LimitUnlessZero(147, N(143) - (N(145) + N(146)), C::kInterestReliefAboveIncomeJoint);
  else LimitUnlessZero(147, N(143) - N(145), C::kInterestReliefAboveIncome);
  LimitUnlessZero(148, N(143) - (N(145) + N(147)), C::kExtraReductionAboveIncome);
  if (joint) LimitUnlessZero(149, N(144) - (N(146) + N(147)), C::kSpouseExtraReductionAboveIncome);
  const auto incomeAfterE = [] { return N(143) + N(144); };
  Money(151, Clamp0(std::min<long double>(
                 N(150), incomeAfterE() - (N(145) + N(146) + N(147) + N(148) + N(149)))));
  Money(152, N(150) - N(151));
  LimitUnlessZero(153, N(143) - (N(145) + N(147) + N(151)), C::kZoneExemptAboveIncome);
  if (joint) LimitUnlessZero(154, N(144) - (N(146) + N(147) + N(151)), C::kSpouseZoneExemptAboveIncome);
  if (ExceedsLimit(N(145) + N(148) + N(153), N(143))) Message(C::kPartFAboveIncome);
  if (joint && ExceedsLimit(N(146) + N(149) + N(154), N(144))) Message(C::kSpousePartFAboveIncome);

  // Part H: tax base.
  Rule("poz. 167 = (poz. 143 + poz. 144) − (poz. 145 do 149, 151, 153, 154) + (poz. 157 + poz. 158), gdy dodatnia");
  Money(167, Clamp0(incomeAfterE() -
                    (N(145) + N(146) + N(147) + N(148) + N(149) + N(151) + N(153) + N(154)) + (N(157) + N(158))));
  Rule("poz. 170 = poz. 167 w pełnych złotych; przy rozliczeniu wspólnym albo jako osoba samotnie wychowująca dziecko połowa poz. 167");
  Zloty(170, method == 1 ? N(167) : N(167) / 2);

  // Tax from the scale, additions and tax paid abroad.
  TaxFromScale(method);
  Rule("poz. 175 = (poz. 171 + poz. 172) − (poz. 173 + poz. 174), gdy dodatnia");
  Money(175, Clamp0((N(171) + N(172)) - (N(173) + N(174))));

  // Part I: deductions from tax.
  const long double health = N(176) + (joint ? N(177) : 0);
  if (ExceedsLimit(health, N(175))) {
    if (joint) Message(C::kHealthAboveTaxJoint);
    else Message(C::kHealthAboveTax, FormatGeneral(N(175)));
  }
  Limit(178, N(176), C::kForeignHealthAboveHealth);
  if (joint) Limit(179, N(177), C::kSpouseForeignHealthAboveHealth);
  {
    const long double limit = N(175) - (N(176) + N(177));
    const long double deductions = N(180) + (joint ? N(181) : 0);
    if (ExceedsLimit(deductions, limit)) {
      if (joint) Message(C::kTaxDeductionsAboveTaxJoint);
      else Message(C::kTaxDeductionsAboveTax, FormatGeneral(limit));
    }
  }
  Money(183, Clamp0(std::min<long double>(N(182), N(175) - (N(176) + N(177) + N(180) + N(181)))));
  Money(184, N(182) - N(183));
  if (ExceedsLimit(N(176) + N(177) + N(180) + N(181) + N(183), N(175))) Message(C::kPartIAboveTax);

  // Part J: tax due and advances.
  Rule("poz. 185 = poz. 175 − (poz. 176 + poz. 177 + poz. 180 + poz. 181 + poz. 183), gdy dodatnia");
  Money(185, Clamp0(N(175) - (N(176) + N(177) + N(180) + N(181) + N(183))));
  Rule("poz. 188 = poz. 185 + poz. 186 + poz. 187, w pełnych złotych");
  Zloty(188, N(185) + N(186) + N(187));
  Rule("poz. 189 = poz. 87 + poz. 130 + poz. 133 + poz. 134 (zaliczki)");
  Money(189, N(87) + N(130) + N(133) + N(134));
  {
    const long double d = N(188) - N(189);
    Split(d, d >= 0, 190, 191, "%.2f");
  }

  // Part K: flat-rate taxes settled on the form.
  Limit(199, N(197), C::kForeignTaxAboveFlatTax);
  if (joint) Limit(200, N(198), C::kSpouseForeignTaxAboveFlatTax);
  const auto flatMinusForeign = [](Box flat, Box paid9, Box paid10, Box due, Box excess) {
    const Together both;
    const long double e = N(flat) - (N(paid9) + N(paid10));
    ZlotyRounded(due, e >= 0 ? e : 0);
    ZlotyRounded(excess, e >= 0 ? 0 : -e);
  };
  flatMinusForeign(197, 199, 201, 203, 205);
  if (joint) flatMinusForeign(198, 200, 202, 204, 206);
  {
    const long double f = (N(188) + N(193) + N(194) + N(195) + N(196) + N(203) + N(204)) - (N(192) + N(205) + N(206));
    SettleInWholeZloty(f, "p207", "p208");
  }

  // Part O: 1% for a public-benefit organisation.
  OnePercent(N(188), 305, 306, C::kOnePercentAboveLimit, C::kOnePercentReminder, C::kOnePercentWithoutKrs);
}

}  // namespace solv
