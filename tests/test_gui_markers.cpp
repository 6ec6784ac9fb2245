// The messages panel with its warning markers, the links of messages and the
// window of the whole-return check.
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

#include "check_window.hpp"
#include "markers.hpp"
#include "messages/messages.hpp"
#include "test_gui_fixture.hpp"

namespace {

using solv::app::MarkerFamily;
using solv::app::MarkersOf;
using solv::app::PageMarker;
using solv::app::PageWindow;

class MessageLinks : public GuiFixture {
 protected:
  PageWindow& Pit37(const char* cls) {
    WindowWithSet("PIT37", 1);
    return OpenPage(cls, "PIT37a");
  }
};

TEST_F(MessageLinks, CorrectionsThatAreNoAmountProposeZero) {
  Pit37("TPIT37b");
  const struct {
    const char* value;
    const char* proposed;
  } cases[] = {{"-5,00", "0"}, {"abc", "0"}, {"", "0"}, {"12,50", "12,50"}};
  for (const auto& c : cases) {
    window_->FollowLink(QStringLiteral("popraw#%1#PIT37b#P39").arg(QString::fromUtf8(c.value)));
    PageWindow* page = window_->ActivePage();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(page->Editor()->isVisible()) << c.value;
    EXPECT_EQ(page->CurrentCell(), "p39") << c.value;
    EXPECT_EQ(page->Editor()->text().toStdString(), c.proposed) << c.value;
  }
}

TEST_F(MessageLinks, ALinkToAnotherPageSwitchesTheWindowToIt) {
  Pit37("TPIT37a");
  window_->FollowLink(QStringLiteral("PIT37b#P39"));
  PageWindow* page = window_->Page("PIT37a");
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Info().className, "TPIT37b");
  EXPECT_EQ(page->CurrentCell(), "p39");
  EXPECT_TRUE(page->Editor()->isVisible());
}

// The check of unreadable amounts links a box by its form's first instance
// ("PIT37a#P39"): the window switches to the page that holds the box.
TEST_F(MessageLinks, ALinkNamingTheFormsFirstPageGoesToThePageOfTheBox) {
  Pit37("TPIT37c");
  window_->FollowLink(QStringLiteral("PIT37a#P39"));
  PageWindow* page = window_->Page("PIT37a");
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Info().className, "TPIT37b");
  EXPECT_EQ(page->CurrentCell(), "p39");
  EXPECT_TRUE(page->Editor()->isVisible());
}

TEST_F(MessageLinks, ALinkToAFormWithoutAWindowDoesNothing) {
  Pit37("TPIT37b");
  window_->FollowLink(QStringLiteral("PIT40b#P69"));
  window_->FollowLink(QStringLiteral("popraw#10,00#PITBa_1#P5"));
  ASSERT_EQ(window_->OpenWindowNames(), std::vector<std::string>{"PIT37a"});
  PageWindow* page = window_->Page("PIT37a");
  EXPECT_EQ(page->Info().className, "TPIT37b");
  EXPECT_FALSE(page->Editor()->isVisible());
}

TEST_F(MessageLinks, ACheckBoxIsShownButNotToggled) {
  Pit37("TPIT37c");
  window_->FollowLink(QStringLiteral("PIT37a#P6a"));
  PageWindow* page = window_->Page("PIT37a");
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Info().className, "TPIT37a");
  EXPECT_EQ(window_->ActivePage(), page);
  EXPECT_EQ(page->Cell("p6a")->Caption(), "[X]");
  EXPECT_EQ(Stored("P6a", "PIT37a"), "[X]");
  EXPECT_FALSE(page->Editor()->isVisible());
}

// A link to a check-box group ("P6", the page has p6a..p6d) goes to the
// group's first option, and a link to a box that takes no entry to that box:
// the page is scrolled to it, nothing is toggled or edited.
TEST_F(MessageLinks, GroupsAndComputedBoxesAreScrolledIntoView) {
  const struct {
    const char* cls;
    const char* link;
    const char* cell;
  } cases[] = {
      {"TPIT37a", "PIT37a#P6", "p6a"},
      {"TPIT37c", "PIT37c#P124", "p124"},
  };
  for (const auto& c : cases) {
    WindowWithSet("PIT37", 1);
    PageWindow& page = OpenPage(c.cls, "PIT37a");
    // A low window scrolled past the box.
    if (QWidget* frame = page.parentWidget()) frame->resize(frame->width(), 300);
    QApplication::processEvents();
    QScrollArea* scroll = page.Scroll();
    const QRect r = page.CellRect(page.Cell(c.cell));
    scroll->verticalScrollBar()->setValue(r.bottom() + 1);
    const auto visible = [&] {
      const QRect shown(page.Sheet()->mapTo(scroll->viewport(), r.topLeft()), r.size());
      return scroll->viewport()->rect().contains(shown);
    };
    ASSERT_FALSE(visible()) << c.link << ": the box must start out of view";
    const std::string before = Stored(c.cell, "PIT37a");
    window_->FollowLink(QString::fromUtf8(c.link));
    EXPECT_TRUE(visible()) << c.link;
    EXPECT_EQ(Stored(c.cell, "PIT37a"), before) << c.link;
    EXPECT_FALSE(page.Editor()->isVisible()) << c.link;
    window_.reset();
  }
}

