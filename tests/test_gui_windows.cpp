// Window handling of the main window: the Menu window's buttons, the
// shortcuts of the menus while a page window is active, the "Okno" menu,
// where page windows open and how large they are.
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

#include "joint_window.hpp"
#include "test_gui_fixture.hpp"

namespace {

using solv::app::PageWindow;

class MenuWindow : public GuiFixture {};

TEST_F(MenuWindow, AButtonWorksWithOneClickWhileAPageIsActive) {
  WindowWithSet("PIT37", 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  OpenPage("TPIT37a", "PIT37a");
  QApplication::processEvents();
  ASSERT_TRUE(window_->FormToolbar()->isVisible());
  QPushButton* b = window_->FormButton(QStringLiteral("ActionRazemOsobno"));
  ASSERT_NE(b, nullptr);
  QWindow* win = window_->windowHandle();
  const QPoint at = b->mapTo(window_.get(), b->rect().center());
  QTest::mousePress(win, Qt::LeftButton, {}, at);
  QApplication::processEvents();
  QTest::mouseRelease(win, Qt::LeftButton, {}, at);
  QApplication::processEvents();
  EXPECT_NE(solv::app::JointWindow(), nullptr);
}

}  // namespace

namespace {

class Shortcuts : public GuiFixture {};

// Every shortcut of the main window's menus and form toolbar reaches its
// action while a page window is active, the page's own system menu
// notwithstanding (an item disabled for now, as "Cofnij" with nothing to
// take back, is left out).
TEST_F(Shortcuts, EveryMenuShortcutWorksWhileAPageIsActive) {
  WindowWithSet("PIT37", 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  PageWindow& page = OpenPage("TPIT37a", "PIT37a");
  QApplication::processEvents();
  std::vector<QAction*> actions;
  for (QMenu* m : window_->menuBar()->findChildren<QMenu*>())
    for (QAction* a : m->actions()) actions.push_back(a);
  for (QAction* a : window_->FormToolbar()->actions()) actions.push_back(a);
  std::map<QAction*, int> triggered;
  int keys = 0;
  for (QAction* a : actions) {
    if (a->shortcuts().isEmpty() || !a->isEnabled() || triggered.count(a)) continue;
    QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
    QObject::connect(a, &QAction::triggered, [&triggered, a] { ++triggered[a]; });
    triggered[a] = 0;
  }
  for (auto& [a, count] : triggered) {
    for (const QKeySequence& k : a->shortcuts()) {
      page.setFocus();
      QApplication::processEvents();
      const int before = count;
      const QKeyCombination c = k[0];
      QTest::keyClick(window_->windowHandle(), c.key(), c.keyboardModifiers());
      QApplication::processEvents();
      EXPECT_EQ(count, before + 1) << a->objectName().toStdString() << " " << k.toString().toStdString();
      ++keys;
    }
  }
  EXPECT_GE(keys, 5);
}

// Ctrl+W checks the current form: the panel shows its messages.
TEST_F(Shortcuts, CtrlWChecksTheCurrentForm) {
  WindowWithSet("PIT37", 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  PageWindow& page = OpenPage("TPIT37a", "PIT37a");
  QApplication::processEvents();
  EXPECT_FALSE(window_->MessagesLabel()->text().contains(QStringLiteral("liczba komunikatów")));
  page.setFocus();
  QTest::keyClick(window_->windowHandle(), Qt::Key_W, Qt::ControlModifier);
  QApplication::processEvents();
  EXPECT_TRUE(window_->MessagesLabel()->text().contains(QStringLiteral("liczba komunikatów")))
      << window_->MessagesLabel()->text().toStdString();
}

}  // namespace

namespace {

class PageWindows : public GuiFixture {
 protected:
  // The main window at the size of a small screen, with PIT-37 open.
  void SmallScreenWithPit37() {
    WindowWithSet("PIT37", 1);
    window_->resize(1024, 768);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    QApplication::processEvents();
    OpenPage("TPIT37a", "PIT37a");
    QApplication::processEvents();
  }
  QMdiSubWindow* Frame(const char* instance) {
    PageWindow* p = window_->Page(instance);
    return p ? qobject_cast<QMdiSubWindow*>(p->parentWidget()) : nullptr;
  }
  QRect Viewport() const { return window_->DocumentArea()->viewport()->rect(); }
  void ExpectInsideTheAreaWithoutScrollBars(const char* when) {
    for (QMdiSubWindow* w : window_->DocumentArea()->subWindowList())
      EXPECT_TRUE(Viewport().contains(w->geometry())) << when << " " << w->windowTitle().toStdString();
    EXPECT_FALSE(window_->DocumentArea()->verticalScrollBar()->isVisible()) << when;
    EXPECT_FALSE(window_->DocumentArea()->horizontalScrollBar()->isVisible()) << when;
  }
};

// At 1024 x 768 a page window fits the document area (showing the form
// toolbar no longer makes it taller than the area), and a second form opens
// one cascade step further instead of over the first.
TEST_F(PageWindows, OpenInTheirOwnPlaceInsideTheArea) {
  SmallScreenWithPit37();
  QMdiSubWindow* first = Frame("PIT37a");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->geometry().bottom(), Viewport().bottom());
  ExpectInsideTheAreaWithoutScrollBars("one window");

  window_->Action(QStringLiteral("ActionPITO"))->trigger();
  QApplication::processEvents();
  QMdiSubWindow* second = Frame("PITOa");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->pos(), first->pos() + QPoint(solv::kCascadeStep, solv::kCascadeStep));
  ExpectInsideTheAreaWithoutScrollBars("two windows");

  // Closing the first frees its place for the next window.
  window_->ClosePage("PIT37a");
  QApplication::processEvents();
  window_->Action(QStringLiteral("ActionPIT37"))->trigger();
  QApplication::processEvents();
  ASSERT_NE(Frame("PIT37a"), nullptr);
  EXPECT_EQ(Frame("PIT37a")->pos(), QPoint(window_->PageArea().x, 0));
}

// Opening the messages panel shortens the area: the windows that reached
// its bottom still do, and no scroll bar appears.
TEST_F(PageWindows, FollowTheAreaWhenThePanelOpensAndCloses) {
  SmallScreenWithPit37();
  auto* toggle = window_->findChild<QToolButton*>(QStringLiteral("messagesToggle"));
  ASSERT_NE(toggle, nullptr);
  for (int i = 0; i < 2; ++i) {
    const int before = Viewport().height();
    QTest::mouseClick(toggle, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_NE(Viewport().height(), before);
    EXPECT_EQ(Frame("PIT37a")->geometry().bottom(), Viewport().bottom()) << i;
    ExpectInsideTheAreaWithoutScrollBars(i == 0 ? "panel toggled" : "panel toggled back");
  }
}

TEST_F(PageWindows, TheWindowMenuCascadesTilesAndListsTheWindows) {
  SmallScreenWithPit37();
  window_->Action(QStringLiteral("ActionPITO"))->trigger();
  window_->Action(QStringLiteral("ActionRazemOsobno"))->trigger();
  QApplication::processEvents();
  ExpectInsideTheAreaWithoutScrollBars("with the calculator");

  QMenu* menu = window_->WindowMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->title(), QStringLiteral("&Okno"));
  window_->FillWindowMenu();
  QStringList listed;
  QAction* pit37 = nullptr;
  for (QAction* a : menu->actions())
    if (a->isCheckable() && a->isVisible()) {
      listed << a->text();
      if (a->text().contains(QStringLiteral("PIT-37"))) pit37 = a;
    }
  ASSERT_EQ(listed.size(), 3) << listed.join(u'|').toStdString();
  EXPECT_TRUE(listed[0].startsWith(QStringLiteral("&1 Formularz (1/3): PIT-37"))) << listed[0].toStdString();
  EXPECT_TRUE(listed[2].contains(QStringLiteral("Razem czy osobno")));
  ASSERT_NE(pit37, nullptr);
  pit37->trigger();
  EXPECT_EQ(window_->ActivePage(), window_->Page("PIT37a"));

  window_->Action(QStringLiteral("ActionKaskada"))->trigger();
  QApplication::processEvents();
  EXPECT_EQ(Frame("PITOa")->pos(), Frame("PIT37a")->pos() + QPoint(solv::kCascadeStep, solv::kCascadeStep));
  ExpectInsideTheAreaWithoutScrollBars("cascaded");

  window_->Action(QStringLiteral("ActionSasiadujaco"))->trigger();
  QApplication::processEvents();
  ExpectInsideTheAreaWithoutScrollBars("tiled");
  EXPECT_FALSE(Frame("PIT37a")->geometry().intersects(Frame("PITOa")->geometry()));
  // The Menu window stays where it is, left of them all.
  for (const char* name : {"PIT37a", "PITOa"}) EXPECT_GE(Frame(name)->x(), window_->PageArea().x) << name;
}

}  // namespace

namespace {

class JointCalculatorWindow : public GuiFixture {};

// "Razem czy osobno" opens whole inside the document area, right of the
// Menu window, also with two page windows open at 1024 x 768.
TEST_F(JointCalculatorWindow, OpensInsideTheDocumentArea) {
  WindowWithSet("PIT37", 1);
  window_->resize(1024, 768);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  window_->Action(QStringLiteral("ActionPIT37"))->trigger();
  window_->Action(QStringLiteral("ActionPITO"))->trigger();
  QApplication::processEvents();
  window_->Action(QStringLiteral("ActionRazemOsobno"))->trigger();
  QApplication::processEvents();
  ASSERT_NE(solv::app::JointWindow(), nullptr);
  auto* frame = qobject_cast<QMdiSubWindow*>(solv::app::JointWindow()->parentWidget());
  ASSERT_NE(frame, nullptr);
  const QRect area = window_->DocumentArea()->viewport()->rect();
  EXPECT_TRUE(area.contains(frame->geometry())) << frame->geometry().x() << "," << frame->geometry().y() << " "
                                                << frame->width() << "x" << frame->height();
  EXPECT_GE(frame->x(), window_->PageArea().x);
  EXPECT_EQ(window_->DocumentArea()->activeSubWindow(), frame);
}

}  // namespace

namespace {

class ClosingWindows : public GuiFixture {};

// Closing the calculator gives the activation back to the form window
// that had it, so its form toolbar is there again.
TEST_F(ClosingWindows, TheWindowActiveBeforeIsActiveAgain) {
  WindowWithSet("PIT37", 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  window_->Action(QStringLiteral("ActionPIT37"))->trigger();
  QApplication::processEvents();
  window_->Action(QStringLiteral("ActionRazemOsobno"))->trigger();
  QApplication::processEvents();
  ASSERT_NE(solv::app::JointWindow(), nullptr);
  solv::app::JointWindow()->CloseWindow();
  QApplication::processEvents();
  EXPECT_EQ(window_->ActivePage(), window_->Page("PIT37a"));
  EXPECT_TRUE(window_->FormToolbar()->isVisible());
}

}  // namespace
