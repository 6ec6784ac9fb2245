#include "messages/messages.hpp"

#include <algorithm>
#include <charconv>

namespace solv {

const char* const kHeaderEmpty =
    "<color=clNavy><b>Brak komunikatów dotyczących bieżącego formularza</b><br><color=clNavy>Uwaga: Program "
    "sprawdza obliczenia (np. zgodność z limitami). Program nie sprawdza wszystkich danych (np. poprawność daty).";

const char* const kHeaderCounted =
    "<color=clRed><b>W formularzu występują błędy</b> <color=clGreen><b>lub uwagi</b><color=clRed><b> - liczba "
    "komunikatów:</b> %d<br><color=clNavy>Uwaga: Program sprawdza obliczenia (np. zgodność z limitami). Program nie "
    "sprawdza wszystkich danych (np. poprawność daty).<br>";

namespace {

MessageList& List() {
  static MessageList list;
  return list;
}

std::string ReplaceFirst(std::string_view text, std::string_view what, std::string_view with) {
  std::string out(text);
  const size_t at = out.find(what);
  if (at != std::string::npos) out.replace(at, what.size(), with);
  return out;
}

// A text with "%s" is formatted: the first "%s" takes the argument and "%%"
// stands for "%". Any other text is taken as it is.
std::string FormatMessage(std::string_view text, std::string_view argument) {
  if (text.find("%s") == std::string_view::npos) return std::string(text);
  std::string out;
  bool filled = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size()) {
      if (text[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (text[i + 1] == 's' && !filled) {
        out += argument;
        filled = true;
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

}  // namespace

std::string FillMessage(std::string_view text, const std::vector<std::string>& values) {
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '%' || text[i + 1] == 's')) {
      if (text[i + 1] == '%') out += '%';
      else if (next < values.size()) out += values[next++];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

int HeaderCount(std::string_view header) {
  const std::string_view counted = kHeaderCounted;
  const std::string_view prefix = counted.substr(0, counted.find(" %d"));
  const size_t at = header.find(prefix);
  if (at == std::string_view::npos) return 0;
  size_t from = at + prefix.size();
  const size_t to = std::min(header.find("<br>", from), header.size());
  while (from < to && header[from] == ' ') ++from;
  int n = 0;
  std::from_chars(header.data() + from, header.data() + to, n);
  return n;
}

const MessageList& Messages() { return List(); }
MessageList CopyMessages() { return List(); }
void RestoreMessages(MessageList copy) { List() = std::move(copy); }

void ClearMessages() {
  List().items.clear();
  List().counter = 0;
  AddMessage(kHeaderEmpty);
}

void AddMessage(std::string_view text, std::string_view argument, int index) {
  MessageList& list = List();
  if (index >= 0) {
    if (static_cast<size_t>(index) < list.items.size()) list.items[static_cast<size_t>(index)] = std::string(text);
    return;
  }
  if (!list.items.empty()) {
    ++list.counter;
    list.items[0] = ReplaceFirst(kHeaderCounted, "%d", std::to_string(list.counter));
  }
  list.items.push_back(FormatMessage(text, argument));
}

std::string MessagesText() {
  std::string out;
  for (size_t i = 0; i < List().items.size(); ++i) {
    if (i) out += '\n';
    out += List().items[i];
  }
  return out;
}

std::string MarkupToPlain(std::string_view markup) {
  std::string out;
  for (size_t i = 0; i < markup.size();) {
    const char c = markup[i];
    if (c == '<') {
      const size_t close = markup.find('>', i);
      if (close == std::string_view::npos) {
        out.append(markup.substr(i));
        break;
      }
      if (markup.substr(i, close - i + 1) == "<br>") out += '\n';
      i = close + 1;
    } else {
      if (c != '\r' && c != '\n') out += c;
      ++i;
    }
  }
  return out;
}

MessageParts SplitMessage(std::string_view markup) {
  MessageParts parts;
  if (const size_t c = markup.find("<color="); c != std::string_view::npos)
    if (const size_t end = markup.find('>', c); end != std::string_view::npos)
      parts.colour = std::string(markup.substr(c + 7, end - c - 7));
  if (const size_t b = markup.find("<b>"); b != std::string_view::npos)
    if (const size_t end = markup.find("</b>", b); end != std::string_view::npos)
      parts.title = MarkupToPlain(markup.substr(b + 3, end - b - 3));
  parts.text = MarkupToPlain(markup);
  for (size_t at = 0; (at = markup.find("<link=", at)) != std::string_view::npos;) {
    const size_t close = markup.find('>', at);
    if (close == std::string_view::npos) break;
    const size_t end = markup.find("</link>", close);
    if (end == std::string_view::npos) break;
    parts.links.push_back({std::string(markup.substr(at + 6, close - at - 6)),
                           MarkupToPlain(markup.substr(close + 1, end - close - 1))});
    at = end + 7;
  }
  return parts;
}

}  // namespace solv