TEST_F(MessageLinks, AMissingBoxOnlyBringsThePage) {
  Pit37("TPIT37a");
  window_->FollowLink(QStringLiteral("popraw#1,00#PIT37b#P999"));
  PageWindow* page = window_->Page("PIT37a");
  EXPECT_EQ(page->Info().className, "TPIT37b");
  EXPECT_FALSE(page->Editor()->isVisible());
}

// The panel after a correction or a closing: the messages and markers of
// what the set holds now.
class PanelAfterChanges : public GuiFixture {
 protected:
  // PIT-37 whose box 93 exceeds box 64 (message with a POPRAW link to
  // page 2), page 1 shown and the panel refreshed.
  PageWindow& Pit37WithAnError() {
    WindowWithSet("PIT37", 1);
    solv::WriteField("P10a", "[X]", "PIT37a");
    solv::WriteField("P39", "1000,00", "PIT37a");
    solv::WriteField("P93", "1500,00", "PIT37a");
    PageWindow& page = OpenPage("TPIT37b", "PIT37a");
    window_->RequestRefresh();
    window_->RefreshPoint();
    EXPECT_TRUE(Panel().contains(QStringLiteral("Poz.93"))) << Panel().toStdString();
    EXPECT_EQ(MarkersOf(page, MarkerFamily::Warning).size(), 1);
    return page;
  }
  QString Panel() const { return window_->MessagesLabel()->text(); }
  size_t WarningMarkersOnOpenPages() const {
    size_t n = 0;
    for (const std::string& name : window_->OpenWindowNames())
      n += static_cast<size_t>(MarkersOf(*window_->Page(name), MarkerFamily::Warning).size());
    return n;
  }
};

// A POPRAW link to another page of the form: switching the page runs a
// refresh point before the value is stored; the panel still shows the
// messages after the correction.
TEST_F(PanelAfterChanges, ACorrectionOnAnotherPageRefreshesThePanel) {
  for (const char* from : {"TPIT37b", "TPIT37a"}) {
    Pit37WithAnError();
    if (std::string(from) == "TPIT37a") window_->SwitchPage('a');
    ASSERT_EQ(window_->ActivePage()->Info().className, from);
    window_->FollowLink(QStringLiteral("popraw#1000,00#PIT37b#P93"));
    PageWindow* page = window_->ActivePage();
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->Info().className, "TPIT37b");
    ASSERT_EQ(page->Editor()->text(), QStringLiteral("1000,00"));
    Key(*page, Qt::Key_Return);
    EXPECT_EQ(Stored("P93", "PIT37a"), "1000,00") << from;
    EXPECT_FALSE(Panel().contains(QStringLiteral("Poz.93"))) << from << ": " << Panel().toStdString();
    EXPECT_EQ(MarkersOf(*page, MarkerFamily::Warning).size(), 0) << from;
    window_.reset();
  }
}

// Closing a form window in any way empties the panel and takes the
// warning markers away, from every page still open too.
TEST_F(PanelAfterChanges, ClosingAFormEmptiesThePanel) {
  const char* ways[] = {"Zamknij", "Zamknij wszystkie", "title bar"};
  for (const char* way : ways) {
    Pit37WithAnError();
    OpenPage("TPITOa", "PITOa");  // a second form stays open
    window_->BringToFront("PIT37a");
    window_->RequestRefresh();
    window_->RefreshPoint();
    ASSERT_TRUE(Panel().contains(QStringLiteral("Poz.93")));
    const std::string w = way;
    if (w == "Zamknij") window_->Action(QStringLiteral("Action3"))->trigger();
    else if (w == "Zamknij wszystkie") window_->Action(QStringLiteral("Action5"))->trigger();
    else window_->Page("PIT37a")->parentWidget()->close();
    QApplication::processEvents();
    EXPECT_EQ(window_->Page("PIT37a"), nullptr) << way;
    EXPECT_FALSE(Panel().contains(QStringLiteral("Poz.93"))) << way;
    EXPECT_TRUE(Panel().contains(QStringLiteral("Brak komunikatów"))) << way;
    EXPECT_EQ(WarningMarkersOnOpenPages(), 0u) << way;
    window_.reset();
  }
}

