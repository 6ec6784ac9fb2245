// Message texts of the PIT/ZG checks, by check number.
#pragma once

namespace solv {

inline constexpr const char* kPitZgMessages[] = {
    // 0: box 1 empty
    "<color=clRed><b>PIT/ZG, Poz.1. Nie podano numeru NIP</b><br><br>",
    // 1: box 1 matches neither the main form's NIP nor (PIT-36 only) the spouse's NIP
    "<color=clRed><b>PIT/ZG, Poz.1. Podany NIP nie jest zgodny z numerem określonym na deklaracji głównej </b><br><br>",
};

}  // namespace solv
