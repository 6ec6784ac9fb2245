// PIT/D: housing reliefs (interest relief B.1, housing expenses B.2/B.3,
// housing-bank savings C), each with a PIT-28 part and the spouses' split.
#include "calc/other/pitd.hpp"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "calc/other/pitd_messages.hpp"
#include "calc/context.hpp"
#include "calc/rules.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"
#include "calc/fields.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

constexpr long double kSavingsLimit = 11340;

using namespace calc;
using C = PitdCheck;

bool SplitMatches(Box first, Box second, Box amount) {
  return SplitGrosz(N(first) + N(second)) == SplitGrosz(N(amount));
}

// A split of a PIT-28 part is checked unless nobody asks for one: no spouse is
// named and both halves are empty. The PIT-28 transfer then takes the whole
// part, so a taxpayer without a spouse never has to fill the spouses' request.
bool SplitOfPit28PartAsked(Box first, Box second, bool spouseNamed) {
  return spouseNamed || ToGrosz(N(first)) != 0 || ToGrosz(N(second)) != 0;
}

void CheckPit28Split(Box first, Box second, Box amount, bool spouseNamed, C message) {
  if (SplitOfPit28PartAsked(first, second, spouseNamed) && !SplitMatches(first, second, amount)) Message(message);
}

// The split of the part for PIT-36 or PIT-37: spouses filing separately only.
void CheckScaleSplit(Box first, Box second, Box amount, bool separateWithSpouse, C message) {
  if (separateWithSpouse && !SplitMatches(first, second, amount)) Message(message);
}

bool AnyAboveZero(std::initializer_list<Box> boxes) {
  return std::any_of(boxes.begin(), boxes.end(), [](Box b) { return ExceedsLimit(N(b), 0); });
}

}  // namespace

long double SplitGrosz(long double amount) {
  // nearbyint rounds in the default mode: to nearest, ties to even.
  return std::nearbyint(amount * 100);
}

void RecalcPITD(std::string_view section) {
  const CalcRun run(section);
  const int method = TaxationMethod();

  if (method == 4) Fill(box_lists::kPitdSpouse, "");
  const bool spouseNamed = !Text(2).empty();
  const bool separateWithSpouse = method == 1 && spouseNamed;

  // B.1: interest relief.
  if (ExceedsLimit(N(33), N(32))) Message(C::kInterestAboveExpenses, Format("%.2f", N(32)));
  Money(34, N(32) - N(33));
  CheckPit28Split(35, 36, 33, spouseNamed, C::kInterestPit28SplitDiffers);
  CheckScaleSplit(37, 38, 34, separateWithSpouse, C::kInterestScaleSplitDiffers);

  // B.2, B.3: housing expenses.
  Money(42, N(40) + N(41));
  if (ExceedsLimit(N(43), N(42))) Message(C::kHousingAboveExpenses, Format("%.2f", N(42)));
  Money(44, std::max<long double>(0, N(42) - N(43)));
  CheckPit28Split(45, 46, 43, spouseNamed, C::kHousingPit28SplitDiffers);
  CheckScaleSplit(47, 48, 44, separateWithSpouse, C::kHousingScaleSplitDiffers);

  // C: savings in a housing bank, deducted from tax.
  // The text is written for the formatter: "30%%" shows as "30%".
  if (ExceedsLimit(N(49), kSavingsLimit)) MessageWith(C::kSavingsAboveLimit, {FormatGeneral(kSavingsLimit)});
  Money(51, N(49) + N(50));
  if (ExceedsLimit(N(52), N(51))) Message(C::kSavingsAboveAmount, Format("%.2f", N(51)));
  Money(53, N(51) - N(52));
  CheckPit28Split(54, 55, 52, spouseNamed, C::kSavingsPit28SplitDiffers);
  CheckScaleSplit(56, 57, 53, separateWithSpouse, C::kSavingsScaleSplitDiffers);

  // The spouses' requests have no place in a joint return.
  if (IsJointMethod(method)) {
    if (AnyAboveZero({35, 36, 37, 38})) Message(C::kInterestSplitWhenJoint);
    if (AnyAboveZero({45, 46, 47, 48})) Message(C::kHousingSplitWhenJoint);
    if (AnyAboveZero({54, 55, 56, 57})) Message(C::kSavingsSplitWhenJoint);
  }
}

}  // namespace solv
