// Filling pages through the real windows: the editor over a clicked cell,
// its keys, the stored values and what the recalculation makes of them.
#include "test_gui_fixture.hpp"

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
    page.Editor()->clear();
    Type(page, c.typed);
    EXPECT_EQ(page.Editor()->text().toStdString(), c.shown) << c.typed;
    Key(page, Qt::Key_Escape);  // empties the editor
    EXPECT_TRUE(page.Editor()->text().isEmpty());
    Key(page, Qt::Key_Return);
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
  };
  const Case cases[] = {
      {"p39", "P39", "2500000000", "0,00"},  // out of range: the cell's NoValue
      {"p39", "P39", "", "0,00"},            // empty money: formatted as 0
      {"p43", "P43", "", p43NoValue},        // empty integer: its NoValue
  };
  for (const Case& c : cases) {
    Click(page, c.cell);
    page.Editor()->clear();
    Type(page, c.typed);
    Key(page, Qt::Key_Return);
    EXPECT_EQ(Stored(c.key, "PIT37a"), c.stored) << c.cell << " '" << c.typed << "'";
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
