// Message texts of the PIT-2K checks, by check number.
#pragma once

namespace solv {

inline constexpr const char* kPit2KMessages[] = {
    // 0: 33 > 32
    "<color=clRed><b>PIT-2K, Poz.33.</b><br><color=clNavy>Kwota z poz.33 nie może przekroczyć kwoty z poz.32 (<link=popraw#%s#PIT2Ka#P33>POPRAW</link>, <link=PIT2Ka#P33>POKAŻ >>></link>)<br><br>",
};

}  // namespace solv
