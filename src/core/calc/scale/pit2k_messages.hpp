// Message texts of the PIT-2K checks, each beside the name of its check.
#pragma once

#include "calc/context.hpp"

namespace solv {

enum class Pit2KCheck {
  kBox33AboveBox32,  // 33 > 32
  kCount
};

inline constexpr auto kPit2KMessages = calc::Checks<Pit2KCheck>({
    {Pit2KCheck::kBox33AboveBox32,
     "<color=clRed><b>PIT-2K, Poz.33.</b><br><color=clNavy>Kwota z poz.33 nie może przekroczyć kwoty z poz.32 (<link=popraw#%s#PIT2Ka#P33>POPRAW</link>, <link=PIT2Ka#P33>POKAŻ >>></link>)<br><br>"},
});
static_assert(kPit2KMessages.InOrder());
constexpr const char* MessageText(Pit2KCheck check) { return kPit2KMessages[check]; }

}  // namespace solv
