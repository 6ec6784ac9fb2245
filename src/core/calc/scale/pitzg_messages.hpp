// Message texts of the PIT/ZG checks, each beside the name of its check.
#pragma once

#include "calc/context.hpp"

namespace solv {

enum class PitZgCheck {
  kNoNip,  // box 1 empty
  kNipOfNoOwner,  // box 1 matches neither the main form's NIP nor (PIT-36 only) the spouse's NIP
  kCount
};

inline constexpr auto kPitZgMessages = calc::Checks<PitZgCheck>({
    {PitZgCheck::kNoNip,
     "<color=clRed><b>PIT/ZG, Poz.1. Nie podano numeru NIP</b><br><br>"},
    {PitZgCheck::kNipOfNoOwner,
     "<color=clRed><b>PIT/ZG, Poz.1. Podany NIP nie jest zgodny z numerem określonym na deklaracji głównej </b><br><br>"},
});
static_assert(kPitZgMessages.InOrder());
constexpr const char* MessageText(PitZgCheck check) { return kPitZgMessages[check]; }

}  // namespace solv
