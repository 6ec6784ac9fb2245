// Filling pages through the real windows: the editor over a clicked cell,
// its keys, the stored values and what the recalculation makes of them.
#include "test_gui_fixture.hpp"

#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolBar>

#include "report/page_definition.hpp"

namespace {

using solv::app::PageWindow;

class PageEditing : public GuiFixture {
 protected:
  PageWindow& Pit37Page2() {
    WindowWithSet("PIT37", 1);
    return OpenPage("TPIT37b", "PIT37a");
  }
};

TEST_F(PageEditing, MoneyEntryIsFormattedStoredAndRecalculated) {
  PageWindow& page = Pit37Page2();
  EXPECT_TRUE(window_->FormToolbar()->isVisible());
  Click(page, "p39");
  ASSERT_TRUE(page.Editor()->isVisible());
  EXPECT_EQ(page.CurrentCell(), "p39");
  Type(page, "1234,5");
  Key(page, Qt::Key_Return);
  EXPECT_FALSE(page.Editor()->isVisible());
  EXPECT_EQ(Stored("P39", "PIT37a"), "1234,50");
  EXPECT_EQ(Stored("P41", "PIT37a"), "1234,50");
  EXPECT_EQ(page.Cell("p41")->Caption(), "1234,50");  // the page shows the recomputed box
}

TEST_F(PageEditing, TypedKeysAreFiltered) {
  PageWindow& page = Pit37Page2();
  struct Case {
    const char* cell;
    const char* typed;
    const char* shown;  // the editor's text before leaving
  };
  const Case cases[] = {
      {"p39", "12,3,4", "12,34"},  // a second comma is ignored
      {"p39", "1.5", "1,5"},       // a point is entered as a comma
      {"p39", "7a b", "7"},        // letters and blanks are rejected in money cells
      {"p43", "1,2", "12"},        // no comma in an integer cell
  };
  for (const Case& c : cases) {
    Click(page, c.cell);
    const QString before = page.Editor()->text();
    page.Editor()->clear();
    Type(page, c.typed);
    EXPECT_EQ(page.Editor()->text().toStdString(), c.shown) << c.typed;
    Key(page, Qt::Key_Escape);  // cancels: the box keeps its value
    EXPECT_EQ(page.Editor()->text(), before);
    EXPECT_FALSE(page.Editor()->isVisible());
  }
}

TEST_F(PageEditing, EmptyOrOutOfRangeEntriesFallBack) {
  PageWindow& page = Pit37Page2();
  const solv::PageDefinition* def = solv::FindPage("TPIT37b");
  ASSERT_NE(def, nullptr);
  std::string p43NoValue;
  for (const auto& c : def->cells)
    if (c.name == "p43") p43NoValue = c.noValue;

  struct Case {
    const char* cell;
    const char* key;
    const char* typed;
    std::string stored;
    bool refused;  // the editor keeps the entry, with a balloon; nothing is stored
  };
  const Case cases[] = {
      {"p39", "P39", "2500000000", "", true},  // out of range: refused, not stored as the NoValue
      {"p39", "P39", "", "0,00", false},       // empty money: formatted as 0
      {"p43", "P43", "", p43NoValue, false},   // empty integer: its NoValue
  };
  for (const Case& c : cases) {
    Click(page, c.cell);
    page.Editor()->clear();
    Type(page, c.typed);
    Key(page, Qt::Key_Return);
    EXPECT_EQ(Stored(c.key, "PIT37a"), c.stored) << c.cell << " '" << c.typed << "'";
    EXPECT_EQ(page.Editor()->isVisible(), c.refused) << c.cell << " '" << c.typed << "'";
    if (c.refused) Key(page, Qt::Key_Escape);
  }
}

TEST_F(PageEditing, ClickingAnotherCellStoresTheEditedOne) {
  PageWindow& page = Pit37Page2();
  Click(page, "p39");
  Type(page, "100");
  Click(page, "p40");  // the entry in p39 is not lost
  EXPECT_EQ(Stored("P39", "PIT37a"), "100,00");
  EXPECT_EQ(page.CurrentCell(), "p40");
  Type(page, "30");
  Key(page, Qt::Key_Tab);  // Tab stores p40 and moves on
  EXPECT_EQ(Stored("P40", "PIT37a"), "30,00");
  EXPECT_EQ(Stored("P41", "PIT37a"), "70,00");
  EXPECT_TRUE(page.Editor()->isVisible());
  EXPECT_NE(page.CurrentCell(), "p40");
}

// No typed or pasted amount is stored as another number: a thousands
// separator is taken for one, anything else is refused with a balloon.
TEST_F(PageEditing, TypedAndPastedAmountsNeverBecomeOtherNumbers) {
  PageWindow& page = Pit37Page2();
  const struct {
    const char* text;
    bool paste;
    const char* shown;   // the editor's text before leaving
    const char* stored;  // nullptr: refused when left, nothing stored
    bool refusedAtOnce;  // a balloon before the editor is left
  } cases[] = {
      {"-500", false, "-500", nullptr, false},  // was 0,00500, stored as 0,01
      {"1.234,56", false, "1234,56", "1234,56", false},
      {"1.234,56", true, "1234,56", "1234,56", false},
      {"1 234,56 zł", true, "1234,56", "1234,56", false},
      {"1,234.56", true, "1234,56", "1234,56", false},
      {"1.234", false, "1,234", nullptr, false},  // was 1,23
      {"1.234", true, "0,00", "0,00", true},      // thousands or grosz? the paste is refused, the box keeps 0,00
      {"0,005", false, "0,005", nullptr, false},
      {"-500", true, "-500", nullptr, false},
      {"12x", false, "12", "12,00", true},        // a letter is refused as it is typed
  };
  for (const auto& c : cases) {
    solv::WriteField("P39", "0,00", "PIT37a");
    page.ReloadCells();
    Click(page, "p39");
    ASSERT_EQ(page.Editor()->text(), QStringLiteral("0,00"));
    ASSERT_EQ(page.Editor()->selectedText(), QStringLiteral("0,00"));
    if (c.paste) {
      QGuiApplication::clipboard()->setText(QString::fromUtf8(c.text));
      Key(page, Qt::Key_V, Qt::ControlModifier);
    } else {
      Type(page, c.text);
    }
    EXPECT_EQ(page.Editor()->text().toStdString(), c.shown) << c.text << (c.paste ? " pasted" : " typed");
    const bool balloon = page.Editor()->RefusalBalloon() && page.Editor()->RefusalBalloon()->isVisible();
    EXPECT_EQ(balloon, c.refusedAtOnce) << c.text;
    Key(page, Qt::Key_Return);
    if (c.stored) {
      EXPECT_FALSE(page.Editor()->isVisible()) << c.text;
      EXPECT_EQ(Stored("P39", "PIT37a"), c.stored) << c.text;
    } else {
      EXPECT_TRUE(page.Editor()->isVisible()) << c.text << ": the refused entry stays";
      ASSERT_NE(page.Editor()->RefusalBalloon(), nullptr) << c.text;
      EXPECT_TRUE(page.Editor()->RefusalBalloon()->isVisible()) << c.text;
      EXPECT_EQ(Stored("P39", "PIT37a"), "0,00") << c.text;
      Key(page, Qt::Key_Escape);
    }
  }
}

// A refused key leaves the selection: the next key still replaces the
// whole text, and a balloon says why the key was refused.
TEST_F(PageEditing, ARefusedKeyKeepsTheSelection) {
  PageWindow& page = Pit37Page2();
  Click(page, "p43");  // an integer box: no comma
  Type(page, "1");
  Key(page, Qt::Key_Return);
  Click(page, "p43");
  ASSERT_TRUE(page.Editor()->hasSelectedText());
  Type(page, ",");
  EXPECT_EQ(page.Editor()->text(), QStringLiteral("1"));
  EXPECT_TRUE(page.Editor()->hasSelectedText());
  ASSERT_NE(page.Editor()->RefusalBalloon(), nullptr);
  EXPECT_TRUE(page.Editor()->RefusalBalloon()->isVisible());
  Type(page, "7");
  EXPECT_EQ(page.Editor()->text(), QStringLiteral("7"));
}

// Escape cancels the edit: the box shows and keeps the value it had, and
// leaving afterwards stores nothing else.
TEST_F(PageEditing, EscapeRestoresTheBoxValue) {
  PageWindow& page = Pit37Page2();
  Click(page, "p39");
  Type(page, "500");
  Key(page, Qt::Key_Return);
  ASSERT_EQ(Stored("P39", "PIT37a"), "500,00");
  Click(page, "p39");
  page.Editor()->clear();
  Type(page, "123");
  Key(page, Qt::Key_Escape);
  EXPECT_FALSE(page.Editor()->isVisible());
  EXPECT_TRUE(page.CurrentCell().empty());
  EXPECT_EQ(page.Cell("p39")->Caption(), "500,00");
  Click(page, "p40");  // leaving by a click elsewhere
  Key(page, Qt::Key_Return);
  EXPECT_EQ(Stored("P39", "PIT37a"), "500,00");
  EXPECT_EQ(Stored("P41", "PIT37a"), "500,00");
}

// The whole frame of a box takes the click: PIT-28 box 5 from its caption.
TEST_F(PageEditing, TheCaptionOfABoxTakesTheClick) {
  WindowWithSet("PIT28", 1);
  PageWindow& page = OpenPage("TPIT28a", "PIT28a");
  const QRect cell = page.CellRect(page.Cell("p5"));
  const QRect frame = page.FrameRect(page.Cell("p5"));
  ASSERT_GE(cell.top() - frame.top(), 24);
  QTest::mouseClick(page.Sheet(), Qt::LeftButton, {}, QPoint(frame.left() + 60, frame.top() + 6));
  EXPECT_EQ(page.CurrentCell(), "p5");
  EXPECT_TRUE(page.Editor()->isVisible());
  EXPECT_EQ(page.Editor()->geometry().top(), cell.top());  // the editor stands over the cell as before
  // A click on the caption of the box being edited keeps the entry.
  Type(page, "US KRAKÓW");
  QTest::mouseClick(page.Sheet(), Qt::LeftButton, {}, QPoint(frame.left() + 60, frame.top() + 6));
  EXPECT_EQ(page.Editor()->text(), QStringLiteral("US KRAKÓW"));
  // An option's text is its target too.
  const QRect option = page.FrameRect(page.Cell("p6b"));
  QTest::mouseClick(page.Sheet(), Qt::LeftButton, {}, QPoint(option.right() - 10, option.center().y()));
  EXPECT_EQ(Stored("P5", "PIT28a"), "US KRAKÓW");
  EXPECT_EQ(page.Cell("p6b")->Caption(), "[X]");
}

class FirstPage : public GuiFixture {};

TEST_F(FirstPage, TaxationCheckBoxesExcludeEachOtherAndUnlockTheSpouse) {
  WindowWithSet("PIT37", 1);
  PageWindow& page = OpenPage("TPIT37a", "PIT37a");
  EXPECT_EQ(page.Cell("p6a")->Caption(), "[X]");

  // Individual taxation: the spouse's boxes cannot be clicked.
  EXPECT_FALSE(page.Cell("p25")->ShowHint());
  EXPECT_EQ(page.Cell("p25")->Cursor(), solv::crNo);
  Click(page, "p25");
  EXPECT_FALSE(page.Editor()->isVisible());

  Click(page, "p6b");
  EXPECT_EQ(page.Cell("p6b")->Caption(), "[X]");
  EXPECT_EQ(page.Cell("p6a")->Caption(), "[  ]");
  EXPECT_EQ(Stored("P6b", "PIT37a"), "[X]");
  EXPECT_EQ(Stored("P6a", "PIT37a"), "[  ]");
  EXPECT_FALSE(page.Editor()->isVisible());  // check boxes take no editor
  EXPECT_TRUE(page.Cell("p25")->ShowHint());
  EXPECT_EQ(page.Cell("p25")->Cursor(), solv::crHandPoint);

  Click(page, "p6b");
  EXPECT_EQ(page.Cell("p6b")->Caption(), "[  ]");
  EXPECT_FALSE(page.Cell("p25")->ShowHint());
}

TEST_F(FirstPage, TabFromTheLastBoxStoresAndStops) {
  WindowWithSet("PIT37", 2);  // joint: p38 is editable
  PageWindow& page = OpenPage("TPIT37a", "PIT37a");
  Click(page, "p38");
  ASSERT_TRUE(page.Editor()->isVisible());
  Type(page, "KRAKÓW");
  Key(page, Qt::Key_Tab);
  EXPECT_EQ(Stored("P38", "PIT37a"), "KRAKÓW");
  EXPECT_FALSE(page.Editor()->isVisible());
  EXPECT_TRUE(page.CurrentCell().empty());
}

TEST_F(FirstPage, TextIsUpperCasedAndShiftTabGoesBack) {
  WindowWithSet("PIT37", 1);
  PageWindow& page = OpenPage("TPIT37a", "PIT37a");
  Click(page, "p12");
  Type(page, "jan");
  Key(page, Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(Stored("P12", "PIT37a"), "JAN");
  EXPECT_EQ(page.CurrentCell(), "p11");
}

class PageSwitching : public GuiFixture {};

TEST_F(PageSwitching, KeepsPlaceAndInstanceName) {
  WindowWithSet("PIT37", 1);
  OpenPage("TPIT37a", "PIT37a");
  QMdiSubWindow* before = window_->DocumentArea()->activeSubWindow();
  ASSERT_NE(before, nullptr);
  const QRect geometry = before->geometry();
  window_->SwitchPage('b');
  PageWindow* now = window_->ActivePage();
  ASSERT_NE(now, nullptr);
  EXPECT_EQ(now->Info().className, "TPIT37b");
  EXPECT_EQ(now->InstanceName(), "PIT37a");
  EXPECT_EQ(window_->DocumentArea()->activeSubWindow()->geometry(), geometry);
  EXPECT_EQ(window_->OpenWindowNames().size(), 1u);
  window_->SwitchPage('b');  // the page already shown: nothing happens
  EXPECT_EQ(window_->ActivePage(), now);
}

}  // namespace
