// PIT/ZG: income earned abroad and tax paid there, one copy per country and
// person.
#include "calc/scale/pitzg.hpp"

#include <string>

#include "calc/context.hpp"
#include "calc/rules.hpp"
#include "calc/scale/pitzg_messages.hpp"
#include "messages/messages.hpp"
#include "store/forms.hpp"
#include "store/store.hpp"
#include "util/ascii.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

using namespace calc;
using C = PitZgCheck;

void Empty(int first, int last) {
  for (int b = first; b <= last; ++b) Put(b, "");
}

// Column of part C.1 (first row's box) summed over the six rows into total.
void ColumnTotal(int first, Box total) {
  long double sum = 0;
  for (int row = 0; row < 6; ++row) sum += N(first + 3 * row);
  Money(total, sum);
}

}  // namespace

void RecalcPITZG(std::string_view section) {
  const CalcRun run(section);
  const int main = ActiveMainForm();

  std::string spouseNip;
  if (main == kPIT36) {
    ColumnTotal(9, 27);
    ColumnTotal(10, 28);
    ColumnTotal(11, 29);
    Empty(30, 35);
    spouseNip = ReadField("p2", {}, "PIT36a");
  } else {
    // Only the part of the set's main form stays; a set without a main form
    // keeps part C.2 like PIT-36L.
    Empty(9, 29);
    if (main == kPIT38) {
      Empty(30, 31);
      Empty(34, 35);
    } else if (main == kPIT39) {
      Empty(30, 33);
    } else {
      Empty(32, 35);
    }
  }

  // No main form (a stray copy): no identifier to match.
  const bool hasMain = main >= 0 && main < kFormCount;
  const std::string mainNip = hasMain ? ReadField("p1", {}, kFormBaseNames[static_cast<size_t>(main)]) : "";
  const std::string nip = ReadField("p1");
  if (Trimmed(nip).empty())
    Message(C::kNoNip);
  else if (nip != mainNip && nip != spouseNip)
    Message(C::kNipOfNoOwner);
}

}  // namespace solv
