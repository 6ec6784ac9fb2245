// Texts of the checks a careful adviser makes beyond the forms' own messages.
// "%s" stand, in order, for the values each check fills in.
#pragma once

namespace solv::adviser {

// An attachment count box against the attachments in the set: form, box,
// attachment, count in the set, box, count entered, count, page, box, page, box.
inline constexpr const char* kAttachmentCount =
    "<color=clRed><b>%s, Poz.%s. Informacja o załącznikach: %s</b><br><color=clNavy>Liczba załączników %s w "
    "zestawie wynosi %s, a w poz.%s wpisano %s (<link=popraw#%s#%s#P%s>POPRAW</link>, <link=%s#P%s>POKAŻ "
    ">>></link>)<br><br>";

// A box that a transfer fills holds another amount than its source now
// offers (changed, or the source gone): form, box, box, amount in the box,
// the source's text, correction, page, box, page, box.
inline constexpr const char* kStaleTransfer =
    "<color=clRed><b>%s, Poz.%s. Kwota przeniesiona z innego formularza</b><br><color=clNavy>Kwota w poz.%s (%s) "
    "nie jest równa kwocie do przeniesienia.<br>%s (<link=popraw#%s#%s#%s>POPRAW</link>, <link=%s#%s>POKAŻ "
    ">>></link>)<br><br>";

// An amount a transfer marker offers and that was never carried over: form,
// box, the source's text, box, value, page, box, page, box.
inline constexpr const char* kPendingTransfer =
    "<color=clNavy><b>Uwaga: %s, Poz.%s. Kwota do przeniesienia</b><br><color=clNavy>%s.<br>Kwota nie została "
    "przeniesiona do poz.%s (<link=popraw#%s#%s#%s>POPRAW</link>, <link=%s#%s>POKAŻ >>></link>)<br><br>";

// The health contribution deducted from tax above 7,75% of its base: form,
// box, base, 7,75% of it, box, amount, correction, page, box, page, box.
inline constexpr const char* kHealthAboveBase =
    "<color=clNavy><b>Uwaga: %s, Poz.%s. Składki na ubezpieczenie zdrowotne</b><br><color=clNavy>Od podatku "
    "odlicza się składkę zdrowotną do 7,75% podstawy jej wymiaru. Przychody ze stosunku pracy i z emerytur lub rent "
    "pomniejszone o odliczone składki społeczne wynoszą %s zł, a 7,75% tej kwoty to %s zł; w poz.%s wpisano %s zł "
    "(<link=popraw#%s#%s#P%s>POPRAW</link>, <link=%s#P%s>POKAŻ >>></link>)<br><br>";

// Employee costs above the highest 2010 lump sum: form, box, box, amount,
// page, box.
inline constexpr const char* kEmployeeCosts =
    "<color=clNavy><b>Uwaga: %s, Poz.%s. Koszty uzyskania przychodów ze stosunku pracy</b><br><color=clNavy>Koszty "
    "z poz.%s (%s zł) są wyższe od najwyższych kosztów zryczałtowanych na rok 2010: 2502,56 zł (kilka stosunków "
    "pracy i dojazdy spoza miejscowości; pozostałe kwoty to 1335,00 zł, 1668,72 zł i 2002,05 zł). Wyższe koszty "
    "trzeba wykazać faktycznie poniesionymi wydatkami. (<link=%s#P%s>POKAŻ >>></link>)<br><br>";

// The child relief above 92,67 zł for each month marked in part E: the
// months' amount, the relief.
inline constexpr const char* kChildReliefMonths =
    "<color=clNavy><b>Uwaga: PIT/O, Poz.35 i 36. Ulga z tytułu wychowywania dzieci</b><br><color=clNavy>Za każdy "
    "miesiąc wychowywania dziecka przysługuje 92,67 zł; miesiące zaznaczone w części E dają razem %s zł, a w poz.35 "
    "i 36 wpisano razem %s zł (<link=PITOb#P35>POKAŻ >>></link>)<br><br>";

}  // namespace solv::adviser
