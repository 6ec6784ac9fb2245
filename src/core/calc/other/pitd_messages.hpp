// Message texts of the PIT/D checks, each beside the name of its check.
#pragma once

#include "calc/context.hpp"

namespace solv {

enum class PitdCheck {
  kInterestAboveExpenses,  // p33 > p32
  kInterestPit28SplitDiffers,  // p35 + p36 ≠ p33
  kInterestScaleSplitDiffers,  // p37 + p38 ≠ p34
  kHousingAboveExpenses,  // p43 > p42
  kHousingPit28SplitDiffers,  // p45 + p46 ≠ p43
  kHousingScaleSplitDiffers,  // p47 + p48 ≠ p44
  kSavingsAboveAmount,  // p52 > p51
  kSavingsPit28SplitDiffers,  // p54 + p55 ≠ p52
  kSavingsScaleSplitDiffers,  // p56 + p57 ≠ p53
  kSavingsAboveLimit,  // p49 > 11340
  kInterestSplitWhenJoint,  // joint, any of 35-38 > 0
  kHousingSplitWhenJoint,  // joint, any of 45-48 > 0
  kSavingsSplitWhenJoint,  // joint, any of 54-57 > 0
  kCount
};

inline constexpr auto kPitdMessages = calc::Checks<PitdCheck>({
    {PitdCheck::kInterestAboveExpenses,
     "<color=clRed><b>PIT/D, Poz.33. Kwota wydatków przypadająca do odliczenia od przychodu w PIT-28</b><br><color=clNavy>Kwota z poz.33 nie może przekroczyć kwoty z poz.32 (<link=popraw#%s#PITDa#P33>POPRAW</link>, <link=PITDa#P33>POKAŻ >>></link>)<br><br>"},
    {PitdCheck::kInterestPit28SplitDiffers,
     "<color=clRed><b>PIT/D, Poz.35 i 36. Kwota wydatków mieszkaniowych - do odliczenia od przychodu w PIT-28</b><br><color=clNavy>Suma kwot z poz.35 i 36 musi być równa kwocie z poz.33 <color=clNavy>(<link=PITDa#P35>POKAŻ >>></link>)<br><br>"},
    {PitdCheck::kInterestScaleSplitDiffers,
     "<color=clRed><b>PIT/D, Poz.37 i 38. Kwota wydatków mieszkaniowych - do odliczenia od dochodu w PIT-36 lub w PIT-37</b><br><color=clNavy>Suma kwot z poz.37 i 38 musi być równa kwocie z poz.34 <color=clNavy>(<link=PITDa#P37>POKAŻ >>></link>)<br><br>"},
    {PitdCheck::kHousingAboveExpenses,
     "<color=clRed><b>PIT/D, Poz.43. Kwota przypadająca do odliczenia od przychodu w PIT-28</b><br><color=clNavy>Kwota z poz.43 nie może przekroczyć kwoty z poz.42 (<link=popraw#%s#PITDb#P43>POPRAW</link>, <link=PITDb#P43>POKAŻ >>></link>)<br><br>"},
    {PitdCheck::kHousingPit28SplitDiffers,
     "<color=clRed><b>PIT/D, Poz.45 i 46. Kwota wydatków mieszkaniowych - do odliczenia od przychodu w PIT-28</b><br><color=clNavy>Suma kwot z poz.45 i 46 musi być równa kwocie z poz.43 <color=clNavy>(<link=PITDb#P45>POKAŻ >>></link>)<br><br>"},
    {PitdCheck::kHousingScaleSplitDiffers,
     "<color=clRed><b>PIT/D, Poz.47 i 48. Kwota wydatków mieszkaniowych - do odliczenia od dochodu w PIT-36 lub w PIT-37</b><br><color=clNavy>Suma kwot z poz.47 i 48 musi być równa kwocie z poz.44 <color=clNavy>(<link=PITDb#P47>POKAŻ >>></link>)<br><br>"},
    {PitdCheck::kSavingsAboveAmount,
     "<color=clRed><b>PIT/D, Poz.52. Kwota przypadająca do odliczenia od podatku w PIT-28</b><br><color=clNavy>Kwota z poz.52 nie może przekroczyć kwoty z poz.51 (<link=popraw#%s#PITDb#P52>POPRAW</link>, <link=PITDb#P52>POKAŻ >>></link>)<br><br>"},
    {PitdCheck::kSavingsPit28SplitDiffers,
     "<color=clRed><b>PIT/D, Poz.54 i 55. Kwota wydatków mieszkaniowych - do odliczenia od podatku w PIT-28</b><br><color=clNavy>Suma kwot z poz.54 i 55 musi być równa kwocie z poz.52 <color=clNavy>(<link=PITDb#P54>POKAŻ >>></link>)<br><br>"},
    {PitdCheck::kSavingsScaleSplitDiffers,
     "<color=clRed><b>PIT/D, Poz.56 i 57. Kwota wydatków mieszkaniowych - do odliczenia od podatku w PIT-36 lub w PIT-37</b><br><color=clNavy>Suma kwot z poz.56 i 57 musi być równa kwocie z poz.53 <color=clNavy>(<link=PITDb#P56>POKAŻ >>></link>)<br><br>"},
    {PitdCheck::kSavingsAboveLimit,
     "<color=clRed><b>PIT/D, Poz.49. Kwota przysługującego odliczenia z tytułu systematycznego gromadzenia w roku podatkowym oszczędności na jednym <br>rachunku oszczędnościowo - kredytowym i w jednym banku prowadzącym kasę mieszkaniową </b><br><color=clNavy>30%% wydatków poniesionych w roku podatkowym, nie więcej niż 11340 zł w ramach przysługującego limitu odliczeń na dany rok. (<link=popraw#%s#PITDb#P49>POPRAW</link>, <link=PITDb#P49>POKAŻ >>></link>)<br><br>"},
    {PitdCheck::kInterestSplitWhenJoint,
     "<color=clRed><b>PIT/D, Poz.35 - 38. WNIOSEK MAŁŻONKÓW</b><br><color=clNavy>Pola wypełnia się jedynie w sytuacji małżonków składających odrębne zeznania PIT-36, PIT-37 lub składających zeznania PIT-28 <color=clNavy>(<link=PITDa#P35>POKAŻ >>></link>)<br><br>"},
    {PitdCheck::kHousingSplitWhenJoint,
     "<color=clRed><b>PIT/D, Poz.45 - 48. WNIOSEK MAŁŻONKÓW</b><br><color=clNavy>Pola wypełnia się jedynie w sytuacji małżonków składających odrębne zeznania PIT-36, PIT-37 lub składających zeznania PIT-28 <color=clNavy>(<link=PITDb#P45>POKAŻ >>></link>)<br><br>"},
    {PitdCheck::kSavingsSplitWhenJoint,
     "<color=clRed><b>PIT/D, Poz.54 - 57. WNIOSEK MAŁŻONKÓW</b><br><color=clNavy>Pola wypełnia się jedynie w sytuacji małżonków składających odrębne zeznania PIT-36, PIT-37 lub składających zeznania PIT-28 <color=clNavy>(<link=PITDb#P54>POKAŻ >>></link>)<br><br>"},
});
static_assert(kPitdMessages.InOrder());
constexpr const char* MessageText(PitdCheck check) { return kPitdMessages[check]; }

}  // namespace solv
