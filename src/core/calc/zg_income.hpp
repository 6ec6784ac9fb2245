// The income of a PIT/ZG income box that is entered as revenue and costs
// (the hidden cells "p13a" and "p13b" beside box 13).
#pragma once

#include <string>
#include <string_view>

namespace solv {

// FormatRounded "%.2f" of max(0, revenue - costs); a text that is no amount
// counts as 0.
std::string ZgIncome(std::string_view revenue, std::string_view costs);

}  // namespace solv
