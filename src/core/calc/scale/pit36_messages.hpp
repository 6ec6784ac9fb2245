// Message texts of the PIT-36 checks, each beside the name of its check.
#pragma once

#include "calc/context.hpp"

namespace solv {

enum class Pit36Check {
  kNoMethod,  // method 0
  kNoPurpose,  // neither `p10a` nor `p10b`
  kForeignSocialAboveSocial,  // 141 > 139
  kSpouseForeignSocialAboveSocial,  // joint, 142 > 140
  kDeductionsAboveIncome,  // 135 + 137 + 139 > 86 + 131
  kSpouseDeductionsAboveIncome,  // joint, 136 + 138 + 140 > 129 + 132
  kIncomeDeductionsAboveIncome,  // 145 > 143
  kSpouseIncomeDeductionsAboveIncome,  // joint, 146 > 144
  kPartFAboveIncome,  // 145 + 148 + 153 > 143
  kSpousePartFAboveIncome,  // joint, 146 + 149 + 154 > 144
  kHealthAboveTax,  // alone, 176 > 175
  kHealthAboveTaxJoint,  // joint, 176 + 177 > 175
  kForeignHealthAboveHealth,  // 178 > 176
  kSpouseForeignHealthAboveHealth,  // joint, 179 > 177
  kTaxDeductionsAboveTax,  // alone, 180 > 175 - 176 - 177
  kTaxDeductionsAboveTaxJoint,  // joint, 180 + 181 > 175 - 176 - 177
  kPartIAboveTax,  // 176 + 177 + 180 + 181 + 183 > 175
  kInterestReliefAboveIncome,  // alone, 147 > 143 - 145, 147 not 0
  kInterestReliefAboveIncomeJoint,  // joint, 147 > 143 - 145 - 146, 147 not 0
  kExtraReductionAboveIncome,  // 148 > 143 - 145 - 147, 148 not 0
  kSpouseExtraReductionAboveIncome,  // joint, 149 > 144 - 146 - 147, 149 not 0
  kZoneExemptAboveIncome,  // 153 > 143 - 145 - 147 - 151, 153 not 0
  kSpouseZoneExemptAboveIncome,  // joint, 154 > 144 - 146 - 147 - 151, 154 not 0
  kForeignTaxAboveFlatTax,  // 199 > 197
  kSpouseForeignTaxAboveFlatTax,  // joint, 200 > 198
  kOnePercentAboveLimit,  // amount 306 > 1% limit
  kOnePercentReminder,  // amount 306 = 0 and limit > 0
  kOnePercentWithoutKrs,  // amount 306 > 0 and `p305` empty
  kCount
};

inline constexpr auto kPit36Messages = calc::Checks<Pit36Check>({
    {Pit36Check::kNoMethod,
     "<color=clRed><b>PIT-36, Poz.6. Wybór sposobu opodatkowania (zaznaczyć właściwy kwadrat)</b> <color=clNavy>(<link=PIT36a#P6>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kNoPurpose,
     "<color=clRed><b>PIT-36, Poz.10. Cel złożenia formularza (zaznaczyć właściwy kwadrat)</b> <color=clNavy>(<link=PIT36a#P10>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kForeignSocialAboveSocial,
     "<color=clRed><b>PIT-36, Poz.141. (Składki na ubezpieczenia społeczne) w tym zagraniczne, o których mowa w art.26 ust.1 pkt 2a ustawy</b><br><color=clNavy>Kwota z poz.141 nie może przekroczyć kwoty z poz.139 (<link=popraw#%s#PIT36c#P141>POPRAW</link>, <link=PIT36c#P141>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kSpouseForeignSocialAboveSocial,
     "<color=clRed><b>PIT-36, Poz.142. (Składki na ubezpieczenia społeczne) w tym zagraniczne, o których mowa w art.26 ust.1 pkt 2a ustawy</b><br><color=clNavy>Kwota z poz.142 nie może przekroczyć kwoty z poz.140 (<link=popraw#%s#PIT36c#P142>POPRAW</link>, <link=PIT36c#P142>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kDeductionsAboveIncome,
     "<color=clRed><b>PIT-36, Poz.143. Dochód po odliczeniu dochodu zwolnionego, strat i składek na ubezpieczenia społeczne </b><br><color=clNavy>Suma odliczeń podatnika nie może przekroczyć dochodu z poz.86 i 131. (<link=PIT36c#P139>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kSpouseDeductionsAboveIncome,
     "<color=clRed><b>PIT-36, Poz.144. Dochód po odliczeniu dochodu zwolnionego, strat i składek na ubezpieczenia społeczne </b><br><color=clNavy>Suma odliczeń małżonka nie może przekroczyć dochodu z poz.129 i 132. (<link=PIT36c#P140>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kIncomeDeductionsAboveIncome,
     "<color=clRed><b>PIT-36, Poz.145. Odliczenia od dochodu - wykazane w załączniku PIT/O</b><br><color=clNavy>Odliczenie podatnika nie może przekroczyć kwoty z poz.143. (<link=popraw#%s#PIT36c#P145>POPRAW</link>, <link=PIT36c#P145>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kSpouseIncomeDeductionsAboveIncome,
     "<color=clRed><b>PIT-36, Poz.146. Odliczenia od dochodu - wykazane w załączniku PIT/O</b><br><color=clNavy>Odliczenie małżonka nie może przekroczyć kwoty z poz.144. (<link=popraw#%s#PIT36c#P146>POPRAW</link>, <link=PIT36c#P146>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kPartFAboveIncome,
     "<color=clRed><b>PIT-36, F. ODLICZENIA OD DOCHODU / ZWOLNIENIE</b><br><color=clNavy>Suma odliczeń podatnika nie może przekroczyć kwoty dochodu z poz.143. (<link=PIT36c#P145>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kSpousePartFAboveIncome,
     "<color=clRed><b>PIT-36, F. ODLICZENIA OD DOCHODU / ZWOLNIENIE</b><br><color=clNavy>Suma odliczeń małżonka nie może przekroczyć kwoty dochodu z poz.144. (<link=PIT36c#P146>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kHealthAboveTax,
     "<color=clRed><b>PIT-36, Poz.176. Składki na ubezpieczenie zdrowotne</b><br><color=clNavy>Kwot z poz.176 nie może przekroczyć kwoty z poz.175. (<link=popraw#%s#PIT36d#P176>POPRAW</link>, <link=PIT36d#P176>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kHealthAboveTaxJoint,
     "<color=clRed><b>PIT-36, Poz.176 i 177. Składki na ubezpieczenie zdrowotne</b><br><color=clNavy>Suma kwot z poz.176 i 177 nie może przekroczyć kwoty z poz.175. (<link=PIT36d#P176>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kForeignHealthAboveHealth,
     "<color=clRed><b>PIT-36, Poz.178. (Składki na ubezpieczenie zdrowotne) w tym zagraniczne, o których mowa w art.27b ust.1 pkt 2 ustawy</b><br><color=clNavy>Kwota z poz.178 nie może przekroczyć kwoty z poz.176 (<link=popraw#%s#PIT36d#P178>POPRAW</link>, <link=PIT36d#P178>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kSpouseForeignHealthAboveHealth,
     "<color=clRed><b>PIT-36, Poz.179. (Składki na ubezpieczenie zdrowotne) w tym zagraniczne, o których mowa w art.27b ust.1 pkt 2 ustawy</b><br><color=clNavy>Kwota z poz.179 nie może przekroczyć kwoty z poz.177 (<link=popraw#%s#PIT36d#P179>POPRAW</link>, <link=PIT36d#P179>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kTaxDeductionsAboveTax,
     "<color=clRed><b>PIT-36, Poz.180. Odliczenia od podatku - wykazane w załączniku PIT/O</b><br><color=clNavy>Suma odliczanych kwot nie może przekroczyć podatku z poz.175 pomniejszonego o kwoty z poz.176 i 177. (<link=popraw#%s#PIT36d#P180>POPRAW</link>, <link=PIT36d#P180>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kTaxDeductionsAboveTaxJoint,
     "<color=clRed><b>PIT-36, Poz.180 i 181. Odliczenia od podatku - wykazane w załączniku PIT/O</b><br><color=clNavy>Suma odliczanych kwot nie może przekroczyć podatku z poz.175 pomniejszonego o kwoty z poz.176 i 177. (<link=PIT36d#P180>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kPartIAboveTax,
     "<color=clRed><b>PIT-36, I. ODLICZENIA OD PODATKU</b><br><color=clNavy>Suma odliczeń nie może przekroczyć kwoty podatku wykazanej w poz.175. (<link=PIT36d#P176>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kInterestReliefAboveIncome,
     "<color=clRed><b>PIT-36, Poz.147.Ulga odsetkowa – wykazana w części B.1.załącznika PIT/D</b><br><color=clNavy>Kwota z poz.147 nie może przekroczyć kwoty z poz.143 pomniejszonej o kwotę z poz.145.(<link=popraw#%s#PIT36c#P147>POPRAW</link>, <link=PIT36c#P147>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kInterestReliefAboveIncomeJoint,
     "<color=clRed><b>PIT-36, Poz.147. Ulga odsetkowa – wykazana w części B.1.załącznika PIT/D</b><br><color=clNavy>Kwota z poz.147 nie może przekroczyć kwoty z poz.143 pomniejszonej o kwoty z poz.145 i 146.(<link=popraw#%s#PIT36c#P147>POPRAW</link>, <link=PIT36c#P147>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kExtraReductionAboveIncome,
     "<color=clRed><b>PIT-36, Poz.148. Dodatkowa obniżka - na podstawie rozporządzenia Rady Ministrów z dnia 24 stycznia 1995 r. (Dz.U. Nr 14, poz.63, z późn. zm.) - zgodnie z art.5 ust.2 ustawy z dnia 21 listopada 1996 r.</b><br><color=clNavy>Kwota z poz.148 nie może przekroczyć kwoty z poz.143 pomniejszonej o kwoty z poz.145 i 147(<link=popraw#%s#PIT36c#P148>POPRAW</link>, <link=PIT36c#P148>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kSpouseExtraReductionAboveIncome,
     "<color=clRed><b>PIT-36, Poz.149. Dodatkowa obniżka - na podstawie rozporządzenia Rady Ministrów z dnia 24 stycznia 1995 r. (Dz.U. Nr 14, poz.63, z późn. zm.) - zgodnie z art.5 ust.2 ustawy z dnia 21 listopada 1996 r.</b><br><color=clNavy>Kwota z poz.149 nie może przekroczyć kwoty z poz.144 pomniejszonej o kwoty z poz.146 i 147(<link=popraw#%s#PIT36c#P149>POPRAW</link>, <link=PIT36c#P149>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kZoneExemptAboveIncome,
     "<color=clRed><b>PIT-36, Poz.153. Dochód zwolniony od podatku - na podstawie przepisów wykonawczych do ustawy z dnia 20 października 1994 r. o specjalnych strefach ekonomicznych</b><br><color=clNavy>Kwota z poz.153 nie może przekroczyć kwoty z poz.143 pomniejszonej o kwoty z poz.145, 147 i 151(<link=popraw#%s#PIT36c#P153>POPRAW</link>, <link=PIT36c#P153>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kSpouseZoneExemptAboveIncome,
     "<color=clRed><b>PIT-36, Poz.154. Dochód zwolniony od podatku - na podstawie przepisów wykonawczych do ustawy z dnia 20 października 1994 r. o specjalnych strefach ekonomicznych</b><br><color=clNavy>Kwota z poz.154 nie może przekroczyć kwoty z poz.144 pomniejszonej o kwoty z poz.146, 147 i 151(<link=popraw#%s#PIT36c#P154>POPRAW</link>, <link=PIT36c#P154>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kForeignTaxAboveFlatTax,
     "<color=clRed><b>PIT-36, Poz.199. Podatek zapłacony za granicą, o którym mowa w art.30a ust.9 ustawy</b><br><color=clNavy>Kwota z poz.199 nie może przekroczyć kwoty z poz.197. (<link=popraw#%s#PIT36d#P199>POPRAW</link>, <link=PIT36d#P199>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kSpouseForeignTaxAboveFlatTax,
     "<color=clRed><b>PIT-36, Poz.200. Podatek zapłacony za granicą, o którym mowa w art.30a ust.9 ustawy</b><br><color=clNavy>Kwota z poz.200 nie może przekroczyć kwoty z poz.198. (<link=popraw#%s#PIT36d#P200>POPRAW</link>, <link=PIT36d#P200>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kOnePercentAboveLimit,
     "<color=clRed><b>PIT-36, Poz.306. Kwota 1 procent zmniejszenia z tytułu wpłaty na rzecz organizacji pożytku publicznego</b><br><color=clNavy>Kwota z poz.306 nie może przekroczyć 1 procenta kwoty z poz.188, po zaokrągleniu do pełnych dziesiątek groszy w dół (<link=popraw#%s#PIT36f#P306>POPRAW</link>, <link=PIT36f#P306>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kOnePercentReminder,
     "<color=clGreen><b>PIT-36, Poz.306. Nie zapomnij przekazać 1 procent swojego podatku na wybraną przez ciebie Organizacje Pożytku Publicznego. To nic nie kosztuje!</b><br><color=clNavy>W zeznaniu podatkowym wystarczy tylko wskazać, komu urząd skarbowy ma przekazać jeden procent. (<link=popraw#%s#PIT36f#P306>POPRAW</link>, <link=PIT36f#P306>POKAŻ >>></link>)<br><br>"},
    {Pit36Check::kOnePercentWithoutKrs,
     "<color=clGreen><b>PIT-36, Poz.305. Proszę podać dane Organizacji Pożytku Publicznego (OPP).</b><br><color=clNavy>Numer KRS <color=clNavy>(<link=PIT36f#P305>POKAŻ >>></link>)<br><br>"},
});
static_assert(kPit36Messages.InOrder());
constexpr const char* MessageText(Pit36Check check) { return kPit36Messages[check]; }

}  // namespace solv
