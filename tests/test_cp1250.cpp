// Windows-1250 <-> UTF-8 conversion of INI files.
#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>

#include "store/cp1250.hpp"

namespace {

// The system converter's reading of one Windows-1250 byte, nullopt when it
// calls the byte undefined. Used as an independent reference table.
std::optional<std::string> SystemDecode(unsigned char byte) {
  iconv_t cd = ::iconv_open("UTF-8", "CP1250");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  char in[1] = {static_cast<char>(byte)};
  char out[8] = {};
  char* inPtr = in;
  char* outPtr = out;
  size_t inLeft = 1, outLeft = sizeof out;
  const size_t rc = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  ::iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) return std::nullopt;
  return std::string(out, outPtr);
}

bool SystemHasCp1250() {
  iconv_t cd = ::iconv_open("UTF-8", "CP1250");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  ::iconv_close(cd);
  return true;
}

TEST(Cp1250, EveryHighByteMatchesTheSystemTable) {
  if (!SystemHasCp1250()) GTEST_SKIP() << "no CP1250 converter on this system";
  for (int b = 0x80; b <= 0xFF; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::string ours = solv::Cp1250ToUtf8(byte);
    const std::optional<std::string> reference = SystemDecode(static_cast<unsigned char>(b));
    if (!reference) {
      EXPECT_EQ(ours, "\xEF\xBF\xBD") << "byte 0x" << std::hex << b;
      continue;
    }
    EXPECT_EQ(ours, *reference) << "byte 0x" << std::hex << b;
    EXPECT_EQ(solv::Utf8ToCp1250(*reference), byte) << "byte 0x" << std::hex << b;
  }
}

TEST(Cp1250, UndefinedBytesReadAsReplacementCharacter) {
  for (unsigned char b : {0x81, 0x83, 0x88, 0x90, 0x98}) {
    const std::string in = std::string("a") + static_cast<char>(b) + "b";
    EXPECT_EQ(solv::Cp1250ToUtf8(in), "a\xEF\xBF\xBD" "b") << "byte 0x" << std::hex << int(b);
  }
  // U+FFFD itself has no byte: it is written back as '?'.
  EXPECT_EQ(solv::Utf8ToCp1250("\xEF\xBF\xBD"), "?");
}

TEST(Cp1250, PolishLettersRoundTrip) {
  const std::string utf8 = "ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ Zażółć gęślą jaźń";
  const std::string bytes =
      "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF \xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF"
      " Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1";
  const std::string encoded = solv::Utf8ToCp1250(utf8);
  EXPECT_EQ(encoded, bytes);
  EXPECT_EQ(solv::Cp1250ToUtf8(encoded), utf8);
}

TEST(Cp1250, AsciiAndControlBytesPassUnchanged) {
  std::string all;
  for (int c = 0; c < 0x80; ++c) all += static_cast<char>(c);
  EXPECT_EQ(solv::Cp1250ToUtf8(all), all);
  EXPECT_EQ(solv::Utf8ToCp1250(all), all);
}

// Every input character that Windows-1250 cannot hold, well-formed or not,
// becomes '?' bytes between the untouched neighbours; no other byte appears.
struct UnmappableCase {
  const char* name;
  std::string utf8;
};
void PrintTo(const UnmappableCase& c, std::ostream* os) { *os << c.name; }

class Cp1250Unmappable : public ::testing::TestWithParam<UnmappableCase> {};

TEST_P(Cp1250Unmappable, BecomesQuestionMarks) {
  const std::string out = solv::Utf8ToCp1250("a" + GetParam().utf8 + "b");
  ASSERT_GE(out.size(), 3u);
  EXPECT_EQ(out.front(), 'a');
  EXPECT_EQ(out.back(), 'b');
  const std::string middle = out.substr(1, out.size() - 2);
  EXPECT_EQ(middle.find_first_not_of('?'), std::string::npos) << "got bytes: " << ::testing::PrintToString(middle);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Cp1250Unmappable,
    ::testing::Values(UnmappableCase{"LatinNotInTable", "\xC3\xB1"},          // n with tilde
                      UnmappableCase{"Cjk", "\xE6\x97\xA5"},                  // three bytes
                      UnmappableCase{"Emoji", "\xF0\x9F\x98\x80"},            // four bytes
                      UnmappableCase{"LoneContinuation", "\x80"},
                      UnmappableCase{"TruncatedSequence", "\xC5"},
                      UnmappableCase{"InvalidLead", "\xFF"},
                      UnmappableCase{"OverlongNewline", "\xC0\x8A"},          // would forge a line end
                      UnmappableCase{"OverlongBracket", "\xC1\x9B"},          // '['
                      UnmappableCase{"OverlongEquals3", "\xE0\x80\xBD"},      // '='
                      UnmappableCase{"OverlongPolish3", "\xE0\x84\x85"},      // U+0105 in three bytes
                      UnmappableCase{"Surrogate", "\xED\xA0\x80"},
                      UnmappableCase{"BeyondUnicode", "\xF4\x90\x80\x80"}),
    [](const auto& info) { return info.param.name; });

TEST(Cp1250, BadContinuationKeepsTheFollowingCharacter) {
  // The byte after a broken lead byte is decoded on its own.
  EXPECT_EQ(solv::Utf8ToCp1250("\xC5\x41\xC4\x85"), "?A\xB9");
}

// Files are Windows-1250, but a set written by hand in a UTF-8 editor (with or
// without the byte-order mark) is read as UTF-8; its characters that
// Windows-1250 cannot hold read as they will be written, as '?'.
TEST(FileText, DecodesWindows1250OrHandWrittenUtf8) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"ascii", "[MAIN]\r\nPIT=PIT37\r\n", "[MAIN]\r\nPIT=PIT37\r\n"},
      {"cp1250", "P11=\xA3\xF3\x64\x9F", "P11=Łódź"},
      {"utf8", "P11=Łódź", "P11=Łódź"},
      {"utf8 with mark", "\xEF\xBB\xBFP11=Łódź", "P11=Łódź"},
      {"utf8 outside the code page", "P11=Łódź 漢", "P11=Łódź ?"},
      // One byte that is not UTF-8 makes the whole file Windows-1250.
      {"mixed", "P11=Łódź\r\nP12=\xB3\xB9ka", "P11=Ĺ\uFFFDĂłdĹş\r\nP12=łąka"},
      // Windows-1250 that is valid UTF-8 by chance spells no letter of the code page.
      {"cp1250 that is UTF-8 by chance", "P11=SP\xD3\xA3KA", "P11=SPÓŁKA"},
      {"cp1250 upper-case pairs", "P11=\xCA\xA3 \xD3\xA3", "P11=ĘŁ ÓŁ"},
      {"utf8 without a letter of the code page", "P11=漢", "P11=ćĽ˘"},
  };
  for (const auto& c : cases) EXPECT_EQ(solv::DecodeFileText(c.bytes), c.text) << c.name;
}

}  // namespace
