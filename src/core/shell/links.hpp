// The links of calculation messages: "popraw#VALUE#PAGE#BOX" proposes a
// correction, "PAGE#BOX" shows a box; and the boxes the panel's links point at.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace solv {

struct LinkTarget {
  bool correct = false;  // a "popraw" link
  std::string value;     // the correction, "0" when not a non-negative number
  std::string page;      // "PIT37b", "PITBa_1"
  std::string box;       // trimmed
};
LinkTarget ParseLink(std::string_view param);

// Whether a link's page belongs to the window of `instance`: without '_' the
// names are compared without their last letter ("PIT37b" ~ "PIT37a"), with
// '_' whole; case is ignored.
bool LinkPageMatches(std::string_view page, std::string_view instance);

// The page letter of a link's page: the last letter before any '_'; 0 for none.
char LinkPageLetter(std::string_view page);

// The cell of a page ("TPIT37a" or "PIT37a") that a link's box names: the
// page's cell of that name, ignoring case, else the first option of the
// page's check-box group the box names ("P6" -> "p6a"); empty when neither
// (or for an unknown page).
std::string LinkCell(std::string_view page, std::string_view box);

// The page a link leads to: the named page when it has the box (or the
// box's group), else the first page of the same form that has it (a link
// "PIT37a#P39" names the form's first instance, box 39 is on PIT37b); the
// named page when none has. A '_' suffix stays ("PITBa_1").
std::string LinkPage(std::string_view page, std::string_view box);

// For every "<link=PIT" of the panel text the box after the first '#',
// trimmed, with "P6" and "P10" read as their first check box "P6a", "P10a".
std::vector<std::string> WarningBoxes(std::string_view panelText);

}  // namespace solv