// A box being edited when its window is closed from the title bar is stored.
TEST_F(PanelAfterChanges, ClosingFromTheTitleBarStoresTheBoxBeingEdited) {
  WindowWithSet("PIT37", 1);
  PageWindow& page = OpenPage("TPIT37b", "PIT37a");
  Click(page, "p39");
  Type(page, "250");
  page.parentWidget()->close();
  QApplication::processEvents();
  EXPECT_EQ(Stored("P39", "PIT37a"), "250,00");
}

class WarningMarkers : public GuiFixture {
 protected:
  // The panel refreshed over a list holding `messages`.
  void ShowMessages(std::initializer_list<const char*> messages) {
    solv::ClearMessages();
    for (const char* m : messages) solv::AddMessage(m);
    window_->RequestRefresh();
    window_->RefreshPoint();
  }
  QPoint MarkerSpot(PageWindow& page, const char* box) {
    const QRect r = page.CellRect(page.Cell(box));
    return {r.left() + 10, r.top() - 20};
  }
};

TEST_F(WarningMarkers, StandNextToTheLinkedBoxes) {
  WindowWithSet("PIT37", 1);
  PageWindow& page = OpenPage("TPIT37a", "PIT37a");
  ShowMessages({"<color=clRed>a (<link=PIT37a#P6>POKAŻ >>></link>)<br>",
                "<color=clRed>b (<link=popraw#1#PIT37a#P12>POPRAW</link>, <link=PIT37a# P12 >POKAŻ</link>)<br>",
                "<color=clRed>c (<link=PIT37a#P404>POKAŻ</link>)<br>"});
  QList<PageMarker*> markers = MarkersOf(page, MarkerFamily::Warning);
  ASSERT_EQ(markers.size(), 2);  // the box missing from the page gets none
  std::sort(markers.begin(), markers.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
  EXPECT_EQ(markers[0]->pos(), MarkerSpot(page, "p6a"));
  EXPECT_EQ(markers[1]->pos(), MarkerSpot(page, "p12"));
  EXPECT_EQ(markers[0]->size(), QSize(20, 20));
  EXPECT_EQ(markers[0]->text(), "!");
  EXPECT_EQ(markers[0]->Hint(), "Uwaga|-1");
  EXPECT_EQ(markers[0]->Tag(), 90);

  // A new refresh replaces them; markers of other families stay (help
  // markers: transfer markers are placed anew at every refresh point).
  solv::app::AddMarker(page, MarkerFamily::Help, QPoint(5, 5), QStringLiteral("Pomoc|x"));
  ShowMessages({"<color=clRed>a (<link=PIT37a#P10>POKAŻ >>></link>)<br>"});
  markers = MarkersOf(page, MarkerFamily::Warning);
  ASSERT_EQ(markers.size(), 1);
  EXPECT_EQ(markers[0]->pos(), MarkerSpot(page, "p10a"));
  EXPECT_EQ(MarkersOf(page, MarkerFamily::Help).size(), 1);
}

TEST_F(WarningMarkers, ThePanelKeepsItsTextUntilARefreshIsRequested) {
  WindowWithSet("PIT37", 1);
  PageWindow& page = OpenPage("TPIT37a", "PIT37a");
  ShowMessages({"<color=clRed>pierwszy (<link=PIT37a#P6>POKAŻ</link>)<br>"});
  EXPECT_TRUE(window_->MessagesLabel()->text().contains("pierwszy"));
  solv::ClearMessages();
  solv::AddMessage("drugi");
  window_->RefreshPoint();
  EXPECT_TRUE(window_->MessagesLabel()->text().contains("pierwszy"));
  EXPECT_EQ(MarkersOf(page, MarkerFamily::Warning).size(), 1);
}

TEST_F(WarningMarkers, AClickOpensThePanelAndHidesTheMarker) {
  WindowWithSet("PIT37", 1);
  PageWindow& page = OpenPage("TPIT37a", "PIT37a");
  window_->FollowLink(QStringLiteral("PIT37a#P404"));  // collapses the panel
  QApplication::processEvents();
  auto* scroll = window_->MessagesLabel()->parentWidget()->parentWidget();
  const int closed = scroll->height();
  ShowMessages({"<color=clRed>a (<link=PIT37a#P6>POKAŻ</link>)<br>"});
  QList<PageMarker*> markers = MarkersOf(page, MarkerFamily::Warning);
  ASSERT_EQ(markers.size(), 1);
  QTest::mouseClick(markers[0], Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_FALSE(markers[0]->isVisible());
  EXPECT_GT(scroll->height(), closed + 50);
}

class WholeReturnCheck : public GuiFixture {
 protected:
  // The check window's text, read while it is shown, and closed with "&Ok".
  QString RunCheck(bool* printHidden = nullptr) {
    QString text;
    QTimer::singleShot(0, [&] {
      auto* w = solv::app::FormPrePrintKom();
      ASSERT_NE(w, nullptr);
      text = w->LinkLabel()->text();
      EXPECT_EQ(w->windowTitle(), "Komunikaty zbiorcze");
      if (printHidden) *printHidden = w->PrintButton()->isHidden();
      EXPECT_EQ(w->CancelButton()->text(), "&Ok");
      w->CancelButton()->click();
    });
    window_->Action(QStringLiteral("ActionTestZezn"))->trigger();
    EXPECT_EQ(solv::app::FormPrePrintKom(), nullptr);
    return text;
  }
};

TEST_F(WholeReturnCheck, LeavesTheMessageListAsItWas) {
  WindowWithSet("PIT37", 1);
  solv::ClearMessages();
  solv::AddMessage("<color=clRed>komunikat strony (<link=PIT37a#P6>POKAŻ</link>)<br>");
  const std::vector<std::string> before = solv::Messages().items;
  const QString text = RunCheck();
  EXPECT_TRUE(text.contains(QStringLiteral("liczba komunikatów")));  // the new set has its own messages
  EXPECT_FALSE(text.contains(QStringLiteral("komunikat strony")));
  EXPECT_EQ(solv::Messages().items, before);
}

TEST_F(WholeReturnCheck, ACleanSetSaysNoErrorsOccur) {
  WindowWithSet("PIT37", 1);
  solv::WriteField("P10a", "[X]", "PIT37a");  // the purpose of filing, the one box a new set misses
  bool printHidden = false;
  const QString text = RunCheck(&printHidden);
  EXPECT_TRUE(printHidden);
  EXPECT_TRUE(text.contains(QStringLiteral("nie występują błędy"))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("liczba komunikatów")));
}

}  // namespace

