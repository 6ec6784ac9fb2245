// Message texts of the PIT/M checks, by check number (M0, M1).
#pragma once

namespace solv {

inline constexpr const char* kPitmMessages[] = {
    // 0: box 29 not ticked on the taxpayer's PIT/M
    "<color=clRed><b>PIT/M podatnik, Poz.29. Prawo pobierania pożytków z dochodu dzieci przysługuje (zaznaczyć właściwy kwadrat)</b> <br>",
    // 1: box 29 not ticked on the spouse's PIT/M
    "<color=clRed><b>PIT/M małżonek, Poz.29. Prawo pobierania pożytków z dochodu dzieci przysługuje (zaznaczyć właściwy kwadrat)</b> <br>",
};

}  // namespace solv
