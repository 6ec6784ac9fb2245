// PIT-2K: the statement of housing-investment expenses attached to PIT-28,
// PIT-36 or PIT-37. Nothing is computed.
#include "calc/scale/pit2k.hpp"

#include <string>

#include "calc/context.hpp"
#include "calc/rules.hpp"
#include "calc/scale/pit2k_messages.hpp"
#include "store/store.hpp"

namespace solv {

using namespace calc;

void RecalcPIT2K(std::string_view section) {
  const CalcRun run(section);

  // A single parent has no spouse on the statement.
  if (TaxationMethod() == 4) {
    Put(2, "");
    for (int b = 17; b <= 30; ++b) Put(b, "");
  }

  Limit(33, N(32), Pit2KCheck::kBox33AboveBox32);
}

}  // namespace solv
