// "Skąd ta kwota?": a right click on a box, or F2 on the box being edited,
// shows where its value comes from; a box it names is a link that shows it.
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>

#include "explain_popup.hpp"
#include "test_gui_fixture.hpp"

namespace {

using solv::app::ExplanationPopup;
using solv::app::PageWindow;

class ExplainWindow : public GuiFixture {
 protected:
  // A PIT-37 set with one employment row, its window on page `cls`.
  PageWindow& Pit37(const std::string& cls) {
    WindowWithSet("PIT37", 1);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    solv::WriteField("p39", "50000,00", "PIT37a");
    solv::WriteField("p40", "1335,00", "PIT37a");
    PageWindow& page = OpenPage(cls, "PIT37a");
    page.Activate();
    QApplication::processEvents();
    return page;
  }
  static void RightClick(PageWindow& page, const char* cell) {
    solv::TKVZEditField* f = page.Cell(cell);
    ASSERT_NE(f, nullptr) << cell;
    QTest::mouseClick(page.Sheet(), Qt::RightButton, {}, page.CellRect(f).center());
  }
  static QString PopupText() {
    QWidget* popup = ExplanationPopup();
    if (!popup || !popup->isVisible()) return {};
    auto* text = popup->findChild<QLabel*>(QStringLiteral("explainText"));
    auto* title = popup->findChild<QLabel*>(QStringLiteral("explainTitle"));
    return title && text ? title->text() + "\n" + text->text() : QString();
  }
};

TEST_F(ExplainWindow, RightClickShowsTheRuleAndTheInputs) {
  PageWindow& page = Pit37("TPIT37b");
  RightClick(page, "p41");
  const QString text = PopupText();
  EXPECT_TRUE(text.contains(QStringLiteral("Skąd ta kwota?"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("poz. 41 = poz. 39 − poz. 40, gdy dodatnia"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("48\u00a0665,00"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("href=\"PIT37a#p39\""))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("50\u00a0000,00"))) << text.toStdString();
  // A right click neither opens the editor nor stores anything.
  EXPECT_FALSE(page.Editor()->isVisible());

  QPointer<QWidget> popup = ExplanationPopup();
  QTest::keyClick(popup, Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_TRUE(!popup || !popup->isVisible());
  EXPECT_TRUE(messages_.calls.empty());
}

TEST_F(ExplainWindow, F2ExplainsTheBoxBeingEdited) {
  PageWindow& page = Pit37("TPIT37b");
  Click(page, "p39");
  ASSERT_TRUE(page.Editor()->isVisible());
  // Offscreen, the window must be made active for a shortcut to reach it.
  QApplication::setActiveWindow(window_.get());
  Key(page, Qt::Key_F2);
  const QString text = PopupText();
  EXPECT_TRUE(text.contains(QStringLiteral("poz. 39 PIT-37"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Wartość wpisana przez Ciebie."))) << text.toStdString();
}

TEST_F(ExplainWindow, F2ExplainsTheBoxUnderTheMouse) {
  PageWindow& page = Pit37("TPIT37b");
  solv::TKVZEditField* f = page.Cell("p64");
  ASSERT_NE(f, nullptr);
  QTest::mouseMove(page.Sheet(), page.CellRect(f).center());
  page.Sheet()->setFocus();
  QApplication::setActiveWindow(window_.get());
  QTest::keyClick(page.Sheet(), Qt::Key_F2);
  const QString text = PopupText();
  EXPECT_TRUE(text.contains(QStringLiteral("poz. 64 = suma poz. 41, 45, 49, 54, 59"))) << text.toStdString();
}

// Box 109 (page 3) comes from 107 and 108 (page 2): the link to 108 brings
// page 2 to front with the editor on box 108.
TEST_F(ExplainWindow, AnInputsLinkBringsItsBoxToFront) {
  PageWindow& page = Pit37("TPIT37c");
  RightClick(page, "p109");
  const QString text = PopupText();
  ASSERT_TRUE(text.contains(QStringLiteral("href=\"PIT37a#p108\""))) << text.toStdString();
  auto* label = ExplanationPopup()->findChild<QLabel*>(QStringLiteral("explainText"));
  emit label->linkActivated(QStringLiteral("PIT37a#p108"));
  QTest::qWait(50);
  PageWindow* shown = window_->Page("PIT37a");
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->Info().className, "TPIT37b");
  EXPECT_EQ(shown->CurrentCell(), "p108");
  EXPECT_TRUE(shown->Editor()->isVisible());
  EXPECT_TRUE(!ExplanationPopup() || !ExplanationPopup()->isVisible());
}

}  // namespace
