// The page editor's input rules: which keys each edit type accepts, the date
// pattern, the tidying on leaving, and what a cell takes from the editor.
#include <gtest/gtest.h>

#include <string>

#include "shell/edit_filter.hpp"

namespace {

using namespace solv;

EditorState Editor(EditType type, std::string text = {}, int precision = 2) {
  EditorState s;
  s.type = type;
  s.text = std::move(text);
  s.precision = precision;
  s.caret = s.selStart = static_cast<int>(s.text.size());  // ASCII texts in these cases
  return s;
}

// Types the keys one by one at the caret; rejected keys change nothing.
EditorState TypeAll(EditorState s, std::u32string_view keys) {
  for (char32_t k : keys) s = TypeKey(s, k).state;
  return s;
}

TEST(EditFilter, TypedTextByEditType) {
  const struct {
    EditType type;
    const char* start;
    std::u32string keys;
    const char* expected;
  } cases[] = {
      {EditType::kvzFloat, "", U"1.5", "1,5"},
      {EditType::kvzFloat, "", U"1,5,", "1,5"},
      {EditType::kvzFloat, "", U"1,5.", "1,5"},
      {EditType::kvzFloat, "", U"1.2.3", "1,23"},
      {EditType::kvzFloat, "", U"12a -x", "12"},
      {EditType::kvzFloat, "", U"-5", "5"},
      {EditType::kvzFloat, "", U"12\b3", "13"},
      {EditType::kvzFloatMinus, "", U"-5", "-5"},
      {EditType::kvzFloatMinus, "", U"5-", "5"},
      {EditType::kvzFloatMinus, "", U"--5", "-5"},
      {EditType::kvzFloatANDNull, "", U"3.25", "3,25"},
      {EditType::kvzInteger, "", U"12-", "12-"},
      {EditType::kvzInteger, "", U"1,2.3 4a", "1234"},
      {EditType::kvzInteger, "", U"1#$%'", "1#$%'"},
      {EditType::kvzString, "", U"Ala ma", "Ala ma"},
      {EditType::kvzFloatORString, "ab", U".", "ab."},      // not a number: a string
      {EditType::kvzFloatORString, "12", U",5.", "12,5"},   // a number stays one
      {EditType::kvzFloatORString, "12", U"x", "12x"},      // a key outside AdmitKey makes it a string
      {EditType::kvzString, "abc", U"\x1b" U"d", "d"},      // Escape: back to the box's value (empty here)
  };
  for (const auto& c : cases) {
    const EditorState s = TypeAll(Editor(c.type, c.start), c.keys);
    EXPECT_EQ(s.text, c.expected) << "type " << static_cast<int>(c.type) << " start '" << c.start << "'";
    EXPECT_EQ(s.type, c.type) << "the type returns to its own after each key";
  }
}

// A separator typed before exactly three digits at the end grouped
// thousands when a second one follows; otherwise the second one is refused.
TEST(EditFilter, ASecondSeparatorAfterAThousandsGroupIsTheDecimalComma) {
  const struct {
    EditType type;
    std::u32string keys;
    const char* expected;
  } cases[] = {
      {EditType::kvzFloatMinus, U"1.234,56", "1234,56"},
      {EditType::kvzFloatMinus, U"1,234.56", "1234,56"},
      {EditType::kvzFloat, U"12.345,5", "12345,5"},
      {EditType::kvzFloatMinus, U"-1.234,56", "-1234,56"},
      {EditType::kvzFloatMinus, U"1.234.567,89", "1234567,89"},  // the second group too
      {EditType::kvzFloat, U"1.23,4", "1,234"},                  // two digits: a decimal comma, the second refused
      {EditType::kvzFloat, U"1.2345,6", "1,23456"},
      {EditType::kvzFloat, U".234,5", "0,2345"},                  // no group of thousands starts with 0
  };
  for (const auto& c : cases) {
    EditorState s = Editor(c.type);
    for (char32_t k : c.keys) {
      // A refused key leaves everything as it was; ".234" starts with "0,".
      if (s.text.empty() && k == U'.') s = TypeKey(s, U'0').state;
      s = TypeKey(s, k).state;
    }
    EXPECT_EQ(s.text, c.expected) << std::string(c.keys.begin(), c.keys.end());
  }
  // Not at the end of the text: refused.
  EditorState inside = Editor(EditType::kvzFloat, "1,234");
  inside.caret = inside.selStart = 2;
  const KeyResult r = TypeKey(inside, U',');
  EXPECT_FALSE(r.accepted);
  EXPECT_EQ(r.state.text, "1,234");
}

// A refused key changes nothing, not even the selection (a key typed next
// still replaces it), and says why; a blank between digit groups is left
// out without a word.
TEST(EditFilter, RefusedKeysSayWhyAndKeepTheSelection) {
  const struct {
    EditType type;
    char32_t key;
    bool says;
  } cases[] = {
      {EditType::kvzFloat, U'-', true},      {EditType::kvzFloat, U'a', true},
      {EditType::kvzFloat, U',', true},      {EditType::kvzFloatMinus, U'x', true},
      {EditType::kvzInteger, U',', true},    {EditType::kvzInteger, U'z', true},
      {EditType::kvzFloat, U' ', false},     {EditType::kvzInteger, U' ', false},
  };
  for (const auto& c : cases) {
    EditorState s = Editor(c.type, "0,00");
    s.selStart = 0;
    s.selLength = 4;
    s.caret = 4;
    const KeyResult r = TypeKey(s, c.key);
    if (c.type == EditType::kvzFloat && c.key == U',') {
      EXPECT_FALSE(r.accepted) << "the text holds a comma";
    } else {
      EXPECT_FALSE(r.accepted) << static_cast<uint32_t>(c.key);
    }
    EXPECT_EQ(r.state.text, "0,00");
    EXPECT_EQ(r.state.selStart, 0);
    EXPECT_EQ(r.state.selLength, 4);
    EXPECT_EQ(r.state.caret, 4);
    EXPECT_EQ(!r.refusal.empty(), c.says) << static_cast<uint32_t>(c.key) << " '" << r.refusal << "'";
  }
  // "-500" over a selected "0,00" in a money box: the minus stays at the
  // start, the digits follow it; never "0,00500".
  EditorState money = Editor(EditTypeOf(CellKind::Money), "0,00");
  money.selStart = 0;
  money.selLength = 4;
  EXPECT_EQ(TypeAll(money, U"-500").text, "-500");
  EditorState plain = Editor(EditType::kvzFloat, "0,00");
  plain.selStart = 0;
  plain.selLength = 4;
  EXPECT_EQ(TypeAll(plain, U"-500").text, "500");
}

TEST(EditFilter, EscapeCancelsTheEditAndRestoresTheBoxValue) {
  EditorState s = Editor(EditType::kvzFloatMinus, "123");
  s.original = "500,00";
  const KeyResult r = TypeKey(s, kKeyEscape);
  EXPECT_TRUE(r.cancel);
  EXPECT_EQ(r.state.text, "500,00");
  EXPECT_EQ(r.state.caret, 6);
  EXPECT_FALSE(TypeKey(s, U'4').cancel);
}

// Pasted text: one amount, all or nothing.
TEST(EditFilter, PastedAmountsAreTakenWholeOrRefusedWithTheReason) {
  const struct {
    EditType type;
    const char* start;  // all of it selected
    std::u32string pasted;
    const char* expected;  // nullptr: refused, the text stays start
  } cases[] = {
      {EditType::kvzFloatMinus, "0,00", U"1.234,56", "1234,56"},
      {EditType::kvzFloatMinus, "0,00", U"1,234.56", "1234,56"},
      {EditType::kvzFloatMinus, "0,00", U"1 234,56", "1234,56"},
      {EditType::kvzFloatMinus, "0,00", U"1 234,56 zł", "1234,56"},
      {EditType::kvzFloatMinus, "0,00", U" 1.234.567 ", "1234567"},
      {EditType::kvzFloatMinus, "0,00", U"12.5", "12,5"},
      {EditType::kvzFloatMinus, "0,00", U"-500", "-500"},
      {EditType::kvzFloatMinus, "0,00", U"1234\r\n", "1234"},
      {EditType::kvzFloatMinus, "0,00", U"1.234", nullptr},     // thousands or grosz: unknown
      {EditType::kvzFloatMinus, "0,00", U"1,234", nullptr},
      {EditType::kvzFloatMinus, "0,00", U"1234,567", nullptr},  // three decimals
      {EditType::kvzFloatMinus, "0,00", U"12,3,4", nullptr},
      {EditType::kvzFloatMinus, "0,00", U"1.23.456", nullptr},  // not groups of three
      {EditType::kvzFloatMinus, "0,00", U"12abc", nullptr},
      {EditType::kvzFloatMinus, "0,00", U"5-", nullptr},
      {EditType::kvzFloat, "0,00", U"-500", nullptr},           // no minus in this box
      {EditType::kvzInteger, "0", U"1.234", "1234"},
      {EditType::kvzInteger, "0", U"-12", "-12"},
      {EditType::kvzInteger, "0", U"12,5", nullptr},
      {EditType::kvzString, "", U"Ala\r\nma", "Alama"},
  };
  for (const auto& c : cases) {
    EditorState s = Editor(c.type, c.start);
    s.selStart = 0;
    s.selLength = static_cast<int>(s.text.size());
    const KeyResult r = InsertText(s, c.pasted);
    const std::string what(c.pasted.begin(), c.pasted.end());
    if (c.expected) {
      EXPECT_TRUE(r.accepted) << what << ": " << r.refusal;
      EXPECT_EQ(r.state.text, c.expected) << what;
    } else {
      EXPECT_FALSE(r.accepted) << what << " gave " << r.state.text;
      EXPECT_EQ(r.state.text, c.start) << what;
      EXPECT_FALSE(r.refusal.empty()) << what;
    }
  }
  // Into a text that holds a comma, a pasted decimal part is refused whole.
  EditorState holding = Editor(EditType::kvzFloatMinus, "12,5");
  EXPECT_FALSE(InsertText(holding, U"3,4").accepted);
  EXPECT_EQ(InsertText(holding, U"34").state.text, "12,534");
}

// What the leaving editor refuses rather than store another number.
TEST(EditFilter, EntriesThatWouldBecomeAnotherNumberAreRefused) {
  const struct {
    CellKind kind;
    const char* text;
    bool refused;
  } cases[] = {
      {CellKind::Money, "1234,5", false},     {CellKind::Money, "", false},
      {CellKind::Money, "0,00500", true},     {CellKind::Money, "1,234", true},
      {CellKind::Money, "-500", true},        {CellKind::Money, "2500000000", true},
      {CellKind::Money, "1999999999,99", false}, {CellKind::Integer, "-12", false},
      {CellKind::Integer, "2500000000", true}, {CellKind::Integer, "12#", false},  // a conversion error instead
      {CellKind::Text, "-500", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(!EntryRefusal(c.kind, c.text).empty(), c.refused) << c.text;
}

TEST(EditFilter, BlankIsRejectedForEveryTypeButString) {
  for (EditType t : {EditType::kvzInteger, EditType::kvzFloat, EditType::kvzFloatMinus, EditType::kvzFloatANDNull,
                     EditType::kvzDate}) {
    const KeyResult r = TypeKey(Editor(t, "1"), U' ');
    EXPECT_FALSE(r.accepted) << static_cast<int>(t);
    EXPECT_EQ(r.state.text, "1");
  }
  EXPECT_TRUE(TypeKey(Editor(EditType::kvzString, "1"), U' ').accepted);
}

TEST(EditFilter, MinusOnlyAtTheStartOrOverTheWholeSelection) {
  EditorState s = Editor(EditType::kvzFloatMinus, "25");
  s.caret = s.selStart = 0;
  KeyResult r = TypeKey(s, U'-');
  EXPECT_TRUE(r.accepted);
  EXPECT_EQ(r.state.text, "-25");
  EXPECT_EQ(r.state.caret, 1);

  s.caret = 1;
  s.selStart = 1;
  EXPECT_FALSE(TypeKey(s, U'-').accepted) << "inside the text";

  s.selStart = 0;
  s.selLength = 2;
  s.caret = 2;
  r = TypeKey(s, U'-');
  EXPECT_TRUE(r.accepted) << "whole text selected";
  EXPECT_EQ(r.state.text, "-");

  EditorState negative = Editor(EditType::kvzFloatMinus, "-25");
  negative.caret = negative.selStart = 0;
  EXPECT_FALSE(TypeKey(negative, U'-').accepted) << "already negative";
}

TEST(EditFilter, TabCharacterMovesOnAndIsSwallowed) {
  const KeyResult r = TypeKey(Editor(EditType::kvzString, "ab"), kKeyTab);
  EXPECT_FALSE(r.accepted);
  EXPECT_TRUE(r.focusNext);
  EXPECT_EQ(r.state.text, "ab");
}

TEST(EditFilter, EnterIsAcceptedAndInsertsNothing) {
  const KeyResult r = TypeKey(Editor(EditType::kvzFloat, "12"), kKeyEnter);
  EXPECT_TRUE(r.accepted);
  EXPECT_EQ(r.state.text, "12");
}

TEST(EditFilter, SelectionIsReplacedByTheTypedKey) {
  EditorState s = Editor(EditType::kvzString, "abcdef");
  s.selStart = 1;
  s.selLength = 3;
  KeyResult r = TypeKey(s, U'X');
  EXPECT_EQ(r.state.text, "aXef");
  EXPECT_EQ(r.state.caret, 2);
  r = TypeKey(s, kKeyBackspace);
  EXPECT_EQ(r.state.text, "aef");
  EXPECT_EQ(r.state.caret, 1);
}

TEST(EditFilter, UpperCaseAndFirstUpp) {
  EditorState s = Editor(EditType::kvzString);
  s.upperCase = true;
  EXPECT_EQ(TypeAll(s, U"kraków żółć 1a").text, "KRAKÓW ŻÓŁĆ 1A");

  EditorState f = Editor(EditType::kvzString);
  f.firstUpp = true;
  EXPECT_EQ(TypeAll(f, U"łódź").text, "Łódź");
  EditorState notEmpty = Editor(EditType::kvzString, "x");
  notEmpty.firstUpp = true;
  EXPECT_EQ(TypeAll(notEmpty, U"a").text, "xa") << "only into an empty box";
}

TEST(EditFilter, CaretCountsCharactersOfUtf8Text) {
  EditorState s = Editor(EditType::kvzString, "ąę");
  s.caret = s.selStart = 1;
  const KeyResult r = TypeKey(s, U'x');
  EXPECT_EQ(r.state.text, "ąxę");
  EXPECT_EQ(r.state.caret, 2);
  EXPECT_EQ(TypeKey(r.state, kKeyBackspace).state.text, "ąę");
}

TEST(EditFilter, DatePattern) {
  const struct {
    const char* start;
    int caret;
    std::u32string keys;
    const char* expected;
    int expectedCaret;
  } cases[] = {
      {"", 0, U"01022010", "01-02-2010", 10},          // separators put in by the caret
      {"", 0, U"01-02-2010", "01-02-2010", 10},        // or typed
      {"", 0, U"01/02", "01-02", 5},                   // a wrong separator is rejected
      {"", 0, U"010220101", "01-02-2010", 10},         // never beyond 10 characters
      {"", 0, U"0a1", "01", 2},                        // digits only
      {"01-02-2010", 0, U"1", "11-02-2010", 1},         // overwrite at the caret
      {"01-02-2010", 2, U"5", "01-52-2010", 4},         // the caret skips the separator
      {"01-02-2010", 4, U"37", "01-03-7010", 7},
      {"01-02-2010", 10, U"9", "01-02-2010", 10},
  };
  for (const auto& c : cases) {
    EditorState s = Editor(EditType::kvzDate, c.start, 0);
    s.caret = s.selStart = c.caret;
    s = TypeAll(s, c.keys);
    EXPECT_EQ(s.text, c.expected) << c.start << " @" << c.caret;
    EXPECT_EQ(s.caret, c.expectedCaret) << c.start << " @" << c.caret;
  }
}

TEST(EditFilter, LeaveText) {
  const struct {
    EditType type;
    int precision;
    const char* text;
    const char* expected;
  } cases[] = {
      {EditType::kvzFloat, 2, "1234,5", "1234,50"},
      {EditType::kvzFloat, 2, "", "0,00"},
      {EditType::kvzFloat, 2, "  7 ", "7,00"},
      {EditType::kvzFloat, 2, "1,2,3", "0,00"},
      {EditType::kvzFloat, 2, "12-", "-12,00"},
      {EditType::kvzFloat, 2, "2,675", "2,68"},   // single rounding, half away from zero
      {EditType::kvzFloat, 2, "-0,004", "0,00"},
      {EditType::kvzFloat, 0, "1,5", "1,5"},       // precision 0: not rewritten
      {EditType::kvzFloatMinus, 2, "-3", "-3,00"},
      {EditType::kvzFloatANDNull, 2, "", ""},
      {EditType::kvzFloatANDNull, 2, " ", ""},
      {EditType::kvzFloatANDNull, 2, "5", "5,00"},
      {EditType::kvzInteger, 0, " 12 ", "12"},
      {EditType::kvzInteger, 0, "12-", "-12"},
      {EditType::kvzInteger, 0, "1-2", "-12"},
      {EditType::kvzInteger, 0, "", ""},
      {EditType::kvzString, 0, " Nowa-Wieś ", "Nowa-Wieś"},
      {EditType::kvzDate, 0, "01-02-2010", "01-02-2010"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LeaveText(c.type, c.precision, c.text), c.expected)
        << static_cast<int>(c.type) << " '" << c.text << "'";
  EXPECT_EQ(EnterText("  ab c "), "ab c");
}

TEST(EditFilter, CellTextAfterEdit) {
  const struct {
    CellKind kind;
    const char* text;
    const char* noValue;
    const char* expected;
  } cases[] = {
      {CellKind::Money, "1234,50", "0,00", "1234,50"},
      {CellKind::Money, "2500000000,00", "0,00", "0,00"},
      {CellKind::Money, "2000000000,10", "0,00", "0,00"},  // strictly inside the range
      {CellKind::Money, "2000000000,09", "0,00", "2000000000,09"},
      {CellKind::Money, "-2000000000,00", "0,00", "-2000000000,00"},
      {CellKind::Money, "-2000000000,10", "0,00", "0,00"},
      {CellKind::Integer, "", "0", "0"},
      {CellKind::Integer, "   ", "", ""},
      {CellKind::Integer, "-12", "0", "-12"},
      {CellKind::Text, "  ab ", "x", "  ab "},
      {CellKind::Text, "", "x", ""},
  };
  for (const auto& c : cases) {
    const CellEditResult r = CellTextAfterEdit(c.kind, c.text, c.noValue);
    EXPECT_TRUE(r.valid) << c.text;
    EXPECT_EQ(r.text, c.expected) << static_cast<int>(c.kind) << " '" << c.text << "'";
  }
}

TEST(EditFilter, IntegerWithSymbolsIsAConversionErrorNotACrash) {
  for (const char* text : {"12#", "$5", "1%", "1'000", "1-2-3"}) {
    const std::string left = LeaveText(EditType::kvzInteger, 0, text);
    const CellEditResult r = CellTextAfterEdit(CellKind::Integer, left, "0");
    EXPECT_FALSE(r.valid) << text;
    EXPECT_EQ(r.error, "'" + left + "' is not a valid floating point value");
  }
}

// The editor's leaving and the cell's rule together, as a money or integer
// cell sees them.
TEST(EditFilter, LeavingMoneyAndIntegerCells) {
  const struct {
    CellKind kind;
    const char* typed;
    const char* noValue;
    const char* stored;
  } cases[] = {
      {CellKind::Money, "1234,5", "0,00", "1234,50"},
      {CellKind::Money, "", "0,00", "0,00"},  // the editor formats the empty text
      {CellKind::Money, "2500000000", "0,00", "0,00"},
      {CellKind::Integer, "", "0", "0"},
      {CellKind::Integer, "", "", ""},
      {CellKind::Integer, "2500000000", "0", "0"},
      {CellKind::Integer, "7-", "0", "-7"},
  };
  for (const auto& c : cases) {
    const std::string left = LeaveText(EditTypeOf(c.kind), EditPrecisionOf(c.kind), c.typed);
    EXPECT_EQ(CellTextAfterEdit(c.kind, left, c.noValue).text, c.stored) << c.typed;
  }
}

}  // namespace
