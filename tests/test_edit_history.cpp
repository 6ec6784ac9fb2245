// Undo and redo of entries: each user operation is one step that takes
// back every box it changed, whatever page or window it came from.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <vector>
#include <string>

#include "calc/transfer_rules.hpp"
#include "messages/messages.hpp"
#include "set_fixture.hpp"
#include "shell/edit_history.hpp"
#include "shell/links.hpp"
#include "store/ini.hpp"
#include "test_page.hpp"

namespace {

using namespace solv;

int NoQuestion(std::string_view, std::string_view, const std::vector<std::string>&) {
  ADD_FAILURE() << "asked unexpectedly";
  return 0;
}

class EditHistoryTest : public SetFixture {
 protected:
  void SetUp() override {
    SetFixture::SetUp();
    WriteSet(
        "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\nP6a=[X]\nP10a=[X]\nP39=1000,00\nP40=100,00\nP43=50\n"
        "[PITOa]\nP4=1\n");
    Enter("TPIT37b", "PIT37a", "p39", "1000,00");  // every computed box in place
    history_.Clear();
  }

  // An entry as a window makes it: the page loaded, the box typed, stored
  // and recalculated, all one operation.
  void Enter(const char* cls, const std::string& instance, const std::string& cell, const std::string& text,
             bool named = false) {
    const EditHistory::Operation op(history_, named ? instance : std::string(), named ? cell : std::string());
    TestPage page(cls, instance);
    page.Load();
    page.Set(cell, text);
    StorePage(page, NoQuestion);
  }
  static std::string Box(const char* key, const char* section = "PIT37a") { return ReadField(key, "<absent>", section); }

