#include "messages/markup.hpp"

#include <array>
#include <optional>

#include "util/ascii.hpp"

namespace solv {
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

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualsIgnoreAsciiCase(s.substr(0, prefix.size()), prefix);
}

// What the text carries at a point; the emitted elements follow it lazily,
// so empty elements are never written.
struct Style {
  std::string colour;               // "#rrggbb", empty for the default
  bool bold = false;
  std::optional<std::string> link;  // href of an open link
  bool operator==(const Style&) const = default;
};

class Writer {
 public:
  void Text(std::string_view text) {
    if (text.empty()) return;
    Sync();
    AppendEscaped(out_, text);
  }
  void Raw(std::string_view html) {
    Sync();
    out_ += html;
  }
  Style& Want() { return want_; }
  std::string Finish() {
    Close();
    return std::move(out_);
  }

 private:
  // Levels from the outside in: colour, link, bold. A change closes the
  // open levels from the first that differs inwards and reopens them.
  void CloseFrom(int level) {
    if (level <= 2 && open_.bold) out_ += "</b>";
    if (level <= 1 && open_.link) out_ += "</a>";
    if (level <= 0 && !open_.colour.empty()) out_ += "</span>";
    if (level <= 2) open_.bold = false;
    if (level <= 1) open_.link.reset();
    if (level <= 0) open_.colour.clear();
  }
  void Close() { CloseFrom(0); }
  void Sync() {
    if (open_ == want_) return;
    const int level = open_.colour != want_.colour ? 0 : open_.link != want_.link ? 1 : 2;
    CloseFrom(level);
    if (level <= 0 && !want_.colour.empty()) out_ += "<span style=\"color:" + want_.colour + "\">";
    if (level <= 1 && want_.link) {
      out_ += "<a href=\"";
      AppendEscaped(out_, *want_.link);
      out_ += "\">";
    }
    if (want_.bold) out_ += "<b>";
    open_ = want_;
  }

  std::string out_;
  Style open_, want_;
};

}  // namespace

std::string MarkupColour(std::string_view value) {
  for (const auto& c : kNamed)
    if (EqualsIgnoreAsciiCase(value, c.name)) return c.html;
  if (value.size() < 2 || value.size() > 9 || value.front() != '$') return {};
  unsigned long v = 0;
  for (char c : value.substr(1)) {
    const int d = HexDigit(c);
    if (d < 0) return {};
    v = v * 16 + static_cast<unsigned long>(d);
  }
  // Red is the low byte, then green, then blue.
  static constexpr char kHex[] = "0123456789abcdef";
  std::string html = "#";
  for (int shift : {0, 8, 16}) {
    const unsigned byte = static_cast<unsigned>((v >> shift) & 0xFF);
    html += kHex[byte >> 4];
    html += kHex[byte & 0xF];
  }
  return html;
}

std::string MarkupToRichText(std::string_view m) {
  Writer w;
  size_t i = 0;
  while (i < m.size()) {
    if (m[i] == '<') {
      const size_t end = m.find('>', i);
      if (end != std::string_view::npos) {
        const std::string_view tag = m.substr(i + 1, end - i - 1);
        bool known = true;
        if (StartsWithNoCase(tag, "color=")) {
          std::string html = MarkupColour(tag.substr(6));
          if (html.empty()) known = false;
          else w.Want().colour = html == "#000000" ? std::string{} : html;
        } else if (EqualsIgnoreAsciiCase(tag, "/color")) {
          w.Want().colour.clear();
        } else if (EqualsIgnoreAsciiCase(tag, "b")) {
          w.Want().bold = true;
        } else if (EqualsIgnoreAsciiCase(tag, "/b")) {
          w.Want().bold = false;
        } else if (EqualsIgnoreAsciiCase(tag, "br")) {
          w.Raw("<br>");
        } else if (StartsWithNoCase(tag, "link=") && tag.size() > 5) {
          w.Want().link = std::string(tag.substr(5));
        } else if (EqualsIgnoreAsciiCase(tag, "/link")) {
          w.Want().link.reset();
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
    w.Text(m.substr(i, next - i));
    i = next;
  }
  return w.Finish();
}

std::string EscapeForMessage(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '<': out += "\u2039"; break;
      case '>': out += "\u203A"; break;
      case '\r': break;
      case '\n': out += ' '; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace solv
