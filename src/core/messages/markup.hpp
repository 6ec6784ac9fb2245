// The message markup and its conversion to the rich text (HTML subset) that
// the messages panel and the gathered-messages window show.
//
// Elements (names case-insensitive):
//   <color=NAME>      text colour until the next colour element; NAME is a
//                     colour name (clRed, clNavy, clGreen and the other
//                     standard names) or "$" and up to eight hexadecimal
//                     digits in blue-green-red order ("$000080FF")
//   </color>          back to the default colour
//   <b> </b>          bold
//   <br>              line break
//   <link=PARAM>text</link>
//                     a link; PARAM ("PIT37a#P6", "popraw#12,00#PIT37b#P99")
//                     becomes the href unchanged
// Anything else is text: it is HTML-escaped, so an unknown or malformed
// element ("<i>", "<color=nothing>", "<link=>", a '<' without '>') shows
// as written.
#pragma once

#include <string>
#include <string_view>

namespace solv {

// "#rrggbb" of a colour element's value ("clRed", "$000080FF"); empty when
// the value names no colour.
std::string MarkupColour(std::string_view value);

// The markup as rich text: <span style="color:#rrggbb">, <b>, <br> and
// <a href="PARAM">. The output is always well nested: a colour or bold
// change inside a link closes the open elements and reopens them in the new
// state (a link cut this way continues as a second anchor with the same
// href). Line ends of the text become blanks (message items are joined by
// line ends; breaks come from <br>). Never throws on any input.
std::string MarkupToRichText(std::string_view markup);

// User text made safe to place inside a message: '<' and '>' become the
// single angle quotation marks '‹' and '›' (U+2039, U+203A), which read like
// the original, cannot open or close an element and exist in Windows-1250.
// Line ends become blanks. Everything else is kept.
std::string EscapeForMessage(std::string_view text);

}  // namespace solv
