// PIT/M: income of minor children reported with the parents' income.
#include "calc/other/pitm.hpp"

#include <string>

#include "calc/other/pitm_messages.hpp"
#include "calc/context.hpp"
#include "calc/rules.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"
#include "calc/fields.hpp"
#include "value/number.hpp"

namespace solv {

using namespace calc;

void RecalcPITM(std::string_view section) {
  const CalcRun run(section);

  // Pensions have no costs: the income is the revenue exactly as typed.
  Put(8, Text(7));
  IncomeOrLoss({.revenue = 10, .cost = 11, .income = 12, .loss = 13});
  IncomeOrLoss({.revenue = 15, .cost = 16, .income = 17, .loss = 18});
  IncomeOrLoss({.revenue = 20, .cost = 21, .income = 22, .loss = 23});

  SumInto({7, 10, 15, 20}, 25);
  SumInto({11, 16, 21}, 26);
  SumInto({8, 12, 17, 22}, 27);
  Put(28, Format("0", SumOf({9, 14, 19, 24})));

  const Together halves;
  long double income = N(27);
  long double advance = N(28);

  // Box 29: 1 both parents (half each), 2 one parent (the whole); the second
  // box wins when both are ticked.
  int choice = 0;
  if (Checked("p29a")) choice = 1;
  if (Checked("p29b")) choice = 2;

  if (choice == 0) {
    const bool spouse = section.find('_') != std::string_view::npos;
    Message(spouse ? PitmCheck::kSpouseNoChoice : PitmCheck::kNoChoice);
  } else if (choice == 1) {
    income /= 2;
    advance /= 2;
  }
  MoneyRounded(30, income);
  MoneyRounded(31, advance);
}

}  // namespace solv
