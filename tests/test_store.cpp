// The return-set store: box reads and writes on the open set, sections and
// instance names, the form table, the version file and page load and save.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "set_fixture.hpp"
#include "store/forms.hpp"
#include "store/ini.hpp"
#include "store/store.hpp"

namespace {

using solv::Store;

class StoreTest : public SetFixture {
 protected:
  // Each case of a table in a set file of its own: rewriting one file with
  // text of the same size may keep its time stamp.
  void WriteNextSet(std::string_view utf8Lines) {
    set_ = dir_ / (std::to_string(++sets_) + ".i10");
    WriteSet(utf8Lines);
  }
  int sets_ = 0;
};

TEST_F(StoreTest, ReadNumberOfTheCurrentPage) {
  const struct {
    const char* line;
    double expected;
  } cases[] = {
      {"P45=1234,50", 1234.5}, {"P45=", 0}, {"P44=5", 0},  // absent key
      {"P45=abc", 0},          {"P45= -12,5 ", -12.5},       {"p45=7", 7},
  };
  for (const auto& c : cases) {
    WriteNextSet(std::string("[MAIN]\nPIT=PIT37\n[PIT37a]\n") + c.line + "\n");
    Store().currentPage = "PIT37a";
    EXPECT_DOUBLE_EQ(solv::ReadNumber("p45"), c.expected) << c.line;
    EXPECT_DOUBLE_EQ(solv::ReadNumber("p45", "0", "PIT37a"), c.expected) << c.line;
  }
}

TEST_F(StoreTest, ReadFieldGivesTheDefaultOnlyForWhatIsAbsent) {
  WriteSet("[MAIN]\nPIT=PIT36\n[PIT36a]\nP6A=[X]\nP7=\nP9=  Abc  \n");
  EXPECT_EQ(solv::ReadField("p6a", "", "PIT36a"), "[X]");
  EXPECT_EQ(solv::ReadField("p7", "def", "PIT36a"), "");
  EXPECT_EQ(solv::ReadField("p8", "def", "PIT36a"), "def");
  EXPECT_EQ(solv::ReadField("p9", "", "PIT36a"), "Abc");
  EXPECT_EQ(solv::ReadField("p6a", "def", "PIT37a"), "def");
  EXPECT_TRUE(solv::IsChecked("p6a", "PIT36a"));
  EXPECT_FALSE(solv::IsChecked("p7", "PIT36a"));

  // A set whose file is gone reads as defaults.
  std::filesystem::remove(set_);
  EXPECT_EQ(solv::ReadField("p6a", "def", "PIT36a"), "def");
  EXPECT_FALSE(solv::SectionExists("PIT36a"));
}

TEST_F(StoreTest, EmptyPageMeansTheCurrentPage) {
  WriteSet("[MAIN]\nPIT=PIT37\n[PIT37a]\nP1=a\n[PITDa]\nP1=b\n");
  Store().currentPage = "PITDa";
  EXPECT_EQ(solv::ReadField("p1"), "b");
  solv::WriteField("p4", "x");
  solv::WriteField("p4", "y", "PIT37a");
  EXPECT_EQ(FileBytes(), solv::Utf8ToCp1250("[MAIN]\r\nPIT=PIT37\r\n[PIT37a]\r\nP1=a\r\np4=y\r\n[PITDa]\r\nP1=b\r\np4=x\r\n"));

  // Opening a set forgets the page of the previous one.
  solv::OpenSet(set_);
  EXPECT_EQ(Store().currentPage, "");
}

TEST_F(StoreTest, WriteFieldReachesTheFileAndSurvivesReopening) {
  WriteSet("[MAIN]\nPIT=PIT37\n");
  solv::WriteField("P11", "Kowalska-Łęcka", "PIT37a");
  EXPECT_EQ(FileBytes(), "[MAIN]\r\nPIT=PIT37\r\n[PIT37a]\r\nP11=Kowalska-\xA3\xEA" "cka\r\n");
  solv::OpenSet(set_);
  EXPECT_EQ(solv::ReadField("p11", "", "PIT37a"), "Kowalska-Łęcka");
}

TEST_F(StoreTest, RefusedWriteReportsTheFile) {
  const std::filesystem::path nowhere = dir_ / "SAVE" / "7.i10";
  solv::OpenSet(nowhere);
  try {
    solv::WriteField("p1", "x", "PIT37a");
    FAIL() << "no error";
  } catch (const solv::StoreError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + nowhere.string());
  }
  EXPECT_EQ(solv::ReadField("p1", "def", "PIT37a"), "def");
}

