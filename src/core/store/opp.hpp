// The public-benefit organisation this build serves with the 1% of the tax.
#pragma once

#include <optional>
#include <string>

namespace solv {

std::string OppNumberKrs();  // KRS number of the organisation
std::string OppName();       // its name

// 0..5 for the main form named by [MAIN] PIT of the open set (PIT28 ...
// PIT39); nullopt for PIT40, a missing key or anything else.
std::optional<int> MainFormNumber();
// Writes the KRS number and the purpose "pomagam podatkiem" (in double
// quotes) into the 1% boxes of main form n; nothing for n outside 0..5.
void FillOppBoxes(int n);
// The KRS box of main form n holds text.
bool OppKrsFilled(int n);

}  // namespace solv
