// Box locking: after every recalculation the boxes that the chosen way of
// taxation (or the main form, or the attachment number) makes meaningless are
// locked, and the others unlocked.
#pragma once

#include <string_view>

#include "calc/locking_rules.hpp"

namespace solv {

class TKVZPage;

// Applies LockingFor(instanceName, page's class) to the page's cells.
void ApplyLocking(TKVZPage& page, std::string_view instanceName);

}  // namespace solv
