#pragma once

#include <string_view>

namespace solv {

// Recomputes the totals of one PIT/O copy (section "PITOa", "PITOa_1", ...),
// empties the boxes that do not apply and, on the first copy, checks the
// deductions against their limits and the main form.
void RecalcPITO(std::string_view section);

// Donations of part D over all PIT/O copies of the set: p52 + p62 of the
// taxpayer, p53 + p63 of the spouse.
struct DonationSums {
  long double taxpayer = 0;
  long double spouse = 0;
};
DonationSums DonationTotals();

}  // namespace solv
