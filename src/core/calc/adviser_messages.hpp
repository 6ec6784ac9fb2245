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

}  // namespace solv::adviser
