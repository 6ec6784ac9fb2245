// Tax rules shared by the form calculations.
#pragma once

#include <string>
#include <string_view>

#include "store/store.hpp"

namespace solv {

// The opening of every form calculation: the section becomes the current
// page, the message list is cleared, and the set is held for the run.
class CalcRun {
 public:
  explicit CalcRun(std::string_view section);

 private:
  SetHold hold_;
};

constexpr int kNoMainForm = 255;

// The 2010 tax scale (art. 27 ust. 1); never below 0, not rounded.
long double ScaleTax(long double base);

// Index of the set's main form from the allowed flags, or kNoMainForm
// (also for a PIT-40 set).
int ActiveMainForm();

// 1..4 for the first of p6a..p6d ticked in section, 0 for none.
int TaxationMethodOf(std::string_view section);
// The method that governs the open set: 1 for PIT-28, PIT-38 and PIT-39;
// box 6 of PIT-36 or PIT-37; 0 otherwise.
int TaxationMethod();
inline bool IsJointMethod(int method) { return method == 2 || method == 3; }

// PIT-28 only (else 255): 1 when p109a is ticked, 2 when p109b is, else 0.
int ExemptionChoice();

// The settlement in whole zloty: d >= 0 goes to payKey ("%.0f") with "0" in
// refundKey, a negative d the other way round.
void SettleInWholeZloty(long double d, std::string_view payKey, std::string_view refundKey);

// Limit checks compare in whole grosz: value > limit, equal passes.
bool ExceedsLimit(long double value, long double limit);
// Adds message (with the limit in its "%s") when value exceeds limit.
void CheckLimit(long double value, long double limit, std::string_view message);

// The 1% allowance for a public-benefit organisation, on the current page.
struct OnePercentMessages {
  std::string_view aboveLimit;   // red, "%s" = limit
  std::string_view reminder;     // green, "%s" = limit
  std::string_view missingKrs;   // green
};
// limit = 1% of taxDue cut down to tens of grosz. With a KRS number the
// amount box is set to the limit; then the amount is checked against it.
void OnePercentRule(long double taxDue, std::string_view krsKey, std::string_view amountKey,
                    const OnePercentMessages& messages);
long double OnePercentLimit(long double taxDue);

}  // namespace solv
