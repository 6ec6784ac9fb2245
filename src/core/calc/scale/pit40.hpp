#pragma once

#include <string_view>

namespace solv {

// Recomputes every derived box of PIT-40 (section "PIT40a"), the payer's
// annual calculation, and checks the entries against the form's limits.
void RecalcPIT40(std::string_view section);

}  // namespace solv
