// Message texts of the PIT-37 checks, each beside the name of its check.
#pragma once

#include "calc/context.hpp"

namespace solv {

enum class Pit37Check {
  kNoMethod,  // method 0
  kBox7WithoutMethod,  // `p7a` ticked, method 0
  kBox8WithoutMethod,  // `p8a` ticked, method 0
  kNoPurpose,  // neither `p10a` nor `p10b`
  kSocialAboveIncome,  // 93 > 64
  kSpouseSocialAboveIncome,  // joint, 94 > 91
  kForeignSocialAboveSocial,  // 95 > 93
  kSpouseForeignSocialAboveSocial,  // joint, 96 > 94
  kIncomeDeductionsAboveIncome,  // 99 > 97
  kSpouseIncomeDeductionsAboveIncome,  // joint, 100 > 98
  kInterestReliefAboveIncome,  // 101 > 97 + 98 - 99 - 100
  kHealthAboveTax,  // alone, 110 > 109
  kHealthAboveTaxJoint,  // joint, 110 + 111 > 109
  kForeignHealthAboveHealth,  // 112 > 110
  kSpouseForeignHealthAboveHealth,  // joint, 113 > 111
  kTaxDeductionsAboveTax,  // alone, 114 > 109 - 110 - 111
  kTaxDeductionsAboveTaxJoint,  // joint, 114 + 115 > 109 - 110 - 111
  kOnePercentAboveLimit,  // amount 125 > 1% limit
  kOnePercentReminder,  // amount 125 = 0 and limit > 0
  kOnePercentWithoutKrs,  // amount 125 > 0 and `p124` empty
  kCount
};

inline constexpr auto kPit37Messages = calc::Checks<Pit37Check>({
    {Pit37Check::kNoMethod,
     "<color=clRed><b>PIT-37, Poz.6. Wybór sposobu opodatkowania (zaznaczyć właściwy kwadrat)</b> <color=clNavy>(<link=PIT37a#P6>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kBox7WithoutMethod,
     "<color=clRed><b>PIT-37, Poz.7. Wybór sposobu opodatkowania (zaznaczyć właściwy kwadrat)</b><br><color=clNavy>Kwadrat w poz.7 zaznacza się łącznie z kwadratem 1,2,3 albo 4 w poz.6. <color=clNavy>(<link=PIT37a#P6>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kBox8WithoutMethod,
     "<color=clRed><b>PIT-37, Poz.8. Wybór sposobu opodatkowania (zaznaczyć właściwy kwadrat)</b><br><color=clNavy>Kwadrat w poz.8 zaznacza się łącznie z kwadratem 1,2,3 albo 4 w poz.6. <color=clNavy>(<link=PIT37a#P6>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kNoPurpose,
     "<color=clRed><b>PIT-37, Poz.10. Cel złożenia formularza (zaznaczyć właściwy kwadrat)</b> <color=clNavy>(<link=PIT37a#P10>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kSocialAboveIncome,
     "<color=clRed><b>PIT-37, Poz.93. Składki na ubezpieczenia społeczne</b><br><color=clNavy>Odliczenie podatnika nie może przekroczyć kwoty z poz.64. (<link=popraw#%s#PIT37b#P93>POPRAW</link>, <link=PIT37b#P93>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kSpouseSocialAboveIncome,
     "<color=clRed><b>PIT-37, Poz.94. Składki na ubezpieczenia społeczne</b><br><color=clNavy>Odliczenie małżonka nie może przekroczyć kwoty z poz.91. (<link=popraw#%s#PIT37b#P94>POPRAW</link>, <link=PIT37b#P94>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kForeignSocialAboveSocial,
     "<color=clRed><b>PIT-37, Poz.95. (Składki na ubezpieczenia społeczne) w tym zagraniczne, o których mowa w art.26 ust.1 pkt 2a ustawy</b><br><color=clNavy>Kwota z poz.95 nie może przekroczyć kwoty z poz.93 (<link=popraw#%s#PIT37b#P95>POPRAW</link>, <link=PIT37b#P95>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kSpouseForeignSocialAboveSocial,
     "<color=clRed><b>PIT-37, Poz.96. (Składki na ubezpieczenia społeczne) w tym zagraniczne, o których mowa w art.26 ust.1 pkt 2a ustawy</b><br><color=clNavy>Kwota z poz.96 nie może przekroczyć kwoty z poz.94 (<link=popraw#%s#PIT37b#P96>POPRAW</link>, <link=PIT37b#P96>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kIncomeDeductionsAboveIncome,
     "<color=clRed><b>PIT-37, Poz.99. Odliczenia od dochodu - wykazane w załączniku PIT/O</b><br><color=clNavy>Odliczenie podatnika nie może przekroczyć kwoty z poz.97. (<link=popraw#%s#PIT37b#P99>POPRAW</link>, <link=PIT37b#P99>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kSpouseIncomeDeductionsAboveIncome,
     "<color=clRed><b>PIT-37, Poz.100. Odliczenia od dochodu - wykazane w załączniku PIT/O</b><br><color=clNavy>Odliczenie podatnika nie może przekroczyć kwoty z poz.98. (<link=popraw#%s#PIT37b#P100>POPRAW</link>, <link=PIT37b#P100>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kInterestReliefAboveIncome,
     "<color=clRed><b>PIT-37, Poz.101. Ulga odsetkowa - wykazana w części B.1. załącznika PIT/D</b><br><color=clNavy>Kwota z poz.101 nie może przekroczyć sumy kwot z poz.97 i 98 pomniejszonej o kwoty z poz.99 i 100. (<link=popraw#%s#PIT37b#P101>POPRAW</link>, <link=PIT37b#P101>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kHealthAboveTax,
     "<color=clRed><b>PIT-37, Poz.110. Składki na ubezpieczenie zdrowotne</b><br><color=clNavy>Kwot z poz.110 nie może przekroczyć kwoty z poz.109. (<link=popraw#%s#PIT37c#P110>POPRAW</link>, <link=PIT37c#P110>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kHealthAboveTaxJoint,
     "<color=clRed><b>PIT-37, Poz.110 i 111. Składki na ubezpieczenie zdrowotne</b><br><color=clNavy>Suma kwot z poz.110 i 111 nie może przekroczyć kwoty z poz.109. (<link=PIT37c#P110>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kForeignHealthAboveHealth,
     "<color=clRed><b>PIT-37, Poz.112. (Składki na ubezpieczenie zdrowotne) w tym zagraniczne, o których mowa w art.27b ust.1 pkt 2 ustawy</b><br><color=clNavy>Kwota z poz.112 nie może przekroczyć kwoty z poz.110 (<link=popraw#%s#PIT37c#P112>POPRAW</link>, <link=PIT37c#P112>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kSpouseForeignHealthAboveHealth,
     "<color=clRed><b>PIT-37, Poz.113. (Składki na ubezpieczenie zdrowotne) w tym zagraniczne, o których mowa w art.27b ust.1 pkt 2 ustawy</b><br><color=clNavy>Kwota z poz.113 nie może przekroczyć kwoty z poz.111 (<link=popraw#%s#PIT37c#P113>POPRAW</link>, <link=PIT37c#P113>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kTaxDeductionsAboveTax,
     "<color=clRed><b>PIT-37, Poz.114. Odliczenia od podatku - wykazane w części C załącznika PIT/O</b><br><color=clNavy>Kwota z poz.114 nie może przekroczyć podatku z poz.109 pomniejszonego o kwote z poz.110 (<link=popraw#%s#PIT37c#P114>POPRAW</link>, <link=PIT37c#P114>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kTaxDeductionsAboveTaxJoint,
     "<color=clRed><b>PIT-37, Poz.114 i 115. Odliczenia od podatku - wykazane w części C załącznika PIT/O</b><br><color=clNavy>Suma odliczanych kwot nie może przekroczyć podatku z poz.109 pomniejszonego o sumę kwot z poz.110 i 111. (<link=PIT37c#P114>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kOnePercentAboveLimit,
     "<color=clRed><b>PIT-37, Poz.125. Kwota 1 procent zmniejszenia z tytułu wpłaty na rzecz organizacji pożytku publicznego</b><br><color=clNavy>Kwota z poz.125 nie może przekroczyć 1 procenta kwoty z poz.120, po zaokrągleniu do pełnych dziesiątek groszy w dół (<link=popraw#%s#PIT37c#P125>POPRAW</link>, <link=PIT37c#P125>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kOnePercentReminder,
     "<color=clGreen><b>PIT-37, Poz.125. Nie zapomnij przekazać 1 procent swojego podatku na wybraną przez ciebie Organizacje Pożytku Publicznego. To nic nie kosztuje!</b><br><color=clNavy>W zeznaniu podatkowym wystarczy tylko wskazać, komu urząd skarbowy ma przekazać jeden procent. (<link=popraw#%s#PIT37c#P125>POPRAW</link>, <link=PIT37c#P125>POKAŻ >>></link>)<br><br>"},
    {Pit37Check::kOnePercentWithoutKrs,
     "<color=clGreen><b>PIT-37, Poz.124. Proszę podać dane Organizacji Pożytku Publicznego (OPP).</b><br><color=clNavy>Numer KRS <color=clNavy>(<link=PIT37c#P124>POKAŻ >>></link>)<br><br>"},
});
static_assert(kPit37Messages.InOrder());
constexpr const char* MessageText(Pit37Check check) { return kPit37Messages[check]; }

}  // namespace solv
