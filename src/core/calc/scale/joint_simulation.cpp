#include "calc/scale/joint_simulation.hpp"

#include <algorithm>

#include "calc/rules.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

long double Value(const std::string& text) { return ParseAmount(text, 0); }
// Whole zloty followed by ",00", never other grosz.
std::string Zloty(long double x) { return Format("%.0f", x) + ",00"; }
std::string Money(long double x) { return FormatRounded("%.2f", x); }
// A tax due in whole zloty, rounded in two stages as the forms' tax due
// (PIT-37 box 120): to grosz, then to zloty.
std::string Due(long double x) { return Zloty(Value(Format("%.2f", std::max<long double>(0, x)))); }

}  // namespace

JointSimulationResult SimulateJointTaxation(const JointSimulationInput& input) {
  const long double deduction1 = Value(input.odliczenia11);
  const long double deduction2 = Value(input.odliczenia22);
  JointSimulationResult r;

  const long double i1 = std::max<long double>(0, Value(input.przychod1) - Value(input.odliczenia1));
  const long double i2 = std::max<long double>(0, Value(input.przychod2) - Value(input.odliczenia2));
  r.dochod1 = Zloty(i1);
  r.dochod2 = Zloty(i2);
  // From the unrounded incomes, not from the two texts.
  r.dochod3 = Zloty(i1 + i2);

  r.podatek1 = Money(ScaleTax(Value(r.dochod1)));
  r.podatek2 = Money(ScaleTax(Value(r.dochod2)));
  // The half is rounded to whole zloty before the scale, as the tax base of
  // a joint return is (PIT-37 box 106): the calculator gives what the forms give.
  r.podatek3 = Money(ScaleTax(Value(Format("%.0f", Value(r.dochod3) / 2))) * 2);
  r.odliczenia33 = Money(deduction1 + deduction2);

  r.doZaplaty1 = Due(Value(r.podatek1) - deduction1);
  r.doZaplaty2 = Due(Value(r.podatek2) - deduction2);
  r.osobno = Money(Value(r.doZaplaty1) + Value(r.doZaplaty2));
  r.doZaplaty3 = Due(Value(r.podatek3) - Value(r.odliczenia33));
  r.razem = r.doZaplaty3;
  return r;
}

}  // namespace solv
