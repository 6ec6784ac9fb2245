// The message markup (<color=clRed>, <color=$00BBGGRR>, </color>, <b>, </b>,
// <br>, <link=PARAM>text</link>) turned into the rich text that Qt labels
// show. A link's parameter becomes its href unchanged.
#pragma once

#include <string>
#include <string_view>

namespace solv::app {

// "#RRGGBB" of a colour element's value ("clRed", "$000080FF"); empty when
// the value names no colour.
std::string MarkupColour(std::string_view value);

// The markup as HTML; texts are escaped, line ends of the text are kept as
// blanks (items are joined by line ends, breaks come from <br>).
std::string MarkupToHtml(std::string_view markup);

}  // namespace solv::app
