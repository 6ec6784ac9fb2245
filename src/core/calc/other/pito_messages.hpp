// Message texts of the PIT/O checks, each beside the name of its check.
// "%s" takes the correction value (O2 and O3: two values); "%%" shows as "%".
#pragma once

#include "calc/context.hpp"

namespace solv {

enum class PitoCheck {
  kDonationsWithoutPartD,  // p13 + p15 > 0, no taxpayer amounts in part D
  kSpouseDonationsWithoutPartD,  // p14 + p16 > 0, no spouse amounts in part D
  kPartDDiffers,  // part D taxpayer total ≠ p13 + p15
  kSpousePartDDiffers,  // part D spouse total ≠ p14 + p16
  kIncomeDeductionsAbovePit28,  // PIT-28: p28 > B limit
  kIncomeDeductionsAbovePit36,  // PIT-36: p28 > p143
  kIncomeDeductionsAbovePit37,  // PIT-37: p28 > p97
  kSpouseIncomeDeductionsAbovePit36,  // PIT-36, joint: p29 > p144
  kSpouseIncomeDeductionsAbovePit37,  // PIT-37, joint: p29 > p98
  kTaxDeductionsAbovePit28,  // PIT-28: p42 > C limit
  kTaxDeductionsAbovePit36,  // PIT-36, alone: p42 > p175 − p176
  kTaxDeductionsAbovePit37,  // PIT-37, alone: p42 > p109 − p110
  kTaxDeductionsAbovePit36Joint,  // PIT-36, joint: p42 + p43 > limit
  kTaxDeductionsAbovePit37Joint,  // PIT-37, joint: p42 + p43 > limit
  kInternetAboveLimit,  // p21 > 760
  kSpouseInternetAboveLimit,  // p22 > 760
  kDonationAbovePit28Cap,  // PIT-28: p13 > 6% cap
  kDonationAbovePit36Cap,  // PIT-36: p13 > 6% of p86
  kDonationAbovePit37Cap,  // PIT-37: p13 > 6% of p64
  kSpouseDonationAbovePit36Cap,  // PIT-36, joint: p14 > 6% of p129
  kSpouseDonationAbovePit37Cap,  // PIT-37, joint: p14 > 6% of p91
  kChildReliefAboveMonths,  // p35 + p36 > p34 × 1112,04
  kCount
};

inline constexpr auto kPitoMessages = calc::Checks<PitoCheck>({
    {PitoCheck::kDonationsWithoutPartD,
     "<color=clRed><b>PIT/O, Poz.13 i/lub 15. Darowizny, o których mowa w art.26 ust.1 pkt 9 ustawy oraz darowizny wynikające z odrębnych ustaw</b><br><color=clNavy>W przypadku wypełnienia poz.13 i/lub 15, należy wypełnić część D. (<link=PITOa#P13>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kSpouseDonationsWithoutPartD,
     "<color=clRed><b>PIT/O, Poz.14 i/lub 16. Darowizny, o których mowa w art.26 ust.1 pkt 9 ustawy oraz darowizny wynikające z odrębnych ustaw</b><br><color=clNavy>W przypadku wypełnienia poz.14 i/lub 16, należy wypełnić część D. (<link=PITOa#P14>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kPartDDiffers,
     "<color=clRed><b>PIT/O, Poz.13 i/lub 15. Darowizny, o których mowa w art.26 ust.1 pkt 9 ustawy oraz darowizny wynikające z odrębnych ustaw</b><br><color=clNavy>Suma kwot z części D. wszystkich załączników PIT/O (%s) jest różna <br>od sumy kwot wykazanych w poz.13 i 15 (%s) załącznika nr 1 (<link=PITOa#P13>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kSpousePartDDiffers,
     "<color=clRed><b>PIT/O, Poz.14 i/lub 16. Darowizny, o których mowa w art.26 ust.1 pkt 9 ustawy oraz darowizny wynikające z odrębnych ustaw</b><br><color=clNavy>Suma kwot z części D. wszystkich załączników PIT/O (%s) jest różna <br>od sumy kwot wykazanych w poz.14 i 16 (%s) załącznika nr 1 (<link=PITOa#P14>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kIncomeDeductionsAbovePit28,
     "<color=clRed><b>PIT/O, Poz.28. Razem odliczenia od dochodu (przychodu)</b><br><color=clNavy>Odliczenie z poz.28 nie może przekroczyć sumy kwot z poz.43 i 50 pomniejszonej o sumę kwot z poz.63 i 64 (%s zł) zeznania PIT-28 (<link=PITOa#P13>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kIncomeDeductionsAbovePit36,
     "<color=clRed><b>PIT/O, Poz.28. Razem odliczenia od dochodu (przychodu)</b><br><color=clNavy>Odliczenie z poz.28 nie może przekroczyć kwoty z poz.143 (%s zł) zeznania PIT-36 (<link=PITOa#P13>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kIncomeDeductionsAbovePit37,
     "<color=clRed><b>PIT/O, Poz.28. Razem odliczenia od dochodu (przychodu)</b><br><color=clNavy>Odliczenie z poz.28 nie może przekroczyć kwoty z poz.97 (%s zł) zeznania PIT-37 (<link=PITOa#P13>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kSpouseIncomeDeductionsAbovePit36,
     "<color=clRed><b>PIT/O, Poz.29. Razem odliczenia od dochodu (przychodu)</b><br><color=clNavy>Odliczenie z poz.29 nie może przekroczyć kwoty z poz.144 (%s zł) zeznania PIT-36 (<link=PITOa#P14>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kSpouseIncomeDeductionsAbovePit37,
     "<color=clRed><b>PIT/O, Poz.29. Razem odliczenia od dochodu (przychodu)</b><br><color=clNavy>Odliczenie z poz.29 nie może przekroczyć kwoty z poz.98 (%s zł) zeznania PIT-37 (<link=PITOa#P14>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kTaxDeductionsAbovePit28,
     "<color=clRed><b>PIT/O, Poz.42. Razem odliczenia od podatku</b><br><color=clNavy>Odliczenie z poz.42 nie może przekroczyć kwoty z poz.99 pomniejszonej o kwotę z poz.100 (%s zł) zeznania PIT-28 (<link=PITOb#P30>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kTaxDeductionsAbovePit36,
     "<color=clRed><b>PIT/O, Poz.42. Razem odliczenia od podatku</b><br><color=clNavy>W przypadku podatników rozliczających się indywidualnie, odliczenie z poz.42 nie może przekroczyć kwoty z poz.175 pomniejszonej o kwotę z poz.176 (%s zł) zeznania PIT-36 (<link=PITOb#P30>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kTaxDeductionsAbovePit37,
     "<color=clRed><b>PIT/O, Poz.42. Razem odliczenia od podatku</b><br><color=clNavy>W przypadku podatników rozliczających się indywidualnie, odliczenie z poz.42 nie może przekroczyć kwoty z poz.109 pomniejszonej o kwotę z poz.110 (%s zł) zeznania PIT-37 (<link=PITOb#P30>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kTaxDeductionsAbovePit36Joint,
     "<color=clRed><b>PIT/O, Poz.42 i 43. Razem odliczenia od podatku</b><br><color=clNavy>W przypadku małżonków wnoszących o łączne opodatkowanie dochodów, suma kwot z poz.42 i 43 nie może przekroczyć kwoty z poz.175 pomniejszonej o kwoty z poz.176 i 177 (%s zł) zeznania PIT-36 (<link=PITOb#P30>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kTaxDeductionsAbovePit37Joint,
     "<color=clRed><b>PIT/O, Poz.42 i 43. Razem odliczenia od podatku</b><br><color=clNavy>W przypadku małżonków wnoszących o łączne opodatkowanie dochodów, suma kwot z poz.42 i 43 nie może przekroczyć kwoty z poz.109 pomniejszonej o kwoty z poz.110 i 111 (%s zł) zeznania PIT-37 (<link=PITOb#P30>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kInternetAboveLimit,
     "<color=clRed><b>PIT/O, Poz.21. Wydatki z tytułu użytkowania sieci Internet w lokalu (budynku) będącym miejscem zamieszkania podatnika</b><br><color=clNavy>Kwota z poz.21 nie może przekroczyć limitu 760 zł (<link=popraw#%s#PITOa#P21>POPRAW</link>, <link=PITOa#P21>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kSpouseInternetAboveLimit,
     "<color=clRed><b>PIT/O, Poz.22. Wydatki z tytułu użytkowania sieci Internet w lokalu (budynku) będącym miejscem zamieszkania podatnika</b><br><color=clNavy>Kwota z poz.22 nie może przekroczyć limitu 760 zł (<link=popraw#%s#PITOa#P22>POPRAW</link>, <link=PITOa#P22>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kDonationAbovePit28Cap,
     "<color=clRed><b>PIT/O, Poz.13. Darowizny, o których mowa w art.26 ust.1 pkt 9 ustawy</b><br><color=clNavy>Kwota z poz.13 nie może przekroczyć 6%% sumy kwot z poz.43 i 50 zeznania PIT-28 (<link=popraw#%s#PITOa#P13>POPRAW</link>, <link=PITOa#P13>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kDonationAbovePit36Cap,
     "<color=clRed><b>PIT/O, Poz.13. Darowizny, o których mowa w art.26 ust.1 pkt 9 ustawy</b><br><color=clNavy>Kwota z poz.13 nie może przekroczyć 6%% kwoty z poz.86 zeznania PIT-36(<link=popraw#%s#PITOa#P13>POPRAW</link>, <link=PITOa#P13>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kDonationAbovePit37Cap,
     "<color=clRed><b>PIT/O, Poz.13. Darowizny, o których mowa w art.26 ust.1 pkt 9 ustawy</b><br><color=clNavy>Kwota z poz.13 nie może przekroczyć 6%% kwoty z poz.64 zeznania PIT-37(<link=popraw#%s#PITOa#P13>POPRAW</link>, <link=PITOa#P13>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kSpouseDonationAbovePit36Cap,
     "<color=clRed><b>PIT/O, Poz.14. Darowizny, o których mowa w art.26 ust.1 pkt 9 ustawy</b><br><color=clNavy>Kwota z poz.14 nie może przekroczyć 6%% kwoty z poz.129 zeznania PIT-36(<link=popraw#%s#PITOa#P14>POPRAW</link>, <link=PITOa#P14>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kSpouseDonationAbovePit37Cap,
     "<color=clRed><b>PIT/O, Poz.14. Darowizny, o których mowa w art.26 ust.1 pkt 9 ustawy</b><br><color=clNavy>Kwota z poz.14 nie może przekroczyć 6%% kwoty z poz.91 zeznania PIT-37(<link=popraw#%s#PITOa#P14>POPRAW</link>, <link=PITOa#P14>POKAŻ >>></link>)<br><br>"},
    {PitoCheck::kChildReliefAboveMonths,
     "<color=clRed><b>PIT/O, Poz.34, 35 i 36. Ulga z tytułu wychowywania dzieci</b><br><color=clNavy>Suma kwot z poz.35 i 36 nie może przekroczyć kwoty z poz.34 pomnożonej przez kwotę 1.112,04 zł (<link=PITOb#P34>POKAŻ >>></link>)<br><br>"},
});
static_assert(kPitoMessages.InOrder());
constexpr const char* MessageText(PitoCheck check) { return kPitoMessages[check]; }

}  // namespace solv
