// The forms offered for printing and the pages a selection prints.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "report/page_definition.hpp"
#include "report/print_selection.hpp"
#include "set_fixture.hpp"

namespace {

using solv::PrintPageRef;

std::vector<std::string> Names(const std::vector<int>& indices) {
  std::vector<std::string> out;
  for (int i : indices) out.push_back(solv::PrintRows()[static_cast<size_t>(i)].name);
  return out;
}

TEST(PrintRowsTest, TableOrderPrintOrderAndPagesThatExist) {
  std::vector<int> table;
  for (size_t i = 0; i < solv::PrintRows().size(); ++i) {
    const auto& row = solv::PrintRows()[i];
    EXPECT_EQ(row.form, static_cast<int>(i)) << row.name;
    for (const auto& pageClass : row.pageClasses) EXPECT_NE(solv::FindPage(pageClass), nullptr) << pageClass;
    table.push_back(static_cast<int>(i));
  }
  EXPECT_EQ(Names(table), (std::vector<std::string>{"PIT28", "PIT36", "PIT36L", "PIT37", "PIT38", "PIT39", "PIT40",
                                                    "PITB", "PITD", "PITM", "PITO", "PITZ", "PIT2K", "PIT28A",
                                                    "PIT28B", "PITZG", "PITM_M", "PITZ_M"}));
  EXPECT_EQ(Names(solv::PrintOrder()),
            (std::vector<std::string>{"PIT28", "PIT36", "PIT36L", "PIT37", "PIT38", "PIT39", "PIT40", "PITB", "PITZG",
                                      "PITD", "PITM", "PITM_M", "PITO", "PITZ", "PITZ_M", "PIT2K", "PIT28A",
                                      "PIT28B"}));
  EXPECT_EQ(solv::PrintRows()[16].caption, "PIT/M małżonek");
  EXPECT_EQ(solv::PrintRowIndex("pitm_m"), 16);
  EXPECT_EQ(solv::PrintRowIndex("PIT-37"), -1);
}

class PrintSelectionTest : public SetFixture {};

TEST_F(PrintSelectionTest, DialogEnablesPresentFormsAndChecksThoseWithASection) {
  const struct {
    const char* name;
    const char* set;
    std::vector<std::string> enabled, checked;
  } cases[] = {
      // PIT/D present but never saved: offered, not checked; PIT/B not a PIT-37 attachment.
      {"pit37", "[MAIN]\nPIT=PIT37\n[PIT37a]\nP6A=[X]\n[PITBa]\nP1=1\n[PITOa]\nP1=1\n",
       {"PIT37", "PITD", "PITO", "PIT2K"}, {"PIT37", "PITO"}},
      // Individual taxation: the spouse's boxes stay off although PITMa_M is stored.
      {"pit36 method 1", "[MAIN]\nPIT=PIT36\n[PIT36a]\nP6A=[X]\n[PITMa]\nP1=1\n[PITMa_M]\nP1=1\n",
       {"PIT36", "PITB", "PITD", "PITM", "PITO", "PITZ", "PIT2K", "PITZG"}, {"PIT36", "PITM"}},
      {"pit36 method 2", "[MAIN]\nPIT=PIT36\n[PIT36a]\nP6B=[X]\n[PITMa_M]\nP1=1\n[PITZGa_1]\nP1=1\n",
       {"PIT36", "PITB", "PITD", "PITM", "PITO", "PITZ", "PIT2K", "PITZG", "PITM_M", "PITZ_M"},
       {"PIT36", "PITM_M"}},
      {"no main form", "[MAIN]\nVER=10\n[PIT37a]\nP1=1\n", {}, {}},
  };
  for (const auto& c : cases) {
    WriteSet(c.set);
    const auto states = solv::PrintDialogStates();
    std::vector<std::string> enabled, checked;
    for (size_t i = 0; i < states.size(); ++i) {
      if (states[i].enabled) enabled.push_back(solv::PrintRows()[i].name);
      if (states[i].checked) checked.push_back(solv::PrintRows()[i].name);
    }
    EXPECT_EQ(enabled, c.enabled) << c.name;
    EXPECT_EQ(checked, c.checked) << c.name;
    EXPECT_EQ(solv::PreCheckedRows(), c.checked) << c.name;
  }
}

TEST_F(PrintSelectionTest, EachCopyOfAnAttachmentCompleteBeforeTheNext) {
  WriteSet("[MAIN]\nPIT=PIT37\n[PIT37a]\nP1=1\n[PITBa]\nP1=1\n[PITBa_1]\nP1=1\n");
  EXPECT_EQ(solv::PagesToPrint({"PITB", "PIT37"}),
            (std::vector<PrintPageRef>{{"TPIT37a", "PIT37a"},
                                       {"TPIT37b", "PIT37a"},
                                       {"TPIT37c", "PIT37a"},
                                       {"TPITBa", "PITBa"},
                                       {"TPITBb", "PITBa"},
                                       {"TPITBa", "PITBa_1"},
                                       {"TPITBb", "PITBa_1"}}));
}

TEST_F(PrintSelectionTest, AttachmentsInPrintOrderBlankCopyWithoutSectionAndSpousePages) {
  // Copies in file order; a PIT/O without section prints one blank copy.
  WriteSet("[MAIN]\nPIT=PIT36\n[PIT36a]\nP6B=[X]\n[PITZGa_2]\nP1=1\n[PITZGa]\nP1=1\n[PITMa_M]\nP1=1\n");
  EXPECT_EQ(solv::PagesToPrint({"PITO", "PITM_M", "PITZG", "PITZG"}),
            (std::vector<PrintPageRef>{{"TPITZGa", "PITZGa_2"},
                                       {"TPITZGa", "PITZGa"},
                                       {"TPITMa", "PITMa_M"},
                                       {"TPITOa", "PITOa"},
                                       {"TPITOb", "PITOa"},
                                       {"TPITOc", "PITOa"}}));
  EXPECT_EQ(solv::PagesToPrint({"PIT36"}).size(), 6u);
  EXPECT_TRUE(solv::PagesToPrint({}).empty());
  EXPECT_THROW(solv::PagesToPrint({"PIT37", "PIT99"}), std::invalid_argument);
}

}  // namespace
