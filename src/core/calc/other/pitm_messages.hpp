// Message texts of the PIT/M checks, each beside the name of its check.
#pragma once

#include "calc/context.hpp"

namespace solv {

enum class PitmCheck {
  kNoChoice,  // box 29 not ticked on the taxpayer's PIT/M
  kSpouseNoChoice,  // box 29 not ticked on the spouse's PIT/M
  kCount
};

inline constexpr auto kPitmMessages = calc::Checks<PitmCheck>({
    {PitmCheck::kNoChoice,
     "<color=clRed><b>PIT/M podatnik, Poz.29. Prawo pobierania pożytków z dochodu dzieci przysługuje (zaznaczyć właściwy kwadrat)</b> <br>"},
    {PitmCheck::kSpouseNoChoice,
     "<color=clRed><b>PIT/M małżonek, Poz.29. Prawo pobierania pożytków z dochodu dzieci przysługuje (zaznaczyć właściwy kwadrat)</b> <br>"},
});
static_assert(kPitmMessages.InOrder());
constexpr const char* MessageText(PitmCheck check) { return kPitmMessages[check]; }

}  // namespace solv