TEST_F(StoreTest, OpenSetCopiesTheAllowedFormsOfItsMainForm) {
  using namespace solv;
  const struct {
    const char* code;
    std::vector<int> forms;
  } cases[] = {
      {"PIT28", {kPIT28, kPITD, kPITO, kPIT2K, kPIT28A, kPIT28B}},
      {"PIT36", {kPIT36, kPITB, kPITD, kPITM, kPITO, kPITZ, kPIT2K, kPITZG, kPITM_M, kPITZ_M}},
      {"PIT36L", {kPIT36L, kPITB, kPITZ, kPITZG, kPITZ_M}},
      {"PIT37", {kPIT37, kPITD, kPITO, kPIT2K}},
      {"PIT38", {kPIT38, kPITZG}},
      {"PIT39", {kPIT39, kPITZG}},
      {"PIT40", {kPIT40}},
      {"PIT99", {}},
      {"pit37", {}},
  };
  for (const auto& c : cases) {
    WriteNextSet(std::string("[MAIN]\nPIT=") + c.code + "\nVER=10\n");
    std::array<bool, kFormCount> expected{};
    for (int f : c.forms) expected[f] = true;
    EXPECT_EQ(Store().allowed, expected) << c.code;
  }
  // A set without a main form allows nothing, also after a richer one.
  WriteNextSet("[MAIN]\nVER=10\n");
  EXPECT_EQ(Store().allowed, (std::array<bool, kFormCount>{}));
  EXPECT_EQ(Store().setFile, set_);
  EXPECT_EQ(solv::SetFileName(), set_.filename().string());
}

