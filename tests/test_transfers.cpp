// Transfer rules between forms: the rule table and its notation, the
// conditions of the information rules, the PIT/ZG and PIT/B sources and the
// markers a page shows.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "report/page_definition.hpp"
#include "set_fixture.hpp"
#include "shell/transfers.hpp"

namespace {

using namespace solv;

TEST(TransferRules, EveryRuleParses) {
  for (const TransferRuleText& t : TransferRuleTexts()) EXPECT_TRUE(ParseTransferRule(t.text, t.group)) << t.text;
  EXPECT_EQ(TransferRules().size(), TransferRuleTexts().size());
}

// A typing error in a rule would leave it silently dead: every target box
// is a cell of its page, and information rules only point at boxes of it.
TEST(TransferRules, EveryTargetIsACellOfItsPage) {
  for (const TransferRule& r : TransferRules()) {
    const PageDefinition* page = FindPage(r.targetPage.substr(0, r.targetPage.find('_')));
    ASSERT_NE(page, nullptr) << r.text;
    bool found = false;
    for (const CellInfo& c : page->cells) found = found || c.name == "p" + r.targetBox.substr(1);
    EXPECT_TRUE(found) << r.text;
  }
}

TEST(TransferRules, ParsedFields) {
  auto plain = ParseTransferRule("Przeniesienie|PIT37b#P99#PITOa#P28##Kwota %s wynosi %s", 3);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->kind, TransferKind::Transfer);
  EXPECT_EQ(plain->targetPage, "PIT37b");
  EXPECT_EQ(plain->targetBox, "P99");
  EXPECT_EQ(plain->source, "PITOa");
  EXPECT_EQ(plain->sourceBox, "P28");
  EXPECT_EQ(plain->operation, "");
  EXPECT_EQ(plain->message, "Kwota %s wynosi %s");

  auto sum = ParseTransferRule("Przeniesienie|PIT28a#P44#PIT28Aa#P17#+#PIT28Ba#P98##A %s %s#B %s %s", 0);
  ASSERT_TRUE(sum);
  EXPECT_EQ(sum->operation, "+");
  EXPECT_EQ(sum->secondSource, "PIT28Ba");
  EXPECT_EQ(sum->secondSourceBox, "P98");
  EXPECT_EQ(sum->secondMessage, "B %s %s");

  auto info = ParseTransferRule("Informacja|PIT28b#P74#[P73*P51/100>P37]##W %.2f", 0);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->kind, TransferKind::Information);
  EXPECT_EQ(info->condition, "[P73*P51/100>P37]");
}

TEST(TransferRules, MalformedTextsDoNotParse) {
  const char* bad[] = {
      "",
      "Przeniesienie",
      "Kopia|PIT37b#P99#PITOa#P28##M %s %s",
      "Przeniesienie|PIT37b#P99#PITOa#P28",
      "Przeniesienie|PIT37b#P99#PITOa##M %s %s",
      "Przeniesienie|PIT37b#99#PITOa#P28##M %s %s",
      "Przeniesienie|PIT37b#P99#PITOa#P28#-#PITDa#P1##M %s %s",
      "Przeniesienie|PIT37b#P99#PITOa#P28#+#PITDa#P1##M %s %s",
      "Przeniesienie|PIT37b#P99#PITOa#P28##",
      "Informacja|PIT28b#P74#P73>P37##W %.2f",
      "Informacja|PIT28b#P74#[P73>P37]##bez wartości",
  };
  for (const char* text : bad) EXPECT_FALSE(ParseTransferRule(text, 0)) << text;
}

TEST(TransferRules, TargetInstance) {
  EXPECT_EQ(TargetInstanceOf("PIT37b"), "PIT37a");
  EXPECT_EQ(TargetInstanceOf("PIT36Lb"), "PIT36La");
  EXPECT_EQ(TargetInstanceOf("PITZb_M"), "PITZa_M");
  EXPECT_EQ(BoxNumber("P10a"), "10a");
}

struct ConditionCase {
  const char* condition;
  std::map<std::string, double> boxes;
  bool holds;
  const char* value;
};

