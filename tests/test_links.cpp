// Message links: their parameters, the page they lead to and the boxes that
// get warning markers.
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

TEST(WarningBoxes, TakeTheBoxOfEveryPageLink) {
  const std::string text =
      "<color=clRed>a (<link=PIT37a#P6>POKAŻ >>></link>)<br>\n"
      "b (<link=popraw#1#PIT37b#P45>POPRAW</link>, <link=PIT37b# P45 >POKAŻ</link>)<br>\n"
      "c <link=PIT36a#P10>x</link> <link=PITOa#P28>y</link> <link=PIT37a>z</link>";
  EXPECT_EQ(solv::WarningBoxes(text), (std::vector<std::string>{"P6a", "P45", "P10a", "P28"}));
  EXPECT_TRUE(solv::WarningBoxes("no links").empty());
}

}  // namespace
