#pragma once

#include <string_view>

namespace solv {

// Recomputes PIT/Z, the business income with 20% of the exempted year's
// income added back: in a PIT-36 set from its part B, in a PIT-36L set from
// the business totals of the first PIT/B copy with revenue. section is
// "PITZa" (taxpayer) or "PITZa_M" (spouse). Adds no messages.
void RecalcPITZ(std::string_view section);

}  // namespace solv
