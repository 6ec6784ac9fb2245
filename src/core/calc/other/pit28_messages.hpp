// Message texts of the PIT-28 checks, each beside the name of its check.
#pragma once

#include "calc/context.hpp"

namespace solv {

enum class Pit28Check {
  kNoPurpose,  // neither `p6a` nor `p6b` is "[X]"
  kRevenueDeductionsAboveRevenue,  // p63 + p64 + p66 > p43 + p50
  kForeignSocialAboveSocial,  // p65 > p64
  kInterestReliefAboveBase,  // p68 > p67
  kHealthAboveLumpSum,  // p100 > p99
  kForeignHealthAboveHealth,  // p101 > p100
  kLumpSumDeductionsAboveLumpSum,  // p102 > p99 − p100
  kOnePercentAboveLimit,  // p127 > limit
  kOnePercentReminder,  // p127 = 0 and limit > 0
  kOnePercentWithoutKrs,  // p127 > 0 and `p126` empty
  kCount
};

inline constexpr auto kPit28Messages = calc::Checks<Pit28Check>({
    {Pit28Check::kNoPurpose,
     "<color=clRed><b>PIT-28, Poz.6. Cel złożenia formularza (zaznaczyć właściwy kwadrat)</b> <color=clNavy>(<link=PIT28a#P6>POKAŻ >>></link>)<br><br>"},
    {Pit28Check::kRevenueDeductionsAboveRevenue,
     "<color=clRed><b>PIT-28, D1. ODLICZENIA OD PRZYCHODÓW NA PODSTAWIE ART.11 USTAWY</b><br><color=clNavy>Suma odliczeń nie może przekroczyć sumy przychodów z poz.43 i 50. (<link=PIT28b#P63>POKAŻ >>></link>)<br><br>"},
    {Pit28Check::kForeignSocialAboveSocial,
     "<color=clRed><b>PIT-28, Poz.65. (Składki na ubezpieczenia społeczne) w tym składki, o których mowa w art.26 ust. 1 pkt 2a ustawy o podatku dochodowym w związku z art.11 ustawy</b><br><color=clNavy>Kwota z poz.65 nie może przekroczyć kwoty z poz.64 (<link=popraw#%s#PIT28b#P65>POPRAW</link>, <link=PIT28b#P65>POKAŻ >>></link>)<br><br>"},
    {Pit28Check::kInterestReliefAboveBase,
     "<color=clRed><b>PIT-28, Poz.68. Ulga odsetkowa – wykazana w części B.1. załącznika PIT/D </b><br><color=clNavy>Kwota odliczanych odsetek nie może być większa niż kwota z poz.67. (<link=popraw#%s#PIT28b#P68>POPRAW</link>, <link=PIT28b#P68>POKAŻ >>></link>)<br><br>"},
    {Pit28Check::kHealthAboveLumpSum,
     "<color=clRed><b>PIT-28, Poz.100. Składki na ubezpieczenie zdrowotne</b><br><color=clNavy>Odliczana kwota nie może przekroczyć kwoty ryczałtu z poz.99. (<link=popraw#%s#PIT28c#P100>POPRAW</link>, <link=PIT28c#P100>POKAŻ >>></link>)<br><br>"},
    {Pit28Check::kForeignHealthAboveHealth,
     "<color=clRed><b>PIT-28, Poz.101. (Składki na ubezpieczenie zdrowotne) w tym składka, o której mowa w art.27b ust.1 pkt 2 ustawy o podatku dochodowym w związku z art.13 ustawy</b><br><color=clNavy>Kwota z poz.101 nie może przekroczyć kwoty z poz.100 (<link=popraw#%s#PIT28c#P101>POPRAW</link>, <link=PIT28c#P101>POKAŻ >>></link>)<br><br>"},
    {Pit28Check::kLumpSumDeductionsAboveLumpSum,
     "<color=clRed><b>PIT-28, Poz.102. Odliczenia od ryczałtu - wykazane w załączniku PIT/O </b><br><color=clNavy>Odliczana kwota nie może przekroczyć kwoty ryczałtu z poz.99 pomniejszonej o kwotę z poz.100. (<link=popraw#%s#PIT28c#P102>POPRAW</link>, <link=PIT28c#P102>POKAŻ >>></link>)<br><br>"},
    {Pit28Check::kOnePercentAboveLimit,
     "<color=clRed><b>PIT-28, Poz.127. Kwota 1 procent zmniejszenia z tytułu wpłaty na rzecz organizacji pożytku publicznego</b><br><color=clNavy>Kwota z poz.127 nie może przekroczyć 1 procenta kwoty z poz.106, po zaokrągleniu do pełnych dziesiątek groszy w dół (<link=popraw#%s#PIT28d#P127>POPRAW</link>, <link=PIT28d#P127>POKAŻ >>></link>)<br><br>"},
    {Pit28Check::kOnePercentReminder,
     "<color=clGreen><b>PIT-28, Poz.127. Nie zapomnij przekazać 1 procent swojego podatku na wybraną przez ciebie Organizacje Pożytku Publicznego. To nic nie kosztuje!</b><br><color=clNavy>W zeznaniu podatkowym wystarczy tylko wskazać, komu urząd skarbowy ma przekazać jeden procent. (<link=popraw#%s#PIT28d#P127>POPRAW</link>, <link=PIT28d#P127>POKAŻ >>></link>)<br><br>"},
    {Pit28Check::kOnePercentWithoutKrs,
     "<color=clGreen><b>PIT-28, Poz.126. Proszę podać dane Organizacji Pożytku Publicznego (OPP).</b><br><color=clNavy>Numer KRS <color=clNavy>(<link=PIT28d#P126>POKAŻ >>></link>)<br><br>"},
});
static_assert(kPit28Messages.InOrder());
constexpr const char* MessageText(Pit28Check check) { return kPit28Messages[check]; }

}  // namespace solv
