// The message markup of any text becomes well-nested rich text with only
// its own elements.
#include <string>
#include <vector>

#include "fuzz_support.hpp"
#include "messages/markup.hpp"

using solv::fuzz::Require;

namespace {

// Every '<' opens or closes one of the converter's elements, properly nested.
void CheckRichText(const std::string& html) {
  std::vector<std::string> open;
  std::size_t i = 0;
  while ((i = html.find('<', i)) != std::string::npos) {
    const std::size_t end = html.find('>', i);
    Require(end != std::string::npos, "every element is closed by '>'");
    const std::string tag = html.substr(i + 1, end - i - 1);
    if (tag == "br") {
    } else if (tag == "b" || tag.rfind("span style=\"color:#", 0) == 0 || tag.rfind("a href=\"", 0) == 0) {
      open.push_back(tag.substr(0, tag.find(' ')));
    } else if (!tag.empty() && tag[0] == '/') {
      Require(!open.empty() && open.back() == tag.substr(1), "elements close in order");
      open.pop_back();
    } else {
      Require(false, "only the converter's own elements");
    }
    if (tag.rfind("a href=\"", 0) == 0)
      Require(tag.find('"', 8) == tag.size() - 1, "a link's address holds no quote");
    i = end + 1;
  }
  Require(open.empty(), "every element is closed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = solv::fuzz::Text(data, size);
  CheckRichText(solv::MarkupToRichText(text));
  // User text placed in a message cannot open an element.
  const std::string escaped = solv::EscapeForMessage(text);
  Require(escaped.find('<') == std::string::npos && escaped.find('>') == std::string::npos,
          "escaped text holds no angle brackets");
  CheckRichText(solv::MarkupToRichText("<b>" + escaped + "</b>"));
  return 0;
}
