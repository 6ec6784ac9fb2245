// The zoom of the form pages: Ctrl+plus, Ctrl+minus and Ctrl+0, the zoom box,
// clicks and the editor at the zoomed places, markers following the zoom, the
// zoom kept between runs, and the print unchanged by it.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <fstream>
#include <iterator>
#include <map>

#include "markers.hpp"
#include "messages/messages.hpp"
#include "qt_canvas.hpp"
#include "shell/zoom.hpp"
#include "test_gui_fixture.hpp"

namespace {

using solv::app::MarkerFamily;
using solv::app::PageMarker;
using solv::app::PageWindow;

std::string Bytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
void PutBytes(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

// A point of the sheet at 100% where the page at percent draws it.
QPoint At(const QPoint& p, int percent) { return {(p.x() * percent + 50) / 100, (p.y() * percent + 50) / 100}; }
QRect At(const QRect& r, int percent) {
  return QRect(At(r.topLeft(), percent), At(r.topLeft() + QPoint(r.width(), r.height()), percent)).adjusted(0, 0, -1, -1);
}

class ZoomWindow : public GuiFixture {
 protected:
  // A key on the main window as the user presses it (offscreen, a closed
  // window or dialog leaves no window active).
  void Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
    QApplication::setActiveWindow(window_.get());
    QTest::keyClick(window_->windowHandle(), key, mods);
    QApplication::processEvents();
  }
  void TypeInZoomBox(const QString& text) {
    QLineEdit* edit = window_->ZoomBox()->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  }
  QString BoxText() const { return window_->ZoomBox()->currentText(); }
  static QSize SheetSizeAt(int percent) {
    return {solv::Zoomed(794, percent), solv::Zoomed(1164, percent)};  // TPIT37b: 1164 high
  }
};

TEST_F(ZoomWindow, KeysAndTheMenuZoomEveryPageAndTheBoxShowsIt) {
  WindowWithSet("PIT37", 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  PageWindow& page = OpenPage("TPIT37b", "PIT37a");
  EXPECT_EQ(page.Zoom(), 100);
  EXPECT_EQ(BoxText(), "100%");

  // The menu holds the three actions, with the keys.
  auto* view = window_->menuBar()->findChild<QMenu*>(QStringLiteral("MenuWidok"));
  ASSERT_NE(view, nullptr);
  QStringList items;
  for (QAction* a : view->actions()) items << a->text().remove(u'&');
  EXPECT_EQ(items, QStringList({"Powiększ", "Pomniejsz", "Rozmiar rzeczywisty (100%)"}));
  ASSERT_NE(window_->FormToolbar()->findChild<QComboBox*>(QStringLiteral("zoomBox")), nullptr);

  struct Step {
    Qt::Key key;
    int zoom;
  };
  const Step steps[] = {
      {Qt::Key_Plus, 110}, {Qt::Key_Equal, 125},  // Ctrl+= for keyboards where plus needs Shift
      {Qt::Key_Plus, 150}, {Qt::Key_Minus, 125}, {Qt::Key_0, 100}, {Qt::Key_Minus, 90},
  };
  for (const Step& s : steps) {
    Press(s.key);
    EXPECT_EQ(window_->Zoom(), s.zoom) << s.key;
    EXPECT_EQ(page.Zoom(), s.zoom) << s.key;
    EXPECT_EQ(page.Sheet()->size(), SheetSizeAt(s.zoom)) << s.key;
    EXPECT_EQ(BoxText(), QString::fromStdString(solv::ZoomText(s.zoom))) << s.key;
  }
  // A page opened now, and one that takes the place of another page of its
  // form, has the program's zoom.
  PageWindow& other = OpenPage("TPITOa", "PITOa");
  EXPECT_EQ(other.Zoom(), 90);
  Press(Qt::Key_Plus);
  EXPECT_EQ(other.Zoom(), 100);
  EXPECT_EQ(window_->Page("PIT37a")->Zoom(), 100);
  window_->BringToFront("PIT37a");
  window_->SwitchPage('c');
  EXPECT_EQ(window_->Page("PIT37a")->Info().className, "TPIT37c");
  EXPECT_EQ(window_->Page("PIT37a")->Zoom(), 100);
  // The menu's actions do what the keys do.
  window_->Action(QStringLiteral("ActionPowieksz"))->trigger();
  EXPECT_EQ(window_->Page("PIT37a")->Zoom(), 110);
  window_->Action(QStringLiteral("ActionRozmiar100"))->trigger();
  EXPECT_EQ(window_->Page("PIT37a")->Zoom(), 100);
  EXPECT_TRUE(messages_.calls.empty());
}

TEST_F(ZoomWindow, TheZoomStaysWithinItsRange) {
  WindowWithSet("PIT37", 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  PageWindow& page = OpenPage("TPIT37b", "PIT37a");
  for (int i = 0; i < 12; ++i) Press(Qt::Key_Plus);
  EXPECT_EQ(page.Zoom(), 200);
  EXPECT_EQ(BoxText(), "200%");
  for (int i = 0; i < 12; ++i) Press(Qt::Key_Minus);
  EXPECT_EQ(page.Zoom(), 75);
  EXPECT_EQ(BoxText(), "75%");

  // Typed into the box: taken within the range, clamped outside it; a text
  // that is no zoom leaves the zoom as it was.
  struct Typed {
    const char* text;
    int zoom;
  };
  const Typed typed[] = {{"130", 130}, {"300%", 200}, {"abc", 200}, {"50", 75}, {"", 75}, {"1,5", 75}, {"175 %", 175}};
  for (const Typed& t : typed) {
    TypeInZoomBox(QString::fromUtf8(t.text));
    EXPECT_EQ(page.Zoom(), t.zoom) << t.text;
    EXPECT_EQ(BoxText(), QString::fromStdString(solv::ZoomText(t.zoom))) << t.text;
  }
  // Choosing a listed zoom.
  window_->ZoomBox()->setCurrentIndex(window_->ZoomBox()->findText(QStringLiteral("90%")));
  emit window_->ZoomBox()->textActivated(QStringLiteral("90%"));
  EXPECT_EQ(page.Zoom(), 90);
  // From an off-step zoom, the keys go to the next listed one.
  TypeInZoomBox(QStringLiteral("130"));
  Press(Qt::Key_Plus);
  EXPECT_EQ(page.Zoom(), 150);
}

// A click where the page draws a box at the zoom hits that box: its centre
// and the corners of its frame, at zooms where 100% places would miss.
TEST_F(ZoomWindow, AClickAtTheZoomedPlaceHitsTheBox) {
  WindowWithSet("PIT37", 1);
  PageWindow& page = OpenPage("TPIT37b", "PIT37a");
  const char* boxes[] = {"p39", "p44", "p47", "p83", "p91", "p98"};
  std::map<std::string, QRect> frames;  // at 100%
  for (const char* b : boxes) frames[b] = page.FrameRect(page.Cell(b));
  for (int percent : {75, 110, 150, 175, 200}) {
    window_->SetZoom(percent);
    for (const char* b : boxes) {
      const QRect f = frames[b];
      const QRect zoomed = At(f, percent);
      EXPECT_LE(std::abs(page.FrameRect(page.Cell(b)).left() - zoomed.left()), 1) << b << ' ' << percent;
      EXPECT_LE(std::abs(page.FrameRect(page.Cell(b)).bottom() - zoomed.bottom()), 1) << b << ' ' << percent;
      for (const QPoint p : {f.center(), f.topLeft() + QPoint(2, 2), f.bottomRight() - QPoint(2, 2)}) {
        solv::TKVZEditField* hit = page.CellAt(At(p, percent));
        EXPECT_EQ(hit ? hit->Name() : "(none)", b) << percent << "% at " << p.x() << "," << p.y();
      }
    }
  }
  // A mouse click at 150% edits the box under it.
  window_->SetZoom(150);
  QTest::mouseClick(page.Sheet(), Qt::LeftButton, {}, At(frames["p47"].center(), 150));
  EXPECT_EQ(page.CurrentCell(), "p47");
  EXPECT_TRUE(page.Editor()->isVisible());
}

TEST_F(ZoomWindow, TheEditorLiesOverTheZoomedBoxAndItsTextFits) {
  WindowWithSet("PIT37", 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  PageWindow& page = OpenPage("TPIT37b", "PIT37a");
  const QRect box = page.CellRect(page.Cell("p39"));  // at 100%
  Click(page, "p39");
  const QRect editor = page.Editor()->geometry();  // at 100%
  // The longest amount that fits the editor at 100% with a tenth to spare.
  QString amount = QStringLiteral("1");
  while (page.Editor()->fontMetrics().horizontalAdvance(amount + u'8') < page.Editor()->width() * 9 / 10)
    amount += u'8';
  Key(page, Qt::Key_Escape);

  for (int percent : {75, 110, 150, 175, 200}) {
    window_->SetZoom(percent);
    Click(page, "p39");
    ASSERT_TRUE(page.Editor()->isVisible()) << percent;
    const QRect e = page.Editor()->geometry();
    const QRect want = At(editor, percent);
    EXPECT_LE(std::abs(e.left() - want.left()), 1) << percent;
    EXPECT_LE(std::abs(e.top() - want.top()), 1) << percent;
    EXPECT_LE(std::abs(e.right() - want.right()), 1) << percent;
    EXPECT_LE(std::abs(e.bottom() - want.bottom()), 1) << percent;
    EXPECT_EQ(page.Editor()->font().pixelSize(), solv::Zoomed(16, percent)) << percent;
    EXPECT_LT(page.Editor()->fontMetrics().horizontalAdvance(amount), e.width() - 4) << percent << " " << amount.toStdString();
    Key(page, Qt::Key_Escape);
  }

  // At 150% the editor is shown over the box, follows a change of zoom
  // while it is open, and what is typed there is stored.
  window_->SetZoom(150);
  Click(page, "p39");
  Type(page, "1234");
  Press(Qt::Key_Minus);  // to 125%
  EXPECT_TRUE(page.Editor()->isVisible());
  EXPECT_EQ(page.Editor()->text(), "1234");
  EXPECT_EQ(page.Editor()->geometry().topLeft(), page.CellRect(page.Cell("p39")).topLeft());
  EXPECT_EQ(page.Editor()->geometry().topLeft(), At(box, 125).topLeft());
  // The view shows the editor (the scroll area was told to).
  const QRect seen(page.Scroll()->widget()->mapFrom(page.Scroll()->viewport(), QPoint(0, 0)),
                   page.Scroll()->viewport()->size());
  EXPECT_TRUE(seen.intersects(page.Editor()->geometry()));
  // A refused entry's balloon stands under the zoomed editor.
  page.Editor()->selectAll();
  Type(page, "99999999999");
  Key(page, Qt::Key_Return);
  ASSERT_NE(page.Editor()->RefusalBalloon(), nullptr);
  EXPECT_EQ(page.Editor()->RefusalBalloon()->pos(), page.Editor()->mapToGlobal(QPoint(0, page.Editor()->height())));
  page.Editor()->selectAll();
  Type(page, "1234");
  Key(page, Qt::Key_Return);
  EXPECT_EQ(Stored("P39", "PIT37a"), "1234,00");
}

// The sheet point at the centre of the view stays there when the zoom
// changes.
TEST_F(ZoomWindow, TheViewKeepsItsCentre) {
  WindowWithSet("PIT37", 1);
  PageWindow& page = OpenPage("TPIT37b", "PIT37a");
  QScrollArea* scroll = page.Scroll();
  auto centre = [&] {
    return page.Unzoomed(scroll->widget()->mapFrom(scroll->viewport(), scroll->viewport()->rect().center()));
  };
  scroll->verticalScrollBar()->setValue(300);
  ASSERT_GT(centre().y(), 300);
  for (int percent : {150, 200, 110, 175}) {
    const QPoint before = centre();
    window_->SetZoom(percent);
    // Unless the view is held at an edge of the sheet.
    const QScrollBar* h = scroll->horizontalScrollBar();
    if (h->value() > h->minimum() && h->value() < h->maximum())
      EXPECT_LE(std::abs(centre().x() - before.x()), 2) << percent;
    EXPECT_LE(std::abs(centre().y() - before.y()), 2) << percent;
  }
}

// Markers keep their places beside their boxes: placed at a zoom, or
// placed before it changed.
TEST_F(ZoomWindow, MarkersFollowTheZoom) {
  WindowWithSet("PIT37", 1);
  PageWindow& page = OpenPage("TPIT37b", "PIT37a");
  const QRect box = page.CellRect(page.Cell("p44"));  // at 100%
  auto warnings = [&] {
    solv::ClearMessages();
    solv::AddMessage("<color=clRed>a (<link=PIT37a#P44>POKAŻ</link>)<br>");
    window_->RequestRefresh();
    window_->RefreshPoint();
    const QList<PageMarker*> m = MarkersOf(page, MarkerFamily::Warning);
    EXPECT_EQ(m.size(), 1);
    return m.value(0);
  };
  PageMarker* before = warnings();
  ASSERT_NE(before, nullptr);
  PageMarker* help = solv::app::AddMarker(page, MarkerFamily::Help, QPoint(100, 200), QStringLiteral("Pomoc|x"));
  window_->SetZoom(150);
  const QPoint spot(solv::Zoomed(box.left() + 10, 150), solv::Zoomed(box.top(), 150) - 20);
  EXPECT_EQ(before->pos(), spot);
  EXPECT_EQ(before->size(), QSize(20, 20));
  EXPECT_EQ(help->pos(), QPoint(150, solv::Zoomed(220, 150) - 20));
  PageMarker* after = warnings();
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(after->pos(), spot);
  // A shrunk marker stays shrunk in its corner.
  after->Shrink();
  window_->SetZoom(75);
  EXPECT_EQ(after->geometry(),
            QRect(solv::Zoomed(box.left() + 10, 75) + 10, solv::Zoomed(box.top(), 75) - 10, 10, 10));
}

TEST_F(ZoomWindow, TheZoomIsKeptBetweenRuns) {
  WindowWithSet("PIT37", 1);
  OpenPage("TPIT37b", "PIT37a");
  Press(Qt::Key_Plus);
  Press(Qt::Key_Plus);
  Press(Qt::Key_Plus);
  EXPECT_EQ(window_->Zoom(), 150);
  const auto settings = folder_ / "solv2010.ini";
  EXPECT_NE(Bytes(settings).find("Zoom=150"), std::string::npos) << Bytes(settings);

  window_.reset();
  window_ = std::make_unique<solv::app::TFormOkno_glowne>();
  window_->show();
  EXPECT_EQ(window_->Zoom(), 150);
  EXPECT_EQ(BoxText(), "150%");
  EXPECT_EQ(OpenPage("TPIT37b", "PIT37a").Zoom(), 150);

  // A value no zoom can have starts at 100%.
  window_.reset();
  PutBytes(settings, "[OKNA]\r\nZoom=500\r\n");
  window_ = std::make_unique<solv::app::TFormOkno_glowne>();
  EXPECT_EQ(window_->Zoom(), 100);
  EXPECT_EQ(BoxText(), "100%");
}

// The print and its preview draw the page at its own resolution, whatever
// the screen's zoom.
TEST_F(ZoomWindow, ThePrintIsTheSameAtEveryZoom) {
  WindowWithSet("PIT37", 1);
  PageWindow& page = OpenPage("TPIT37b", "PIT37a");
  Click(page, "p39");
  Type(page, "1234");
  Key(page, Qt::Key_Return);
  const QImage at100 = solv::RenderPageToImage(page.Page(), 1.0);
  window_->SetZoom(175);
  EXPECT_EQ(solv::RenderPageToImage(page.Page(), 1.0), at100);
}

}  // namespace
