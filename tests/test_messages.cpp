// The calculation-message list: header, counter, formatting, copy/restore,
// and the markup-to-plain conversion.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "messages/messages.hpp"

namespace {

using solv::AddMessage;
using solv::ClearMessages;
using solv::Messages;

const std::string kEmpty =
    "<color=clNavy><b>Brak komunikatów dotyczących bieżącego formularza</b><br><color=clNavy>Uwaga: Program sprawdza "
    "obliczenia (np. zgodność z limitami). Program nie sprawdza wszystkich danych (np. poprawność daty).";

std::string Counted(int n) {
  return "<color=clRed><b>W formularzu występują błędy</b> <color=clGreen><b>lub uwagi</b><color=clRed><b> - "
         "liczba komunikatów:</b> " +
         std::to_string(n) +
         "<br><color=clNavy>Uwaga: Program sprawdza obliczenia (np. zgodność z limitami). Program nie sprawdza "
         "wszystkich danych (np. poprawność daty).<br>";
}

class MessagesTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearMessages(); }
  void TearDown() override { ClearMessages(); }
};

TEST_F(MessagesTest, ClearLeavesOnlyTheEmptyHeader) {
  AddMessage("m1");
  ClearMessages();
  ASSERT_EQ(Messages().items.size(), 1u);
  EXPECT_EQ(Messages().items[0], kEmpty);
  EXPECT_EQ(Messages().counter, 0);
  EXPECT_EQ(std::string(solv::kHeaderEmpty), kEmpty);
}

TEST_F(MessagesTest, AppendingCountsAndRenewsTheHeader) {
  AddMessage("m1");
  ASSERT_EQ(Messages().items.size(), 2u);
  EXPECT_EQ(Messages().items[0], Counted(1));

  AddMessage("m2");
  ASSERT_EQ(Messages().items.size(), 3u);
  EXPECT_EQ(Messages().items[0], Counted(2));
  EXPECT_EQ(Messages().items[1], "m1");
  EXPECT_EQ(Messages().items[2], "m2");
  EXPECT_EQ(Messages().counter, 2);
  EXPECT_EQ(solv::MessagesText(), Counted(2) + "\nm1\nm2");
}

TEST_F(MessagesTest, ArgumentFillsThePercentS) {
  struct Case {
    const char* text;
    const char* argument;
    const char* expected;
  };
  const Case cases[] = {
      {"Kwota %s", "12,00", "Kwota 12,00"},
      {"(<link=popraw#%s#PIT37b#P93>POPRAW</link>)", "1234,5", "(<link=popraw#1234,5#PIT37b#P93>POPRAW</link>)"},
      {"Bez argumentu", "12,00", "Bez argumentu"},
      {"Kwota %s", "", "Kwota "},
      {"nie więcej niż 6%% dochodu (%s)", "600,02", "nie więcej niż 6% dochodu (600,02)"},
      {"6%% bez argumentu", "1", "6%% bez argumentu"},  // only a text with %s is formatted
      {"%s i %s", "1", "1 i %s"},                       // one argument fills the first
  };
  for (const auto& c : cases) {
    ClearMessages();
    AddMessage(c.text, c.argument);
    ASSERT_EQ(Messages().items.size(), 2u);
    EXPECT_EQ(Messages().items[1], c.expected) << c.text;
  }
}

TEST_F(MessagesTest, IndexReplacesWithoutCounting) {
  AddMessage("m1");
  AddMessage("nagłówek %s", "x", 0);
  ASSERT_EQ(Messages().items.size(), 2u);
  EXPECT_EQ(Messages().items[0], "nagłówek %s");  // replaced as given
  EXPECT_EQ(Messages().counter, 1);
  AddMessage("inna", "", 1);
  EXPECT_EQ(Messages().items[1], "inna");
  EXPECT_EQ(Messages().counter, 1);
}

TEST_F(MessagesTest, RestoreBringsBackItemsAndCounter) {
  AddMessage("m1");
  AddMessage("m2");
  solv::MessageList copy = solv::CopyMessages();

  ClearMessages();
  AddMessage("other");
  solv::RestoreMessages(copy);
  EXPECT_EQ(Messages().items, copy.items);
  EXPECT_EQ(Messages().counter, 2);

  // Counting goes on from the restored counter.
  AddMessage("m3");
  EXPECT_EQ(Messages().items[0], Counted(3));
  EXPECT_EQ(Messages().items.size(), 4u);
}

TEST(MarkupToPlain, DropsTagsAndKeepsLineBreaks) {
  struct Case {
    const char* markup;
    const char* plain;
  };
  const Case cases[] = {
      {"<color=clRed><b>Błąd</b><br><color=clNavy>opis", "Błąd\nopis"},
      {"a\r\nb<br><br>c", "ab\n\nc"},
      {"(<link=PIT37a#P6>POKAŻ >>></link>)", "(POKAŻ >>>)"},
      {"<color=$00FF0000>x</color>", "x"},
      {"tekst <bez końca", "tekst <bez końca"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(solv::MarkupToPlain(c.markup), c.plain) << c.markup;
}

}  // namespace

// The filler of messages with several values (the donation totals of PIT/O,
// the adviser's checks): each "%s" in turn, "%%" as "%", never a value read
// again as a placeholder.
TEST(FillMessage, FillsEachPlaceholderInTurn) {
  struct Case {
    const char* text;
    std::vector<std::string> values;
    const char* expected;
  };
  const Case cases[] = {
      {"Suma %s zł, a w poz.13 %s zł", {"100,00", "90,00"}, "Suma 100,00 zł, a w poz.13 90,00 zł"},
      {"nie więcej niż 6%% kwoty (%s)", {"12"}, "nie więcej niż 6% kwoty (12)"},
      {"brak wartości: [%s]", {}, "brak wartości: []"},
      {"wartość z procentem: %s i %s", {"%s", "50%%"}, "wartość z procentem: %s i 50%%"},
      {"bez znaków", {"x"}, "bez znaków"},
      {"na końcu %", {}, "na końcu %"},
  };
  for (const Case& c : cases) EXPECT_EQ(solv::FillMessage(c.text, c.values), c.expected) << c.text;
}
