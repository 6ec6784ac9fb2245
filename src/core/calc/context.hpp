// The calculation context every form's recalculation works in: boxes of the
// current page by their printed number, amounts, named checks and limit
// checks. One set of helpers with one argument order for all forms.
#pragma once

#include <concepts>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "calc/rules.hpp"
#include "calc/trace.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"
#include "calc/box_lists.hpp"
#include "calc/fields.hpp"
#include "calc/locking_rules.hpp"
#include "value/number.hpp"

namespace solv::calc {

// A box number as printed on the form. Made from an int only: an amount
// (a floating-point value) where a box belongs does not compile.
class Box {
 public:
  constexpr Box(int number) : number_(number) {}  // NOLINT: box tables read as numbers
  Box(float) = delete;
  Box(double) = delete;
  Box(long double) = delete;

  constexpr int Number() const { return number_; }
  // The box's key in the set ("p41").
  std::string Key() const { return "p" + std::to_string(number_); }

 private:
  int number_;
};

// Reading. An absent or unreadable box counts 0. `page` is a section other
// than the current page; empty means the current page.
inline long double N(Box box, std::string_view page = {}) { return ReadNumber(box.Key(), "0", page); }
inline long double N(std::string_view key, std::string_view page = {}) { return ReadNumber(key, "0", page); }
inline std::string Text(Box box, std::string_view page = {}) { return ReadField(box.Key(), {}, page); }
// A check box decides how a box is computed; the explanation names it in the
// rule, not among the inputs.
inline bool Checked(std::string_view key, std::string_view page = {}) {
  const TraceQuiet condition;
  return IsChecked(key, page);
}

// The rule in words of the box written next, for "Skąd ta kwota?":
//   Rule("poz. 97 = poz. 64 − poz. 93, gdy dodatnia");
//   Money(97, ...);
inline void Rule(std::string_view text) { TraceRule(text); }
// Boxes written while it lives all come from the reads made in it and just
// before it (several boxes from one value kept in a variable).
using Together = TraceStep;

// Writing on the current page.
inline void Put(Box box, std::string_view text) { WriteField(box.Key(), text); }
// An amount in grosz ("%.2f", rounded once).
inline void Money(Box box, long double value) { Put(box, Format("%.2f", value)); }
inline void Money(std::string_view key, long double value) { WriteField(key, Format("%.2f", value)); }
// An amount in whole zloty ("%.0f", rounded once).
inline void Zloty(Box box, long double value) { Put(box, Format("%.0f", value)); }
// An amount in grosz rounded through tenths of a grosz ("%.3f" first).
inline void MoneyRounded(Box box, long double value) { Put(box, FormatRounded("%.2f", value)); }
// An amount in whole zloty rounded through tenths of a zloty ("%.1f" first).
inline void ZlotyRounded(Box box, long double value) { Put(box, FormatRounded("%.0f", value)); }

// d into `first` and 0 into `second` when takesFirst, else 0 and -d: an
// amount to pay and one to refund, an income and a loss. Both in `format`,
// rounded once (Format) or through one more decimal (FormatRounded).
using Rounding = std::string (*)(std::string_view, long double);
inline void Split(long double d, bool takesFirst, Box first, Box second, std::string_view format,
                  Rounding round = &Format) {
  const TraceStep step;
  if (ActiveTrace())
    TraceRule("poz. " + RuleNumber(first.Key()) + " = wynik obliczenia z pozycji poniżej, gdy dodatni (inaczej 0)");
  Put(first, round(format, takesFirst ? d : 0));
  if (ActiveTrace())
    TraceRule("poz. " + RuleNumber(second.Key()) +
              " = wynik obliczenia z pozycji poniżej ze znakiem przeciwnym, gdy ujemny (inaczej 0)");
  Put(second, round(format, takesFirst ? 0 : -d));
}

// The value as its text form reads back ("%.2f" of 12,345 reads back 12,35).
inline long double Through(std::string_view format, long double value) {
  return ParseAmount(Format(format, value), 0);
}
inline long double RoundedThrough(std::string_view format, long double value) {
  return ParseAmount(FormatRounded(format, value), 0);
}

// The keys of a list of boxes.
inline std::vector<std::string> KeysOf(const std::vector<Box>& boxes) {
  std::vector<std::string> keys;
  keys.reserve(boxes.size());
  for (const Box& b : boxes) keys.push_back(b.Key());
  return keys;
}
// Sum of the boxes on the current page, unrounded.
inline long double SumOf(const std::vector<Box>& boxes) {
  const std::vector<std::string> keys = KeysOf(boxes);
  return SumFieldsValue(Keys(keys.begin(), keys.end()), {});
}
// The boxes' sum in the picture form "0.00" into target.
inline void SumInto(const std::vector<Box>& boxes, Box target) {
  const std::vector<std::string> keys = KeysOf(boxes);
  SumFieldsInto(Keys(keys.begin(), keys.end()), target.Key());
}
// Revenue - cost into income and 0 into loss, or the other way round.
inline void IncomeOrLoss(Box revenue, Box cost, Box income, Box loss) {
  solv::IncomeOrLoss(revenue.Key(), cost.Key(), income.Key(), loss.Key());
}
// max(0, a - b) into target.
inline void ClampedDifference(Box a, Box b, Box target) { solv::ClampedDifference(a.Key(), b.Key(), target.Key()); }
// The same text into every box, in one write of the set file.
inline void Fill(const std::vector<Box>& boxes, std::string_view text) {
  const std::vector<std::string> keys = KeysOf(boxes);
  FillFields(Keys(keys.begin(), keys.end()), text);
}
// The same text into every box of a shared list (calc/box_lists.hpp), in one
// write of the set file.
inline void Fill(const char* list, std::string_view text) {
  const std::vector<std::string> keys = ExpandBoxList(list);
  FillFields(Keys(keys.begin(), keys.end()), text);
}
// The boxes first..last.
inline std::vector<Box> Range(int first, int last) {
  std::vector<Box> boxes;
  for (int b = first; b <= last; ++b) boxes.emplace_back(b);
  return boxes;
}

// A form's checks: an enumeration ending in kCount and a table of texts that
// names each check beside its text, in the enumeration's order (verified at
// compile time by InOrder).
template <class Check>
struct CheckText {
  Check check;
  const char* text;
};

template <class Check, std::size_t Size>
struct CheckTable {
  CheckText<Check> entries[Size];

