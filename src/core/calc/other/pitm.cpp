// PIT/M: income of minor children reported with the parents' income.
#include "calc/other/pitm.hpp"

#include <string>

#include "calc/other/pitm_messages.hpp"
#include "calc/rules.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"
#include "calc/fields.hpp"
#include "value/number.hpp"

namespace solv {

void RecalcPITM(std::string_view section) {
  const CalcRun run(section);

  // Pensions have no costs: the income is the revenue exactly as typed.
  WriteField("p8", ReadField("p7"));
  IncomeOrLoss("p10", "p11", "p12", "p13");
  IncomeOrLoss("p15", "p16", "p17", "p18");
  IncomeOrLoss("p20", "p21", "p22", "p23");

  SumFieldsInto({"p7", "p10", "p15", "p20"}, "p25");
  SumFieldsInto({"p11", "p16", "p21"}, "p26");
  SumFieldsInto({"p8", "p12", "p17", "p22"}, "p27");
  WriteField("p28", Format("0", SumFieldsValue({"p9", "p14", "p19", "p24"}, {})));

  long double income = ReadNumber("p27");
  long double advance = ReadNumber("p28");

  // Box 29: 1 both parents (half each), 2 one parent (the whole); the second
  // box wins when both are ticked.
  int choice = 0;
  if (IsChecked("p29a")) choice = 1;
  if (IsChecked("p29b")) choice = 2;

  if (choice == 0) {
    const bool spouse = section.find('_') != std::string_view::npos;
    AddMessage(kPitmMessages[spouse ? 1 : 0]);
  } else if (choice == 1) {
    income /= 2;
    advance /= 2;
  }
  WriteField("p30", FormatRounded("%.2f", income));
  WriteField("p31", FormatRounded("%.2f", advance));
}

}  // namespace solv
