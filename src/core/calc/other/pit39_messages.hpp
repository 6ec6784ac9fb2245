// Message texts of the PIT-39 checks, each beside the name of its check.
#pragma once

#include "calc/context.hpp"

namespace solv {

enum class Pit39Check {
  kNoPurpose,  // neither p6a nor p6b ticked
  kForeignTaxAboveLumpSum,  // p33 > p32
  kOnePercentAboveLimit,  // p52 above the 1% limit
  kOnePercentReminder,  // p52 = 0 and limit > 0
  kOnePercentWithoutKrs,  // p52 > 0 and p51 empty
  kCount
};

inline constexpr auto kPit39Messages = calc::Checks<Pit39Check>({
    {Pit39Check::kNoPurpose,
     "<color=clRed><b>PIT-39, Poz.6. Cel złożenia formularza (zaznaczyć właściwy kwadrat)</b> <color=clNavy>(<link=PIT39a#P6>POKAŻ >>></link>)<br><br>"},
    {Pit39Check::kForeignTaxAboveLumpSum,
     "<color=clRed><b>PIT-39, Poz.33. Podatek zapłacony za granicą, o którym mowa w art.30a ust.9 ustawy</b><br><color=clNavy>Kwota z poz.33 nie może przekroczyć kwoty z poz.32. (<link=popraw#%s#PIT39b#P33>POPRAW</link>, <link=PIT39b#P33>POKAŻ >>></link>)<br><br>"},
    {Pit39Check::kOnePercentAboveLimit,
     "<color=clRed><b>PIT-39, Poz.52. Kwota 1 procent zmniejszenia z tytułu wpłaty na rzecz organizacji pożytku publicznego</b><br><color=clNavy>Kwota z poz.52 nie może przekroczyć 1 procenta kwoty z poz.30, po zaokrągleniu do pełnych dziesiątek groszy w dół (<link=popraw#%s#PIT39b#P52>POPRAW</link>, <link=PIT39b#P52>POKAŻ >>></link>)<br><br>"},
    {Pit39Check::kOnePercentReminder,
     "<color=clGreen><b>PIT-39, Poz.52. Nie zapomnij przekazać 1 procent swojego podatku na wybraną przez ciebie Organizacje Pożytku Publicznego. To nic nie kosztuje!</b><br><color=clNavy>W zeznaniu podatkowym wystarczy tylko wskazać, komu urząd skarbowy ma przekazać jeden procent. (<link=popraw#%s#PIT39b#P52>POPRAW</link>, <link=PIT39b#P52>POKAŻ >>></link>)<br><br>"},
    {Pit39Check::kOnePercentWithoutKrs,
     "<color=clGreen><b>PIT-39, Poz.51. Proszę podać dane Organizacji Pożytku Publicznego (OPP).</b><br><color=clNavy>Numer KRS <color=clNavy>(<link=PIT39b#P51>POKAŻ >>></link>)<br><br>"},
});
static_assert(kPit39Messages.InOrder());
constexpr const char* MessageText(Pit39Check check) { return kPit39Messages[check]; }

}  // namespace solv