  constexpr std::size_t size() const { return Size; }
  constexpr const char* operator[](Check check) const { return entries[static_cast<std::size_t>(check)].text; }
  // By position, for whoever walks the whole table.
  constexpr const char* operator[](std::size_t i) const { return entries[i].text; }

  constexpr bool InOrder() const {
    if (Size != static_cast<std::size_t>(Check::kCount)) return false;
    for (std::size_t i = 0; i < Size; ++i)
      if (static_cast<std::size_t>(entries[i].check) != i) return false;
    return true;
  }
};

template <class Check, std::size_t Size>
constexpr CheckTable<Check, Size> Checks(const CheckText<Check> (&entries)[Size]) {
  CheckTable<Check, Size> table{};
  for (std::size_t i = 0; i < Size; ++i) table.entries[i] = entries[i];
  return table;
}

// The text of a check; every form's message header defines one MessageText
// for its check enumeration, found by argument-dependent lookup.
template <class Check>
concept NamedCheck = requires(Check c) {
  { MessageText(c) } -> std::convertible_to<std::string_view>;
};

// Adds the check's message; its "%s" takes argument.
template <NamedCheck Check>
void Message(Check check, std::string_view argument = {}) {
  const TraceCheck traced;
  AddMessage(MessageText(check), argument);
}
// Adds the check's message with each "%s" in turn filled from values.
template <NamedCheck Check>
void MessageWith(Check check, const std::vector<std::string>& values) {
  const TraceCheck traced;
  AddMessage(FillMessage(MessageText(check), values));
}

// Limit checks, always in the order: what is checked, its limit, the check.
// Whole grosz are compared; equal passes; the message's "%s" is the limit.
template <NamedCheck Check>
void Limit(Box box, long double limit, Check check) {
  const TraceCheck traced;
  CheckLimit(N(box), limit, MessageText(check));
}
template <std::floating_point Value, NamedCheck Check>
void Limit(Value value, long double limit, Check check) {
  CheckLimit(value, limit, MessageText(check));
}

// The 1% allowance for a public-benefit organisation (see OnePercentRule).
template <NamedCheck Check>
void OnePercent(long double taxDue, Box krs, Box amount, Check aboveLimit, Check reminder, Check withoutKrs) {
  OnePercentRule(taxDue, krs.Key(), amount.Key(), {MessageText(aboveLimit), MessageText(reminder), MessageText(withoutKrs)});
}

// One row of income: revenue, cost, income and loss boxes.
struct IncomeRow {
  Box revenue, cost, income, loss;
};
inline void IncomeOrLoss(const IncomeRow& row) { IncomeOrLoss(row.revenue, row.cost, row.income, row.loss); }

}  // namespace solv::calc
