// Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z on the main window, and the "Edycja"
// items that say what they will take back.
#include <QMenu>

#include "shell/edit_history.hpp"
#include "test_gui_fixture.hpp"

namespace {

using solv::app::PageWindow;

class UndoWindow : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    solv::SetHistory().Clear();
  }
  // A key on the main window, as a person presses it.
  void Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
    QApplication::setActiveWindow(window_.get());
    QTest::keyClick(window_->windowHandle(), key, mods);
    QTest::qWait(20);
  }
  void EnterOnPage(PageWindow& page, const char* cell, const char* text) {
    Click(page, cell);
    Type(page, text);
    Key(page, Qt::Key_Return);
    QTest::qWait(10);  // the items follow the step once it has ended
  }
  // Page 2 of PIT-37 of a new set, shown.
  PageWindow& IncomePage() {
    WindowWithSet("PIT37", 1);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    PageWindow& page = OpenPage("TPIT37b", "PIT37a");
    QApplication::processEvents();
    return page;
  }
  QString ItemText(const char* action) { return window_->Action(QString::fromLatin1(action))->text(); }
};

TEST_F(UndoWindow, KeysTakeBackAndRedoTheEntryAndTheItemsNameIt) {
  PageWindow& page = IncomePage();
  EXPECT_FALSE(window_->Action(QStringLiteral("ActionCofnij"))->isEnabled());

  EnterOnPage(page, "p39", "1000");
  EnterOnPage(page, "p40", "100");
  ASSERT_EQ(Stored("p41", "PIT37a"), "900,00");
  EXPECT_EQ(ItemText("ActionCofnij"), QStringLiteral("&Cofnij: poz. 40 PIT-37"));

  Press(Qt::Key_Z);
  EXPECT_EQ(Stored("p40", "PIT37a"), "0,00") << "as the page stored it with the entry before";
  EXPECT_EQ(Stored("p41", "PIT37a"), "1000,00");
  EXPECT_EQ(window_->Page("PIT37a")->Cell("p41")->Caption(), "1000,00") << "the page shows what was taken back";
  EXPECT_EQ(ItemText("ActionCofnij"), QStringLiteral("&Cofnij: poz. 39 PIT-37"));
  EXPECT_EQ(ItemText("ActionPonow"), QStringLiteral("&Ponów: poz. 40 PIT-37"));

  Press(Qt::Key_Y);
  EXPECT_EQ(Stored("p40", "PIT37a"), "100,00");
  Press(Qt::Key_Z);
  Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Stored("p40", "PIT37a"), "100,00");
  EXPECT_TRUE(messages_.calls.empty());
}

TEST_F(UndoWindow, TypingNotStoredIsDroppedFirstAndTheEntryBeforeItNext) {
  PageWindow& page = IncomePage();
  EnterOnPage(page, "p39", "1000");
  Click(page, "p40");
  Type(page, "55");
  // In the box, Ctrl+Z undoes the typing as in any text field; once there
  // is none, it takes back the entry before.
  Key(page, Qt::Key_Z, Qt::ControlModifier);
  Key(page, Qt::Key_Z, Qt::ControlModifier);
  QTest::qWait(20);
  EXPECT_EQ(Stored("p39", "PIT37a"), "");
  EXPECT_EQ(Stored("p40", "PIT37a"), "");
}

TEST_F(UndoWindow, AnEntryOfAClosedWindowIsTakenBackAndItsBoxShown) {
  PageWindow& page = IncomePage();
  EnterOnPage(page, "p39", "1000");
  window_->ClosePage("PIT37a");
  QApplication::processEvents();
  ASSERT_EQ(window_->Page("PIT37a"), nullptr);

  Press(Qt::Key_Z);
  EXPECT_EQ(Stored("p39", "PIT37a"), "");
  PageWindow* shown = window_->Page("PIT37a");
  ASSERT_NE(shown, nullptr) << "the form is opened at the box taken back";
  EXPECT_EQ(shown->Info().className, "TPIT37b");
  EXPECT_EQ(shown->CurrentCell(), "p39");
}

TEST_F(UndoWindow, TheEditMenuShowsTheItemsAsTheyStand) {
  PageWindow& page = IncomePage();
  EnterOnPage(page, "p39", "1000");
  auto* menu = window_->findChild<QMenu*>(QStringLiteral("MenuEdycja"));
  ASSERT_NE(menu, nullptr);
  QStringList texts;
  for (QAction* a : menu->actions())
    if (!a->isSeparator()) texts << a->text();
  EXPECT_EQ(texts, (QStringList{QStringLiteral("&Cofnij: poz. 39 PIT-37"), QStringLiteral("&Ponów"),
                                QStringLiteral("&Przejdź do pozycji...")}));
}

}  // namespace
