// Ctrl+G, "Przejdź do pozycji": the form and box typed are shown, with the
// editor on the box; what cannot be shown is said.
#include <QInputDialog>
#include <QTimer>

#include "test_gui_fixture.hpp"

namespace {

using solv::app::PageWindow;

class GoToBoxWindow : public GuiFixture {
 protected:
  // Ctrl+G on the main window, the dialog answered with text.
  void GoTo(const QString& text) {
    QTimer driver;
    driver.setInterval(5);
    QObject::connect(&driver, &QTimer::timeout, [&] {
      if (auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
        d->setTextValue(text);
        d->accept();
      }
    });
    driver.start();
    // Offscreen, a closed dialog leaves no window active.
    QApplication::setActiveWindow(window_.get());
    QTest::keyClick(window_->windowHandle(), Qt::Key_G, Qt::ControlModifier);
    driver.stop();
    QTest::qWait(20);
  }
};

TEST_F(GoToBoxWindow, CtrlGShowsTheBoxOnItsPageWithTheEditorOnIt) {
  WindowWithSet("PIT37", 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  OpenPage("TPIT37a", "PIT37a");
  QApplication::processEvents();

  GoTo(QStringLiteral("PIT-37 41"));
  PageWindow* page = window_->Page("PIT37a");
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Info().className, "TPIT37b");
  // A computed box is shown, not edited; an entered one takes the editor.
  GoTo(QStringLiteral("39"));
  page = window_->Page("PIT37a");
  EXPECT_EQ(page->Info().className, "TPIT37b");
  EXPECT_EQ(page->CurrentCell(), "p39");
  EXPECT_TRUE(page->Editor()->isVisible());

  GoTo(QStringLiteral("poz. 110"));
  page = window_->Page("PIT37a");
  EXPECT_EQ(page->Info().className, "TPIT37c");
  EXPECT_EQ(page->CurrentCell(), "p110");
  EXPECT_TRUE(messages_.calls.empty());
}

TEST_F(GoToBoxWindow, ABoxTheFormHasNotIsSaid) {
  WindowWithSet("PIT37", 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  OpenPage("TPIT37a", "PIT37a");
  QApplication::processEvents();
  GoTo(QStringLiteral("PIT-37 999"));
  ASSERT_EQ(messages_.calls.size(), 1u);
  EXPECT_EQ(messages_.calls[0].title, "Przejdź do pozycji");
  EXPECT_EQ(messages_.calls[0].message, "Formularz PIT-37 nie ma poz. 999.");
  EXPECT_EQ(window_->Page("PIT37a")->Info().className, "TPIT37a");
}

TEST_F(GoToBoxWindow, AFormWithoutAWindowIsOpened) {
  WindowWithSet("PIT37", 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  GoTo(QStringLiteral("PIT-37 120"));
  PageWindow* page = window_->Page("PIT37a");
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Info().className, "TPIT37c");
}

}  // namespace
