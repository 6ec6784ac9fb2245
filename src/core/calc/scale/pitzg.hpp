#pragma once

#include <string_view>

namespace solv {

// Recomputes one PIT/ZG copy (section "PITZGa", "PITZGa_1", ...): the totals
// of part C.1 in a PIT-36 set, the parts that belong to other main forms
// emptied, and its NIP checked against the main form.
void RecalcPITZG(std::string_view section);

}  // namespace solv
