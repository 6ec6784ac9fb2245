#pragma once

#include <string_view>

namespace solv {

// Recomputes every derived box of PIT-28 (section "PIT28a"), the lump-sum
// tax on recorded revenue, and checks the entries against the form's limits.
void RecalcPIT28(std::string_view section);

// PIT-28/A holds only entered boxes: the run shows an empty message list.
void RecalcPIT28A(std::string_view section);

// PIT-28/B: the taxpayer's part of the revenue of two partnerships.
void RecalcPIT28B(std::string_view section);

}  // namespace solv
