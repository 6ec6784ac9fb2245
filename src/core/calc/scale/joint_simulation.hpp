// Whether a married couple pays less filing jointly: the scale tax of each
// spouse alone against the tax of the couple together. A pure calculation:
// it neither reads nor writes the return set.
#pragma once

#include <string>

namespace solv {

// The six entries as typed (decimal comma); empty or unreadable counts 0.
struct JointSimulationInput {
  std::string przychod1, odliczenia1, odliczenia11;  // taxpayer: revenue, from revenue, from tax
  std::string przychod2, odliczenia2, odliczenia22;  // spouse
};

// Every result as the window shows it.
struct JointSimulationResult {
  std::string dochod1, dochod2, dochod3;        // income, whole zloty ("12345,00")
  std::string podatek1, podatek2, podatek3;     // scale tax
  std::string odliczenia33;                     // both deductions from tax
  std::string doZaplaty1, doZaplaty2, doZaplaty3;  // tax to pay, whole zloty
  std::string osobno, razem;                    // totals: separately, jointly
};

// Each step works with the displayed, rounded text of the results before it.
JointSimulationResult SimulateJointTaxation(const JointSimulationInput& input);

}  // namespace solv