TEST_F(StoreTest, SectionsOfFormMatchTheBaseBeforeTheSeparator) {
  WriteSet("[MAIN]\nPIT=PIT36\n[PITBa]\nP4=a\n[PITBa_1]\n[PITOa]\n[pitba_2]\n[PITBax]\n[PITBa_1_x]\n[PITZGa]\n");
  const struct {
    const char* base;
    std::vector<std::string> expected;
  } cases[] = {
      {"pitba", {"PITBa", "PITBa_1", "pitba_2", "PITBa_1_x"}},
      {"PITOa", {"PITOa"}},
      {"PITZGa", {"PITZGa"}},
      {"PITB", {}},
      {"PITBa_1", {}},
      {"PITDa", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(solv::SectionsOfForm(c.base, '_'), c.expected) << c.base;
    EXPECT_EQ(solv::CountSectionsOfForm(c.base, '_'), static_cast<int>(c.expected.size())) << c.base;
  }
  EXPECT_TRUE(solv::SectionExists("pitbA_1"));
  EXPECT_FALSE(solv::SectionExists("PITBa_3"));

  WriteNextSet("");
  EXPECT_TRUE(solv::SectionsOfForm("PITBa", '_').empty());
}

TEST_F(StoreTest, EraseSectionRemovesTheFormInstance) {
  WriteSet("[MAIN]\nPIT=PIT36\n[PITBa]\nP4=a\n[PITBa_1]\nP4=b\n[PITZGa]\nP3=c\n");
  solv::EraseSection("pitba_1");
  EXPECT_FALSE(solv::SectionExists("PITBa_1"));
  EXPECT_EQ(solv::ReadField("p4", "gone", "PITBa_1"), "gone");
  EXPECT_EQ(FileBytes(), "[MAIN]\r\nPIT=PIT36\r\n[PITBa]\r\nP4=a\r\n[PITZGa]\r\nP3=c\r\n");
}

TEST(InstanceName, BaseAndSuffix) {
  const struct {
    const char* instance;
    const char* base;
    const char* suffix;
  } cases[] = {
      {"PITBa_2", "PITBa", "2"},   {"PITMa_M", "PITMa", "M"}, {"PIT37a", "PIT37a", "PIT37a"},
      {"PITOa_1_2", "PITOa", "1_2"}, {"PITZGa_", "PITZGa", ""}, {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(solv::InstanceBase(c.instance), c.base) << c.instance;
    EXPECT_EQ(solv::InstanceSuffix(c.instance), c.suffix) << c.instance;
  }
}

TEST(FormTable, FormIndexIsAnExactMatch) {
  const struct {
    const char* name;
    int index;
  } cases[] = {
      {"PIT28a", 0},   {"PIT36a", 1},   {"PIT36La", 2},  {"PIT37a", 3},   {"PIT38a", 4},   {"PIT39a", 5},
      {"PIT40a", 6},   {"PITBa", 7},    {"PITDa", 8},    {"PITMa", 9},    {"PITOa", 10},   {"PITZa", 11},
      {"PIT2Ka", 12},  {"PIT28Aa", 13}, {"PIT28Ba", 14}, {"PITZGa", 15},  {"PITMa_M", 16}, {"PITZa_M", 17},
      {"pit37a", -1},  {"PIT37A", -1},  {"PIT37", -1},   {"PITBa_1", -1}, {"PIT37a ", -1}, {"", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(solv::FormIndex(c.name), c.index) << c.name;
}

class VersionFileTest : public SetFixture {
 protected:
  void WriteVersionFile(const std::string& utf8) {
    std::ofstream out(dir_ / "wersja.ini", std::ios::binary | std::ios::trunc);
    out << solv::Utf8ToCp1250(utf8);
  }
};

TEST_F(VersionFileTest, VersionTextDefaultsToNoData) {
  EXPECT_EQ(solv::VersionText(), "brak danych");
  WriteVersionFile("[WERSJA]\r\nInne=1\r\n");
  EXPECT_EQ(solv::VersionText(), "brak danych");
  WriteVersionFile("[wersja]\r\ndata = 2011-01-20 \r\n");
  EXPECT_EQ(solv::VersionText(), "2011-01-20");
}

TEST_F(StoreTest, IniReadListUsesOneDefault) {
  const auto file = dir_ / "lista.ini";
  solv::IniWrite(file, "Lista", "1", "7.i10");
  solv::IniWrite(file, "Lista", "3", "");
  EXPECT_EQ(solv::IniReadList(file, "LISTA", {"1", "2", "3"}, "-"), (std::vector<std::string>{"7.i10", "-", ""}));
}

// ---------------------------------------------------------------- pages

// A page window as the store sees it: cells with a name, a clear value and text.
class FakePage : public solv::PageCells {
 public:
  struct Cell {
    std::string name, clear, text;
  };
  FakePage(std::string instance, std::vector<Cell> cells) : instance_(std::move(instance)), cells_(std::move(cells)) {}
  std::string InstanceName() const override { return instance_; }
  int CellCount() const override { return static_cast<int>(cells_.size()); }
  std::string CellName(int i) const override { return cells_[i].name; }
  std::string CellClearValue(int i) const override { return cells_[i].clear; }
  std::string CellText(int i) const override { return cells_[i].text; }
  void SetCellText(int i, const std::string& text) override { cells_[i].text = text; }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& c : cells_) out.push_back(c.text);
    return out;
  }

 private:
  std::string instance_;
  std::vector<Cell> cells_;
};

// The set file with a count of the writes that reach it.
class CountingStore : public solv::IniStore {
 public:
  explicit CountingStore(solv::IniStore& file) : file_(file) {}
  std::optional<std::string> Read(std::string_view s, std::string_view k) override { return file_.Read(s, k); }
  void Write(std::string_view s, std::string_view k, std::string_view v) override {
    ++writes;
    file_.Write(s, k, v);
  }
  void WriteMany(std::string_view s, const solv::IniEntries& e) override {
    ++writes;
    file_.WriteMany(s, e);
  }
  std::vector<std::string> Sections() override { return file_.Sections(); }
  solv::IniEntries Entries(std::string_view s) override { return file_.Entries(s); }
  void EraseSection(std::string_view s) override {
    ++writes;
    file_.EraseSection(s);
  }
  void EraseKey(std::string_view s, std::string_view k) override {
    ++writes;
    file_.EraseKey(s, k);
  }
  int writes = 0;

 private:
  solv::IniStore& file_;
};

class PageCellsTest : public SetFixture {
 protected:
  void TearDown() override {
    Store().backend = nullptr;
    SetFixture::TearDown();
  }
};

TEST_F(PageCellsTest, LoadShowsStoredTextsAndClearValuesForTheRest) {
  WriteSet("[MAIN]\nPIT=PIT37\n[PIT36a]\nP39=wrong section\n[PIT37a]\np39=100,00\nP40=\nP11=Nowak\n");
  FakePage page("PIT37a", {{"p39", "0,00", "old"},
                           {"p40", "0,00", "old"},
                           {"p6a", "[  ]", "old"},
                           {"p11", "", "old"},
                           {"p12", "", "old"}});
  solv::LoadPageCells(page);
  EXPECT_EQ(page.Texts(), (std::vector<std::string>{"100,00", "", "[  ]", "Nowak", ""}));
}

TEST_F(PageCellsTest, SaveWritesEveryCellUnderItsUpperCaseNameInOneFileWrite) {
  WriteSet("[MAIN]\nPIT=PIT37\n[PIT37a]\np39=1,00\n[PITDa]\nP1=x\n");
  CountingStore counting(solv::OpenIni(set_));
  Store().backend = &counting;

  FakePage page("PIT37a", {{"p39", "0,00", "5,00"}, {"p6a", "[  ]", "[X]"}, {"p11", "", "Żak"}, {"p12", "", ""}});
  solv::SavePageCells(page);
  EXPECT_EQ(counting.writes, 1);
  EXPECT_EQ(FileBytes(), "[MAIN]\r\nPIT=PIT37\r\n[PIT37a]\r\np39=5,00\r\nP6A=[X]\r\nP11=\xAF" "ak\r\nP12=\r\n"
                         "[PITDa]\r\nP1=x\r\n");

  // Loaded back into a fresh page, the texts are the same.
  FakePage fresh("PIT37a", {{"p39", "0,00", ""}, {"p6a", "[  ]", ""}, {"p11", "", "?"}, {"p12", "-", "?"}});
  solv::LoadPageCells(fresh);
  EXPECT_EQ(fresh.Texts(), (std::vector<std::string>{"5,00", "[X]", "Żak", ""}));
  EXPECT_EQ(counting.writes, 1);
}

TEST_F(PageCellsTest, SaveOfANewInstanceCreatesItsSection) {
  WriteSet("[MAIN]\nPIT=PIT36\n[PITBa]\nP4=a\n");
  FakePage page("PITBa_1", {{"p4", "", "b"}, {"p5", "0,00", "0,00"}});
  solv::SavePageCells(page);
  EXPECT_EQ(solv::SectionsOfForm("PITBa", '_'), (std::vector<std::string>{"PITBa", "PITBa_1"}));
  EXPECT_EQ(solv::ReadField("p5", "", "PITBa_1"), "0,00");
}

}  // namespace
