// Which typed characters a set file (Windows-1250) can hold.
#include <gtest/gtest.h>

#include <string>

#include "store/charset_check.hpp"

namespace {

TEST(CharsetCheck, CharactersAgainstWindows1250) {
  struct Case {
    const char* text;
    bool held;
  };
  const Case cases[] = {
      {"", true},
      {"KOWALSKI JAN 12-345", true},
      {"ĄĆĘŁŃÓŚŹŻąćęłńóśźż", true},  // Polish letters
      {"€", true},                    // 0x80
      {"ő Ű ß ä Ö ü Č ť", true},      // Central European letters of the code page
      {"„cudzysłów” – …", true},      // typographic marks of the code page
      {"ñ", false},                   // Spanish: not in Windows-1250
      {"Ñ", false},
      {"à", false},
      {"漢", false},
      {"😀", false},                   // outside the basic plane
      {"ż漢", false},                  // one bad character spoils the text
      {"�", false},                   // U+FFFD would be written as '?'
      {"\xC3", false},                // truncated sequence
      {"\xC3\x28", false},            // bad continuation byte
      {"\xC0\xAF", false},            // overlong form of '/'
      {"\xED\xA0\x80", false},        // a surrogate half
      {"?", true},
  };
  for (const Case& c : cases) EXPECT_EQ(solv::RepresentableInSetFile(std::string_view(c.text)), c.held) << c.text;
}

TEST(CharsetCheck, CodePointFormAndTheRefusedCharacters) {
  EXPECT_TRUE(solv::RepresentableInSetFile(std::u32string_view(U"Łódź €")));
  EXPECT_FALSE(solv::RepresentableInSetFile(std::u32string_view(U"ñ")));
  EXPECT_FALSE(solv::RepresentableInSetFile(std::u32string_view(U"\xD800")));  // lone surrogate

  EXPECT_EQ(solv::UnrepresentableCharacters("aña漢ż"), U"ñ漢");
  EXPECT_EQ(solv::UnrepresentableCharacters("x\xC3"), U"\xFFFD");
  EXPECT_EQ(solv::UnrepresentableMessage("ñ"),
            "Znaku „ñ” nie można zapisać w zestawie (kodowanie Windows-1250).");
}

}  // namespace
