// The set dialog, the message markup and the message boxes' captions.
#include <QGroupBox>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTranslator>
#include <fstream>

#include "form_his.hpp"
#include "qt_messages.hpp"
#include "store/forms.hpp"
#include "test_gui_fixture.hpp"
#include "translations.hpp"

namespace {

using solv::app::TFormHis;

class SetDialog : public GuiFixture {
 protected:
  void WriteSet(int n, const std::string& text) {
    std::ofstream(folder_ / "SAVE" / (std::to_string(n) + ".i10"), std::ios::binary) << text;
  }
  std::unique_ptr<TFormHis> Dialog() {
    auto d = std::make_unique<TFormHis>();
    d->setProperty("keepRunning", true);
    d->Rebuild();
    d->show();
    return d;
  }
};

TEST_F(SetDialog, NewSetTakesTheFirstFreeNumber) {
  WriteSet(1, "[MAIN]\r\nPIT=PIT37\r\nVER=10\r\n[PIT37a]\r\nP11=ABC\r\nP12=DEF\r\n");
  WriteSet(3, "[MAIN]\r\nPIT=PIT39\r\nVER=10\r\n");
  auto d = Dialog();
  ASSERT_EQ(d->List()->count(), 2);
  EXPECT_EQ(d->List()->item(0)->text().toStdString(), "ABC DEF (PIT-37)");
  EXPECT_EQ(d->List()->item(1)->text().toStdString(), "bez nazwy (PIT-39)");
  EXPECT_TRUE(d->DeleteButton()->isEnabled());

  EXPECT_FALSE(d->TaxationPanel()->isVisible());
  d->Choice("rbPit37")->click();
  EXPECT_TRUE(d->TaxationPanel()->isVisible());
  d->Choice("rb6c")->click();
  d->OkButton()->click();
  EXPECT_EQ(d->result(), QDialog::Accepted);
  EXPECT_TRUE(std::filesystem::exists(folder_ / "SAVE" / "2.i10"));
  EXPECT_EQ(solv::SetFileName(), "2.i10");
  EXPECT_EQ(solv::ReadField("P6c", "", "PIT37a"), "[X]");
  EXPECT_EQ(solv::ReadField("P6a", "", "PIT37a"), "[  ]");
}

TEST_F(SetDialog, ClickingALabelChoosesOpeningAndOkOpensIt) {
  WriteSet(1, "[MAIN]\r\nPIT=PIT37\r\nVER=10\r\n");
  auto d = Dialog();
  d->Choice("rbPit28")->click();
  d->List()->setCurrentRow(0);
  EXPECT_TRUE(d->Choice("rbOpen")->isChecked());
  d->OkButton()->click();
  EXPECT_EQ(d->result(), QDialog::Accepted);
  EXPECT_EQ(solv::SetFileName(), "1.i10");
  EXPECT_TRUE(solv::Store().allowed[solv::kPIT37]);
}

TEST_F(SetDialog, DeletingNeedsTak) {
  WriteSet(1, "[MAIN]\r\nPIT=PIT37\r\nVER=10\r\n");
  auto d = Dialog();
  d->List()->setCurrentRow(0);
  messages_.answers = {2};  // "&NIE"
  d->DeleteButton()->click();
  EXPECT_TRUE(std::filesystem::exists(folder_ / "SAVE" / "1.i10"));
  EXPECT_TRUE(d->NoSetOpen());  // the open set is closed first
  d->List()->setCurrentRow(0);
  d->DeleteButton()->click();  // no answer (queue empty): nothing deleted
  EXPECT_TRUE(std::filesystem::exists(folder_ / "SAVE" / "1.i10"));
  d->List()->setCurrentRow(0);
  messages_.answers = {1};  // "&TAK"
  d->DeleteButton()->click();
  EXPECT_FALSE(std::filesystem::exists(folder_ / "SAVE" / "1.i10"));
  EXPECT_EQ(d->List()->count(), 0);
  EXPECT_FALSE(d->DeleteButton()->isEnabled());
  ASSERT_FALSE(messages_.calls.empty());
  EXPECT_EQ(messages_.calls.back().message, "Czy na pewno chcesz usunąć zestaw z wszystkimi zapisanymi formularzami?");
}

class ToolbarWindow : public GuiFixture {};

TEST_F(ToolbarWindow, ShowsTheButtonsOfTheSetsFormsInTagOrder) {
  auto& w = WindowWithSet("PIT37", 1);
  QPushButton* pit37 = w.FormButton("ActionPIT37");
  QPushButton* pitB = w.FormButton("ActionPITB");
  ASSERT_NE(pit37, nullptr);
  ASSERT_NE(pitB, nullptr);
  EXPECT_TRUE(pit37->isVisible());
  EXPECT_FALSE(w.FormButton("ActionPIT28")->isVisible());
  EXPECT_EQ(pit37->y(), 0);  // the first visible button
  EXPECT_EQ(pitB->y() % 25, 0);
  EXPECT_GT(pitB->y(), pit37->y());
}


TEST(MessageBoxes, AcceleratorsAreStripped) {
  EXPECT_EQ(solv::app::StripAccelerator(QStringLiteral("&TAK")), QStringLiteral("TAK"));
  EXPECT_EQ(solv::app::StripAccelerator(QStringLiteral("Otwórz &wszystkie")), QStringLiteral("Otwórz wszystkie"));
  EXPECT_EQ(solv::app::StripAccelerator(QStringLiteral("A && B")), QStringLiteral("A & B"));
}

}  // namespace

namespace {

// The standard dialogs (print, file, the windows' system menus) speak
// Polish: Qt's translations are a dependency and the program loads them.
TEST(QtTexts, StandardDialogsArePolish) {
  QPrinter printer;
  const QString english = QPrintDialog(&printer).windowTitle();
  QTranslator* texts = solv::app::InstallPolishQtTexts(qApp);
  ASSERT_NE(texts, nullptr) << "qtbase_pl.qm missing: install qt6-translations-l10n";
  EXPECT_EQ(QPrintDialog(&printer).windowTitle(), QStringLiteral("Drukowanie")) << english.toStdString();
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Save As"), QStringLiteral("Zachowaj jako"));
  EXPECT_EQ(QCoreApplication::translate("QMdiSubWindow", "&Close"), QStringLiteral("&Zamknij"));
  QCoreApplication::removeTranslator(texts);
  delete texts;
}

}  // namespace
