#pragma once

#include <string_view>

namespace solv {

// Recomputes the derived boxes of PIT/D (section "PITDa"): the parts of the
// housing reliefs left for PIT-36 or PIT-37, and checks the PIT-28 parts and
// the spouses' splits of every amount.
void RecalcPITD(std::string_view section);

// Whole grosz with an exact half going to the even neighbour: the measure in
// which a split equals its amount.
long double SplitGrosz(long double amount);

}  // namespace solv