namespace {

class TransferMarkers : public GuiFixture {};

TEST_F(TransferMarkers, ReplaceTheirFamilyAndRunTheirClick) {
  WindowWithSet("PIT37", 1);
  PageWindow& page = OpenPage("TPIT37b", "PIT37a");
  int clicks = 0;
  solv::app::PlaceTransferMarkers(page, {{"p39", "Informacja", "stare", {}}});
  solv::app::PlaceTransferMarkers(
      page, {{"p39", "Informacja", "a", [&](PageMarker&) { ++clicks; }}, {"p404", "Informacja", "b", {}},
             {"p41", "Informacja", "Kwota %.2f", {}}});
  QList<PageMarker*> markers = MarkersOf(page, MarkerFamily::Transfer);
  ASSERT_EQ(markers.size(), 2);  // the old one is gone, the box missing from the page gets none
  std::sort(markers.begin(), markers.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
  const QRect r39 = page.CellRect(page.Cell("p39"));
  PageMarker* own = markers[0]->Hint() == "Informacja|a" ? markers[0] : markers[1];
  PageMarker* plain = own == markers[0] ? markers[1] : markers[0];
  EXPECT_EQ(own->geometry(), QRect(r39.left() + 30, r39.top() - 20, 20, 20));
  EXPECT_EQ(own->text(), "i");
  EXPECT_EQ(own->Tag(), 91);
  QTest::mouseClick(own, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);

  // Without a click of its own the marker shrinks to its corner and shows a balloon.
  const QPoint corner = plain->geometry().bottomRight();
  QTest::mouseClick(plain, Qt::LeftButton);
  EXPECT_EQ(plain->size(), QSize(10, 10));
  EXPECT_EQ(plain->geometry().bottomRight(), corner);
  QLabel* body = plain->findChild<QLabel*>(QStringLiteral("balloonText"));
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(body->text(), "Kwota %.2f");
}

}  // namespace
