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

}  // namespace solv::adviser
