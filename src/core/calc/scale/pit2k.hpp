#pragma once

#include <string_view>

namespace solv {

// PIT-2K (section "PIT2Ka"): empties the spouse's data of a single parent's
// statement and checks the amount documented by invoices.
void RecalcPIT2K(std::string_view section);

}  // namespace solv
