// Message texts of the PIT/B checks, each beside the name of its check.
#pragma once

#include "calc/context.hpp"

namespace solv {

enum class PitbCheck {
  kFirstShareAbove100,  // p21 > 100
  kSecondShareAbove100,  // p32 > 100
  kThirdShareAbove100,  // p43 > 100
  kNoNip,  // p1 empty
  kNipOfNoOwner,  // p1 is neither NIP of the main form
  kCount
};

inline constexpr auto kPitbMessages = calc::Checks<PitbCheck>({
    {PitbCheck::kFirstShareAbove100,
     "<color=clRed><b>PIT/B, Poz.21. Udział </b><br><color=clNavy>Udział podatnika w przychodach spółki nie może być większy od 100 procent <br>"},
    {PitbCheck::kSecondShareAbove100,
     "<color=clRed><b>PIT/B, Poz.32. Udział </b><br><color=clNavy>Udział podatnika w przychodach spółki nie może być większy od 100 procent <br>"},
    {PitbCheck::kThirdShareAbove100,
     "<color=clRed><b>PIT/B, Poz.43. Udział </b><br><color=clNavy>Udział podatnika w przychodach spółki nie może być większy od 100 procent <br>"},
    {PitbCheck::kNoNip,
     "<color=clRed><b>PIT/B, Poz.1. Nie podano numeru NIP</b><br><br>"},
    {PitbCheck::kNipOfNoOwner,
     "<color=clRed><b>PIT/B, Poz.1. Podany NIP nie jest zgodny z numerem określonym na deklaracji głównej </b><br><br>"},
});
static_assert(kPitbMessages.InOrder());
constexpr const char* MessageText(PitbCheck check) { return kPitbMessages[check]; }

}  // namespace solv
