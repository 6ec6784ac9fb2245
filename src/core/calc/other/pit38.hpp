#pragma once

#include <string_view>

namespace solv {

// Recomputes every derived box of PIT-38 (section "PIT38a": capital gains
// taxed at the flat rate of box 31) and checks the entries.
void RecalcPIT38(std::string_view section);

}  // namespace solv