TEST(TransferConditions, Table) {
  const ConditionCase cases[] = {
      {"[P73*P51/100>P37]", {{"P73", 1000}, {"P51", 50}, {"P37", 400}}, true, "500,00"},
      {"[P73*P51/100>P37]", {{"P73", 1000}, {"P51", 50}, {"P37", 600}}, false, ""},
      {"[P73*P51/100>P37]", {{"P73", 1000}, {"P51", 50}, {"P37", 500}}, false, ""},
      {"[P73*P51/100>=P37]", {{"P73", 1000}, {"P51", 50}, {"P37", 500}}, true, "500,00"},
      {"[P1<P2]", {{"P1", 1}, {"P2", 2.5}}, true, "2,50"},
      {"[P1<=P2]", {{"P1", 2.5}, {"P2", 2.5}}, true, "2,50"},
      {"[P1=P2]", {{"P1", 3}, {"P2", 3}}, true, "3,00"},
      // Strictly left to right: (2 + 3) * 4.
      {"[2+3*4>19]", {}, true, "20,00"},
      // Rounded after each step: 1/3 -> 0,33, * 3 -> 0,99.
      {"[1/3*3<1]", {}, true, "1,00"},
      {"[1/3*3=0+99/100]", {}, true, "0,99"},
      // An unknown operator makes its step 0.
      {"[5-3+1=1]", {}, true, "1,00"},
      // Boxes that are not filled count 0.
      {"[P9+1>0]", {}, true, "1,00"},
      // Malformed: no brackets, no operator, empty sides, stray text,
      // division by zero, huge values.
      {"P1>0", {{"P1", 5}}, false, ""},
      {"[P1]", {{"P1", 5}}, false, ""},
      {"[>1]", {}, false, ""},
      {"[1>]", {}, false, ""},
      {"[]", {}, false, ""},
      {"[", {}, false, ""},
      {"[P>1]", {}, false, ""},
      {"[PX1>0]", {}, false, ""},
      {"[1 2>0]", {}, false, ""},
      {"[1**2>0]", {}, false, ""},
      {"[5/P1>0]", {{"P1", 0}}, false, ""},
      {"[99999999999999999999>1]", {}, false, ""},
      {"[P1*P1*P1>1]", {{"P1", 1e10}}, false, ""},
  };
  for (const ConditionCase& c : cases) {
    const ConditionResult r = EvaluateCondition(c.condition, [&](std::string_view box) {
      auto it = c.boxes.find(std::string(box));
      return it == c.boxes.end() ? 0.0 : it->second;
    });
    EXPECT_EQ(r.holds, c.holds) << c.condition;
    EXPECT_EQ(r.value, c.value) << c.condition;
  }
}

class TransferMarkersTest : public SetFixture {
 protected:
  std::vector<TransferMarker> Markers(const char* instance, const char* pageClass) {
    return MarkersFor(instance, pageClass);
  }
  static const TransferMarker* Find(const std::vector<TransferMarker>& ms, std::string_view box) {
    for (const TransferMarker& m : ms)
      if (m.targetBox == box) return &m;
    return nullptr;
  }
  // A pointer into a temporary list would dangle.
  static const TransferMarker* Find(std::vector<TransferMarker>&&, std::string_view) = delete;
};

TEST_F(TransferMarkersTest, PitOAmountOnPit37) {
  WriteSet("[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np1=111\n[PITOa]\nP28=150,00\nP29=0,00\n");
  const auto ms = Markers("PIT37a", "TPIT37b");
  ASSERT_EQ(ms.size(), 1u);
  const TransferMarker& m = ms[0];
  EXPECT_EQ(m.targetInstance, "PIT37a");
  EXPECT_EQ(m.targetBox, "P99");
  EXPECT_EQ(m.cellName, "p99");
  EXPECT_FALSE(m.information);
  EXPECT_EQ(m.value, "150,00");
  EXPECT_EQ(m.title, "Przenieś (kliknij)");
  EXPECT_EQ(m.text, "Kwota wykazana w załączniku PIT/O poz.28 wynosi 150,00");
  EXPECT_EQ(m.hint, "Przeniesienie|PIT37b#P99#PITOa#P28##Kwota wykazana w załączniku PIT/O poz.%s wynosi %s");
  EXPECT_EQ(PendingTransferText(m), "PIT37a#P99#150,00#");
  auto pending = ParsePendingTransfer(PendingTransferText(m));
  ASSERT_TRUE(pending);
  EXPECT_EQ(pending->instance, "PIT37a");
  EXPECT_EQ(pending->box, "P99");
  EXPECT_EQ(pending->value, "150,00");
  // Other pages of the form, other forms and copies show none of it.
  EXPECT_TRUE(Markers("PIT37a", "TPIT37c").empty());
  EXPECT_TRUE(Markers("PITBa_1", "TPITBa").empty());
  EXPECT_TRUE(Markers("PIT37a", "TNOPAGE").empty());
}

TEST_F(TransferMarkersTest, NoMarkerForZero) {
  WriteSet("[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\n[PITOa]\nP28=0,00\n");
  EXPECT_TRUE(Markers("PIT37a", "TPIT37b").empty());
}

