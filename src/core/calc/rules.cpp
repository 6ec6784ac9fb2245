#include "calc/rules.hpp"

#include "calc/trace.hpp"
#include "messages/messages.hpp"
#include "store/forms.hpp"
#include "store/store.hpp"
#include "value/number.hpp"

namespace solv {

CalcRun::CalcRun(std::string_view section) {
  Store().currentPage = std::string(section);
  ClearMessages();
}

long double ScaleTax(long double base) {
  constexpr float kThreshold = 85528.0f;
  long double tax;
  if (base > kThreshold)
    tax = (base - kThreshold) * 0.32L + 14839.02L;
  else
    tax = base * 0.18L - 556.02L;
  return tax > 0 ? tax : 0;
}

int ActiveMainForm() {
  const auto& allowed = Store().allowed;
  int result = kNoMainForm;
  if (allowed[kPIT28]) result = kPIT28;
  else if (allowed[kPIT36]) result = kPIT36;
  else if (allowed[kPIT36L]) result = kPIT36L;
  else if (allowed[kPIT37]) result = kPIT37;
  if (allowed[kPIT38]) result = kPIT38;
  if (allowed[kPIT39]) result = kPIT39;
  return result;
}

int TaxationMethodOf(std::string_view section) {
  const TraceQuiet condition;
  const char* boxes[] = {"p6a", "p6b", "p6c", "p6d"};
  for (int i = 0; i < 4; ++i)
    if (IsChecked(boxes[i], section)) return i + 1;
  return 0;
}

int TaxationMethod() {
  switch (ActiveMainForm()) {
    case kPIT28:
    case kPIT38:
    case kPIT39:
      return 1;
    case kPIT36:
      return TaxationMethodOf("PIT36a");
    case kPIT37:
      return TaxationMethodOf("PIT37a");
    default:
      return 0;
  }
}

int ExemptionChoice() {
  const TraceQuiet condition;
  if (ActiveMainForm() != kPIT28) return 255;
  if (IsChecked("p109a", "PIT28a")) return 1;
  if (IsChecked("p109b", "PIT28a")) return 2;
  return 0;
}

void SettleInWholeZloty(long double d, std::string_view payKey, std::string_view refundKey) {
  const TraceStep step;
  const bool tracing = ActiveTrace() != nullptr;
  const auto payRule = [&] {
    if (tracing) TraceRule("poz. " + RuleNumber(payKey) + " = kwota do zapłaty w pełnych złotych, gdy wynik z pozycji poniżej jest dodatni (inaczej 0)");
  };
  const auto refundRule = [&] {
    if (tracing) TraceRule("poz. " + RuleNumber(refundKey) + " = nadpłata w pełnych złotych, gdy wynik z pozycji poniżej jest ujemny (inaczej 0)");
  };
  if (d >= 0) {
    payRule();
    WriteField(payKey, Format("%.0f", d));
    refundRule();
    WriteField(refundKey, "0");
  } else {
    payRule();
    WriteField(payKey, "0");
    refundRule();
    WriteField(refundKey, Format("%.0f", -d));
  }
}

bool ExceedsLimit(long double value, long double limit) {
  const TraceCheck check;
  return ToGrosz(value) > ToGrosz(limit);
}

void CheckLimit(long double value, long double limit, std::string_view message) {
  const TraceCheck check;
  if (ExceedsLimit(value, limit)) AddMessage(message, FormatGeneral(limit));
}

long double OnePercentLimit(long double taxDue) { return TruncDecimals(taxDue * 0.01L, 1); }

void OnePercentRule(long double taxDue, std::string_view krsKey, std::string_view amountKey,
                    const OnePercentMessages& messages) {
  const TraceStep step;
  if (ActiveTrace())
    TraceRule("poz. " + RuleNumber(amountKey) + " = 1% podatku należnego, obcięty do pełnych 10 groszy, gdy w poz. " +
              RuleNumber(krsKey) + " podano numer KRS organizacji");
  const long double limit = OnePercentLimit(taxDue);
  const bool krsGiven = !ReadField(krsKey).empty();
  if (krsGiven) WriteField(amountKey, Format("%.2f", limit));
  // Read at full precision: the double of a typed 20,31 shows as 20,3099... on
  // the 18-digit form and would be cut to 20,30.
  const TraceCheck check;
  const long double amount = TruncDecimals(ReadAmount(amountKey), 2);
  if (ExceedsLimit(amount, limit))
    AddMessage(messages.aboveLimit, FormatGeneral(limit));
  else if (ToGrosz(amount) == 0 && ToGrosz(limit) > 0)
    AddMessage(messages.reminder, FormatGeneral(limit));
  if (ToGrosz(amount) > 0 && !krsGiven) AddMessage(messages.missingKrs);
}

}  // namespace solv