  EditHistory history_;
};

TEST_F(EditHistoryTest, AnEntryIsTakenBackWithWhatWasComputedFromItAndDoneAgain) {
  const std::string before = FileBytes();
  EXPECT_EQ(Box("p41"), "900,00");
  Enter("TPIT37b", "PIT37a", "p39", "2000,00", true);
  EXPECT_EQ(Box("p41"), "1900,00");
  ASSERT_TRUE(history_.CanUndo());
  EXPECT_EQ(history_.UndoLabel(), "poz. 39 PIT-37");
  EXPECT_FALSE(history_.CanRedo());

  HistoryOutcome undone = history_.Undo();
  EXPECT_TRUE(undone.done);
  EXPECT_EQ(undone.message, "");
  EXPECT_EQ(undone.link, "PIT37b#p39");
  EXPECT_EQ(Box("p39"), "1000,00");
  EXPECT_EQ(Box("p41"), "900,00");
  EXPECT_EQ(FileBytes(), before) << "the set is as it was before the entry";
  EXPECT_FALSE(history_.CanUndo());
  EXPECT_EQ(history_.RedoLabel(), "poz. 39 PIT-37");

  EXPECT_TRUE(history_.Redo().done);
  EXPECT_EQ(Box("p39"), "2000,00");
  EXPECT_EQ(Box("p41"), "1900,00");
  EXPECT_EQ(history_.UndoLabel(), "poz. 39 PIT-37");
}

TEST_F(EditHistoryTest, StepsComeBackInTheirOrderAcrossPagesAndClosedWindows) {
  // Each entry from a page object of its own, gone before the undo, as a
  // window closed or switched to another page of the form.
  Enter("TPIT37b", "PIT37a", "p39", "3000,00");
  Enter("TPIT37c", "PIT37a", "p117", "10,00");
  Enter("TPIT37a", "PIT37a", "p1", "1234567890");
  ASSERT_EQ(history_.UndoSteps().size(), 3u);
  const char* labels[] = {"poz. 1 PIT-37", "poz. 117 PIT-37", "poz. 39 PIT-37"};
  for (const char* label : labels) {
    EXPECT_EQ(history_.UndoLabel(), label);
    EXPECT_TRUE(history_.Undo().done) << label;
  }
  EXPECT_EQ(Box("p1"), "<absent>");
  EXPECT_EQ(Box("p1", "PITOa"), "<absent>") << "the identification copied into PIT/O goes too";
  EXPECT_EQ(Box("p117"), "<absent>");
  EXPECT_EQ(Box("p39"), "1000,00");
  EXPECT_EQ(Box("p41"), "900,00");
  EXPECT_EQ(history_.Undo().message, kNothingToUndo);
}

TEST_F(EditHistoryTest, ACheckBoxClickWithItsGroupIsOneStep) {
  {
    const EditHistory::Operation op(history_);
    TestPage page("TPIT37a", "PIT37a");
    page.Load();
    ASSERT_TRUE(ClickCheckBox(page, "p6b", NoQuestion));
  }
  EXPECT_EQ(Box("p6a"), "[  ]");
  EXPECT_EQ(Box("p6b"), "[X]");
  EXPECT_EQ(history_.UndoLabel(), "poz. 6 PIT-37") << "an option is named by its group's printed number";
  history_.Undo();
  EXPECT_EQ(Box("p6a"), "[X]");
  EXPECT_NE(Box("p6b"), "[X]");
}

TEST_F(EditHistoryTest, ACarriedTransferIsTakenBackWithTheRecordOfTheCarry) {
  const std::string shown = Box("p99");
  {
    const EditHistory::Operation op(history_);
    const SetHold hold;
    RecordCarry("PIT37a", "p99", "250,00");
    TestPage page("TPIT37b", "PIT37a");
    page.Load();
    page.Set("p99", "250,00");
    StorePage(page, NoQuestion);
  }
  EXPECT_EQ(RecordedCarry("PIT37a", "p99"), "250,00");
  EXPECT_EQ(history_.UndoLabel(), "poz. 99 PIT-37") << "named by the box, not by the record of the carry";
  history_.Undo();
  EXPECT_EQ(Box("p99"), shown);
  EXPECT_EQ(RecordedCarry("PIT37a", "p99"), "");
}

TEST_F(EditHistoryTest, ACorrectionFromTheMessageListIsTakenBack) {
  Enter("TPIT37b", "PIT37a", "p93", "5000,00");  // above the income in 64
  const std::string text = MessagesText();
  const size_t at = text.find("<link=popraw#");
  ASSERT_NE(at, std::string::npos) << text;
  const LinkTarget link = ParseLink(text.substr(at + 6, text.find('>', at) - at - 6));
  ASSERT_TRUE(link.correct);
  Enter("TPIT37b", "PIT37a", "p93", link.value);
  EXPECT_EQ(Box("p93"), link.value);
  EXPECT_EQ(history_.UndoLabel(), "poz. 93 PIT-37");
  history_.Undo();
  EXPECT_EQ(Box("p93"), "5000,00");
  EXPECT_EQ(Box("p97"), "0,00");
}

TEST_F(EditHistoryTest, AnOperationThatChangesNothingLeavesNoStepAndANewOneForgetsTheRedo) {
  Enter("TPIT37b", "PIT37a", "p39", "1000,00");
  EXPECT_FALSE(history_.CanUndo());
  Enter("TPIT37b", "PIT37a", "p39", "1500,00");
  history_.Undo();
  ASSERT_TRUE(history_.CanRedo());
  Enter("TPIT37b", "PIT37a", "p40", "200,00");
  EXPECT_FALSE(history_.CanRedo());
  EXPECT_EQ(history_.Redo().message, kNothingToRedo);
}

TEST_F(EditHistoryTest, TheHistoryIsOfOneSet) {
  const std::filesystem::path first = set_;
  Enter("TPIT37b", "PIT37a", "p39", "1500,00");
  Enter("TPIT37b", "PIT37a", "p39", "1600,00");
  history_.Undo();
  OpenSet(first);
  EXPECT_EQ(history_.Undo().label, "poz. 39 PIT-37") << "the same set opened again keeps its history";
  // Another set: an entry there starts a history of its own.
  set_ = dir_ / "2.i10";
  WriteSet("[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\nP6a=[X]\n");
  Enter("TPIT37b", "PIT37a", "p40", "5,00");
  ASSERT_EQ(history_.UndoSteps().size(), 1u);
  history_.Undo();
  EXPECT_EQ(history_.Undo().message, kNothingToUndo);
  // Nor does an undo reach into the other set from a third one.
  set_ = dir_ / "3.i10";
  WriteSet("[MAIN]\nPIT=PIT37\nVER=10\n");
  EXPECT_EQ(history_.Redo().message, kNothingToRedo);
}

TEST_F(EditHistoryTest, WhatADeletedFormHeldIsNotBroughtBackAndTheUserIsTold) {
  Enter("TPITOa", "PITOa", "p13", "321,00");
  Enter("TPIT37b", "PIT37a", "p39", "1500,00");
  EraseSection("PITOa");

  EXPECT_TRUE(history_.Undo().done);
  const HistoryOutcome gone = history_.Undo();
  EXPECT_EQ(gone.message, "Formularz PIT/O został usunięty – nic z niego nie przywrócono.");
  EXPECT_FALSE(SectionExists("PITOa"));
  // A form of the same name made later is another one.
  Enter("TPITOa", "PITOa", "p4", "1");
  history_.Undo();
  history_.Redo();
  EXPECT_NE(Box("p13", "PITOa"), "321,00");
}

TEST_F(EditHistoryTest, ABoxChangedSinceStaysAsItIs) {
  Enter("TPIT37b", "PIT37a", "p39", "1500,00");
  WriteField("p39", "7,00", "PIT37a");  // not by an operation of this history
  const HistoryOutcome r = history_.Undo();
  EXPECT_EQ(r.message, "Pozycje zmienione od tego czasu zostały bez zmian.");
  EXPECT_EQ(Box("p39"), "7,00");
}

TEST_F(EditHistoryTest, AReadOnlySetIsNotWritten) {
  Enter("TPIT37b", "PIT37a", "p39", "1500,00");
  const std::string bytes = FileBytes();
  OpenSetReadOnly(set_);
  EXPECT_EQ(history_.Undo().message, kHistoryReadOnly);
  EXPECT_EQ(FileBytes(), bytes);
  EXPECT_TRUE(history_.CanUndo());
}

// The open set read as it is, every write refused as by a full disk.
class RefusingStore final : public IniStore {
 public:
  explicit RefusingStore(IniFile& file) : file_(file) {}
  std::optional<std::string> Read(std::string_view s, std::string_view k) override { return file_.Read(s, k); }
  void Write(std::string_view, std::string_view, std::string_view) override { Refuse(); }
  void WriteMany(std::string_view, const IniEntries&) override { Refuse(); }
  std::vector<std::string> Sections() override { return file_.Sections(); }
  IniEntries Entries(std::string_view s) override { return file_.Entries(s); }
  void EraseSection(std::string_view) override { Refuse(); }
  void EraseKey(std::string_view, std::string_view) override { Refuse(); }

 private:
  void Refuse() { throw StoreError(file_.Path().string()); }
  IniFile& file_;
};

TEST_F(EditHistoryTest, AnEntryTheSetFileRefusesLeavesNoStep) {
  RefusingStore refusing(OpenIni(set_));
  Store().backend = &refusing;
  EXPECT_THROW(Enter("TPIT37b", "PIT37a", "p39", "1500,00"), StoreError);
  Store().backend = nullptr;
  EXPECT_FALSE(history_.CanUndo());
}

TEST_F(EditHistoryTest, AnUndoTheSetFileRefusesKeepsItsStep) {
  Enter("TPIT37b", "PIT37a", "p39", "1500,00");
  RefusingStore refusing(OpenIni(set_));
  Store().backend = &refusing;
  EXPECT_THROW(history_.Undo(), StoreError);
  Store().backend = nullptr;
  EXPECT_TRUE(history_.CanUndo());
  EXPECT_FALSE(history_.CanRedo());
  EXPECT_EQ(history_.UndoLabel(), "poz. 39 PIT-37");
  EXPECT_TRUE(history_.Undo().done) << "and it can be undone once the set can be written";
  EXPECT_EQ(Box("p39"), "1000,00");
}

}  // namespace
