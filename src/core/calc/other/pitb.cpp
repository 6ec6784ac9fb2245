// PIT/B: income or loss from business activity, attachment of PIT-36 and
// PIT-36L, in one copy per activity group and owner.
#include "calc/other/pitb.hpp"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "calc/other/pitb_messages.hpp"
#include "calc/rules.hpp"
#include "messages/messages.hpp"
#include "store/forms.hpp"
#include "store/store.hpp"
#include "calc/fields.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

constexpr std::string_view kBase = "PITBa";

const Keys kRevenues{"P11", "P17", "P26", "P37", "P48"};
const Keys kCosts{"P12", "P18", "P28", "P39", "P50"};
const Keys kPartD{"p53", "p54", "p55", "p56"};

// One partnership block: share in per cent and the boxes derived from it.
struct Partnership {
  const char* share;
  const char* revenue;
  const char* ownRevenue;
  const char* costs;
  const char* ownCosts;
  const char* income;
  const char* ownIncome;
};
constexpr Partnership kPartnerships[] = {
    {"p21", "p25", "p26", "p27", "p28", "p29", "p30"},
    {"p32", "p36", "p37", "p38", "p39", "p40", "p41"},
    {"p43", "p47", "p48", "p49", "p50", "p51", "p52"},
};

bool Blank(std::string_view s) { return s.find_first_not_of(" \t\r\n") == std::string_view::npos; }

long double N(std::string_view key) { return ReadNumber(key); }

void Rounded(std::string_view key, long double value) { WriteField(key, FormatRounded("%.2f", value)); }

void PartnershipShare(const Partnership& p) {
  const long double f = N(p.share) / 100;
  Rounded(p.ownRevenue, N(p.revenue) * f);
  Rounded(p.ownCosts, N(p.costs) * f);
  Rounded(p.income, N(p.revenue) - N(p.costs));
  Rounded(p.ownIncome, N(p.ownRevenue) - N(p.ownCosts));
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

  WriteField("p13", Format("%.2f", N("p11") - N("p12")));
  WriteField("p19", Format("%.2f", N("p17") - N("p18")));

  for (int i = 0; i < 3; ++i)
    if (ExceedsLimit(N(kPartnerships[i].share), 100)) AddMessage(kPitbMessages[i]);
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

  if (Blank(own)) AddMessage(kPitbMessages[3]);
  else if (own != taxpayer && own != spouse) AddMessage(kPitbMessages[4]);

  // Part D over all copies. Outside a PIT-36 set every copy is its own
  // owner's: each NIP gets its totals, so that recalculating one owner's copy
  // does not wipe the totals of another owner's.
  const std::vector<std::string> copies = SectionsOfForm(kBase);
  std::map<std::string, OwnerTotals> owners;
  std::vector<std::string> nips;  // every NIP of the copies, in list order
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

  // Box 3 of the copies of every NIP, so that a copy whose NIP changed leaves
  // no stale count behind in its former owner's copies.
  for (const auto& nip : nips) WriteCount(copies, nip);
}

}  // namespace solv
