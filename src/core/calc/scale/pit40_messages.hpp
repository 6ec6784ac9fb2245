// Message texts of the PIT-40 checks, each beside the name of its check.
#pragma once

#include "calc/context.hpp"

namespace solv {

enum class Pit40Check {
  kNoPurpose,  // neither `p6a` nor `p6b`
  kNoPayerKind,  // neither `p7a` nor `p7b`
  kIncomeDeductionsAboveIncome,  // 68 + 70 + 72 > 66
  kForeignSocialAboveSocial,  // 69 > 68
  kForeignHealthAboveHealth,  // 78 > 77
  kHealthAboveTax,  // 79 > 76
  kHealthAboveContributions,  // 79 > 77
  kTaxDeductionsAboveTax,  // 79 + 81 > 76
  kCount
};

inline constexpr auto kPit40Messages = calc::Checks<Pit40Check>({
    {Pit40Check::kNoPurpose,
     "<color=clRed><b>PIT-40, Poz.6. Cel złożenia formularza (zaznaczyć właściwy kwadrat)</b> <color=clNavy>(<link=PIT40a#P6>POKAŻ >>></link>)<br><br>"},
    {Pit40Check::kNoPayerKind,
     "<color=clRed><b>PIT-40, Poz.7. Rodzaj płatnika (zaznaczyć właściwy kwadrat)</b> <color=clNavy>(<link=PIT40a#P7>POKAŻ >>></link>)<br><br>"},
    {Pit40Check::kIncomeDeductionsAboveIncome,
     "<color=clRed><b>PIT-40, G. ODLICZENIA OD DOCHODU</b><br><color=clNavy>Suma kwot z poz.68, 70 i 72 nie może przekroczyć kwoty z poz.66. (<link=PIT40b#P68>POKAŻ >>></link>)<br><br>"},
    {Pit40Check::kForeignSocialAboveSocial,
     "<color=clRed><b>PIT-40, Poz.69. (Składki na ubezpieczenia społeczne) w tym zagraniczne, o których mowa w art.26 ust.1 pkt 2a ustawy</b><br><color=clNavy>Kwota z poz.69 nie może przekroczyć kwoty z poz.68 (<link=popraw#%s#PIT40b#P69>POPRAW</link>, <link=PIT40b#P69>POKAŻ >>></link>)<br><br>"},
    {Pit40Check::kForeignHealthAboveHealth,
     "<color=clRed><b>PIT-40, Poz.78. (Składki na ubezpieczenie zdrowotne) w tym zagraniczne, o których mowa w art.27b ust.1 pkt 2 ustawy</b><br><color=clNavy>Kwota z poz.78 nie może przekroczyć kwoty z poz.77 (<link=popraw#%s#PIT40c#P78>POPRAW</link>, <link=PIT40c#P78>POKAŻ >>></link>)<br><br>"},
    {Pit40Check::kHealthAboveTax,
     "<color=clRed><b>PIT-40, Poz.79. Kwota składek z poz. 77, możliwa do odliczenia w roku podatkowym</b><br><color=clNavy>Odliczana składka nie może przekroczyć kwoty z poz.76 (<link=popraw#%s#PIT40c#P79>POPRAW</link>, <link=PIT40c#P79>POKAŻ >>></link>)<br><br>"},
    {Pit40Check::kHealthAboveContributions,
     "<color=clRed><b>PIT-40, Poz.79. Kwota składek z poz. 77, możliwa do odliczenia w roku podatkowym</b><br><color=clNavy>Odliczana składka nie może przekroczyć kwoty z poz.77 (<link=popraw#%s#PIT40c#P79>POPRAW</link>, <link=PIT40c#P79>POKAŻ >>></link>)<br><br>"},
    {Pit40Check::kTaxDeductionsAboveTax,
     "<color=clRed><b>PIT-40, Poz.79 i 81. Odliczenia od podatku</b><br><color=clNavy>Suma kwot z poz.79 i 81 nie może przekroczyć kwoty z poz.76 (<link=PIT40c#P81>POKAŻ >>></link>)<br><br>"},
});
static_assert(kPit40Messages.InOrder());
constexpr const char* MessageText(Pit40Check check) { return kPit40Messages[check]; }

}  // namespace solv
