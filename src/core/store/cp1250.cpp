#include "store/cp1250.hpp"

#include <unordered_map>

namespace solv {
namespace {

// Unicode code points of the bytes 0x80..0xFF; 0xFFFD marks an undefined byte.
constexpr char16_t kHigh[128] = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021,
    0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};


const std::unordered_map<char32_t, char>& ReverseTable() {
  static const std::unordered_map<char32_t, char> table = [] {
    std::unordered_map<char32_t, char> t;
    for (int i = 0; i < 128; ++i)
      if (kHigh[i] != 0xFFFD) t.emplace(kHigh[i], static_cast<char>(0x80 + i));
    return t;
  }();
  return table;
}

// Decodes one UTF-8 sequence at s[i]; advances i. Malformed input gives
// 0xFFFFFFFF and advances by one byte.
char32_t NextCodePoint(std::string_view s, size_t& i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  int len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
  if (len == 0 || i + len > s.size()) {
    ++i;
    return 0xFFFFFFFF;
  }
  char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
  for (int k = 1; k < len; ++k) {
    const unsigned char cc = static_cast<unsigned char>(s[i + k]);
    if ((cc & 0xC0) != 0x80) {
      ++i;
      return 0xFFFFFFFF;
    }
    cp = (cp << 6) | (cc & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are malformed too:
  // an overlong form could smuggle a line end or '[' past the callers' checks.
  constexpr char32_t kMinOfLength[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMinOfLength[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return 0xFFFFFFFF;
  }
  i += len;
  return cp;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Cp1250ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char ch : bytes) {
    const unsigned char b = static_cast<unsigned char>(ch);
    if (b < 0x80)
      out += ch;
    else
      AppendUtf8(out, kHigh[b - 0x80]);
  }
  return out;
}

std::string DecodeFileText(std::string_view bytes) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (bytes.substr(0, 3) == kBom) return Cp1250ToUtf8(Utf8ToCp1250(bytes.substr(3)));
  // UTF-8 only when it is valid and holds at least one letter of the code
  // page: Windows-1250 text can be valid UTF-8 by chance ("SPÓŁKA" is
  // D3 A3, a Cyrillic letter in UTF-8), but then it spells no such letter.
  bool multiByte = false;
  bool codePageLetter = false;
  const auto& rev = ReverseTable();
  for (size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    const char32_t cp = NextCodePoint(bytes, i);
    if (cp == 0xFFFFFFFF) return Cp1250ToUtf8(bytes);
    multiByte = true;
    if (rev.count(cp)) codePageLetter = true;
  }
  if (!multiByte) return std::string(bytes);
  return codePageLetter ? Cp1250ToUtf8(Utf8ToCp1250(bytes)) : Cp1250ToUtf8(bytes);
}

std::string Utf8ToCp1250(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const auto& rev = ReverseTable();
  for (size_t i = 0; i < text.size();) {
    const char32_t cp = NextCodePoint(text, i);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    auto it = rev.find(cp);
    out += it == rev.end() ? '?' : it->second;
  }
  return out;
}

}  // namespace solv
