// PIT/B: income or loss from business activity, attachment of PIT-36 and
// PIT-36L, in one copy per activity group and owner.
#include "calc/other/pitb.hpp"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "calc/other/pitb_messages.hpp"
#include "calc/context.hpp"
#include "calc/rules.hpp"
#include "messages/messages.hpp"
#include "store/forms.hpp"
#include "store/store.hpp"
#include "calc/fields.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

using namespace calc;
using C = PitbCheck;

constexpr std::string_view kBase = "PITBa";

const Keys kRevenues{"P11", "P17", "P26", "P37", "P48"};
const Keys kCosts{"P12", "P18", "P28", "P39", "P50"};
const Keys kPartD{"p53", "p54", "p55", "p56"};

// One partnership block: share in per cent and the boxes derived from it.
struct Partnership {
  Box share, revenue, ownRevenue, costs, ownCosts, income, ownIncome;
  C shareAbove100;
};
constexpr Partnership kPartnerships[] = {
    {.share = 21, .revenue = 25, .ownRevenue = 26, .costs = 27, .ownCosts = 28, .income = 29, .ownIncome = 30,
     .shareAbove100 = C::kFirstShareAbove100},
    {.share = 32, .revenue = 36, .ownRevenue = 37, .costs = 38, .ownCosts = 39, .income = 40, .ownIncome = 41,
     .shareAbove100 = C::kSecondShareAbove100},
    {.share = 43, .revenue = 47, .ownRevenue = 48, .costs = 49, .ownCosts = 50, .income = 51, .ownIncome = 52,
     .shareAbove100 = C::kThirdShareAbove100},
};

bool Blank(std::string_view s) { return s.find_first_not_of(" \t\r\n") == std::string_view::npos; }

void PartnershipShare(const Partnership& p) {
  const long double f = N(p.share) / 100;
  MoneyRounded(p.ownRevenue, N(p.revenue) * f);
  MoneyRounded(p.ownCosts, N(p.costs) * f);
  MoneyRounded(p.income, N(p.revenue) - N(p.costs));
  MoneyRounded(p.ownIncome, N(p.ownRevenue) - N(p.ownCosts));
}

// Part D of one owner over the copies carrying the owner's NIP; the last such
// copy carries the totals.
struct OwnerTotals {
  long double revenue = 0;
  long double costs = 0;
  std::string carrier;
};

void WritePartD(const OwnerTotals& t) {
  const std::string_view s = t.carrier;
  WriteField("p53", Format("%.2f", t.revenue), s);
  WriteField("p54", Format("%.2f", t.costs), s);
  if (t.revenue > t.costs) {
    WriteField("p55", Format("%.2f", t.revenue - t.costs), s);
    WriteField("p56", "0,00", s);
  } else {
    WriteField("p55", "0,00", s);
    WriteField("p56", Format("%.2f", t.costs - t.revenue), s);
  }
}

// Box 3 of every copy of nip := the number of those copies.
void WriteCount(const std::vector<std::string>& copies, const std::string& nip) {
  std::vector<const std::string*> same;
  for (const auto& s : copies)
    if (ReadField("p1", {}, s) == nip) same.push_back(&s);
  const std::string count = Format("0", static_cast<long double>(same.size()));
  for (const auto* s : same) WriteField("p3", count, *s);
}

}  // namespace

void CountSameNip(std::string_view section) {
  const SetHold hold;
  const std::string nip = ReadField("p1", {}, section);
  if (nip.empty()) return;
  WriteCount(SectionsOfForm(kBase), nip);
}

void RecalcPITB(std::string_view section) {
  const CalcRun run(section);
  const bool pit36 = ActiveMainForm() == kPIT36;

  Money(13, N(11) - N(12));
  Money(19, N(17) - N(18));

  for (const auto& p : kPartnerships)
    if (ExceedsLimit(N(p.share), 100)) Message(p.shareAbove100);
  for (const auto& p : kPartnerships) PartnershipShare(p);

  // Owners: in a PIT-36 set the taxpayer and the spouse of the main form;
  // otherwise the copy's own NIP is the taxpayer's.
  const std::string own = ReadField("p1");
  std::string taxpayer, spouse;
  if (pit36) {
    taxpayer = ReadField("p1", {}, "PIT36a");
    spouse = ReadField("p2", {}, "PIT36a");
    if (spouse == taxpayer) spouse.clear();
  } else {
    taxpayer = own;
  }

  if (Blank(own)) Message(C::kNoNip);
  else if (own != taxpayer && own != spouse) Message(C::kNipOfNoOwner);

  // Part D over all copies. Outside a PIT-36 set every copy is its own
  // owner's: each NIP gets its totals, so that recalculating one owner's copy
  // does not wipe the totals of another owner's.
  const std::vector<std::string> copies = SectionsOfForm(kBase);
  std::vector<std::string> nips;  // every NIP of the copies, in list order
  {
    // The totals come from the boxes of every copy read in the loop.
    const Together partD(Together::kOwnReads);
    std::map<std::string, OwnerTotals> owners;
    for (const auto& s : copies) {
      for (auto key : kPartD) WriteField(key, "", s);
      const std::string nip = ReadField("p1", {}, s);
      if (Blank(nip)) continue;
      if (std::find(nips.begin(), nips.end(), nip) == nips.end()) nips.push_back(nip);
      if (pit36 && nip != taxpayer && nip != spouse) continue;
      OwnerTotals& t = owners[nip];
      t.revenue += SumFieldsValue(kRevenues, s);
      t.costs += SumFieldsValue(kCosts, s);
      t.carrier = s;
    }
    for (const auto& [nip, totals] : owners) WritePartD(totals);
  }

  // Box 3 of the copies of every NIP, so that a copy whose NIP changed leaves
  // no stale count behind in its former owner's copies.
  for (const auto& nip : nips) WriteCount(copies, nip);
}

}  // namespace solv
