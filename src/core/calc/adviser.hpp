// Checks a careful adviser makes beyond the forms' own: run after the
// recalculation of a main form, their messages join its list (and so the
// whole-return check).
#pragma once

#include <string_view>

namespace solv {

// The adviser's checks of a main form instance ("PIT37a") or of a PIT/O
// copy; nothing for other forms.
void AdviserChecks(std::string_view mainSection);

}  // namespace solv
