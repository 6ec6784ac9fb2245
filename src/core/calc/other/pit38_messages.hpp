// Message texts of the PIT-38 checks, each beside the name of its check.
#pragma once

#include "calc/context.hpp"

namespace solv {

enum class Pit38Check {
  kNoPurpose,  // neither p6a nor p6b ticked
  kLossesAboveIncome,  // p29 > p27
  kForeignTaxAboveLumpSum,  // p40 > p39
  kOnePercentAboveLimit,  // p59 above the 1% limit
  kOnePercentReminder,  // p59 = 0 and limit > 0
  kOnePercentWithoutKrs,  // p59 > 0 and p58 empty
  // p31 is not a number: the tax is taken at 19% and the box is reported
  // with 19 as its correction value
  kRateNotANumber,
  kCount
};

inline constexpr auto kPit38Messages = calc::Checks<Pit38Check>({
    {Pit38Check::kNoPurpose,
     "<color=clRed><b>PIT-38, Poz.6. Cel złożenia formularza (zaznaczyć właściwy kwadrat)</b> <color=clNavy>(<link=PIT38a#P6>POKAŻ >>></link>)<br><br>"},
    {Pit38Check::kLossesAboveIncome,
     "<color=clRed><b>PIT-38, Poz.29. Straty z lat ubiegłych</b><br><color=clNavy>Kwota z poz.29 nie może przekroczyć kwoty z poz.27. (<link=popraw#%s#PIT38a#P29>POPRAW</link>, <link=PIT38a#P29>POKAŻ >>></link>)<br><br>"},
    {Pit38Check::kForeignTaxAboveLumpSum,
     "<color=clRed><b>PIT-38, Poz.40. Podatek zapłacony za granicą, o którym mowa w art.30a ust.9 ustawy</b><br><color=clNavy>Kwota z poz.40 nie może przekroczyć kwoty z poz.39. (<link=popraw#%s#PIT38b#P40>POPRAW</link>, <link=PIT38b#P40>POKAŻ >>></link>)<br><br>"},
    {Pit38Check::kOnePercentAboveLimit,
     "<color=clRed><b>PIT-38, Poz.59. Kwota 1 procent zmniejszenia z tytułu wpłaty na rzecz organizacji pożytku publicznego</b><br><color=clNavy>Kwota z poz.59 nie może przekroczyć 1 procenta kwoty z poz.35, po zaokrągleniu do pełnych dziesiątek groszy w dół (<link=popraw#%s#PIT38b#P59>POPRAW</link>, <link=PIT38b#P59>POKAŻ >>></link>)<br><br>"},
    {Pit38Check::kOnePercentReminder,
     "<color=clGreen><b>PIT-38, Poz.59. Nie zapomnij przekazać 1 procent swojego podatku na wybraną przez ciebie Organizacje Pożytku Publicznego. To nic nie kosztuje!</b><br><color=clNavy>W zeznaniu podatkowym wystarczy tylko wskazać, komu urząd skarbowy ma przekazać jeden procent. (<link=popraw#%s#PIT38b#P59>POPRAW</link>, <link=PIT38b#P59>POKAŻ >>></link>)<br><br>"},
    {Pit38Check::kOnePercentWithoutKrs,
     "<color=clGreen><b>PIT-38, Poz.58. Proszę podać dane Organizacji Pożytku Publicznego (OPP).</b><br><color=clNavy>Numer KRS <color=clNavy>(<link=PIT38b#P58>POKAŻ >>></link>)<br><br>"},
    {Pit38Check::kRateNotANumber,
     "<color=clRed><b>PIT-38, Poz.31. Stawka podatku (%%)</b><br><color=clNavy>Stawka w poz.31 nie jest liczbą; podatek obliczono według stawki 19%%. (<link=popraw#%s#PIT38a#P31>POPRAW</link>, <link=PIT38a#P31>POKAŻ >>></link>)<br><br>"},
});
static_assert(kPit38Messages.InOrder());
constexpr const char* MessageText(Pit38Check check) { return kPit38Messages[check]; }

inline constexpr const char* kPit38RateMessage = kPit38Messages[Pit38Check::kRateNotANumber];

}  // namespace solv
