#include "report/component_text.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using solv::ComponentNode;
using solv::ComponentTextError;
using namespace std::string_literals;

::testing::AssertionResult SameTree(const ComponentNode& a, const ComponentNode& b) {
  if (a.name != b.name || a.className != b.className)
    return ::testing::AssertionFailure() << a.name << ": " << a.className << " vs " << b.name << ": " << b.className;
  if (a.properties != b.properties) return ::testing::AssertionFailure() << "properties of " << a.name << " differ";
  if (a.children.size() != b.children.size())
    return ::testing::AssertionFailure() << "children of " << a.name << " differ in number";
  for (size_t i = 0; i < a.children.size(); ++i)
    if (auto r = SameTree(a.children[i], b.children[i]); !r) return r;
  return ::testing::AssertionSuccess();
}

// ---- Value syntax ----

TEST(QuoteText, WritesPrintableAsciiQuotedAndOtherCharactersAsCodePoints) {
  const struct {
    std::string utf8, quoted;
  } cases[] = {
      {"", "''"},
      {"Kliknij", "'Kliknij'"},
      {"Zakład", "'Zak'#322'ad'"},
      {"it's", "'it''s'"},
      {"'", "''''"},
      {"ą", "#261"},
      {"Łódź", "#321#243'd'#378"},
      {"a\tb", "'a'#9'b'"},
      {"#1", "'#1'"},
      {"1 234,00", "'1 234,00'"},
      {"\xF0\x9F\x98\x80", "#128512"},
      {"a\xFF" "b", "'a'#65533'b'"},      // malformed UTF-8
      {"\xC0\x80", "#65533#65533"},       // overlong
      {"\xED\xA0\x80", "#65533#65533#65533"},  // surrogate
  };
  for (const auto& c : cases) EXPECT_EQ(solv::QuoteText(c.utf8), c.quoted) << c.utf8;
}

TEST(QuoteText, RoundTripsThroughUnquoteText) {
  for (std::string s : {"", "Zażółć gęślą jaźń", "ZAŻÓŁĆ GĘŚLĄ JAŹŃ", "'''", "#322", "a''b", "\x01\x1F\x7F",
                        "Błąd: Plik jest uszkodzony", "€ – „cudzysłów”"}) {
    const auto back = solv::UnquoteText(solv::QuoteText(s));
    ASSERT_TRUE(back.has_value()) << s;
    EXPECT_EQ(*back, s);
  }
}

TEST(UnquoteText, ReadsRunsOfQuotedTextAndCodePoints) {
  const struct {
    std::string value, utf8;
  } cases[] = {
      {"''", ""},
      {"''''", "'"},
      {"'Zak'#322'ad'", "Zakład"},
      {"#65#66'C'", "ABC"},
      {"#0065", "A"},
      {"#1114111", "\xF4\x8F\xBF\xBF"},
      {"'a''''b'", "a''b"},
      {"'Łódź'", "Łódź"},  // UTF-8 inside quotes is taken as it stands
  };
  for (const auto& c : cases) {
    const auto text = solv::UnquoteText(c.value);
    ASSERT_TRUE(text.has_value()) << c.value;
    EXPECT_EQ(*text, c.utf8) << c.value;
  }
}

TEST(UnquoteText, AnswersNothingForOtherValues) {
  for (std::string v : {"", "abc", "12", "[fsBold]", "'abc", "'a''", "'a' ", " 'a'", "'a' 'b'", "'a'+'b'",
                        "'a' +", "#", "#x", "'a'#", "#1114112", "#55296", "#99999999999999999999",
                        "'a\x01'", "'a\nb'", "'\xC5'", "'\xFF'"})
    EXPECT_FALSE(solv::UnquoteText(v).has_value()) << v;
}

