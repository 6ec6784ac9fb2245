// Windows-1250 <-> UTF-8, the code page of every INI file on disk.
#pragma once

#include <string>
#include <string_view>

namespace solv {

// Bytes that Windows-1250 leaves undefined become U+FFFD.
std::string Cp1250ToUtf8(std::string_view bytes);

// Characters that Windows-1250 cannot hold (and malformed UTF-8) become '?'.
std::string Utf8ToCp1250(std::string_view text);

}  // namespace solv
