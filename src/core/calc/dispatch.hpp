// Choosing a form's recalculation by instance name, and the check of the
// whole return.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace solv {

using RecalcFn = void (*)(std::string_view section);

// The recalculation of a base name ("PIT37a"), or nullptr when the form has none.
RecalcFn RecalculationFor(std::string_view baseName);

// Runs the recalculation of the instance ("PITMa_M", "PITBa_2") with its
// full name. Returns false, and says so in the debug log, when its form has
// no recalculation.
bool Recalculate(std::string_view instanceName);
// The same, with or without the adviser's checks that follow the form's own.
bool Recalculate(std::string_view instanceName, bool adviserChecks);

// One message of the whole-return check as its form gave it, links kept.
struct CheckedMessage {
  std::string section;  // the form instance ("PIT37a", "PITOa_1")
  std::string markup;   // with its links; a copy's title names the copy
};
struct WholeReturnCheck {
  std::string text;    // message markup, without links
  std::string header;  // its first part: the count, or that there are none
  int total = 0;     // number of messages gathered
  std::vector<CheckedMessage> messages;  // the same messages one by one
};
// Recalculates every form of the set, every copy of PIT/B, PIT/O and PIT/ZG
// (the messages of each copy name it when there are several), and gathers
// their messages without links. The message list and the current page are left as
// they were.
WholeReturnCheck CheckWholeReturn();

}  // namespace solv
