#include "calc/fields.hpp"

#include "calc/trace.hpp"
#include "store/store.hpp"
#include "value/number.hpp"

namespace solv {

long double SumFieldsValue(const Keys& keys, std::string_view page) {
  long double sum = 0;
  for (auto key : keys) sum += ReadNumber(key, "0", page);
  return sum;
}

namespace {
// "poz. 62 = suma poz. 39, 44, 47"
std::string SumRule(const Keys& keys, std::string_view targetKey) {
  std::string rule = "poz. " + RuleNumber(targetKey) + " = suma poz. ";
  for (size_t i = 0; i < keys.size(); ++i) rule += (i ? ", " : "") + RuleNumber(keys[i]);
  return rule;
}
std::string DifferenceRule(std::string_view target, std::string_view a, std::string_view b) {
  return "poz. " + RuleNumber(target) + " = poz. " + RuleNumber(a) + " − poz. " + RuleNumber(b) + ", gdy dodatnia";
}
}  // namespace

void SumFieldsInto(const Keys& keys, std::string_view targetKey) {
  const TraceStep step(TraceStep::kOwnReads);
  if (ActiveTrace()) TraceRule(SumRule(keys, targetKey));
  WriteField(targetKey, Format("0.00", SumFieldsValue(keys, {})));
}

void IncomeOrLoss(std::string_view revenueKey, std::string_view costKey, std::string_view incomeKey,
                  std::string_view lossKey) {
  const TraceStep step(TraceStep::kOwnReads);
  const long double a = ReadNumber(revenueKey);
  const long double b = ReadNumber(costKey);
  const bool tracing = ActiveTrace() != nullptr;
  const auto incomeRule = [&] {
    if (tracing) TraceRule(DifferenceRule(incomeKey, revenueKey, costKey));
  };
  const auto lossRule = [&] {
    if (tracing) TraceRule(DifferenceRule(lossKey, costKey, revenueKey));
  };
  if (b >= a) {
    incomeRule();
    WriteField(incomeKey, "0,00");
    lossRule();
    WriteField(lossKey, Format("%.2f", b - a));
  } else {
    incomeRule();
    WriteField(incomeKey, Format("%.2f", a - b));
    lossRule();
    WriteField(lossKey, "0,00");
  }
}

void ClampedDifference(std::string_view aKey, std::string_view bKey, std::string_view targetKey) {
  const TraceStep step(TraceStep::kOwnReads);
  if (ActiveTrace()) TraceRule(DifferenceRule(targetKey, aKey, bKey));
  long double d = static_cast<long double>(ReadNumber(aKey)) - ReadNumber(bKey);
  if (!(d >= 0)) d = 0;
  WriteField(targetKey, Format("%.2f", d));
}

void FillFields(const Keys& keys, std::string_view text) {
  // One write of the set file for the whole list; a constant, read from nothing.
  const TraceStep step(TraceStep::kOwnReads);
  IniEntries entries;
  entries.reserve(keys.size());
  for (auto key : keys) entries.emplace_back(std::string(key), std::string(text));
  WriteFields({}, entries);
}

}  // namespace solv
