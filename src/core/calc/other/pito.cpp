// PIT/O: deductions from income and from tax, attachment of PIT-28, PIT-36
// and PIT-37, in one or more copies.
#include "calc/other/pito.hpp"

#include <cmath>
#include <string>
#include <vector>

#include "calc/other/pito_messages.hpp"
#include "calc/rules.hpp"
#include "messages/messages.hpp"
#include "store/forms.hpp"
#include "store/store.hpp"
#include "calc/fields.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

constexpr long double kInternetLimit = 760;
constexpr long double kChildRelief = 1112.04L;

std::string P(int box) { return "p" + std::to_string(box); }
long double N(int box) { return ReadNumber(P(box)); }
long double N(std::string_view section, int box) { return ReadNumber(P(box), "0", section); }
void Money(int box, long double value) { WriteField(P(box), Format("%.2f", value)); }

// The message with its "%s" filled in turn from values and "%%" shown as "%".
void Message(int n, std::vector<std::string> values = {}) {
  const std::string_view text = kPitoMessages[n];
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '%' || text[i + 1] == 's')) {
      if (text[i + 1] == '%') out += '%';
      else if (next < values.size()) out += values[next++];
      ++i;
    } else {
      out += text[i];
    }
  }
  AddMessage(out);
}

// Message n with the limit as correction value when value exceeds it.
void Limit(long double value, long double limit, int n) {
  if (ExceedsLimit(value, limit)) Message(n, {FormatGeneral(limit)});
}

// 6% of base, rounded to whole grosz with an exact half going to the even grosz.
long double DonationCap(long double base) { return std::nearbyint(6 * base) / 100; }

const Keys& SpouseAmounts() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v;
    for (int b : {2, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 27, 31, 33, 36, 38, 41, 53, 63}) v.push_back(P(b));
    return v;
  }();
  static const Keys keys(names.begin(), names.end());
  return keys;
}

const Keys& SpouseMonths() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v;
    for (int b : {69, 75, 81, 87, 93})
      for (char m = 'a'; m <= 'm'; ++m) v.push_back(P(b) + m);
    return v;
  }();
  static const Keys keys(names.begin(), names.end());
  return keys;
}

const Keys& PartsBAndC() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v;
    for (int b = 13; b <= 27; ++b) v.push_back(P(b));
    for (int b = 30; b <= 41; ++b) v.push_back(P(b));
    return v;
  }();
  static const Keys keys(names.begin(), names.end());
  return keys;
}

const Keys kSpouseTotals{"p29", "p43"};
const Keys kNotWithPit28{"p23", "p24", "p34", "p35", "p36"};
const Keys kTotals{"p28", "p29", "p42", "p43"};

// The main-form boxes that limit the deductions, by main form.
struct MainLimits {
  long double incomeTaxpayer, baseTaxpayer, incomeSpouse, baseSpouse, taxAlone, taxJoint;
};

MainLimits LimitsOf(int form) {
  if (form == kPIT28) {
    const std::string_view s = "PIT28a";
    const long double revenue = N(s, 43) + N(s, 50);
    return {revenue - (N(s, 63) + N(s, 64)), revenue, 0, 0, N(s, 99) - N(s, 100), 0};
  }
  if (form == kPIT36) {
    const std::string_view s = "PIT36a";
    return {N(s, 143), N(s, 86), N(s, 144), N(s, 129), N(s, 175) - N(s, 176), N(s, 175) - (N(s, 176) + N(s, 177))};
  }
  const std::string_view s = "PIT37a";
  return {N(s, 97), N(s, 64), N(s, 98), N(s, 91), N(s, 109) - N(s, 110), N(s, 109) - (N(s, 110) + N(s, 111))};
}

// Messages by main form: PIT-28, PIT-36, PIT-37.
int ByForm(int form, int pit28, int pit36, int pit37) {
  return form == kPIT28 ? pit28 : form == kPIT36 ? pit36 : pit37;
}

// Part D against the boxes claimed in part B (O0/O2 or O1/O3).
void CheckDonations(long double claimed, long double partD, int missing, int differs) {
  const std::string d = FormatRounded("%.2f", partD);
  const std::string c = FormatRounded("%.2f", claimed);
  if (claimed > 0 && partD == 0) Message(missing);
  else if (ParseAmount(d, 0) != ParseAmount(c, 0)) Message(differs, {d, c});
}

}  // namespace

DonationSums DonationTotals() {
  DonationSums sums;
  for (const auto& section : SectionsOfForm("PITOa")) {
    sums.taxpayer += N(section, 52) + N(section, 62);
    sums.spouse += N(section, 53) + N(section, 63);
  }
  return sums;
}

void RecalcPITO(std::string_view section) {
  const CalcRun run(section);
  const int method = TaxationMethod();
  const int form = ActiveMainForm();
  const bool joint = IsJointMethod(method);

  if (!joint) {
    FillFields(SpouseAmounts(), "");
    FillFields(SpouseMonths(), "[  ]");
    FillFields(kSpouseTotals, "");
  }
  if (form == kPIT28) FillFields(kNotWithPit28, "");

  // Further copies only continue parts D and E.
  if (N(4) != 1) {
    FillFields(PartsBAndC(), "");
    FillFields(kTotals, "");
    return;
  }

  // Part D against the donations claimed. While the taxpayer files alone the
  // spouse's columns do not apply: a further copy not recalculated since the
  // switch may still hold the spouse's donations, which must not count.
  const DonationSums partD = DonationTotals();
  CheckDonations(N(13) + N(15), partD.taxpayer, 0, 2);
  CheckDonations(N(14) + N(16), joint ? partD.spouse : 0, 1, 3);

  Limit(N(21), kInternetLimit, 14);
  Limit(N(22), kInternetLimit, 15);

  Money(28, N(13) + N(15) + N(26) + N(17) + N(19) + N(21) + N(23));
  if (ExceedsLimit(N(35) + N(36), N(34) * kChildRelief)) Message(21);
  Money(42, N(30) + N(32) + N(35) + N(37) + N(40));

  const bool checked = form == kPIT28 || form == kPIT36 || form == kPIT37;
  const MainLimits limits = checked ? LimitsOf(form) : MainLimits{};
  if (checked) {
    Limit(N(28), limits.incomeTaxpayer, ByForm(form, 4, 5, 6));
    Limit(N(13), DonationCap(limits.baseTaxpayer), ByForm(form, 16, 17, 18));
  }

  if (joint) {
    Money(29, N(14) + N(16) + N(18) + N(20) + N(22) + N(24) + N(27));
    Money(43, N(31) + N(33) + N(36) + N(38) + N(41));
    if (form == kPIT36 || form == kPIT37) {
      Limit(N(29), limits.incomeSpouse, ByForm(form, 0, 7, 8));
      Limit(N(14), DonationCap(limits.baseSpouse), ByForm(form, 0, 19, 20));
    }
  }

  // Part C against the tax of the main form.
  if (joint) {
    if (form == kPIT36 || form == kPIT37) Limit(N(42) + N(43), limits.taxJoint, ByForm(form, 0, 12, 13));
  } else if (checked) {
    Limit(N(42), limits.taxAlone, ByForm(form, 9, 10, 11));
  }
}

}  // namespace solv