TEST(IntValue, WritesAndParsesIntegers) {
  for (long long v : {0LL, 1LL, -16LL, 1164LL, 14145495LL, static_cast<long long>(INT64_MAX), static_cast<long long>(INT64_MIN)}) {
    EXPECT_EQ(solv::ParseIntValue(solv::IntValue(v)), v);
  }
  EXPECT_EQ(solv::IntValue(-16), "-16");
  EXPECT_EQ(solv::ParseIntValue("-0"), 0);
  EXPECT_EQ(solv::ParseIntValue("007"), 7);
  for (std::string v : {"", "-", "+1", " 1", "1 ", "1.5", "1,5", "12a", "0x10", "--1",
                        "9223372036854775808", "-9223372036854775809", "'1'", "True"})
    EXPECT_FALSE(solv::ParseIntValue(v).has_value()) << v;
}

// ---- Writer and reader ----

ComponentNode SamplePage() {
  ComponentNode page{"PIT37a", "TPIT37a", {}, {}};
  page.properties = {{"Left", "0"},
                     {"Caption", solv::QuoteText("Formularz (1/3): PIT-37")},
                     {"Font.Height", "-16"},
                     {"Font.Style", "[fsBold, fsItalic]"},
                     {"Scaled", "False"},
                     {"Ratio", "1.5"}};
  ComponentNode band{"KVZBand1", "TKVZBand", {{"Height", "1121"}, {"Color", "clWhite"}, {"Style", "[]"}}, {}};
  band.children.push_back({"p1", "TKVZEditField",
                           {{"Caption", solv::QuoteText("Zakład 'Pod Dębem' #1")}, {"Hint", "'Kliknij'"}}, {}});
  band.children.push_back({"KVZLabel1", "TKVZLabel", {{"Caption", solv::QuoteText("ŻÓŁTY\tkoń")}}, {}});
  band.children.push_back({"KVZShape1", "TKVZShape", {}, {}});
  page.children.push_back(band);
  page.children.push_back({"pit37a", "TKVZReport", {{"ReportTitle", "'pit37a'"}}, {}});
  return page;
}

TEST(ComponentText, WritesOneLinePerItemIndentedTwoBlanksPerLevel) {
  ComponentNode root{"pit37a", "TKVZReport", {{"ReportTitle", "'pit37a'"}}, {}};
  root.children.push_back({"KVZBand1", "TKVZBand", {{"Top", "0"}}, {{"p5", "TKVZField", {}, {}}}});
  EXPECT_EQ(solv::WriteComponentText(root),
            "object pit37a: TKVZReport\n"
            "  ReportTitle = 'pit37a'\n"
            "  object KVZBand1: TKVZBand\n"
            "    Top = 0\n"
            "    object p5: TKVZField\n"
            "    end\n"
            "  end\n"
            "end\n");
}

TEST(ComponentText, RoundTripsATree) {
  const ComponentNode page = SamplePage();
  const std::string text = solv::WriteComponentText(page);
  for (unsigned char c : text) EXPECT_LT(c, 0x80) << "the text is pure ASCII";
  const ComponentNode back = solv::ReadComponentText(text);
  EXPECT_TRUE(SameTree(back, page));
  EXPECT_EQ(solv::UnquoteText(back.children[0].children[0].properties[0].second), "Zakład 'Pod Dębem' #1");
}

TEST(ComponentText, ReaderTakesOtherLineEndsIndentationAndBlankLines) {
  const ComponentNode expected{"a", "TA", {{"X", "1"}}, {{"b", "TB", {{"Y", "'y'"}}, {}}}};
  for (std::string text : {
           "object a: TA\r\n  X = 1\r\n  object b: TB\r\n    Y = 'y'\r\n  end\r\nend\r\n",
           "object a: TA\r X = 1\r object b: TB\r Y = 'y'\r end\rend",
           "\n\nobject   a :TA\n\tX=1\n\n\tobject b: TB\n\t\tY  =  'y'\t\n\tend\nend\n\n  \n",
       })
    EXPECT_TRUE(SameTree(solv::ReadComponentText(text), expected)) << text;
}

TEST(ComponentText, ReaderJoinsContinuedTexts) {
  const ComponentNode node = solv::ReadComponentText(
      "object a: TA\n"
      "  Hint = 'Zak'#322'ad, kt' +\n"
      "    '''ry' +\n"
      "    #243'w'\n"
      "  Tag = 1\n"
      "end\n");
  ASSERT_EQ(node.properties.size(), 2u);
  EXPECT_EQ(node.properties[0].first, "Hint");
  EXPECT_EQ(node.properties[0].second, solv::QuoteText("Zakład, kt'ryów"));
  EXPECT_EQ(node.properties[1].second, "1");
}

