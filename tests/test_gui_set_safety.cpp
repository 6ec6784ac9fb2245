// Leaving a set never writes into another one, and a set another copy of the
// program holds opens read-only.
#include <QApplication>
#include <QTest>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <fstream>
#include <functional>
#include <iterator>

#include "form_his.hpp"
#include "services/message_service.hpp"
#include "start_windows.hpp"
#include "store/set_lock.hpp"
#include "test_gui_fixture.hpp"

namespace {

using solv::app::TFormHis;
using Function = solv::RecordingMessageProvider::Function;

class LeavingASet : public GuiFixture {
 protected:
  std::filesystem::path SetFile(int n) const { return folder_ / "SAVE" / (std::to_string(n) + ".i10"); }
  static std::string StoredIn(const std::filesystem::path& set, const char* key) {
    return solv::IniRead(set, "PIT37a", key, "<none>");
  }
  // "Otwórz..." with the set dialog driven by act (the organisation window,
  // first shown in a run, is accepted).
  void WithSetDialog(const std::function<void(TFormHis&)>& act) {
    QTimer driver;
    driver.setInterval(5);
    bool acted = false;
    QObject::connect(&driver, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (auto* org = qobject_cast<solv::app::TFOrganizacje*>(modal)) org->accept();
      auto* d = qobject_cast<TFormHis*>(modal);
      if (!d || acted) return;
      acted = true;
      act(*d);
    });
    driver.start();
    window_->OpenSetDialog();
  }
  bool AnyWriteRefused() const {
    for (const auto& c : messages_.calls)
      if (c.message.find("Unable to write") != std::string::npos) return true;
    return false;
  }
};

// "Otwórz..." while a box is being edited: the entry goes into the set it
// was typed in, never into the set opened next.
TEST_F(LeavingASet, OpeningAnotherSetStoresTheEditedBoxInItsOwnSet) {
  WindowWithSet("PIT37", 1);
  ASSERT_GT(solv::CreateSet(solv::DataFolder(), "PIT37", 1), 0);  // 2.i10, for the dialog to open
  ASSERT_TRUE(solv::OpenSetForWriting(SetFile(1)));
  solv::app::PageWindow& page = OpenPage("TPIT37b", "PIT37a");
  Click(page, "p39");
  Type(page, "1234");  // the editor is still open when the dialog comes
  WithSetDialog([](TFormHis& d) {
    d.List()->setCurrentRow(1);
    d.OkButton()->click();
  });
  EXPECT_EQ(solv::Store().setFile, SetFile(2));
  EXPECT_EQ(StoredIn(SetFile(1), "P39"), "1234,00");
  EXPECT_EQ(StoredIn(SetFile(2), "P39"), "<none>");
  EXPECT_FALSE(AnyWriteRefused());
}

// "Usuń", "&NIE" and "&Anuluj" while a box is being edited: the entry was
// stored before the dialog, and the program ends with no set and no write.
TEST_F(LeavingASet, DeclinedDeletionAndCancelEndTheProgramWithoutAWrite) {
  WindowWithSet("PIT37", 1);
  solv::app::PageWindow& page = OpenPage("TPIT37b", "PIT37a");
  Click(page, "p39");
  Type(page, "77");
  messages_.answers = {2};  // "&NIE"
  WithSetDialog([](TFormHis& d) {
    d.List()->setCurrentRow(0);
    d.DeleteButton()->click();
    d.CancelButton()->click();
  });
  QApplication::processEvents();
  EXPECT_TRUE(solv::Store().setFile.empty());
  EXPECT_FALSE(window_->isVisible());  // the program ends
  EXPECT_TRUE(std::filesystem::exists(SetFile(1)));
  EXPECT_EQ(StoredIn(SetFile(1), "P39"), "77,00");
  EXPECT_FALSE(AnyWriteRefused());
}

// A second copy of the program asks, opens the set read-only on "&TAK" and
// then writes nothing: a click on a box says why.
TEST_F(LeavingASet, ASetInUseOpensReadOnly) {
  WindowWithSet("PIT37", 1);
  solv::WriteField("P39", "1000,00", "PIT37a");
  solv::Store().lock.reset();
  solv::Store().setFile.clear();
  const std::unique_ptr<solv::SetLock> other = solv::SetLock::Acquire(SetFile(1));  // another copy holds it
  ASSERT_TRUE(other);
  std::ifstream in(SetFile(1), std::ios::binary);
  const std::string before((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  messages_.answers = {2};  // "&NIE": not opened
  EXPECT_EQ(solv::OpenExistingSet(solv::DataFolder(), 1, solv::AskThroughBoxes), solv::OpenSetResult::Refused);
  EXPECT_TRUE(solv::Store().setFile.empty());
  messages_.answers = {1};  // "&TAK": read-only
  ASSERT_EQ(solv::OpenExistingSet(solv::DataFolder(), 1, solv::AskThroughBoxes), solv::OpenSetResult::Opened);
  EXPECT_TRUE(solv::Store().readOnly);
  ASSERT_GE(messages_.calls.size(), 2u);
  EXPECT_EQ(messages_.calls[0].message, solv::kSetInUseQuestion);

  solv::app::PageWindow& page = OpenPage("TPIT37b", "PIT37a");
  EXPECT_EQ(page.Cell("p41")->Caption(), "1000,00");  // computed for the screen
  Click(page, "p40");
  EXPECT_FALSE(page.Editor()->isVisible());
  EXPECT_EQ(messages_.calls.back().message, solv::kReadOnlyEditMessage);
  std::ifstream again(SetFile(1), std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()), before);
}

}  // namespace
