#pragma once

#include <string_view>

namespace solv {

// Recomputes every derived box of PIT-36L (section "PIT36La"): the business
// row from PIT/Z or PIT/B and PIT/ZG, the 19% tax with the credit of foreign
// tax, the settlement and the 1% allowance; checks the entries.
void RecalcPIT36L(std::string_view section);

}  // namespace solv
