// Box locking on a page: after every recalculation the locking rules
// (calc/locking_rules.hpp) lock the boxes that the chosen way of taxation (or
// the main form, or the attachment number) makes meaningless, and unlock the
// others.
#pragma once

#include <string_view>

#include "calc/locking_rules.hpp"

namespace solv {

class TKVZPage;

// Applies LockingFor(instanceName, page's class) to the page's cells.
void ApplyLocking(TKVZPage& page, std::string_view instanceName);

}  // namespace solv