TEST_F(TransferMarkersTest, GreaterThanZeroUsesTheSecondSource) {
  WriteSet("[MAIN]\nPIT=PIT28\nVER=10\n[PIT28a]\n[PITDa]\nP33=10,00\nP35=20,00\nP43=7,00\n");
  const auto ms = Markers("PIT28a", "TPIT28b");
  const TransferMarker* p68 = Find(ms, "P68");
  ASSERT_NE(p68, nullptr);
  EXPECT_EQ(p68->value, "20,00");
  EXPECT_EQ(p68->text, "Kwota wykazana w załączniku PIT/D poz.35 wynosi 20,00");
  // With only the first source filled, the first one.
  const TransferMarker* p70 = Find(ms, "P70");
  ASSERT_NE(p70, nullptr);
  EXPECT_EQ(p70->value, "7,00");
  EXPECT_EQ(p70->text, "Kwota wykazana w załączniku PIT/D poz.43 wynosi 7,00");
}

TEST_F(TransferMarkersTest, SumOfTwoSources) {
  WriteSet("[MAIN]\nPIT=PIT28\nVER=10\n[PIT28a]\n[PIT28Aa]\nP17=100,00\nP18=5,00\n[PIT28Ba]\nP98=50,00\n");
  const auto ms = Markers("PIT28a", "TPIT28a");
  const TransferMarker* p44 = Find(ms, "P44");
  ASSERT_NE(p44, nullptr);
  EXPECT_EQ(p44->value, "150,00");
  EXPECT_EQ(p44->text,
            "Kwota wykazana w załączniku PIT-28/A poz.17 wynosi 100,00\n"
            "Kwota wykazana w załączniku PIT-28/B poz.98 wynosi 50,00\n"
            "Suma kwot wynosi 150,00");
  const TransferMarker* p45 = Find(ms, "P45");
  ASSERT_NE(p45, nullptr);
  EXPECT_EQ(p45->value, "5,00");
  EXPECT_EQ(p45->text, "Kwota wykazana w załączniku PIT-28/A poz.18 wynosi 5,00");
}

TEST_F(TransferMarkersTest, InformationMarker) {
  WriteSet("[MAIN]\nPIT=PIT28\nVER=10\n[PIT28a]\nP73=1000\nP51=50\nP37=400\nP52=10\nP38=600\n");
  const auto ms = Markers("PIT28a", "TPIT28b");
  const TransferMarker* p74 = Find(ms, "P74");
  ASSERT_NE(p74, nullptr);
  EXPECT_TRUE(p74->information);
  EXPECT_EQ(p74->title, "Informacja");
  EXPECT_EQ(p74->text,
            "Wartość wynikająca z wyliczenia wynosi 500,00\nKwota wykazana na deklaracji została pomniejszona do "
            "wysokości wynikajacej z ograniczenia.");
  EXPECT_EQ(p74->hint, "Informacja|" + p74->text);
  EXPECT_EQ(Find(ms, "P75"), nullptr);
}

TEST_F(TransferMarkersTest, PitZgOwnersOnPit36) {
  WriteSet(
      "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\np1=111\np2=222\n"
      "[PITZGa_1]\np1=111\nP10a=100,00\n[PITZGa_2]\np1=111\nP10a=50,00\n[PITZGa_3]\np1=222\nP10a=70,00\n"
      "[PITZGa_4]\np1=333\nP10a=9,00\n");
  const auto ms = Markers("PIT36a", "TPIT36b");
  const TransferMarker* p45 = Find(ms, "P45");
  ASSERT_NE(p45, nullptr);
  EXPECT_EQ(p45->value, "150,00");
  EXPECT_EQ(p45->text, "Kwota wykazana w załącznikach podatnika PIT/ZG poz.10a wynosi 150,00");
  const TransferMarker* p88 = Find(ms, "P88");
  ASSERT_NE(p88, nullptr);
  EXPECT_EQ(p88->value, "70,00");
}

