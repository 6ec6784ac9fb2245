// Windows-1250 <-> UTF-8, the code page of every INI file on disk.
#pragma once

#include <string>
#include <string_view>

namespace solv {

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t cp);

// Bytes that Windows-1250 leaves undefined become U+FFFD.
std::string Cp1250ToUtf8(std::string_view bytes);

// The text of an INI file as read from disk: Windows-1250, except a file that
// starts with the UTF-8 byte-order mark, or that is valid UTF-8 with at least
// one multi-byte character (a set written by hand in a UTF-8 editor; Polish
// Windows-1250 text is practically never valid UTF-8).
std::string DecodeFileText(std::string_view bytes);

// Characters that Windows-1250 cannot hold (and malformed UTF-8) become '?'.
std::string Utf8ToCp1250(std::string_view text);

}  // namespace solv
