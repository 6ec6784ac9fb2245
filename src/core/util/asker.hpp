// How the core asks the user: a function that needs an answer takes an Asker
// from its caller and decides by what it returns. The windows answer through
// their message boxes, the tests and the programs without windows with their
// own answers.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace solv {

// Shows text under title with the buttons ("&TAK": & marks the access key)
// and returns the chosen button's number from 1; any other number (a closed
// box) is no answer. Without buttons the text is a notice (an information
// box) and the answer is ignored.
using Asker = std::function<int(std::string_view text, std::string_view title, const std::vector<std::string>& buttons)>;

// The answer of ask, -1 (no answer) when there is nobody to ask.
inline int Ask(const Asker& ask, std::string_view text, std::string_view title,
               const std::vector<std::string>& buttons) {
  return ask ? ask(text, title, buttons) : -1;
}

// Tells the user text under title through ask, when there is anybody to tell.
inline void Tell(const Asker& ask, std::string_view text, std::string_view title) {
  if (ask) ask(text, title, {});
}

}  // namespace solv
