// Message links: their parameters, the page and cell they lead to and the
// boxes that get warning markers.
#include <gtest/gtest.h>

#include "shell/links.hpp"

namespace {

TEST(MessageLink, ParametersAreSplitAndCorrectionsChecked) {
  const struct {
    const char* param;
    bool correct;
    const char* value;
    const char* page;
    const char* box;
  } cases[] = {
      {"PIT37b#P45", false, "", "PIT37b", "P45"},
      {"PITBa_1# P5 ", false, "", "PITBa_1", "P5"},
      {"popraw#12,50#PIT37b#P45", true, "12,50", "PIT37b", "P45"},
      {"POPRAW#0#PIT2Ka#P33", true, "0", "PIT2Ka", "P33"},
      {"popraw#-5,00#PIT37b#P45", true, "0", "PIT37b", "P45"},
      {"popraw#abc#PIT37b#P45", true, "0", "PIT37b", "P45"},
      {"popraw#12.50#PIT37b#P45", true, "0", "PIT37b", "P45"},
      {"popraw##PIT37b#P45", true, "0", "PIT37b", "P45"},
      {"PIT37b", false, "", "PIT37b", ""},
  };
  for (const auto& c : cases) {
    const solv::LinkTarget t = solv::ParseLink(c.param);
    EXPECT_EQ(t.correct, c.correct) << c.param;
    EXPECT_EQ(t.value, c.value) << c.param;
    EXPECT_EQ(t.page, c.page) << c.param;
    EXPECT_EQ(t.box, c.box) << c.param;
  }
}

TEST(MessageLink, PagesMatchWindowsByTheLastLetterRule) {
  const struct {
    const char* page;
    const char* instance;
    bool match;
  } cases[] = {
      {"PIT37b", "PIT37a", true},   {"pit37c", "PIT37a", true},  {"PIT37b", "PIT36a", false},
      {"PIT36Lb", "PIT36a", false}, {"PITBa_1", "PITBa_1", true}, {"PITBa_1", "PITBa", false},
      {"PITBa_1", "PITBa_2", false}, {"PITBa", "PITBa_1", false}, {"", "PIT37a", false},
  };
  for (const auto& c : cases) EXPECT_EQ(solv::LinkPageMatches(c.page, c.instance), c.match) << c.page << " " << c.instance;
  EXPECT_EQ(solv::LinkPageLetter("PIT37b"), 'b');
  EXPECT_EQ(solv::LinkPageLetter("PITOc_2"), 'c');
  EXPECT_EQ(solv::LinkPageLetter(""), 0);
}

// A box the page has is that cell (any case), a check-box group's name the
// group's first option; anything else leads nowhere.
TEST(MessageLink, BoxesAndGroupsLeadToACellOfThePage) {
  const struct {
    const char* page;
    const char* box;
    const char* cell;
  } cases[] = {
      {"TPIT37b", "P93", "p93"},    {"PIT37b", "p93", "p93"},     {"TPIT37a", "P6", "p6a"},
      {"TPIT37a", "P10", "p10a"},   {"TPIT40a", "P7", "p7a"},     {"TPIT36La", "P22A", "p22a"},
      {"TPIT28c", "P109", "p109a"}, {"TPIT37a", "P6a", "p6a"},    {"TPIT37b", "P6", ""},
      {"TPIT37b", "P999", ""},      {"TNoSuchPage", "P6", ""},    {"TPIT37a", "", ""},
      {"TPIT37a", "p", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(solv::LinkCell(c.page, c.box), c.cell) << c.page << " " << c.box;
}

// A link that names another page of the box's form goes to the page that
// holds the box.
TEST(MessageLink, ThePageIsTheOneThatHoldsTheBox) {
  const struct {
    const char* page;
    const char* box;
    const char* leadsTo;
  } cases[] = {
      {"PIT37a", "P39", "PIT37b"},  {"PIT37b", "P39", "PIT37b"}, {"PIT37c", "P39", "PIT37b"},
      {"PIT37a", "P6", "PIT37a"},   {"PIT36a", "P45", "PIT36b"}, {"PIT36La", "P45", "PIT36Lb"},
      {"PITOa_2", "P35", "PITOb_2"}, {"PITBa_1", "P5", "PITBa_1"}, {"PIT37a", "P999", "PIT37a"},
      {"PIT37b", "", "PIT37b"},     {"NoSuchPage", "P1", "NoSuchPage"},
  };
  for (const auto& c : cases) EXPECT_EQ(solv::LinkPage(c.page, c.box), c.leadsTo) << c.page << " " << c.box;
}

TEST(WarningBoxes, TakeTheBoxOfEveryPageLink) {
  const std::string text =
      "<color=clRed>a (<link=PIT37a#P6>POKAŻ >>></link>)<br>\n"
      "b (<link=popraw#1#PIT37b#P45>POPRAW</link>, <link=PIT37b# P45 >POKAŻ</link>)<br>\n"
      "c <link=PIT36a#P10>x</link> <link=PITOa#P28>y</link> <link=PIT37a>z</link>";
  EXPECT_EQ(solv::WarningBoxes(text), (std::vector<std::string>{"P6a", "P45", "P10a", "P28"}));
  EXPECT_TRUE(solv::WarningBoxes("no links").empty());
}

}  // namespace
