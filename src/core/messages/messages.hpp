// The calculation-message list: item 0 is a header that counts the messages,
// items 1.. are the messages in the order added. Texts use a small markup:
// <color=clRed>, <b>..</b>, <br>, <link=PARAM>text</link>.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace solv {

extern const char* const kHeaderEmpty;
// "%d" stands for the number of messages.
extern const char* const kHeaderCounted;

// The number a form's counted header (kHeaderCounted) carries, 0
// when it carries none.
int HeaderCount(std::string_view header);

struct MessageList {
  std::vector<std::string> items;
  int counter = 0;
};

// The one process-wide list.
const MessageList& Messages();
MessageList CopyMessages();
void RestoreMessages(MessageList copy);

void ClearMessages();
// index -1 appends (counting it and renewing the header); index >= 0 replaces
// that item. The first "%s" of text is replaced by argument.
void AddMessage(std::string_view text, std::string_view argument = {}, int index = -1);

// text with each "%s" in turn replaced by the next value (none left: empty)
// and "%%" shown as "%".
std::string FillMessage(std::string_view text, const std::vector<std::string>& values);

// The items joined by line ends, as the messages panel shows them.
std::string MessagesText();

// Markup to plain text: tags dropped, <br> as a line end, other line ends dropped.
std::string MarkupToPlain(std::string_view markup);

// A message's parts, for whoever reads messages as data.
struct MessageLink {
  std::string param;  // "popraw#900#PIT37b#P93", "PIT37b#P93"
  std::string text;   // "POPRAW", "POKAŻ >>>"
};
struct MessageParts {
  std::string colour;  // of its first colour tag ("clRed"); empty when none
  std::string title;   // its first bold text, plain ("PIT-37, Poz.93. Składki …")
  std::string text;    // the whole message as plain text
  std::vector<MessageLink> links;
};
MessageParts SplitMessage(std::string_view markup);

}  // namespace solv
