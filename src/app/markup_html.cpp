#include "markup_html.hpp"

#include <array>
#include <cstdio>
#include <utility>

#include "util/ascii.hpp"
namespace solv::app {
namespace {

struct NamedColour {
  const char* name;
  const char* html;
};
constexpr std::array<NamedColour, 16> kNamed{{
    {"clBlack", "#000000"}, {"clMaroon", "#800000"}, {"clGreen", "#008000"}, {"clOlive", "#808000"},
    {"clNavy", "#000080"},  {"clPurple", "#800080"}, {"clTeal", "#008080"},  {"clGray", "#808080"},
    {"clSilver", "#c0c0c0"}, {"clRed", "#ff0000"},   {"clLime", "#00ff00"},  {"clYellow", "#ffff00"},
    {"clBlue", "#0000ff"},  {"clFuchsia", "#ff00ff"}, {"clAqua", "#00ffff"}, {"clWhite", "#ffffff"},
}};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool EqualNoCase(std::string_view a, std::string_view b) { return EqualsIgnoreAsciiCase(a, b); }

void AppendEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\r': break;
      case '\n': out += ' '; break;
      default: out += c;
    }
  }
}

bool StartsWith(std::string_view s, size_t at, std::string_view prefix) {
  return s.size() - at >= prefix.size() && EqualNoCase(s.substr(at, prefix.size()), prefix);
}

}  // namespace

std::string MarkupColour(std::string_view value) {
  for (const auto& c : kNamed)
    if (EqualNoCase(value, c.name)) return c.html;
  if (!value.empty() && value.front() == '$' && value.size() > 1 && value.size() <= 9) {
    unsigned long v = 0;
    for (char c : value.substr(1)) {
      int d = HexDigit(c);
      if (d < 0) return {};
      v = v * 16 + static_cast<unsigned long>(d);
    }
    // The value holds blue, green and red from the high to the low byte.
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", static_cast<unsigned>(v & 0xFF),
                  static_cast<unsigned>((v >> 8) & 0xFF), static_cast<unsigned>((v >> 16) & 0xFF));
    return buf;
  }
  return {};
}

std::string MarkupToHtml(std::string_view m) {
  std::string out;
  bool colourOpen = false, linkOpen = false;
  auto closeColour = [&] {
    if (colourOpen) out += "</span>";
    colourOpen = false;
  };
  size_t i = 0;
  while (i < m.size()) {
    if (m[i] == '<') {
      size_t end = m.find('>', i);
      if (end != std::string_view::npos) {
        std::string_view tag = m.substr(i + 1, end - i - 1);
        bool known = true;
        if (StartsWith(m, i, "<color=")) {
          std::string html = MarkupColour(tag.substr(6));
          // A colour element inside a link would cut the anchor; colours
          // switch only outside links.
          if (!linkOpen) {
            closeColour();
            if (!html.empty()) {
              out += "<span style=\"color:" + html + "\">";
              colourOpen = true;
            }
          }
        } else if (EqualNoCase(tag, "/color")) {
          if (!linkOpen) closeColour();
        } else if (EqualNoCase(tag, "b")) {
          out += "<b>";
        } else if (EqualNoCase(tag, "/b")) {
          out += "</b>";
        } else if (EqualNoCase(tag, "br")) {
          out += "<br>";
        } else if (StartsWith(m, i, "<link=")) {
          if (linkOpen) out += "</a>";
          out += "<a href=\"";
          AppendEscaped(out, tag.substr(5));
          out += "\">";
          linkOpen = true;
        } else if (EqualNoCase(tag, "/link")) {
          if (linkOpen) out += "</a>";
          linkOpen = false;
        } else {
          known = false;
        }
        if (known) {
          i = end + 1;
          continue;
        }
      }
    }
    size_t next = m.find('<', i + 1);
    if (next == std::string_view::npos) next = m.size();
    AppendEscaped(out, m.substr(i, next - i));
    i = next;
  }
  if (linkOpen) out += "</a>";
  closeColour();
  return out;
}

}  // namespace solv::app
