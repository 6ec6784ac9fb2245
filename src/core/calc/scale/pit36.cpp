// PIT-36: income taxed on the 2010 scale, business income included, alone or
// jointly with the spouse.
#include "calc/scale/pit36.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "calc/rules.hpp"
#include "calc/scale/pit36_messages.hpp"
#include "messages/messages.hpp"
#include "store/ini.hpp"
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
long double Clamp0(long double x) { return std::max<long double>(0, x); }

void Message(int n, std::string_view argument = {}) { AddMessage(kPit36Messages[n], argument); }
void Limit(int box, long double limit, int n) { CheckLimit(N(box), limit, kPit36Messages[n]); }
// A limit check that leaves an empty or zero box alone, whatever the limit.
void LimitUnlessZero(int box, long double limit, int n) {
  if (ToGrosz(N(box)) != 0) Limit(box, limit, n);
}

// The spouse's boxes as they stand while the taxpayer files alone: empty,
// the check boxes of part C unticked.
const IniEntries& SpouseBoxesAlone() {
  static const IniEntries entries = [] {
    IniEntries v;
    auto empty = [&v](int b) { v.emplace_back(P(b), ""); };
    empty(2);
    for (int b = 25; b <= 38; ++b) empty(b);
    for (const char* tick : {"p39a", "p40a", "p41a", "p42a"}) v.emplace_back(tick, "[  ]");
    empty(44);
    for (int b = 88; b <= 130; ++b) empty(b);
    for (int b : {132, 134, 136, 138, 140, 142, 144, 146, 149, 154, 156, 158, 160, 162, 164, 166, 169, 174, 177,
                  179, 181, 187, 194, 196, 198, 200, 202, 204, 206})
      empty(b);
    for (int from : {221, 245, 269, 293})
      for (int b = from; b <= from + 11; ++b) empty(b);
    return v;
  }();
  return entries;
}

// One column of part D.
struct IncomeColumn {
  int employment[4];  // revenue, cost, income, loss
  int pensionRevenue, pensionIncome;
  int business[4];
  int businessExempt;
  int others[5][4];  // agriculture, art.13, rent, authors' rights, other sources
  int advances[8];
  int totalRevenue, totalCost, totalIncome, totalAdvance;
  const char* pitz;  // the PIT/Z section of this person
  int nipBox;        // the NIP that the PIT/B and PIT/ZG copies must carry
};

constexpr IncomeColumn kTaxpayer{{45, 46, 47, 48},
                                 50, 51,
                                 {53, 54, 55, 56},
                                 58,
                                 {{59, 60, 61, 62}, {64, 65, 66, 67}, {69, 70, 71, 72}, {74, 75, 76, 77},
                                  {79, 80, 81, 82}},
                                 {49, 52, 57, 63, 68, 73, 78, 83},
                                 84, 85, 86, 87,
                                 "PITZa", 1};
constexpr IncomeColumn kSpouse{{88, 89, 90, 91},
                               93, 94,
                               {96, 97, 98, 99},
                               101,
                               {{102, 103, 104, 105}, {107, 108, 109, 110}, {112, 113, 114, 115},
                                {117, 118, 119, 120}, {122, 123, 124, 125}},
                               {92, 95, 100, 106, 111, 116, 121, 126},
                               127, 128, 129, 130,
                               "PITZa_M", 2};

long double From(std::string_view section, int box) { return ReadNumber(P(box), "0", section); }

