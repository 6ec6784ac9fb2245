// Message texts of the PIT/D checks, by check number (D0..D12).
#pragma once

namespace solv {

inline constexpr const char* kPitdMessages[] = {
    // 0: p33 > p32
    "<color=clRed><b>PIT/D, Poz.33. Kwota wydatków przypadająca do odliczenia od przychodu w PIT-28</b><br><color=clNavy>Kwota z poz.33 nie może przekroczyć kwoty z poz.32 (<link=popraw#%s#PITDa#P33>POPRAW</link>, <link=PITDa#P33>POKAŻ >>></link>)<br><br>",
    // 1: p35 + p36 ≠ p33
    "<color=clRed><b>PIT/D, Poz.35 i 36. Kwota wydatków mieszkaniowych - do odliczenia od przychodu w PIT-28</b><br><color=clNavy>Suma kwot z poz.35 i 36 musi być równa kwocie z poz.33 <color=clNavy>(<link=PITDa#P35>POKAŻ >>></link>)<br><br>",
    // 2: p37 + p38 ≠ p34
    "<color=clRed><b>PIT/D, Poz.37 i 38. Kwota wydatków mieszkaniowych - do odliczenia od dochodu w PIT-36 lub w PIT-37</b><br><color=clNavy>Suma kwot z poz.37 i 38 musi być równa kwocie z poz.34 <color=clNavy>(<link=PITDa#P37>POKAŻ >>></link>)<br><br>",
    // 3: p43 > p42
    "<color=clRed><b>PIT/D, Poz.43. Kwota przypadająca do odliczenia od przychodu w PIT-28</b><br><color=clNavy>Kwota z poz.43 nie może przekroczyć kwoty z poz.42 (<link=popraw#%s#PITDb#P43>POPRAW</link>, <link=PITDb#P43>POKAŻ >>></link>)<br><br>",
    // 4: p45 + p46 ≠ p43
    "<color=clRed><b>PIT/D, Poz.45 i 46. Kwota wydatków mieszkaniowych - do odliczenia od przychodu w PIT-28</b><br><color=clNavy>Suma kwot z poz.45 i 46 musi być równa kwocie z poz.43 <color=clNavy>(<link=PITDb#P45>POKAŻ >>></link>)<br><br>",
    // 5: p47 + p48 ≠ p44
    "<color=clRed><b>PIT/D, Poz.47 i 48. Kwota wydatków mieszkaniowych - do odliczenia od dochodu w PIT-36 lub w PIT-37</b><br><color=clNavy>Suma kwot z poz.47 i 48 musi być równa kwocie z poz.44 <color=clNavy>(<link=PITDb#P47>POKAŻ >>></link>)<br><br>",
    // 6: p52 > p51
    "<color=clRed><b>PIT/D, Poz.52. Kwota przypadająca do odliczenia od podatku w PIT-28</b><br><color=clNavy>Kwota z poz.52 nie może przekroczyć kwoty z poz.51 (<link=popraw#%s#PITDb#P52>POPRAW</link>, <link=PITDb#P52>POKAŻ >>></link>)<br><br>",
    // 7: p54 + p55 ≠ p52
    "<color=clRed><b>PIT/D, Poz.54 i 55. Kwota wydatków mieszkaniowych - do odliczenia od podatku w PIT-28</b><br><color=clNavy>Suma kwot z poz.54 i 55 musi być równa kwocie z poz.52 <color=clNavy>(<link=PITDb#P54>POKAŻ >>></link>)<br><br>",
    // 8: p56 + p57 ≠ p53
    "<color=clRed><b>PIT/D, Poz.56 i 57. Kwota wydatków mieszkaniowych - do odliczenia od podatku w PIT-36 lub w PIT-37</b><br><color=clNavy>Suma kwot z poz.56 i 57 musi być równa kwocie z poz.53 <color=clNavy>(<link=PITDb#P56>POKAŻ >>></link>)<br><br>",
    // 9: p49 > 11340
    "<color=clRed><b>PIT/D, Poz.49. Kwota przysługującego odliczenia z tytułu systematycznego gromadzenia w roku podatkowym oszczędności na jednym <br>rachunku oszczędnościowo - kredytowym i w jednym banku prowadzącym kasę mieszkaniową </b><br><color=clNavy>30%% wydatków poniesionych w roku podatkowym, nie więcej niż 11340 zł w ramach przysługującego limitu odliczeń na dany rok. (<link=popraw#%s#PITDb#P49>POPRAW</link>, <link=PITDb#P49>POKAŻ >>></link>)<br><br>",
    // 10: joint, any of 35-38 > 0
    "<color=clRed><b>PIT/D, Poz.35 - 38. WNIOSEK MAŁŻONKÓW</b><br><color=clNavy>Pola wypełnia się jedynie w sytuacji małżonków składających odrębne zeznania PIT-36, PIT-37 lub składających zeznania PIT-28 <color=clNavy>(<link=PITDa#P35>POKAŻ >>></link>)<br><br>",
    // 11: joint, any of 45-48 > 0
    "<color=clRed><b>PIT/D, Poz.45 - 48. WNIOSEK MAŁŻONKÓW</b><br><color=clNavy>Pola wypełnia się jedynie w sytuacji małżonków składających odrębne zeznania PIT-36, PIT-37 lub składających zeznania PIT-28 <color=clNavy>(<link=PITDb#P45>POKAŻ >>></link>)<br><br>",
    // 12: joint, any of 54-57 > 0
    "<color=clRed><b>PIT/D, Poz.54 - 57. WNIOSEK MAŁŻONKÓW</b><br><color=clNavy>Pola wypełnia się jedynie w sytuacji małżonków składających odrębne zeznania PIT-36, PIT-37 lub składających zeznania PIT-28 <color=clNavy>(<link=PITDb#P54>POKAŻ >>></link>)<br><br>",
};

}  // namespace solv
