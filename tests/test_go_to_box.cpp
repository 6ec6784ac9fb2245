// "Przejdź do pozycji": what the user types, and the link that shows the box.
#include <gtest/gtest.h>

#include <string>

#include "set_fixture.hpp"
#include "shell/go_to_box.hpp"

namespace {

class GoToBox : public SetFixture {
 protected:
  void SetUp() override {
    SetFixture::SetUp();
    WriteSet("[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np6a=[X]\n[PITOa]\np4=1\n[PITOa_2]\np4=2\n[PITBa_1]\np4=1\n");
  }
};

TEST_F(GoToBox, AFormAndABoxAsTypedGiveThePageThatHoldsIt) {
  struct Case {
    const char* query;
    const char* active;
    const char* link;
    const char* instance;
  };
  const Case cases[] = {
      {"PIT-37 120", "", "PIT37c#p120", "PIT37a"},
      {"pit37 41", "", "PIT37b#p41", "PIT37a"},
      {"  PIT-37   poz. 41 ", "", "PIT37b#p41", "PIT37a"},
      {"PIT-37 poz.41", "", "PIT37b#p41", "PIT37a"},
      {"41", "PIT37a", "PIT37b#p41", "PIT37a"},
      {"poz. 9", "PIT37a", "PIT37a#p9", "PIT37a"},
      // A check-box group: its first option.
      {"PIT-37 6", "", "PIT37a#p6a", "PIT37a"},
      // The active copy of a form with copies; another form's box from a copy.
      {"PIT/O 13", "PITOa_2", "PITOa_2#p13", "PITOa_2"},
      {"13", "PITOa_2", "PITOa_2#p13", "PITOa_2"},
      {"pito 13", "PIT37a", "PITOa#p13", "PITOa"},
      {"PIT-37 120", "PITOa_2", "PIT37c#p120", "PIT37a"},
      // A copy's box on its second page: the link names the copy, whose window finds the page.
      {"PIT/B 53", "PITBa_1", "PITBa_1#p53", "PITBa_1"},
  };
  for (const Case& c : cases) {
    const solv::BoxQueryResult r = solv::FindBoxLink(c.query, c.active);
    EXPECT_EQ(r.link, c.link) << c.query;
    EXPECT_EQ(r.instance, c.instance) << c.query;
    EXPECT_EQ(r.error, "") << c.query;
  }
}

TEST_F(GoToBox, WhatCannotBeShownIsSaidInPolish) {
  struct Case {
    const char* query;
    const char* active;
    const char* error;
  };
  const Case cases[] = {
      {"PIT-37 999", "", "Formularz PIT-37 nie ma poz. 999."},
      {"PIT-36 120", "", "Zestaw danych nie zawiera formularza PIT-36."},
      {"PIT-99 1", "", "Nie ma formularza „PIT-99”. "},
      {"120", "", "Żaden formularz nie jest otwarty. "},
      {"", "PIT37a", "Wpisz symbol formularza"},
      {"PIT-37", "PIT37a", "Wpisz symbol formularza"},
      {"PIT-37 12,5", "PIT37a", "Wpisz symbol formularza"},
      {"PIT-37 -3", "PIT37a", "Wpisz symbol formularza"},
  };
  for (const Case& c : cases) {
    const solv::BoxQueryResult r = solv::FindBoxLink(c.query, c.active);
    EXPECT_EQ(r.link, "") << c.query;
    EXPECT_EQ(r.error.rfind(c.error, 0), 0u) << c.query << ": " << r.error;
  }
}

}  // namespace
