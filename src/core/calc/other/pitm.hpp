#pragma once

#include <string_view>

namespace solv {

// Recomputes PIT/M, the minor children's income taken into PIT-36: the row
// incomes and totals, and the part of the income and of the advance that
// this parent reports. section is "PITMa" (taxpayer) or "PITMa_M" (spouse).
void RecalcPITM(std::string_view section);

}  // namespace solv
