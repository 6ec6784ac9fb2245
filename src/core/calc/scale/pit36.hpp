#pragma once

#include <string_view>

namespace solv {

// Recomputes every derived box of PIT-36 (section "PIT36a"), taking the
// business income from the PIT/Z, PIT/B and PIT/ZG attachments, and checks
// the entries against the form's limits.
void RecalcPIT36(std::string_view section);

}  // namespace solv
