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
    for (const std::string& box : ExpandBoxList(box_lists::kPit2kSpouse)) WriteField(box, "");
  }

  Limit(33, N(32), Pit2KCheck::kBox33AboveBox32);
}

}  // namespace solv
