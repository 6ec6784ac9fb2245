// Message texts of the PIT-38 checks, by check number.
#pragma once

namespace solv {

inline constexpr const char* kPit38Messages[] = {
    // 0: neither p6a nor p6b ticked
    "<color=clRed><b>PIT-38, Poz.6. Cel złożenia formularza (zaznaczyć właściwy kwadrat)</b> <color=clNavy>(<link=PIT38a#P6>POKAŻ >>></link>)<br><br>",
    // 1: p29 > p27
    "<color=clRed><b>PIT-38, Poz.29. Straty z lat ubiegłych</b><br><color=clNavy>Kwota z poz.29 nie może przekroczyć kwoty z poz.27. (<link=popraw#%s#PIT38a#P29>POPRAW</link>, <link=PIT38a#P29>POKAŻ >>></link>)<br><br>",
    // 2: p40 > p39
    "<color=clRed><b>PIT-38, Poz.40. Podatek zapłacony za granicą, o którym mowa w art.30a ust.9 ustawy</b><br><color=clNavy>Kwota z poz.40 nie może przekroczyć kwoty z poz.39. (<link=popraw#%s#PIT38b#P40>POPRAW</link>, <link=PIT38b#P40>POKAŻ >>></link>)<br><br>",
    // 3: p59 above the 1% limit
    "<color=clRed><b>PIT-38, Poz.59. Kwota 1 procent zmniejszenia z tytułu wpłaty na rzecz organizacji pożytku publicznego</b><br><color=clNavy>Kwota z poz.59 nie może przekroczyć 1 procenta kwoty z poz.35, po zaokrągleniu do pełnych dziesiątek groszy w dół (<link=popraw#%s#PIT38b#P59>POPRAW</link>, <link=PIT38b#P59>POKAŻ >>></link>)<br><br>",
    // 4: p59 = 0 and limit > 0
    "<color=clGreen><b>PIT-38, Poz.59. Nie zapomnij przekazać 1 procent swojego podatku na wybraną przez ciebie Organizacje Pożytku Publicznego. To nic nie kosztuje!</b><br><color=clNavy>W zeznaniu podatkowym wystarczy tylko wskazać, komu urząd skarbowy ma przekazać jeden procent. (<link=popraw#%s#PIT38b#P59>POPRAW</link>, <link=PIT38b#P59>POKAŻ >>></link>)<br><br>",
    // 5: p59 > 0 and p58 empty
    "<color=clGreen><b>PIT-38, Poz.58. Proszę podać dane Organizacji Pożytku Publicznego (OPP).</b><br><color=clNavy>Numer KRS <color=clNavy>(<link=PIT38b#P58>POKAŻ >>></link>)<br><br>",
};

// The rate of box 31 empty or not a number: the tax is taken at 19% and the
// box is reported with 19 as its correction value.
inline constexpr const char* kPit38RateMessage =
    "<color=clRed><b>PIT-38, Poz.31. Stawka podatku (%%)</b><br><color=clNavy>Stawka w poz.31 nie jest liczbą; podatek obliczono według stawki 19%%. (<link=popraw#%s#PIT38a#P31>POPRAW</link>, <link=PIT38a#P31>POKAŻ >>></link>)<br><br>";

}  // namespace solv
