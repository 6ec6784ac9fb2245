// The PIT/ZG revenue-and-costs dialog and the joint-versus-separate window.
#include <QClipboard>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "calc/scale/joint_simulation.hpp"
#include "joint_window.hpp"
#include "test_gui_fixture.hpp"
#include "zg_dialog.hpp"

namespace {

using solv::app::AmountEdit;
using solv::app::TFormRazemOsobno;
using solv::app::TZGForm;
using solv::app::ZgDialogExit;

// ---------------------------------------------------------------------------
// "Razem czy osobno"

class JointWindow : public ::testing::Test {
 protected:
  void TearDown() override {
    if (TFormRazemOsobno* w = solv::app::JointWindow()) w->CloseWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  static AmountEdit* In(const char* name) {
    auto* e = solv::app::JointWindow()->findChild<AmountEdit*>(QString::fromUtf8(name));
    EXPECT_NE(e, nullptr) << name;
    return e;
  }
  static std::string Out(const char* name) {
    auto* l = solv::app::JointWindow()->findChild<QLabel*>(QString::fromUtf8(name));
    EXPECT_NE(l, nullptr) << name;
    return l ? l->text().toStdString() : std::string();
  }
  // Every output against the calculation of the entries now in the boxes.
  static void ExpectOutputsMatch(const std::string& when) {
    const solv::JointSimulationResult r = solv::SimulateJointTaxation(solv::app::JointWindow()->Input());
    const std::pair<const char*, std::string> outputs[] = {
        {"Dochod1", r.dochod1},   {"Dochod2", r.dochod2},       {"Dochod3", r.dochod3},
        {"Podatek1", r.podatek1}, {"Podatek2", r.podatek2},     {"Podatek3", r.podatek3},
        {"Odliczenia33", r.odliczenia33}, {"DoZaplaty1", r.doZaplaty1}, {"DoZaplaty2", r.doZaplaty2},
        {"dozaplaty3", r.doZaplaty3}, {"osobno", r.osobno},     {"razem", r.razem}};
    for (const auto& [name, expected] : outputs) EXPECT_EQ(Out(name), expected) << name << " after " << when;
  }
};

TEST_F(JointWindow, OutputsFollowEveryKeystroke) {
  solv::app::ShowJointWindow(nullptr);
  ASSERT_NE(solv::app::JointWindow(), nullptr);
  EXPECT_EQ(solv::app::JointWindow()->windowTitle(), QStringLiteral("Razem czy osobno"));
  EXPECT_EQ(Out("razem"), "0,00");  // before any entry

  // Key by key: each change recalculates at once, no other trigger needed.
  const std::pair<const char*, const char*> typing[] = {
      {"Przychod1", "100000"}, {"Odliczenia1", "2500,5"}, {"Odliczenia11", "300"},
      {"Przychod2", "40000"},  {"Odliczenia2", "100"},    {"Odliczenia22", "12,34"}};
  for (const auto& [box, text] : typing) {
    for (const char* c = text; *c; ++c) {
      QTest::keyClick(In(box), *c);
      ExpectOutputsMatch(std::string(box) + " += " + *c);
    }
  }
  QTest::keyClick(In("Przychod2"), Qt::Key_Backspace);
  ExpectOutputsMatch("Backspace");
  In("Przychod1")->clear();
  ExpectOutputsMatch("clearing");
}

TEST_F(JointWindow, WorkedExampleOfOneEarner) {
  solv::app::ShowJointWindow(nullptr);
  QTest::keyClicks(In("Przychod1"), QStringLiteral("100000"));
  EXPECT_EQ(Out("Dochod1"), "100000,00");
  EXPECT_EQ(Out("Podatek1"), "19470,06");
  EXPECT_EQ(Out("Podatek2"), "0,00");
  EXPECT_EQ(Out("DoZaplaty1"), "19470,00");
  EXPECT_EQ(Out("osobno"), "19470,00");
  EXPECT_EQ(Out("Dochod3"), "100000,00");
  EXPECT_EQ(Out("Podatek3"), "16887,96");
  EXPECT_EQ(Out("razem"), "16888,00");
}

TEST_F(JointWindow, EntriesAcceptAmountsOnly) {
  solv::app::ShowJointWindow(nullptr);
  // Letters, blanks and a minus are refused; one decimal separator only.
  QTest::keyClicks(In("Przychod1"), QStringLiteral("1a2 -3,4,5x"));
  EXPECT_EQ(In("Przychod1")->text(), QStringLiteral("123,45"));
  // Leaving does not force decimals on a whole number.
  QTest::keyClicks(In("Przychod2"), QStringLiteral("700"));
  In("Przychod1")->setFocus();
  EXPECT_EQ(In("Przychod2")->text(), QStringLiteral("700"));
}

// No typed or pasted amount becomes another number: a thousands separator
// is one, a refused key keeps the selection and a balloon says why.
TEST_F(JointWindow, ThousandsSeparatorsAndRefusedKeys) {
  solv::app::ShowJointWindow(nullptr);
  QTest::keyClicks(In("Przychod1"), QStringLiteral("1.234,56"));
  EXPECT_EQ(In("Przychod1")->text(), QStringLiteral("1234,56"));
  QGuiApplication::clipboard()->setText(QStringLiteral("40 019,00"));
  In("Przychod2")->setFocus();
  QTest::keyClick(In("Przychod2"), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(In("Przychod2")->text(), QStringLiteral("40019,00"));
  In("Przychod2")->selectAll();
  QTest::keyClick(In("Przychod2"), Qt::Key_Minus);
  EXPECT_EQ(In("Przychod2")->text(), QStringLiteral("40019,00"));
  EXPECT_EQ(In("Przychod2")->selectedText(), QStringLiteral("40019,00"));
  ASSERT_NE(In("Przychod2")->RefusalBalloon(), nullptr);
  EXPECT_TRUE(In("Przychod2")->RefusalBalloon()->isVisible());
}

TEST_F(JointWindow, AtMostOneWindowInTheDocumentArea) {
  QMdiArea area;
  area.show();
  solv::app::ShowJointWindow(&area);
  TFormRazemOsobno* first = solv::app::JointWindow();
  ASSERT_NE(first, nullptr);
  QTest::keyClicks(In("Przychod1"), QStringLiteral("5000"));

  // Another window in front; the second call brings the same one back.
  QMdiSubWindow* other = area.addSubWindow(new QWidget);
  other->show();
  area.setActiveSubWindow(other);
  solv::app::ShowJointWindow(&area);
  EXPECT_EQ(solv::app::JointWindow(), first);
  EXPECT_EQ(area.subWindowList().size(), 2);
  ASSERT_NE(area.activeSubWindow(), nullptr);
  EXPECT_EQ(area.activeSubWindow()->widget(), first);
  EXPECT_EQ(In("Przychod1")->text(), QStringLiteral("5000"));  // its entries kept

  // "Zakończ" closes and frees it; the next call opens a fresh one.
  auto* finish = first->findChild<QPushButton*>(QStringLiteral("BitBtnZakoncz"));
  ASSERT_NE(finish, nullptr);
  QTest::mouseClick(finish, Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(solv::app::JointWindow(), nullptr);
  EXPECT_EQ(area.subWindowList().size(), 1);
  solv::app::ShowJointWindow(&area);
  ASSERT_NE(solv::app::JointWindow(), nullptr);
  EXPECT_EQ(In("Przychod1")->text(), QString());
  EXPECT_EQ(area.subWindowList().size(), 2);
}

// ---------------------------------------------------------------------------
// PIT/ZG dialog

// Drives the modal dialog once it is open.
void WhenDialogOpens(std::function<void(TZGForm&)> drive) {
  QTimer::singleShot(0, [drive] {
    auto* dialog = qobject_cast<TZGForm*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    drive(*dialog);
  });
}

void Enter(TZGForm& d, const char* revenue, const char* costs) {
  // Each box starts with its whole text selected, so typing replaces it.
  QTest::keyClicks(d.RevenueEdit(), QString::fromUtf8(revenue));
  d.CostsEdit()->setFocus();
  d.CostsEdit()->selectAll();
  QTest::keyClicks(d.CostsEdit(), QString::fromUtf8(costs));
}

void Press(TZGForm& d, const char* button) {
  auto* b = d.findChild<QPushButton*>(QString::fromUtf8(button));
  ASSERT_NE(b, nullptr) << button;
  QTest::mouseClick(b, Qt::LeftButton);
}

class ZgDialog : public GuiFixture {};

TEST_F(ZgDialog, StoresRevenueAndCostsAndRecalculates) {
  struct Case {
    const char* mainForm;
    const char* box;
    const char* revenue;
    const char* costs;
    const char* revenueStored;
    const char* costsStored;
    const char* income;        // the box after the recalculation
    const char* totalBox;      // a box the recalculation derives
    const char* total;
  };
  const Case cases[] = {
      // PIT-36: column c summed into box 28 (box 10 holds 200,00 already).
      {"PIT36", "p13", "5000", "1234,5", "5000,00", "1234,50", "3765,50", "p28", "3965,50"},
      // Costs above revenue: the box is 0,00, both amounts are kept.
      {"PIT36", "p13", "1000", "1500", "1000,00", "1500,00", "0,00", "p28", "200,00"},
      // PIT-38 keeps part C.3 only: box 32 stays, box 13 is emptied.
      {"PIT38", "p32", "800,1", "0", "800,10", "0,00", "800,10", "p30", ""},
      {"PIT38", "p13", "900", "100", "900,00", "100,00", "", "p28", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mainForm) + " " + c.box);
    ASSERT_GT(solv::CreateSet(solv::DataFolder(), c.mainForm, 1), 0);
    solv::WriteField("p1", "1234567890", "PITZGa");
    solv::WriteField("p10", "200,00", "PITZGa");
    solv::WriteField("p30", "77,00", "PITZGa");
    WhenDialogOpens([&](TZGForm& d) {
      Enter(d, c.revenue, c.costs);
      Press(d, "OK");
    });
    EXPECT_TRUE(solv::app::OpenZgDialog(nullptr, "PITZGa", c.box));
    const std::string box = c.box;
    EXPECT_EQ(Stored((box + "a").c_str(), "PITZGa"), c.revenueStored);
    EXPECT_EQ(Stored((box + "b").c_str(), "PITZGa"), c.costsStored);
    EXPECT_EQ(Stored(c.box, "PITZGa"), c.income);
    EXPECT_EQ(Stored(c.totalBox, "PITZGa"), c.total);
  }
}

// Revenue with three decimals would be rounded: OK is refused with a
// balloon until it is corrected.
TEST_F(ZgDialog, AnEntryThatWouldBeRoundedIsRefused) {
  ASSERT_GT(solv::CreateSet(solv::DataFolder(), "PIT36", 1), 0);
  solv::WriteField("p1", "1234567890", "PITZGa");
  bool refused = false;
  WhenDialogOpens([&](TZGForm& d) {
    Enter(d, "1.234", "0");
    Press(d, "OK");
    refused = d.isVisible() && d.RevenueEdit()->RefusalBalloon() && d.RevenueEdit()->RefusalBalloon()->isVisible();
    EXPECT_EQ(d.RevenueEdit()->text(), QStringLiteral("1,234"));
    d.RevenueEdit()->setFocus();
    d.RevenueEdit()->selectAll();
    QTest::keyClicks(d.RevenueEdit(), QStringLiteral("1234"));
    Press(d, "OK");
  });
  EXPECT_TRUE(solv::app::OpenZgDialog(nullptr, "PITZGa", "p13"));
  EXPECT_TRUE(refused);
  EXPECT_EQ(Stored("p13a", "PITZGa"), "1234,00");
}

TEST_F(ZgDialog, CancelStoresNothing) {
  ASSERT_GT(solv::CreateSet(solv::DataFolder(), "PIT36", 1), 0);
  solv::WriteField("p19a", "300,00", "PITZGa");
  solv::WriteField("p19b", "100,00", "PITZGa");
  solv::WriteField("p19", "200,00", "PITZGa");
  for (const char* how : {"Anuluj", "Escape"}) {
    SCOPED_TRACE(how);
    WhenDialogOpens([how](TZGForm& d) {
      // Preset from the hidden cells.
      EXPECT_EQ(d.RevenueEdit()->text(), QStringLiteral("300,00"));
      EXPECT_EQ(d.CostsEdit()->text(), QStringLiteral("100,00"));
      Enter(d, "9999", "1");
      if (std::string(how) == "Escape")
        QTest::keyClick(d.CostsEdit(), Qt::Key_Escape);
      else
        Press(d, how);
    });
    EXPECT_FALSE(solv::app::OpenZgDialog(nullptr, "PITZGa", "p19"));
    EXPECT_EQ(Stored("p19a", "PITZGa"), "300,00");
    EXPECT_EQ(Stored("p19b", "PITZGa"), "100,00");
    EXPECT_EQ(Stored("p19", "PITZGa"), "200,00");
  }
}

TEST_F(ZgDialog, ShowsTheBoxAndItsRowCaption) {
  ASSERT_GT(solv::CreateSet(solv::DataFolder(), "PIT39", 1), 0);
  solv::WriteField("p34a", "12,00", "PITZGa");
  WhenDialogOpens([](TZGForm& d) {
    auto text = [&](const char* name) {
      auto* l = d.findChild<QLabel*>(QString::fromUtf8(name));
      return l ? l->text().toStdString() : std::string("(none)");
    };
    EXPECT_EQ(text("Label1"), "Poz. 34 : Dochód, o którym mowa w art. 30e ust.8 i 9 ustawy ");
    EXPECT_EQ(text("Label2"), "Poz. 34a Przychód : ");
    EXPECT_EQ(text("Label3"), "Poz. 34b Koszty : ");
    EXPECT_EQ(d.focusWidget(), d.RevenueEdit());
    EXPECT_EQ(d.RevenueEdit()->selectedText(), QStringLiteral("12,00"));  // typing replaces it
    EXPECT_TRUE(d.windowFlags() & Qt::FramelessWindowHint);
    Press(d, "Anuluj");
  });
  solv::app::OpenZgDialog(nullptr, "PITZGa", "p34");
}

TEST_F(ZgDialog, OtherBoxesOpenNoDialog) {
  ASSERT_GT(solv::CreateSet(solv::DataFolder(), "PIT36", 1), 0);
  for (const char* box : {"p9", "p11", "p28", "p13a", "p1"}) {
    EXPECT_FALSE(solv::app::IsZgIncomeBox("TPITZGa", box)) << box;
    EXPECT_FALSE(solv::app::OpenZgDialog(nullptr, "PITZGa", box)) << box;
  }
  EXPECT_TRUE(solv::app::IsZgIncomeBox("TPITZGa", "P25"));
  EXPECT_FALSE(solv::app::IsZgIncomeBox("TPIT36b", "p25"));
}

TEST(ZgNeighbours, NextAndPreviousBoxes) {
  struct Case { int box; bool previous; const char* expected; };
  const Case cases[] = {{10, false, "p11"}, {10, true, "p9"},  {25, false, "p26"}, {30, true, "p7"},
                        {32, true, "p7"},   {34, true, "p33"}, {34, false, "p35"}};
  for (const Case& c : cases)
    EXPECT_EQ(solv::app::ZgNeighbourBox(c.box, c.previous), c.expected) << c.box << " " << c.previous;
}

TEST_F(ZgDialog, PageClickTabAndShiftTabMoveToTheNeighbouringBox) {
  WindowWithSet("PIT36", 1);
  solv::WriteField("p1", "1234567890", "PITZGa");
  solv::app::PageWindow& page = OpenPage("TPITZGa", "PITZGa");
  page.ReloadCells();

  // Tab in the costs box keeps the entry and opens box 14 in the editor.
  WhenDialogOpens([](TZGForm& d) {
    Enter(d, "2000", "500");
    QTest::keyClick(d.CostsEdit(), Qt::Key_Tab);
  });
  ASSERT_TRUE(solv::app::HandleZgClick(page, page.Cell("p13")));
  EXPECT_EQ(Stored("p13", "PITZGa"), "1500,00");
  EXPECT_EQ(Stored("p13a", "PITZGa"), "2000,00");
  EXPECT_EQ(Stored("p28", "PITZGa"), "1500,00");
  EXPECT_EQ(page.Cell("p13")->Caption(), "1500,00");
  EXPECT_EQ(page.CurrentCell(), "p14");
  EXPECT_TRUE(page.Editor()->isVisible());

  // From box 16 Shift+Tab in the revenue box goes back to box 15; the box
  // being edited is stored first.
  Type(page, "7");
  WhenDialogOpens([](TZGForm& d) {
    QTest::keyClicks(d.RevenueEdit(), QStringLiteral("10"));
    QTest::keyClick(d.RevenueEdit(), Qt::Key_Backtab, Qt::ShiftModifier);
  });
  ASSERT_TRUE(solv::app::HandleZgClick(page, page.Cell("p16")));
  EXPECT_EQ(Stored("p14", "PITZGa"), "7,00");
  EXPECT_EQ(Stored("p16", "PITZGa"), "10,00");
  EXPECT_EQ(Stored("p28", "PITZGa"), "1510,00");
  EXPECT_EQ(page.CurrentCell(), "p15");

  // OK and cancel open no other box.
  Key(page, Qt::Key_Return);
  WhenDialogOpens([](TZGForm& d) { Press(d, "OK"); });
  ASSERT_TRUE(solv::app::HandleZgClick(page, page.Cell("p19")));
  EXPECT_EQ(page.CurrentCell(), "");
  EXPECT_EQ(Stored("p19", "PITZGa"), "0,00");

  // Not an income box: left to the ordinary editor.
  EXPECT_FALSE(solv::app::HandleZgClick(page, page.Cell("p12")));
}

}  // namespace
