// Which characters a set file can hold. Set files are Windows-1250 on disk;
// a character outside it would be written as '?', so the editor refuses it
// as it is typed or pasted.
#pragma once

#include <string>
#include <string_view>

namespace solv {

// True when every character of the UTF-8 text survives writing to a set
// file and reading it back (malformed UTF-8 does not).
bool RepresentableInSetFile(std::string_view utf8);
bool RepresentableInSetFile(std::u32string_view text);

// The characters of the UTF-8 text that a set file cannot hold, in order
// (U+FFFD for each malformed sequence).
std::u32string UnrepresentableCharacters(std::string_view utf8);

// The information shown when the character `ch` (UTF-8) is refused.
std::string UnrepresentableMessage(std::string_view ch);

}  // namespace solv
