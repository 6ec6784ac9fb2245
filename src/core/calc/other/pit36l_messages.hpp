// Message texts of the PIT-36L checks, each beside the name of its check.
#pragma once

#include "calc/context.hpp"

namespace solv {

enum class Pit36LCheck {
  kNoPurpose,  // neither p6a nor p6b ticked
  kExemptionWithoutPitZ,  // box 22 ticked, no PIT/Z
  kPitZWithoutExemption,  // PIT/Z present, box 22 not ticked
  kLossesAndSocialAboveIncome,  // p34 + p35 > p26 + p31
  kTaxDeductionsAboveTax,  // p50 + p52 > p49
  kExemptionYearWithoutExemption,  // year p23 given, box 22 not ticked
  kLossesWithoutSources,  // p34 > 0, p33a empty
  kForeignTaxAboveLumpSum,  // p63 > p62
  kOnePercentAboveLimit,  // p106 above the 1% limit
  kForeignSocialAboveSocial,  // p36 > p35
  kOnePercentReminder,  // p106 = 0 and limit > 0
  kOnePercentWithoutKrs,  // p106 > 0 and p105 empty
  kAdvancesNotAnAmount,  // p59 typed as text that is not an amount
  kCount
};

inline constexpr auto kPit36LMessages = calc::Checks<Pit36LCheck>({
    {Pit36LCheck::kNoPurpose,
     "<color=clRed><b>PIT-36L, Poz.6. Cel złożenia formularza (zaznaczyć właściwy kwadrat)</b> <color=clNavy>(<link=PIT36La#P6>POKAŻ >>></link>)<br><br>"},
    {Pit36LCheck::kExemptionWithoutPitZ,
     "<color=clRed><b>PIT-36L, Poz.22. Podatnik korzystał w jednym z pięciu lat poprzedzających rok wykazany w poz.4 ze zwolnienia na podstawie art.44 ust.7a ustawy ... </b><br><color=clNavy>W przypadku zaznaczenia poz.22, należy wypełnić PIT/Z (<link=PIT36La#P22A>POKAŻ >>></link>)<br><br>"},
    {Pit36LCheck::kPitZWithoutExemption,
     "<color=clRed><b>PIT-36L, Poz.22. Podatnik korzystał w jednym z pięciu lat poprzedzających rok wykazany w poz.4 ze zwolnienia na podstawie art.44 ust.7a ustawy ... </b><br><color=clNavy>W przypadku wypełnienia PIT/Z, należy zaznaczyć poz.22 (<link=PIT36La#P22A>POKAŻ >>></link>)<br><br>"},
    {Pit36LCheck::kLossesAndSocialAboveIncome,
     "<color=clRed><b>PIT-36L, E. ODLICZENIE STRAT l SKŁADEK NA UBEZPIECZENIA SPOŁECZNE</b><br><color=clNavy>Suma kwot z poz.34 i 35 nie może przekroczyć sumy kwot z poz.26 i 31. (<link=PIT36La#P34>POKAŻ >>></link>)<br><br>"},
    {Pit36LCheck::kTaxDeductionsAboveTax,
     "<color=clRed><b>PIT-36L, H. ODLICZENIE OD PODATKU</b><br><color=clNavy>Suma kwot z poz. 50 i 52 nie może przekroczyć kwoty podatku wykazanej w poz. 49.  (<link=PIT36Lb#P50>POKAŻ >>></link>)<br><br>"},
    {Pit36LCheck::kExemptionYearWithoutExemption,
     "<color=clRed><b>PIT-36L, Poz.23. Rok (podać rok, w którym podatnik korzystał ze zwolnienia na podstawie art.44 ust.7a ustawy). </b><br><color=clNavy>W przypadku wypełnienia poz.23, należy zaznaczyć poz.22 (<link=PIT36La#P22A>POKAŻ >>></link>)<br><br>"},
    {Pit36LCheck::kLossesWithoutSources,
     "<color=clRed><b>PIT-36L, Poz.34. Straty z lat ubiegłych. </b><br><color=clNavy>W przypadku wypełnienia poz.34, należy podać źródła strat (<link=PIT36La#P33A>POKAŻ >>></link>)<br><br>"},
    {Pit36LCheck::kForeignTaxAboveLumpSum,
     "<color=clRed><b>PIT-36L, Poz.63. Podatek zapłacony za granicą, o którym mowa w art.30a ust.9 ustawy</b><br><color=clNavy>Kwota z poz.63 nie może przekroczyć kwoty z poz.62. (<link=popraw#%s#PIT36Lb#P63>POPRAW</link>, <link=PIT36Lb#P63>POKAŻ >>></link>)<br><br>"},
    {Pit36LCheck::kOnePercentAboveLimit,
     "<color=clRed><b>PIT-36L, Poz.106. Kwota 1 procent zmniejszenia z tytułu wpłaty na rzecz organizacji pożytku publicznego</b><br><color=clNavy>Kwota z poz.106 nie może przekroczyć 1 procenta kwoty z poz.55, po zaokrągleniu do pełnych dziesiątek groszy w dół (<link=popraw#%s#PIT36Lc#P106>POPRAW</link>, <link=PIT36Lc#P106>POKAŻ >>></link>)<br><br>"},
    {Pit36LCheck::kForeignSocialAboveSocial,
     "<color=clRed><b>PIT-36L, Poz.36. (Składki na ubezpieczenie społeczne) w tym zagraniczne, o których mowa w art.26 ust.1 pkt 2a ustawy</b><br><color=clNavy>Kwota z poz.36 nie może przekroczyć kwoty z poz.35 (<link=popraw#%s#PIT36La#P36>POPRAW</link>, <link=PIT36La#P36>POKAŻ >>></link>)<br><br>"},
    {Pit36LCheck::kOnePercentReminder,
     "<color=clGreen><b>PIT-36L, Poz.106. Nie zapomnij przekazać 1 procent swojego podatku na wybraną przez ciebie Organizacje Pożytku Publicznego. To nic nie kosztuje!</b><br><color=clNavy>W zeznaniu podatkowym wystarczy tylko wskazać, komu urząd skarbowy ma przekazać jeden procent. (<link=popraw#%s#PIT36Lc#P106>POPRAW</link>, <link=PIT36Lc#P106>POKAŻ >>></link>)<br><br>"},
    {Pit36LCheck::kOnePercentWithoutKrs,
     "<color=clGreen><b>PIT-36L, Poz.105. Proszę podać dane Organizacji Pożytku Publicznego (OPP).</b><br><color=clNavy>Numer KRS <color=clNavy>(<link=PIT36Lc#P105>POKAŻ >>></link>)<br><br>"},
    {Pit36LCheck::kAdvancesNotAnAmount,
     "<color=clRed><b>PIT-36L, Poz.59. Zaliczki wpłacone (w pełnych złotych)</b><br><color=clNavy>Wpisany tekst „%s” nie jest kwotą. Należy wpisać kwotę w pełnych złotych, bez odstępów (np. 9500). (<link=PIT36Lb#P59>POKAŻ >>></link>)<br><br>"},
});
static_assert(kPit36LMessages.InOrder());
constexpr const char* MessageText(Pit36LCheck check) { return kPit36LMessages[check]; }

}  // namespace solv
