#pragma once

#include <string_view>

namespace solv {

// Recomputes every derived box of PIT-39 (section "PIT39a": sale of real
// estate taxed under art.30e) and checks the entries.
void RecalcPIT39(std::string_view section);

}  // namespace solv
