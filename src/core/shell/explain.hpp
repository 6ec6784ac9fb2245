// "Skąd ta kwota?": where the value of a box comes from. The box's form is
// recalculated on a copy of the open set under a trace (calc/trace.hpp), so
// the inputs are what the recalculation read before it wrote the box; a box
// it does not write is the user's, or one a transfer rule offers from an
// attachment.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace solv {

struct ExplainedBox {
  std::string section;  // "PIT37a", "PITBa_1"
  std::string key;      // the cell's name ("p41")
  std::string form;     // as printed, with the copy: "PIT-37", "PIT/B – kopia 2"
  std::string number;   // as printed: "41"; empty for a box without a number
  std::string caption;  // the box's caption on the page
  std::string value;    // as the page shows it, thousands apart ("12 345,00")
  std::string link;     // message-link target that shows the box: "PIT37a#p41"; empty for a helper cell
  bool known = false;   // a cell of that name is on a page of the form
};

enum class BoxOrigin {
  kComputed,     // the recalculation writes it
  kEntered,      // typed by the user
  kCarried,      // carried from an attachment by a click on its offer
  kOffered,      // typed, and an attachment offers an amount for it
  kUnknown,      // no such form in the set, or no such box on it
};

struct Explanation {
  ExplainedBox box;
  BoxOrigin origin = BoxOrigin::kUnknown;
  std::string rule;                  // in words; empty when none is known
  std::vector<ExplainedBox> inputs;  // computed: what it was read from; carried/offered: the attachment's boxes
  std::string note;                  // a sentence in Polish on where the value comes from
};

// The explanation of a box of a form instance of the open set. key is the
// box's name ("p41", "P41") or its printed number ("41", "6a"). The set file
// is never written.
Explanation ExplainBox(std::string_view section, std::string_view key);

// The explanation as plain text (solvcalc, tests): the box, the note, the
// rule and one line per input.
std::string ExplanationText(const Explanation& e);
// The same in message markup with a link for every input (the popup).
std::string ExplanationMarkup(const Explanation& e);
// "poz. 41 PIT-37 — Przychód … 12 345,00": how the text names a box.
std::string BoxLine(const ExplainedBox& b);

}  // namespace solv
