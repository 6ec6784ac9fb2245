// Saved return sets: which files are listed, their labels, creating,
// opening and deleting a set, and the lines of the copies list.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "calc/rules.hpp"
#include "services/message_service.hpp"
#include "set_fixture.hpp"
#include "store/forms.hpp"
#include "store/opp.hpp"
#include "store/set_list.hpp"
#include "store/store.hpp"

namespace {

namespace fs = std::filesystem;
using solv::OpenSetResult;
using solv::RecordingMessageProvider;

constexpr const char* kAbsent = "<absent>";

class SetListTest : public SetFixture {
 protected:
  void SetUp() override {
    SetFixture::SetUp();
    data_ = solv::DataFolder();
    fs::create_directories(data_);
  }
  // A set file of the data folder from UTF-8 lines.
  fs::path Put(const std::string& name, std::string_view utf8Lines) {
    std::string crlf;
    for (char c : utf8Lines) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    PutBytes(data_ / name, solv::Utf8ToCp1250(crlf));
    return data_ / name;
  }
  static std::string Box(std::string_view key, std::string_view section) {
    return solv::ReadField(key, kAbsent, section);
  }
  fs::path data_;
};

TEST_F(SetListTest, NumbersListTheSetFilesAndANewSetTakesTheFirstGap) {
  const struct {
    std::vector<std::string> files;
    std::vector<int> numbers;
    int next;
  } cases[] = {
      {{}, {}, 1},
      {{"1.i10", "3.i10"}, {1, 3}, 2},
      {{"3.i10", "1.i10", "2.i10"}, {1, 2, 3}, 4},
      {{"2.i10"}, {2}, 1},
      // Not set files: other names, outside 1..3000; they still block their number.
      {{"0.i10", "02.i10", "1.txt", "3001.i10", "a.i10", "1.I10x"}, {}, 1},
      {{"3000.i10", "1.i10"}, {1, 3000}, 2},
  };
  int round = 0;
  for (const auto& c : cases) {
    const fs::path folder = dir_ / ("data" + std::to_string(++round));
    fs::create_directories(folder);
    for (const auto& f : c.files) PutBytes(folder / f, "[MAIN]\r\nPIT=PIT37\r\n");
    EXPECT_EQ(solv::SetNumbers(folder), c.numbers) << round;
    EXPECT_EQ(solv::NextSetNumber(folder), c.next) << round;
  }
  // A folder named like a set is no set, and its number is not free either.
  fs::create_directories(data_ / "1.i10");
  EXPECT_TRUE(solv::SetNumbers(data_).empty());
  EXPECT_EQ(solv::NextSetNumber(data_), 2);
  EXPECT_TRUE(solv::SetNumbers(dir_ / "no-such-folder").empty());
  EXPECT_EQ(solv::NextSetNumber(dir_ / "no-such-folder"), 1);
}

TEST_F(SetListTest, LabelsComeFromTheMainFormsNameBoxes) {
  const struct {
    const char* set;
    const char* label;
  } cases[] = {
      {"[MAIN]\nPIT=PIT37\n[PIT37a]\nP11=ABC\nP12=DEF\n", "ABC DEF (PIT-37)"},
      {"[MAIN]\nPIT=PIT37\n[PIT37a]\nP11=  ABC \nP12=\tDEF\n", "ABC DEF (PIT-37)"},
      {"[MAIN]\nPIT=PIT37\n[PIT37a]\nP11=\nP12=\n", "bez nazwy (PIT-37)"},
      {"[MAIN]\nPIT=PIT37\n", "bez nazwy (PIT-37)"},
      {"[MAIN]\nPIT=PIT37\n[PIT37a]\nP11=ABC\n", "ABC  (PIT-37)"},
      {"[MAIN]\nPIT=PIT37\n[PIT37a]\nP12=DEF\n", " DEF (PIT-37)"},
      // Each form reads its own first page and boxes.
      {"[MAIN]\nPIT=PIT39\n[PIT37a]\nP11=X\nP12=Y\n[PIT39a]\nP7=Kowalski\nP8=Jan\nP11=Z\n", "Kowalski Jan (PIT-39)"},
      {"[MAIN]\nPIT=PIT28\n[PIT28a]\nP7=Łoś\nP8=Żaneta\n", "Łoś Żaneta (PIT-28)"},
      {"[MAIN]\nPIT=PIT36\n[PIT36a]\nP11=A\nP12=B\n", "A B (PIT-36)"},
      {"[MAIN]\nPIT=PIT36L\n[PIT36La]\nP7=A\nP8=B\n", "A B (PIT-36L)"},
      {"[MAIN]\nPIT=PIT38\n[PIT38a]\nP7=A\nP8=B\n", "A B (PIT-38)"},
      {"[MAIN]\nPIT=PIT40\n[PIT40a]\nP8=Firma\nP9=x\n", "Firma (PIT-40)"},
      {"[MAIN]\nPIT=PIT40\n[PIT40a]\nP7=x\n", "bez nazwy (PIT-40)"},
      // No known main form.
      {"[MAIN]\nVER=10\n[PIT37a]\nP11=ABC\n", "bez nazwy "},
      {"[MAIN]\nPIT=PIT99\n", "bez nazwy "},
      {"[MAIN]\nPIT=pit37\n[PIT37a]\nP11=ABC\n", "bez nazwy "},
      {"", "bez nazwy "},
      {"garbage without sections\n", "bez nazwy "},
  };
  int n = 0;
  for (const auto& c : cases) {
    const fs::path file = Put(std::to_string(++n) + ".i10", c.set);
    EXPECT_EQ(solv::SetLabel(file), c.label) << c.set;
  }
  EXPECT_EQ(solv::SetLabel(data_ / "999.i10"), "bez nazwy ");  // missing
  fs::create_directories(data_ / "998.i10");
  EXPECT_EQ(solv::SetLabel(data_ / "998.i10"), "bez nazwy ");  // unreadable
}

TEST_F(SetListTest, NewPit36And37SetsMarkTheChosenWayOfTaxation) {
  const char* const kNone = "[  ]";
  const struct {
    const char* code;
    int option;
    const char* section;
    std::array<const char*, 4> boxes;
  } cases[] = {
      {"PIT36", 3, "PIT36a", {kNone, kNone, "[X]", kNone}},
      {"PIT36", 1, "PIT36a", {"[X]", kNone, kNone, kNone}},
      {"PIT37", 2, "PIT37a", {kNone, "[X]", kNone, kNone}},
      {"PIT37", 4, "PIT37a", {kNone, kNone, kNone, "[X]"}},
      {"PIT37", 0, "PIT37a", {kNone, kNone, kNone, kNone}},
  };
  for (const auto& c : cases) {
    const int n = solv::CreateSet(data_, c.code, c.option);
    ASSERT_GT(n, 0);
    EXPECT_EQ(solv::Store().setFile, data_ / (std::to_string(n) + ".i10"));
    const char* const keys[] = {"P6a", "P6b", "P6c", "P6d"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Box(keys[i], c.section), c.boxes[i]) << c.code << " " << c.option << " " << keys[i];
    EXPECT_EQ(solv::TaxationMethod(), c.option) << c.code << " " << c.option;
  }
}

TEST_F(SetListTest, NewSetTakesTheFirstFreeNumberAndWritesItsMainKeys) {
  Put("1.i10", "[MAIN]\nPIT=PIT28\n");
  Put("3.i10", "[MAIN]\nPIT=PIT28\n");
  EXPECT_EQ(solv::CreateSet(data_, "PIT37", 1), 2);
  EXPECT_EQ(solv::SetFileName(), "2.i10");
  EXPECT_EQ(Box("PIT", "MAIN"), "PIT37");
  EXPECT_EQ(Box("VER", "MAIN"), "10");
  EXPECT_EQ(solv::Store().allowed, solv::AllowedFormsOf("PIT37"));
  // The organisation's 1% boxes before the user types anything.
  EXPECT_EQ(Box("P124", "PIT37a"), solv::OppNumberKrs());
  EXPECT_EQ(Box("P126", "PIT37a"), "\"pomagam podatkiem\"");
  EXPECT_EQ(solv::SetNumbers(data_), (std::vector<int>{1, 2, 3}));
}

TEST_F(SetListTest, NewSetsOfEveryMainForm) {
  const struct {
    const char* code;
    const char* oppSection;  // nullptr: no 1% boxes
    const char* krsBox;
  } cases[] = {
      {"PIT28", "PIT28a", "P126"}, {"PIT36", "PIT36a", "P305"}, {"PIT36L", "PIT36La", "P105"},
      {"PIT37", "PIT37a", "P124"}, {"PIT38", "PIT38a", "P58"},  {"PIT39", "PIT39a", "P51"},
      {"PIT40", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    const int n = solv::CreateSet(data_, c.code, 0);
    ASSERT_GT(n, 0) << c.code;
    EXPECT_EQ(solv::Store().allowed, solv::AllowedFormsOf(c.code)) << c.code;
    if (c.oppSection) {
      EXPECT_EQ(Box(c.krsBox, c.oppSection), solv::OppNumberKrs()) << c.code;
    } else {
      EXPECT_EQ(solv::SetStore().Sections(), (std::vector<std::string>{"MAIN"})) << c.code;
    }
    // Only PIT-36 and PIT-37 carry the way of taxation.
    const bool box6 = std::string(c.code) == "PIT36" || std::string(c.code) == "PIT37";
    EXPECT_EQ(solv::SetStore().Sections().size(), box6 ? 2u : (c.oppSection ? 2u : 1u)) << c.code;
  }
  // An unknown code creates nothing and leaves the open set as it was.
  const fs::path open = solv::Store().setFile;
  EXPECT_EQ(solv::CreateSet(data_, "PIT99", 1), 0);
  EXPECT_EQ(solv::Store().setFile, open);
  EXPECT_EQ(solv::SetNumbers(data_).size(), std::size(cases));
}

TEST_F(SetListTest, OpeningASetFillsAnEmptiedKrsBoxButKeepsAChangedOne) {
  Put("1.i10", "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\nP305=\nP11=A\n");
  Put("2.i10", "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\nP305=0000099999\nP307=moje\n");
  Put("3.i10", "[MAIN]\nPIT=PIT40\nVER=10\n");

  EXPECT_EQ(solv::OpenExistingSet(data_, 1, solv::AskThroughBoxes), OpenSetResult::Opened);
  EXPECT_EQ(solv::SetFileName(), "1.i10");
  EXPECT_EQ(solv::Store().allowed, solv::AllowedFormsOf("PIT36"));
  EXPECT_EQ(Box("P305", "PIT36a"), solv::OppNumberKrs());
  EXPECT_EQ(Box("P307", "PIT36a"), "\"pomagam podatkiem\"");

  EXPECT_EQ(solv::OpenExistingSet(data_, 2, solv::AskThroughBoxes), OpenSetResult::Opened);
  EXPECT_EQ(Box("P305", "PIT36a"), "0000099999");
  EXPECT_EQ(Box("P307", "PIT36a"), "moje");

  const std::string pit40 = Bytes(data_ / "3.i10");
  EXPECT_EQ(solv::OpenExistingSet(data_, 3, solv::AskThroughBoxes), OpenSetResult::Opened);
  EXPECT_EQ(Bytes(data_ / "3.i10"), pit40);
  EXPECT_EQ(solv::Store().allowed, solv::AllowedFormsOf("PIT40"));
}

TEST_F(SetListTest, OpeningTheOpenSetReloadsNothing) {
  Put("1.i10", "[MAIN]\nPIT=PIT37\n[PIT37a]\nP124=\n");
  solv::OpenSet(data_ / "1.i10");
  solv::Store().currentPage = "PIT37b";
  solv::Store().allowed = {};
  const std::string before = Bytes(data_ / "1.i10");

  EXPECT_EQ(solv::OpenExistingSet(data_, 1, solv::AskThroughBoxes), OpenSetResult::AlreadyOpen);
  EXPECT_EQ(solv::Store().currentPage, "PIT37b");
  EXPECT_EQ(solv::Store().allowed, (std::array<bool, solv::kFormCount>{}));
  EXPECT_EQ(Bytes(data_ / "1.i10"), before);
}

TEST_F(SetListTest, OpeningNothingOrAMissingSetKeepsTheOpenOne) {
  Put("1.i10", "[MAIN]\nPIT=PIT37\n");
  solv::OpenSet(data_ / "1.i10");
  for (int n : {0, -1, 5}) {
    EXPECT_EQ(solv::OpenExistingSet(data_, n, solv::AskThroughBoxes), OpenSetResult::Nothing) << n;
    EXPECT_EQ(solv::SetFileName(), "1.i10") << n;
  }
  EXPECT_FALSE(fs::exists(data_ / "5.i10"));
}

TEST_F(SetListTest, DeletingAsksAndDeletesOnlyOnTak) {
  Put("1.i10", "[MAIN]\nPIT=PIT37\n");
  Put("2.i10", "[MAIN]\nPIT=PIT38\n");
  const struct {
    bool provider;
    std::deque<int> answers;
    bool deleted;
  } cases[] = {
      {true, {2}, false},   // "&NIE"
      {true, {3}, false},   // no such button
      {true, {}, false},    // box closed without an answer
      {false, {}, false},   // no message boxes at all
      {true, {1}, true},    // "&TAK"
  };
  for (const auto& c : cases) {
    RecordingMessageProvider rec;
    rec.answers = c.answers;
    solv::ScopedMessageProvider scope(c.provider ? &rec : nullptr);
    solv::OpenSet(data_ / "1.i10");

    EXPECT_EQ(solv::DeleteSet(data_, 2, solv::AskThroughBoxes), c.deleted);
    EXPECT_EQ(fs::exists(data_ / "2.i10"), !c.deleted);
    // Whatever the answer, no set is open any more.
    EXPECT_EQ(solv::SetFileName(), "");
    if (c.provider) {
      ASSERT_EQ(rec.calls.size(), 1u);
      EXPECT_EQ(rec.calls[0].message, "Czy na pewno chcesz usunąć zestaw z wszystkimi zapisanymi formularzami?");
      EXPECT_EQ(rec.calls[0].first, "&TAK");
      EXPECT_EQ(rec.calls[0].second, "&NIE");
      EXPECT_EQ(rec.calls[0].third, "");
      EXPECT_EQ(rec.calls[0].title, "Informacja");
    }
  }
  EXPECT_EQ(solv::SetNumbers(data_), (std::vector<int>{1}));
}

TEST_F(SetListTest, DeletingWithNothingSelectedDoesNothing) {
  Put("1.i10", "[MAIN]\nPIT=PIT37\n");
  solv::OpenSet(data_ / "1.i10");
  RecordingMessageProvider rec;
  rec.answers = {1};
  solv::ScopedMessageProvider scope(&rec);
  EXPECT_FALSE(solv::DeleteSet(data_, 0, solv::AskThroughBoxes));
  EXPECT_TRUE(rec.calls.empty());
  EXPECT_EQ(solv::SetFileName(), "1.i10");
}

TEST_F(SetListTest, CopiesListShowsOneLinePerSection) {
  WriteSet(
      "[MAIN]\nPIT=PIT36\n"
      "[PITOa]\np4=1\np5=Kowalski\np6=Jan\n"
      "[PITOa_1]\np4=2\np5=Nowak\n"
      "[PITOa_2]\nP4=3\nP5=100%s\nP6=x\n"
      "[PITBa]\nP1=111\nP4=Spółka\nP5=A\n");
  EXPECT_EQ(solv::SetListLines({"PITOa", "PITOa_1", "PITOa_2"}, {"P4", "P5", "P6"}, "załącznik nr %s %s, %s"),
            (std::vector<std::string>{"załącznik nr 1 Kowalski, Jan", "załącznik nr 2 Nowak, ",
                                      "załącznik nr 3 100%s, x"}));
  EXPECT_EQ(solv::SetListLines({"PITBa", "PITBa_9"}, {"P4", "P5", "P1"}, "%s %s, %s"),
            (std::vector<std::string>{"Spółka A, 111", " , "}));
  // Placeholders beyond the keys read empty; a single key fills only the first.
  EXPECT_EQ(solv::SetListLines({"PITBa"}, {"P4"}, "[%s|%s]"), (std::vector<std::string>{"[Spółka|]"}));
  EXPECT_TRUE(solv::SetListLines({}, {"P4"}, "%s").empty());
}

}  // namespace
