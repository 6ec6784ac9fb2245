// Message texts of the PIT/B checks, by check number (B0 ... B4).
#pragma once

namespace solv {

inline constexpr const char* kPitbMessages[] = {
    // 0: p21 > 100
    "<color=clRed><b>PIT/B, Poz.21. Udział </b><br><color=clNavy>Udział podatnika w przychodach spółki nie może być większy od 100 procent <br>",
    // 1: p32 > 100
    "<color=clRed><b>PIT/B, Poz.32. Udział </b><br><color=clNavy>Udział podatnika w przychodach spółki nie może być większy od 100 procent <br>",
    // 2: p43 > 100
    "<color=clRed><b>PIT/B, Poz.43. Udział </b><br><color=clNavy>Udział podatnika w przychodach spółki nie może być większy od 100 procent <br>",
    // 3: p1 empty
    "<color=clRed><b>PIT/B, Poz.1. Nie podano numeru NIP</b><br><br>",
    // 4: p1 is neither NIP of the main form
    "<color=clRed><b>PIT/B, Poz.1. Podany NIP nie jest zgodny z numerem określonym na deklaracji głównej </b><br><br>",
};

}  // namespace solv
