// "Przejdź do pozycji": a form and a box number as the user types them
// ("PIT-37 120", "pit/o poz. 13") or a bare number on the active form,
// turned into the link that shows the box.
#pragma once

#include <string>
#include <string_view>

namespace solv {

struct BoxQueryResult {
  std::string link;      // "PIT37c#p120" (the form's page holding the box), empty on error
  std::string instance;  // the form's section whose window shows it ("PIT37a", "PITOa_2")
  std::string error;  // why nothing can be shown, in Polish
};

// activeInstance: the section of the active form window ("PIT37a",
// "PITOa_2"), used for a bare number and for a box of the same form; empty
// when no form is active. A named form must be in the open set.
BoxQueryResult FindBoxLink(std::string_view query, std::string_view activeInstance);

// A printed box of a form instance by its key in the set ("P39", "p6a").
struct BoxPlace {
  std::string label;  // "poz. 39 PIT-37", "poz. 10 PIT/B – kopia 2"
  std::string link;   // "PIT37a#p39": the page holding it, for FollowLink
  std::string clearValue;  // what the page shows while the set has no text for it
};
// Empty label and link when no printed box of the instance's form has that key.
BoxPlace PlaceOfBox(std::string_view instance, std::string_view key);

}  // namespace solv
