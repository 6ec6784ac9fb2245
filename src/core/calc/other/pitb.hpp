#pragma once

#include <string_view>

namespace solv {

// Recomputes one PIT/B copy (section "PITBa", "PITBa_1", ...): its own
// business and partnership boxes, then part D of every copy (each owner's
// totals in the owner's last copy) and the count of copies in box 3.
void RecalcPITB(std::string_view section);

// Writes into box 3 of every PIT/B copy with the same NIP (box 1) as section
// the number of those copies; nothing when section has no NIP.
void CountSameNip(std::string_view section);

}  // namespace solv
