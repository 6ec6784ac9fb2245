// Box-level operations shared by the calculations. Keys are box names
// ("p45"); the writing operations work on the current page and store each box
// as soon as it is computed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace solv {

using Keys = std::vector<std::string_view>;

// Sum of the boxes (absent or unparsable count 0), unrounded.
long double SumFieldsValue(const Keys& keys, std::string_view page);
// The sum of the boxes in the picture form "0.00", stored into targetKey.
void SumFieldsInto(const Keys& keys, std::string_view targetKey);
// Revenue - cost into incomeKey and "0,00" into lossKey, or the other way
// round when the cost is not below the revenue.
void IncomeOrLoss(std::string_view revenueKey, std::string_view costKey, std::string_view incomeKey,
                  std::string_view lossKey);
// max(0, a - b) into targetKey.
void ClampedDifference(std::string_view aKey, std::string_view bKey, std::string_view targetKey);
// text into every box of the list, in one write of the set file.
void FillFields(const Keys& keys, std::string_view text);

}  // namespace solv
