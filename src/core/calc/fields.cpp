#include "calc/fields.hpp"

#include "store/store.hpp"
#include "value/number.hpp"

namespace solv {

long double SumFieldsValue(const Keys& keys, std::string_view page) {
  long double sum = 0;
  for (auto key : keys) sum += ReadNumber(key, "0", page);
  return sum;
}

void SumFieldsInto(const Keys& keys, std::string_view targetKey) {
  WriteField(targetKey, Format("0.00", SumFieldsValue(keys, {})));
}

void IncomeOrLoss(std::string_view revenueKey, std::string_view costKey, std::string_view incomeKey,
                  std::string_view lossKey) {
  const long double a = ReadNumber(revenueKey);
  const long double b = ReadNumber(costKey);
  if (b >= a) {
    WriteField(incomeKey, "0,00");
    WriteField(lossKey, Format("%.2f", b - a));
  } else {
    WriteField(incomeKey, Format("%.2f", a - b));
    WriteField(lossKey, "0,00");
  }
}

void ClampedDifference(std::string_view aKey, std::string_view bKey, std::string_view targetKey) {
  long double d = static_cast<long double>(ReadNumber(aKey)) - ReadNumber(bKey);
  if (!(d >= 0)) d = 0;
  WriteField(targetKey, Format("%.2f", d));
}

void FillFields(const Keys& keys, std::string_view text) {
  // One write of the set file for the whole list.
  IniEntries entries;
  entries.reserve(keys.size());
  for (auto key : keys) entries.emplace_back(std::string(key), std::string(text));
  WriteFields({}, entries);
}

}  // namespace solv
