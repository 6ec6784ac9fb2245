// Message texts of the PIT-28/B checks, by check number.
#pragma once

namespace solv {

inline constexpr const char* kPit28BMessages[] = {
    // 0: p23 > 100
    "<color=clRed><b>PIT-28/B, Poz.23. Udział podatnika w przychodach spółki </b><br><color=clNavy>Udział podatnika w przychodach spółki nie może być większy od 100 procent (<link=popraw#100#PIT28Ba#P23>POPRAW</link>, <link=PIT28Ba#P23>POKAŻ >>></link>)<br><br>",
    // 1: p65 > 100
    "<color=clRed><b>PIT-28/B, Poz.65. Udział podatnika w przychodach spółki </b><br><color=clNavy>Udział podatnika w przychodach spółki nie może być większy od 100 procent (<link=popraw#100#PIT28Bb#P65>POPRAW</link>, <link=PIT28Bb#P65>POKAŻ >>></link>)<br><br>",
};

}  // namespace solv
