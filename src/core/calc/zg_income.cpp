#include "calc/zg_income.hpp"

#include <algorithm>

#include "value/number.hpp"

namespace solv {

std::string ZgIncome(std::string_view revenue, std::string_view costs) {
  const long double income = ParseAmount(revenue, 0) - ParseAmount(costs, 0);
  return FormatRounded("%.2f", std::max<long double>(0, income));
}

}  // namespace solv
