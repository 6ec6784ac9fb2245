// The joint-or-separate calculator: every result text from the six entries.
#include <gtest/gtest.h>

#include <string>

#include "calc/scale/joint_simulation.hpp"
#include "calc/scale/pit37.hpp"
#include "form_test_support.hpp"

namespace {

using solv::JointSimulationInput;
using solv::JointSimulationResult;
using solv::SimulateJointTaxation;

struct Case {
  const char* name;
  JointSimulationInput in;  // revenue, from revenue, from tax; taxpayer then spouse
  JointSimulationResult out;
};

void ExpectResult(const JointSimulationResult& got, const JointSimulationResult& want, const char* name) {
  EXPECT_EQ(got.dochod1, want.dochod1) << name;
  EXPECT_EQ(got.dochod2, want.dochod2) << name;
  EXPECT_EQ(got.dochod3, want.dochod3) << name;
  EXPECT_EQ(got.podatek1, want.podatek1) << name;
  EXPECT_EQ(got.podatek2, want.podatek2) << name;
  EXPECT_EQ(got.podatek3, want.podatek3) << name;
  EXPECT_EQ(got.odliczenia33, want.odliczenia33) << name;
  EXPECT_EQ(got.doZaplaty1, want.doZaplaty1) << name;
  EXPECT_EQ(got.doZaplaty2, want.doZaplaty2) << name;
  EXPECT_EQ(got.doZaplaty3, want.doZaplaty3) << name;
  EXPECT_EQ(got.osobno, want.osobno) << name;
  EXPECT_EQ(got.razem, want.razem) << name;
}

TEST(JointSimulation, Results) {
  // Results: dochod 1..3, podatek 1..3, odliczenia33, doZaplaty 1..3, osobno, razem.
  const Case cases[] = {
      {"nothing entered",
       {"", "", "", "", "", ""},
       {"0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00"}},
      {"one earner: joint filing pays",
       {"100000", "", "", "0", "", ""},
       {"100000,00", "0,00", "100000,00", "19470,06", "0,00", "16887,96", "0,00", "19470,00", "0,00", "16888,00",
        "19470,00", "16888,00"}},
      {"equal incomes: no gain",
       {"50000", "", "", "50000", "", ""},
       {"50000,00", "50000,00", "100000,00", "8443,98", "8443,98", "16887,96", "0,00", "8444,00", "8444,00",
        "16888,00", "16888,00", "16888,00"}},
      {"deductions from revenue above the revenue do not touch the spouse",
       {"1000", "5000", "", "40000", "", ""},
       {"0,00", "40000,00", "40000,00", "0,00", "6643,98", "6087,96", "0,00", "0,00", "6644,00", "6088,00",
        "6644,00", "6088,00"}},
      {"deductions from tax above the tax: nothing to pay",
       {"40000", "", "9000", "0", "", "0"},
       {"40000,00", "0,00", "40000,00", "6643,98", "0,00", "6087,96", "9000,00", "0,00", "0,00", "0,00", "0,00",
        "0,00"}},
      // 50001 / 2 = 25000,5 is rounded to 25001 before the scale, as the
      // joint return's tax base: 2 × 3944,16, not 2 × 3944,07.
      {"odd joint income: the half in whole zloty, as on the forms",
       {"50001", "", "", "", "", ""},
       {"50001,00", "0,00", "50001,00", "8444,16", "0,00", "7888,32", "0,00", "8444,00", "0,00", "7888,00",
        "8444,00", "7888,00"}},
      // 0,5 + 0,5: each shows 1,00 but the joint income is 1 from the unrounded values.
      {"joint income from the unrounded incomes",
       {"0,5", "", "", "0,5", "", ""},
       {"1,00", "1,00", "1,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00"}},
      // The scale works on the displayed whole-zloty incomes (50000,40 -> 50000,
      // 28999,50 -> 29000); the joint income is 78999,90 -> 79000.
      {"tax from the rounded income, deductions with grosz",
       {"50000,40", "0,00", "100,25", "30000,00", "1000,50", "200,30"},
       {"50000,00", "29000,00", "79000,00", "8443,98", "4663,98", "13107,96", "300,55", "8344,00", "4464,00",
        "12807,00", "12808,00", "12807,00"}},
      // 0,4846 is 0,49 through 0,485; 6643,98 - 0,4846 is 6643,50 in grosz.
      {"deductions from tax rounded in two stages",
       {"40000", "", "0,4846", "0", "", ""},
       {"40000,00", "0,00", "40000,00", "6643,98", "0,00", "6087,96", "0,49", "6644,00", "0,00", "6087,00",
        "6644,00", "6087,00"}},
      {"above the threshold",
       {"200000", "10000", "500", "100000", "", "300"},
       {"190000,00", "100000,00", "290000,00", "48270,06", "19470,06", "67740,12", "800,00", "47770,00", "19170,00",
        "66940,00", "66940,00", "66940,00"}},
      {"unreadable entries count 0",
       {"1.000", "abc", "12 000", "3089", "", ""},
       {"0,00", "3089,00", "3089,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00"}},
      // The joint half 85528,5 is 85529 in whole zloty, one above the threshold.
      {"scale threshold and one zloty above",
       {"85528", "", "", "85529", "", ""},
       {"85528,00", "85529,00", "171057,00", "14839,02", "14839,34", "29678,68", "0,00", "14839,00", "14839,00",
        "29679,00", "29678,00", "29679,00"}},
  };
  for (const auto& c : cases) ExpectResult(SimulateJointTaxation(c.in), c.out, c.name);
}


// The calculator gives what PIT-37 gives: the tax due of a joint return
// (box 120) and of each spouse filing alone, for incomes odd and even,
// around the threshold and with deductions from income and from tax.
class JointAgainstPit37 : public FormFixture {
 protected:
  std::string DueOf(const std::string& method, const std::string& boxes) {
    NextSet("[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\n" + method + "=[X]\np10a=[X]\n" + boxes);
    solv::RecalcPIT37("PIT37a");
    return Box("PIT37a", 120) + ",00";
  }
};

TEST_F(JointAgainstPit37, TheCalculatorGivesWhatTheFormsGive) {
  const struct {
    const char *revenue1, *fromIncome1, *fromTax1, *revenue2, *fromIncome2, *fromTax2;
  } cases[] = {
      {"40019", "", "", "", "", ""},          // the case seen: 6092 on the form, 6091 in the calculator
      {"40019", "", "", "0", "", ""},
      {"50001", "", "", "", "", ""},
      {"30001", "", "", "10000", "", ""},
      {"171057", "", "", "", "", ""},         // the half at the threshold
      {"85528", "", "", "85529", "", ""},
      {"60000,50", "1000,25", "250,10", "25000", "300", "100,40"},
      {"12345", "", "", "6789", "", ""},
      {"3091", "", "", "", "", ""},           // below the tax-free amount
  };
  for (const auto& c : cases) {
    const std::string name = std::string(c.revenue1) + " + " + c.revenue2;
    const solv::JointSimulationResult r =
        solv::SimulateJointTaxation({c.revenue1, c.fromIncome1, c.fromTax1, c.revenue2, c.fromIncome2, c.fromTax2});
    auto amount = [](const char* v) { return std::string(*v ? v : "0"); };
    const std::string joint = "p39=" + amount(c.revenue1) + "\np93=" + amount(c.fromIncome1) + "\np110=" +
                              amount(c.fromTax1) + "\np66=" + amount(c.revenue2) + "\np94=" + amount(c.fromIncome2) +
                              "\np111=" + amount(c.fromTax2) + "\n";
    EXPECT_EQ(r.razem, DueOf("p6b", joint)) << name << " jointly";
    const std::string alone1 = "p39=" + amount(c.revenue1) + "\np93=" + amount(c.fromIncome1) + "\np110=" +
                               amount(c.fromTax1) + "\n";
    const std::string alone2 = "p39=" + amount(c.revenue2) + "\np93=" + amount(c.fromIncome2) + "\np110=" +
                               amount(c.fromTax2) + "\n";
    EXPECT_EQ(r.doZaplaty1, DueOf("p6a", alone1)) << name << " taxpayer alone";
    EXPECT_EQ(r.doZaplaty2, DueOf("p6a", alone2)) << name << " spouse alone";
  }
}

}  // namespace
