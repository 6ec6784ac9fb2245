// PIT-38: capital gains (art.30b) taxed at a flat rate, with the other
// lump-sum taxes of part E and the 1% allowance.
#include "calc/other/pit38.hpp"

#include <algorithm>
#include <string>

#include "calc/other/pit38_messages.hpp"
#include "calc/rules.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

// The rate the form prints in box 31 when nothing is stored there.
constexpr long double kDefaultRate = 19;

std::string P(int box) { return "p" + std::to_string(box); }
long double N(int box) { return ReadNumber(P(box)); }
void Put(int box, std::string_view text) { WriteField(P(box), text); }
void Message(int n, std::string_view argument = {}) { AddMessage(kPit38Messages[n], argument); }

// d into `first` and 0 into `second` when d > 0, else 0 and -d, both with
// the given rounding and format.
using Rounding = std::string (*)(std::string_view, long double);
void Split(long double d, int first, int second, Rounding round, std::string_view format) {
  Put(first, round(format, d > 0 ? d : 0));
  Put(second, round(format, d > 0 ? 0 : -d));
}
void SplitR2(long double d, int a, int b) { Split(d, a, b, &FormatRounded, "%.2f"); }
void SplitR0(long double d, int a, int b) { Split(d, a, b, &FormatRounded, "%.0f"); }
void SplitT0(long double d, int a, int b) { Split(d, a, b, &Format, "%.0f"); }

// The rate of box 31 in per cent. An absent box counts as the "19,00" the
// form shows for it; a stored text that is not a number is reported and the
// tax is taken at 19% rather than silently at 0.
long double Rate() {
  const std::string text = ReadField("p31", "19,00");
  const long double rate = ParseAmount(text, 0);
  if (rate != ParseAmount(text, 1)) {
    AddMessage(kPit38RateMessage, FormatGeneral(kDefaultRate));
    return kDefaultRate;
  }
  return rate;
}

}  // namespace

void RecalcPIT38(std::string_view section) {
  const CalcRun run(section);

  if (!IsChecked("p6a") && !IsChecked("p6b")) Message(0);

  // Part C: revenue, costs, income or loss.
  Put(25, FormatRounded("%.2f", N(21) + N(23)));
  Put(26, FormatRounded("%.2f", N(22) + N(24)));
  SplitR2(N(25) - N(26), 27, 28);

  // Part D: base and tax.
  CheckLimit(N(29), N(27), kPit38Messages[1]);
  Put(30, Format("%.0f", std::max<long double>(0, N(27) - N(29))));
  Put(32, FormatRounded("%.2f", std::max<long double>(0, N(30) * (Rate() / 100))));
  SplitT0(N(32) - (N(33) + N(34)), 35, 36);

  // Part E: the other lump-sum taxes and the settlement.
  CheckLimit(N(40), N(39), kPit38Messages[2]);
  SplitR0(N(39) - (N(40) + N(41)), 42, 43);
  SplitT0((N(35) + N(37) + N(38) + N(42)) - (N(36) + N(43)), 44, 45);

  // Part G: 1% for a public-benefit organisation.
  OnePercentRule(N(35), "p58", "p59", {kPit38Messages[3], kPit38Messages[4], kPit38Messages[5]});
}

}  // namespace solv
