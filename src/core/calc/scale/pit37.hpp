#pragma once

#include <string_view>

namespace solv {

// Recomputes every derived box of PIT-37 (section "PIT37a") and checks the
// entries against the form's limits.
void RecalcPIT37(std::string_view section);

}  // namespace solv
