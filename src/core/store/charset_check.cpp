#include "store/charset_check.hpp"

#include "store/cp1250.hpp"

namespace solv {
namespace {

// Decodes one UTF-8 sequence at i and advances i; 0xFFFD for a malformed one
// (one byte skipped). `raw` gets the bytes consumed.
char32_t Next(std::string_view s, size_t& i, std::string_view& raw) {
  const size_t start = i;
  const auto b = static_cast<unsigned char>(s[i]);
  int extra = 0;
  char32_t cp = 0;
  if (b < 0x80) {
    cp = b;
  } else if (b >= 0xC2 && b <= 0xDF) {
    extra = 1;
    cp = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    extra = 2;
    cp = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    extra = 3;
    cp = b & 0x07;
  } else {
    ++i;
    raw = s.substr(start, 1);
    return 0xFFFD;
  }
  if (extra > 0 && i + static_cast<size_t>(extra) >= s.size()) {
    ++i;
    raw = s.substr(start, 1);
    return 0xFFFD;
  }
  for (int k = 1; k <= extra; ++k) {
    const auto c = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
    if ((c & 0xC0) != 0x80) {
      ++i;
      raw = s.substr(start, 1);
      return 0xFFFD;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  const bool overlong = (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
  if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    raw = s.substr(start, 1);
    return 0xFFFD;
  }
  i += static_cast<size_t>(extra) + 1;
  raw = s.substr(start, i - start);
  return cp;
}

// One well-formed character is held when it comes back unchanged.
bool Holds(std::string_view one) { return Cp1250ToUtf8(Utf8ToCp1250(one)) == one; }

}  // namespace

std::u32string UnrepresentableCharacters(std::string_view utf8) {
  std::u32string out;
  for (size_t i = 0; i < utf8.size();) {
    std::string_view raw;
    const char32_t cp = Next(utf8, i, raw);
    if (cp < 0x80) continue;
    if (cp == 0xFFFD || !Holds(raw)) out += cp;
  }
  return out;
}

bool RepresentableInSetFile(std::string_view utf8) { return UnrepresentableCharacters(utf8).empty(); }

bool RepresentableInSetFile(std::u32string_view text) {
  std::string utf8;
  for (char32_t c : text) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    AppendUtf8(utf8, c);
  }
  return RepresentableInSetFile(utf8);
}

std::string UnrepresentableMessage(std::string_view ch) {
  return "Znaku „" + std::string(ch) + "” nie można zapisać w zestawie (kodowanie Windows-1250).";
}

}  // namespace solv