TEST(ComponentText, NestingIsCappedAt64Levels) {
  auto nested = [](int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "object o" + std::to_string(i) + ": T\n";
    for (int i = 0; i < depth; ++i) text += "end\n";
    return text;
  };
  EXPECT_NO_THROW(solv::ReadComponentText(nested(64)));
  try {
    solv::ReadComponentText(nested(65));
    FAIL() << "65 levels read";
  } catch (const ComponentTextError& e) {
    EXPECT_EQ(e.line(), 65);
  }
  // A very deep text must fail at the cap, not exhaust the stack.
  EXPECT_THROW(solv::ReadComponentText(nested(200000)), ComponentTextError);

  ComponentNode deep{"o", "T", {}, {}};
  for (int i = 0; i < 64; ++i) deep = ComponentNode{"o", "T", {}, {deep}};
  EXPECT_THROW(solv::WriteComponentText(deep), ComponentTextError);
}

TEST(ComponentText, MalformedTextIsRejectedWithItsLine) {
  const struct {
    std::string text;
    int line;
  } cases[] = {
      {"", 1},
      {"  \n\n", 2},
      {"end\n", 1},
      {"X = 1\n", 1},
      {"object a: TA\n", 1},
      {"object a: TA\n  object b: TB\n  end\n", 3},
      {"object a: TA\n  junk\nend\n", 2},
      {"object a: TA\n  = 1\nend\n", 2},
      {"object a: TA\n  X Y = 1\nend\n", 2},
      {"object a: TA\n  .X = 1\nend\n", 2},
      {"object a: TA\n  X. = 1\nend\n", 2},
      {"object a: TA\n  X =\nend\n", 2},
      {"object a: TA\n  X = 'abc\nend\n", 2},
      {"object a: TA\n  X = 'abc''\nend\n", 2},
      {"object a: TA\n  X = 'a' 'b'\nend\n", 2},
      {"object a: TA\n  X = 'a'b\nend\n", 2},
      {"object a: TA\n  X = #\nend\n", 2},
      {"object a: TA\n  X = 'a'#\nend\n", 2},
      {"object a: TA\n  X = #x\nend\n", 2},
      {"object a: TA\n  X = #1114112\nend\n", 2},
      {"object a: TA\n  X = #56320\nend\n", 2},
      {"object a: TA\n  X = 'a\x01'\nend\n", 2},
      {"object a: TA\n  X = 'a\xFF'\nend\n", 2},
      {"object a: TA\n  X = --1\nend\n", 2},
      {"object a: TA\n  X = 1-\nend\n", 2},
      {"object a: TA\n  X = 1.\nend\n", 2},
      {"object a: TA\n  X = .5\nend\n", 2},
      {"object a: TA\n  X = 1 2\nend\n", 2},
      {"object a: TA\n  X = True False\nend\n", 2},
      {"object a: TA\n  X = [a,]\nend\n", 2},
      {"object a: TA\n  X = [a b]\nend\n", 2},
      {"object a: TA\n  X = [a\nend\n", 2},
      {"object a: TA\n  X = [1]\nend\n", 2},
      {"object a: TA\n  X = (a)\nend\n", 2},
      {"object a: TA\n  X = 1 +\n  2\nend\n", 2},
      {"object a: TA\n  X = 'a' +\n", 2},
      {"object a: TA\n  X = 'a' +\n  Y = 1\nend\n", 3},
      {"object a: TA\n  X = 'a' +\n\n  'b'\nend\n", 3},
      {"object a: TA\n  X = 'a' +\n  'b' c\nend\n", 3},
      {"object a: TA\n  object b: TB\n  end\n  X = 1\nend\n", 4},
      {"object a TA\nend\n", 1},
      {"object : TA\nend\n", 1},
      {"object 1a: TA\nend\n", 1},
      {"object a: TA x\nend\n", 1},
      {"object a: T-A\nend\n", 1},
      {"object a:\nend\n", 1},
      {"Object a: TA\nEnd\n", 1},
      {"object a: TA\nEND\n", 2},
      {"object a: TA\n\0\nend\n"s, 2},
      {"object a: TA\nend\nfoo\n", 3},
      {"object a: TA\nend\nend\n", 3},
      {"object a: TA\nend\nobject b: TB\nend\n", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      solv::ReadComponentText(c.text);
      ADD_FAILURE() << "read without an error";
    } catch (const ComponentTextError& e) {
      EXPECT_EQ(e.line(), c.line) << e.what();
      EXPECT_EQ(std::string(e.what()).rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << e.what();
    }
  }
}

TEST(ComponentText, WriterRefusesATreeThatWouldNotReadBack) {
  const struct {
    ComponentNode node;
    const char* why;
  } cases[] = {
      {{"", "TA", {}, {}}, "empty name"},
      {{"a b", "TA", {}, {}}, "blank in name"},
      {{"a", "T:A", {}, {}}, "bad class"},
      {{"a", "TA", {{"", "1"}}, {}}, "empty property name"},
      {{"a", "TA", {{"X", ""}}, {}}, "empty value"},
      {{"a", "TA", {{"X", "Zakład"}}, {}}, "unquoted text"},
      {{"a", "TA", {{"X", "'abc"}}, {}}, "unterminated text"},
      {{"a", "TA", {{"X", "1\nend"}}, {}}, "line break"},
      {{"a", "TA", {{"X", " 5"}}, {}}, "leading blank"},
      {{"a", "TA", {{"X", "'a' +"}}, {}}, "continuation"},
      {{"a", "TA", {}, {{"b", "T B", {}, {}}}}, "bad class of a child"},
  };
  for (const auto& c : cases) EXPECT_THROW(solv::WriteComponentText(c.node), ComponentTextError) << c.why;
}

// Mutated and truncated texts either read or fail with ComponentTextError;
// whatever reads also writes and reads back to the same tree.
TEST(ComponentText, MutatedTextsReadOrFailCleanly) {
  const std::string base = solv::WriteComponentText(SamplePage()) +
                           "\n";  // a blank tail, so appended junk lands after the root
  const std::string alphabet = "'#+=:[], \n\r\t-.0123456789abcdeTXoj_\x01\xC5\x82\xFF";
  const std::vector<std::string> tokens = {"object ", "end", "\n", "'", "''", "#", "#322", " +\n", "[", "]",
                                           " = ", ": ", "\r\n"};
  uint32_t seed = 20100430;
  std::mt19937 rng(seed);
  auto pick = [&](size_t n) { return n == 0 ? 0 : static_cast<size_t>(rng() % n); };
  int parsed = 0;
  for (int iteration = 0; iteration < 4000; ++iteration) {
    std::string text = base;
    const int edits = 1 + static_cast<int>(pick(4));
    for (int e = 0; e < edits; ++e) {
      const size_t at = pick(text.size() + 1);
      switch (pick(6)) {
        case 0: text.resize(at); break;
        case 1: if (at < text.size()) text.erase(at, 1 + pick(8)); break;
        case 2: text.insert(at, 1, alphabet[pick(alphabet.size())]); break;
        case 3: text.insert(at, tokens[pick(tokens.size())]); break;
        case 4: if (at < text.size()) text[at] = alphabet[pick(alphabet.size())]; break;
        case 5: {
          const size_t from = pick(text.size());
          text.insert(at, text.substr(from, pick(40)));
          break;
        }
      }
    }
    SCOPED_TRACE(testing::Message() << "iteration " << iteration << ": " << text);
    try {
      const ComponentNode node = solv::ReadComponentText(text);
      ++parsed;
      EXPECT_TRUE(SameTree(solv::ReadComponentText(solv::WriteComponentText(node)), node));
    } catch (const ComponentTextError& e) {
      EXPECT_GE(e.line(), 1);
    }
    if (HasFailure()) break;
  }
  EXPECT_GT(parsed, 0) << "some harmless mutations must still read";
}

}  // namespace