// Row 3 (business): from the person's PIT/Z, or else from the first PIT/B
// copy with revenue or costs that carries the person's NIP; then the business
// abroad of the PIT/ZG copies with that NIP on top.
void BusinessRow(const IncomeColumn& c) {
  long double r = 0, cost = 0, income = 0, loss = 0, exempt = 0;
  const std::string nip = Text(c.nipBox);
  if (SectionExists(c.pitz)) {
    r = From(c.pitz, 33);
    cost = From(c.pitz, 34);
    income = From(c.pitz, 35);
    loss = From(c.pitz, 36);
    if (r == 0 && cost == 0 && income == 0 && loss == 0) {
      r = From(c.pitz, 19);
      cost = From(c.pitz, 20);
      income = From(c.pitz, 21);
      loss = From(c.pitz, 22);
      exempt = From(c.pitz, 23);
    }
  } else if (!nip.empty()) {
    for (const auto& b : SectionsOfForm("PITBa")) {
      const long double br = From(b, 53), bc = From(b, 54);
      if ((br > 0 || bc > 0) && ReadField("p1", {}, b) == nip) {
        r = br;
        cost = bc;
        income = From(b, 55);
        loss = From(b, 56);
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
      if (ReadField("p1", {}, zg) != nip) continue;
      const long double a = ReadNumber("p13a", "0", zg), b = ReadNumber("p13b", "0", zg);
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
  const int* row = c.business;
  Money(row[0], r);
  Money(row[1], cost);
  Money(row[2], income);
  Money(row[3], loss);
  Money(c.businessExempt, exempt);
}

void Column(const IncomeColumn& c) {
  IncomeOrLoss(P(c.employment[0]), P(c.employment[1]), P(c.employment[2]), P(c.employment[3]));
  Put(c.pensionIncome, Text(c.pensionRevenue));
  BusinessRow(c);
  for (const auto& r : c.others) IncomeOrLoss(P(r[0]), P(r[1]), P(r[2]), P(r[3]));

  std::vector<std::string> rev{P(c.employment[0]), P(c.pensionRevenue), P(c.business[0])};
  std::vector<std::string> cost{P(c.employment[1]), P(c.business[1])};
  std::vector<std::string> inc{P(c.employment[2]), P(c.pensionIncome), P(c.business[2])};
  for (const auto& r : c.others) {
    rev.push_back(P(r[0]));
    cost.push_back(P(r[1]));
    inc.push_back(P(r[2]));
  }
  std::vector<std::string> adv;
  for (int b : c.advances) adv.push_back(P(b));
  SumFieldsInto(Keys(rev.begin(), rev.end()), P(c.totalRevenue));
  SumFieldsInto(Keys(cost.begin(), cost.end()), P(c.totalCost));
  SumFieldsInto(Keys(inc.begin(), inc.end()), P(c.totalIncome));
  // The advances total in the "0.00" form, read back and stored in whole
  // zloty; only the final text is written.
  const long double advances = SumFieldsValue(Keys(adv.begin(), adv.end()), {});
  Put(c.totalAdvance, Format("0", ParseAmount(Format("0.00", advances), 0)));
}

// Box 171. The rate method applies the scale's average rate on the income
// together with the foreign income (X) to the base of box 170.
long double ScaleTaxOf170(int method) {
  const long double tax = ScaleTax(N(170));
  return method == 1 ? tax : tax * 2;
}

void TaxFromScale(int method) {
  if (N(168) == 0 && N(169) == 0) {
    Put(171, FormatRounded("%.2f", ScaleTaxOf170(method)));
    return;
  }
  const long double sum = method == 1 ? N(167) + N(168) : (N(167) + N(168) + N(169)) / 2;
  const long double x = ParseAmount(Format("%.0f", sum), 0);
  // No average rate exists for X <= 0 (a negative foreign income); the base
  // is then taxed on the scale as it stands rather than at a rate of 0.
  if (x <= 0) {
    Put(171, FormatRounded("%.2f", ScaleTaxOf170(method)));
    return;
  }
  const long double rate = ParseAmount(FormatRounded("%.2f", ScaleTax(x) / x * 100), 0);
  long double tax = rate / 100 * N(170);
  if (method != 1) tax *= 2;
  Put(171, FormatRounded("%.2f", tax));
}

}  // namespace

void RecalcPIT36(std::string_view section) {
  const CalcRun run(section);

  const int method = TaxationMethod();
  const bool joint = IsJointMethod(method);

  if (method == 0) Message(0);
  if (!IsChecked("p10a") && !IsChecked("p10b")) Message(1);

  // The spouse's address defaults to the taxpayer's, field by field.
  if (joint)
    for (int k = 0; k <= 9; ++k)
      if (Text(29 + k).empty()) Put(29 + k, Text(15 + k));

  // Part D: income by source.
  Column(kTaxpayer);
  if (!joint) {
    // One write of the set file for all of them.
    SetStore().WriteMany(section, SpouseBoxesAlone());
  } else {
    Column(kSpouse);
  }

  // Part E: exempt income, losses and social-insurance contributions.
  Limit(141, N(139), 2);
  if (joint) Limit(142, N(140), 3);
  {
    const long double s = N(135) + N(137) + N(139), n = N(86) + N(131);
    if (ExceedsLimit(s, n)) Message(4);
    Money(143, Clamp0(n - s));
  }
  if (joint) {
    const long double s = N(136) + N(138) + N(140), n = N(129) + N(132);
    if (ExceedsLimit(s, n)) Message(5);
    Money(144, Clamp0(n - s));
  }

  // Part F: deductions from income. Box 147 (interest relief) is one amount
  // for both spouses and is held against each one's limit.
  Limit(145, N(143), 6);
  if (joint) Limit(146, N(144), 7);
  if (joint) LimitUnlessZero(147, N(143) - (N(145) + N(146)), 18);
  else LimitUnlessZero(147, N(143) - N(145), 17);
  LimitUnlessZero(148, N(143) - (N(145) + N(147)), 19);
  if (joint) LimitUnlessZero(149, N(144) - (N(146) + N(147)), 20);
  const auto incomeAfterE = [] { return N(143) + N(144); };
  Money(151, Clamp0(std::min<long double>(
                 N(150), incomeAfterE() - (N(145) + N(146) + N(147) + N(148) + N(149)))));
  Money(152, N(150) - N(151));
  LimitUnlessZero(153, N(143) - (N(145) + N(147) + N(151)), 21);
  if (joint) LimitUnlessZero(154, N(144) - (N(146) + N(147) + N(151)), 22);
  if (ExceedsLimit(N(145) + N(148) + N(153), N(143))) Message(8);
  if (joint && ExceedsLimit(N(146) + N(149) + N(154), N(144))) Message(9);

  // Part H: tax base.
  Money(167, Clamp0(incomeAfterE() -
                    (N(145) + N(146) + N(147) + N(148) + N(149) + N(151) + N(153) + N(154)) + (N(157) + N(158))));
  Put(170, Format("%.0f", method == 1 ? N(167) : N(167) / 2));

  // Tax from the scale, additions and tax paid abroad.
  TaxFromScale(method);
  Money(175, Clamp0((N(171) + N(172)) - (N(173) + N(174))));

  // Part I: deductions from tax.
  const long double health = N(176) + (joint ? N(177) : 0);
  if (ExceedsLimit(health, N(175))) {
    if (joint) Message(11);
    else Message(10, FormatGeneral(N(175)));
  }
  Limit(178, N(176), 12);
  if (joint) Limit(179, N(177), 13);
  {
    const long double limit = N(175) - (N(176) + N(177));
    const long double deductions = N(180) + (joint ? N(181) : 0);
    if (ExceedsLimit(deductions, limit)) {
      if (joint) Message(15);
      else Message(14, FormatGeneral(limit));
    }
  }
  Money(183, Clamp0(std::min<long double>(N(182), N(175) - (N(176) + N(177) + N(180) + N(181)))));
  Money(184, N(182) - N(183));
  if (ExceedsLimit(N(176) + N(177) + N(180) + N(181) + N(183), N(175))) Message(16);

  // Part J: tax due and advances.
  Money(185, Clamp0(N(175) - (N(176) + N(177) + N(180) + N(181) + N(183))));
  Put(188, Format("%.0f", N(185) + N(186) + N(187)));
  Money(189, N(87) + N(130) + N(133) + N(134));
  {
    const long double d = N(188) - N(189);
    if (d >= 0) {
      Money(190, d);
      Put(191, "0,00");
    } else {
      Put(190, "0,00");
      Money(191, -d);
    }
  }

  // Part K: flat-rate taxes settled on the form.
  Limit(199, N(197), 23);
  if (joint) Limit(200, N(198), 24);
  const auto flatMinusForeign = [](int flat, int paid9, int paid10, int due, int excess) {
    const long double e = N(flat) - (N(paid9) + N(paid10));
    Put(due, FormatRounded("%.0f", e >= 0 ? e : 0));
    Put(excess, FormatRounded("%.0f", e >= 0 ? 0 : -e));
  };
  flatMinusForeign(197, 199, 201, 203, 205);
  if (joint) flatMinusForeign(198, 200, 202, 204, 206);
  {
    const long double f = (N(188) + N(193) + N(194) + N(195) + N(196) + N(203) + N(204)) - (N(192) + N(205) + N(206));
    SettleInWholeZloty(f, "p207", "p208");
  }

  // Part O: 1% for a public-benefit organisation.
  OnePercentRule(N(188), "p305", "p306", {kPit36Messages[25], kPit36Messages[26], kPit36Messages[27]});
}

}  // namespace solv