// A carried amount that its source no longer shows gets a marker that says
// so and carries what the source shows now (0,00 once it is gone); one
// entered by hand, or still equal, gets none of that.
TEST_F(TransferMarkersTest, StaleCarriesAreMarked) {
  const std::string note = "\nKwota przeniesiona wcześniej do poz.99 (760,00) nie jest już równa kwocie do przeniesienia.";
  const struct {
    const char* what;
    const char* sets;
    const char* value;  // nullptr: no marker
    std::string text;
  } cases[] = {
      {"source gone", "[PRZENIESIONE]\nPIT37a.P99=760,00\n", "0,00",
       "Kwota wykazana w załączniku PIT/O poz.28 wynosi 0,00" + note},
      {"source changed", "[PITOa]\nP28=500,00\n[PRZENIESIONE]\nPIT37a.P99=760,00\n", "500,00",
       "Kwota wykazana w załączniku PIT/O poz.28 wynosi 500,00" + note},
      {"still equal", "[PITOa]\nP28=760,00\n[PRZENIESIONE]\nPIT37a.P99=760,00\n", "760,00",
       "Kwota wykazana w załączniku PIT/O poz.28 wynosi 760,00"},
      {"entered by hand", "", nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteSet(std::string("[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np6a=[X]\nP99=760,00\n") + c.sets);
    const auto ms = Markers("PIT37a", "TPIT37b");
    const TransferMarker* p99 = Find(ms, "P99");
    if (!c.value) {
      EXPECT_EQ(p99, nullptr);
      continue;
    }
    ASSERT_NE(p99, nullptr);
    EXPECT_EQ(p99->value, c.value);
    EXPECT_EQ(p99->text, c.text);
  }
}

TEST_F(TransferMarkersTest, PitZgNeedsAnOwner) {
  WriteSet("[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\n[PITZGa_1]\np1=\nP10a=100,00\n");
  EXPECT_TRUE(Markers("PIT36a", "TPIT36b").empty());
}

// The foreign tax offered for PIT-38 box 33 is limited to the part of the
// tax of box 32 that falls on the foreign income (PIT/ZG box 32) within the
// whole income of box 27 (art. 30b ust. 5a); box 20 (the post office) and
// box 31 (the rate) play no part.
TEST_F(TransferMarkersTest, PitZgLimitOnPit38) {
  const struct {
    const char* what;
    const char* pit38;
    const char* offered;
  } cases[] = {
    {"a quarter of the income is foreign", "p27=4000,00\np32=760,00\n", "190,00"},     // 760 * 1000 / 4000
    {"the foreign tax is below the limit", "p27=1000,00\np32=500,00\n", "300,00"},     // limit 500
    {"foreign income above the whole income", "p27=500,00\np32=95,00\n", "95,00"},     // limit: the whole tax
    {"no income, no tax", "p27=0,00\np32=0,00\n", "0,00"},
    {"a post office in box 20 is not read", "p20=POZNAŃ\np27=4000,00\np32=760,00\n", "190,00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteSet(std::string("[MAIN]\nPIT=PIT38\nVER=10\n[PIT38a]\np1=111\np31=19,00\n") + c.pit38 +
             "[PITZGa_1]\np1=111\nP33=300,00\np32=1000\n");
    solv::ClearUnreadableAmounts();
    const auto ms = Markers("PIT38a", "TPIT38a");
    const TransferMarker* p33 = Find(ms, "P33");
    ASSERT_NE(p33, nullptr);
    EXPECT_EQ(p33->value, c.offered);
    EXPECT_EQ(p33->text, std::string("Kwota wykazana w załącznikach (po uwzględnieniu limitu) PIT/ZG poz.33 wynosi ") +
                             c.offered);
    EXPECT_TRUE(solv::UnreadableAmounts().empty());
  }
}

TEST_F(TransferMarkersTest, PitBFirstMatchingCopy) {
  WriteSet(
      "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\np1=111\np2=222\n"
      "[PITBa_1]\np1=222\nP53=10,00\n[PITBa_2]\np1=111\nP53=0\n[PITBa_3]\np1=111\nP53=30,00\n"
      "[PITBa_4]\np1=111\nP53=40,00\n");
  const std::string note =
      "\nUwaga: kwoty wynikające z poz. 53 do 56 załącznika PIT/B należy przenieść albo do części B.1 albo do "
      "części C.1 PIT/Z.";
  const auto own = Markers("PITZa", "TPITZa");
  const TransferMarker* p7 = Find(own, "P7");
  ASSERT_NE(p7, nullptr);
  EXPECT_EQ(p7->value, "30,00");
  EXPECT_EQ(p7->text, "Kwota wykazana w załącznikach PIT/B poz.53 wynosi 30,00" + note);
  EXPECT_EQ(p7->hint,
            "Przeniesienie|PITZa#P7#PITBa_3#P53##Kwota wykazana w załącznikach PIT/B poz.%s wynosi %s" + note);
  EXPECT_EQ(Find(own, "P8"), nullptr);

  const auto spouse = Markers("PITZa_M", "TPITZa");
  const TransferMarker* s7 = Find(spouse, "P7");
  ASSERT_NE(s7, nullptr);
  EXPECT_EQ(s7->targetInstance, "PITZa_M");
  EXPECT_EQ(s7->value, "10,00");
}

TEST_F(TransferMarkersTest, PitBOnlyWithPit36) {
  WriteSet("[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np1=111\n[PITBa_1]\np1=111\nP53=10,00\n");
  EXPECT_TRUE(Markers("PITZa", "TPITZa").empty());
}

TEST(PendingTransfer, Malformed) {
  EXPECT_FALSE(ParsePendingTransfer(""));
  EXPECT_FALSE(ParsePendingTransfer("PIT37a#P99"));
  EXPECT_FALSE(ParsePendingTransfer("#P99#1#"));
}

}  // namespace
