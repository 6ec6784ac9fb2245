// Pages built from their definitions, filled from a set and copied for print.
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

#include "report/print_copy.hpp"
#include "report/print_page.hpp"
#include "scoped_tmpdir.hpp"
#include "set_fixture.hpp"

namespace {

using solv::TKVZField;

class PrintPageTest : public SetFixture {
 protected:
  void SetUp() override {
    SetFixture::SetUp();
    std::filesystem::create_directory(dir_ / "tmp");
    tmp_.emplace(dir_ / "tmp");
  }
  void TearDown() override {
    tmp_.reset();
    SetFixture::TearDown();
  }
  // The page of className for instance, loaded from the set, and its print copy.
  std::unique_ptr<solv::TKVZPage> Copy(const char* className, const std::string& instance = {}) {
    const solv::PageDefinition* def = solv::FindPage(className);
    EXPECT_NE(def, nullptr);
    page_ = solv::BuildPage(*def, instance.empty() ? solv::DefaultInstanceOf(def->info) : instance);
    solv::PageModelCells cells(*page_);
    solv::LoadPageCells(cells);
    return solv::MakePrintCopy(*page_);
  }
  static std::string Printed(const solv::TKVZPage& copy, const char* cell) {
    const auto* f = copy.Find<TKVZField>(cell);
    EXPECT_NE(f, nullptr) << cell;
    return f ? f->GetPrintText() : "<none>";
  }
  std::unique_ptr<solv::TKVZPage> page_;
  std::optional<ScopedTmpDir> tmp_;
};

TEST_F(PrintPageTest, DefaultInstanceIsTheFormsFirstPage) {
  EXPECT_EQ(solv::DefaultInstanceOf(solv::FindPage("TPIT37b")->info), "PIT37a");
  EXPECT_EQ(solv::DefaultInstanceOf(solv::FindPage("TPIT2Kb")->info), "PIT2Ka");
  EXPECT_EQ(solv::DefaultInstanceOf(solv::FindPage("TPITOc")->info), "PITOa");
}

// Editable and computed cells alike print the text they show; the copy is a
// plain print page: no edit fields, every field transparent, the file gone.
TEST_F(PrintPageTest, CopyPrintsWhatTheCellsShow) {
  WriteSet("[MAIN]\nPIT=PIT37\n[PIT37a]\nP39=50000,00\nP41=48665,00\nP43=7000\nP62=50000,00\n");
  const auto copy = Copy("TPIT37b");
  EXPECT_EQ(Printed(*copy, "p39"), "50000,00");  // editable
  EXPECT_EQ(Printed(*copy, "p41"), "48665,00");  // computed
  EXPECT_EQ(Printed(*copy, "p43"), "7000");
  EXPECT_EQ(Printed(*copy, "p40"), "0,00");  // not stored: its ClearValue
  for (int i = 0; i < copy->ComponentCount(); ++i) {
    EXPECT_EQ(dynamic_cast<solv::TKVZEditField*>(copy->Components(i)), nullptr);
    if (auto* f = dynamic_cast<TKVZField*>(copy->Components(i))) {
      EXPECT_TRUE(f->Transparent()) << f->Name();
      EXPECT_EQ(f->Values().size(), 1u) << f->Name();
    }
  }
  EXPECT_NE(copy->Name(), page_->Name());
  EXPECT_EQ(PrintCopiesIn(dir_ / "tmp"), 0);
}

TEST_F(PrintPageTest, CopyOfAFurtherInstanceCarriesThatInstancesTexts) {
  WriteSet("[MAIN]\nPIT=PIT36\n[PITBa]\nP4=Pierwsza\nP11=100,00\n[PITBa_2]\nP4=Druga\nP11=200,00\n");
  const auto copy = Copy("TPITBa", "PITBa_2");
  EXPECT_EQ(Printed(*copy, "p4"), "Druga");
  EXPECT_EQ(Printed(*copy, "p11"), "200,00");
}

TEST_F(PrintPageTest, EmptySectionShowsEveryClearValue) {
  WriteSet("[MAIN]\nPIT=PIT37\n");
  const auto copy = Copy("TPIT37a");
  EXPECT_EQ(Printed(*copy, "p5"), "2010");
  EXPECT_EQ(Printed(*copy, "p6a"), "[  ]");
  EXPECT_EQ(Printed(*copy, "p11"), "");
  const auto money = Copy("TPIT37c");
  EXPECT_EQ(Printed(*money, "p120"), "0");
  EXPECT_EQ(Printed(*money, "p125"), "0,00");
}

// Every page of the catalogue survives the round trip through the file.
TEST_F(PrintPageTest, EveryPageCanBeCopied) {
  WriteSet("[MAIN]\nPIT=PIT36\n");
  for (const auto& def : solv::PageCatalogue()) {
    SCOPED_TRACE(def.info.className);
    auto page = solv::BuildPage(def, solv::DefaultInstanceOf(def.info));
    std::unique_ptr<solv::TKVZPage> copy;
    ASSERT_NO_THROW(copy = solv::MakePrintCopy(*page));
    int fields = 0;
    for (int i = 0; i < copy->ComponentCount(); ++i) fields += dynamic_cast<TKVZField*>(copy->Components(i)) != nullptr;
    EXPECT_EQ(fields, static_cast<int>(def.cells.size()));
  }
}

// Two processes printing at once in one program folder each print their own
// set: the print copies pass through files of their own.
TEST_F(PrintPageTest, TwoProcessesPrintingAtOnceNeverMixTheirSets) {
  const auto setOf = [&](const char* name, const char* surname) {
    const std::filesystem::path file = dir_ / name;
    PutBytes(file, std::string("[MAIN]\r\nPIT=PIT37\r\n[PIT37a]\r\nP11=") + surname + "\r\n");
    return file;
  };
  const std::filesystem::path mine = setOf("a.i10", "NOWAK"), theirs = setOf("b.i10", "KOWALSKA");
  // Copies of page 1 of a set, each checked for the set's surname; the exit
  // code is the number of copies that carried another.
  const auto printRounds = [&](const std::filesystem::path& set, const char* surname) {
    solv::OpenSet(set);
    int mixed = 0;
    for (int i = 0; i < 400; ++i)
      if (Printed(*Copy("TPIT37a"), "p11") != surname) ++mixed;
    return mixed;
  };
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(std::min(printRounds(theirs, "KOWALSKA"), 100));
  const int mixedHere = printRounds(mine, "NOWAK");
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "copies of the other process that carried this one's set";
  EXPECT_EQ(mixedHere, 0);
  EXPECT_EQ(PrintCopiesIn(dir_ / "tmp"), 0);
  EXPECT_EQ(PrintCopiesIn(dir_), 0);
}

}  // namespace
