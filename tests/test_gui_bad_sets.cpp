// Bad set files beside a real one, chosen through "Otwórz..." of the main
// window: the set dialog lists them as "bez nazwy ", opening them leaves
// the program usable and the real set opens after each.
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <fstream>
#include <random>

#include "form_his.hpp"
#include "services/message_service.hpp"
#include "start_windows.hpp"
#include "store/set_list.hpp"
#include "test_gui_fixture.hpp"

namespace {

using solv::app::TFormHis;

const char* const kRealSet =
    "[MAIN]\r\nPIT=PIT37\r\nVER=10\r\n[PIT37a]\r\nP11=Kowalski\r\nP12=Jan\r\nP124=0000012345\r\n";

class BadSetsInTheDialog : public GuiFixture {
 protected:
  void Put(int n, const std::string& bytes) {
    std::ofstream(folder_ / "SAVE" / (std::to_string(n) + ".i10"), std::ios::binary) << bytes;
  }

  // "Otwórz..." of the main window; in the set dialog chooses the row and
  // presses OK, then "&Anuluj" when the dialog is still open after OK.
  // Returns the labels the dialog listed.
  std::vector<std::string> OpenRow(int row) {
    std::vector<std::string> labels;
    bool done = false;
    QTimer driver;
    driver.setInterval(5);
    QObject::connect(&driver, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (auto* org = qobject_cast<solv::app::TFOrganizacje*>(modal)) org->accept();
      auto* d = qobject_cast<TFormHis*>(modal);
      if (!d) return;
      if (done) {
        d->CancelButton()->click();
        return;
      }
      done = true;
      for (int i = 0; i < d->List()->count(); ++i) labels.push_back(d->List()->item(i)->text().toStdString());
      d->List()->setCurrentRow(row);
      d->OkButton()->click();
    });
    driver.start();
    window_->OpenSetDialog();
    return labels;
  }
  bool FormsShown() const { return window_->FormButton(QStringLiteral("ActionPIT37"))->isVisible(); }
};

TEST_F(BadSetsInTheDialog, ListedAsNoNameAndOpeningThemLeavesTheProgramUsable) {
  Put(1, kRealSet);
  std::string random(std::size_t{1} << 20, '\0');
  std::mt19937 rng(7);
  for (char& c : random) c = static_cast<char>(rng());
  Put(2, random);
  Put(3, kRealSet);
  std::filesystem::resize_file(folder_ / "SAVE" / "3.i10", std::uintmax_t{50} << 20);
  std::string sections;
  for (int i = 1; i <= 100000; ++i) sections += "[S" + std::to_string(i) + "]\r\nK=" + std::to_string(i) + "\r\n";
  Put(4, sections);

  ASSERT_EQ(solv::OpenExistingSet(solv::DataFolder(), 1, solv::AskThroughBoxes), solv::OpenSetResult::Opened);
  window_ = std::make_unique<solv::app::TFormOkno_glowne>();
  window_->EnableFormActions();
  window_->show();
  ASSERT_TRUE(FormsShown());

  const std::vector<std::string> labels = {"Kowalski Jan (PIT-37)", "bez nazwy ", "bez nazwy ", "bez nazwy "};
  const struct {
    const char* name;
    int row;
    const char* openSet;  // the set open afterwards
  } cases[] = {
      {"random bytes", 1, "2.i10"},
      {"50 MB", 2, "1.i10"},  // refused: the real set stays open
      {"100,000 sections", 3, "4.i10"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    messages_.calls.clear();
    EXPECT_EQ(OpenRow(c.row), labels);
    EXPECT_EQ(solv::SetFileName(), c.openSet);
    EXPECT_TRUE(window_->isVisible());
    if (std::string(c.openSet) == "1.i10") {
      ASSERT_EQ(messages_.calls.size(), 1u);
      EXPECT_EQ(messages_.calls[0].title, "Informacja");
      EXPECT_EQ(messages_.calls[0].message.rfind("Nie można otworzyć zestawu 3.i10: plik ma 50 MB", 0), 0u);
      EXPECT_TRUE(FormsShown());
    } else {
      EXPECT_TRUE(messages_.calls.empty());
      EXPECT_FALSE(FormsShown());  // no main form: no form buttons
      EXPECT_EQ(solv::ReadField("p11", "brak", "PIT37a"), "brak");
    }

    EXPECT_EQ(OpenRow(0), labels);
    EXPECT_EQ(solv::SetFileName(), "1.i10");
    EXPECT_TRUE(FormsShown());
    solv::app::PageWindow& page = OpenPage("TPIT37a", "PIT37a");
    EXPECT_EQ(page.Cell("p11")->Caption(), "Kowalski");
    window_->CloseAllPages();
  }
}

}  // namespace
