// Message texts of the PIT-28/B checks, each beside the name of its check.
#pragma once

#include "calc/context.hpp"

namespace solv {

enum class Pit28BCheck {
  kFirstShareAbove100,  // p23 > 100
  kSecondShareAbove100,  // p65 > 100
  kCount
};

inline constexpr auto kPit28BMessages = calc::Checks<Pit28BCheck>({
    {Pit28BCheck::kFirstShareAbove100,
     "<color=clRed><b>PIT-28/B, Poz.23. Udział podatnika w przychodach spółki </b><br><color=clNavy>Udział podatnika w przychodach spółki nie może być większy od 100 procent (<link=popraw#100#PIT28Ba#P23>POPRAW</link>, <link=PIT28Ba#P23>POKAŻ >>></link>)<br><br>"},
    {Pit28BCheck::kSecondShareAbove100,
     "<color=clRed><b>PIT-28/B, Poz.65. Udział podatnika w przychodach spółki </b><br><color=clNavy>Udział podatnika w przychodach spółki nie może być większy od 100 procent (<link=popraw#100#PIT28Bb#P65>POPRAW</link>, <link=PIT28Bb#P65>POKAŻ >>></link>)<br><br>"},
});
static_assert(kPit28BMessages.InOrder());
constexpr const char* MessageText(Pit28BCheck check) { return kPit28BMessages[check]; }

}  // namespace solv
