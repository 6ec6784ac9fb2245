// Amounts of attachments offered on the main form: "i" markers next to the
// boxes they go to, and the transfer itself.
#include <QImage>
#include <QLabel>
#include <QStyle>

#include "markers.hpp"
#include "test_gui_fixture.hpp"

namespace {

using solv::app::MarkerFamily;
using solv::app::MarkersOf;

class Transfers : public GuiFixture {};

// The marker stands 30 pixels right of the box's left edge and 20 above it.
bool HasMarkerAt(solv::app::PageWindow& page, const char* cell) {
  const QRect box = page.CellRect(page.Cell(cell));
  for (auto* m : MarkersOf(page, MarkerFamily::Transfer))
    if (m->pos() == box.topLeft() + QPoint(30, -20)) return true;
  return false;
}

TEST_F(Transfers, PitOAmountIsOfferedAndCarriedOver) {
  auto& window = WindowWithSet("PIT37", 1);
  solv::WriteField("p28", "150,00", "PITOa");
  solv::WriteField("p39", "50000,00", "PIT37a");
  auto& page = OpenPage("TPIT37b", "PIT37a");
  window.RefreshPoint();
  ASSERT_TRUE(HasMarkerAt(page, "p99"));

  // The marker opens its balloon; a click on the balloon's text transfers.
  solv::app::PageMarker* marker = nullptr;
  for (auto* m : MarkersOf(page, MarkerFamily::Transfer))
    if (m->pos() == page.CellRect(page.Cell("p99")).topLeft() + QPoint(30, -20)) marker = m;
  QTest::mouseClick(marker, Qt::LeftButton);
  auto* text = marker->findChild<QLabel*>(QStringLiteral("balloonText"));
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->text().contains(QStringLiteral("150,00")));
  QTest::mouseClick(text, Qt::LeftButton);
  EXPECT_EQ(Stored("p99", "PIT37a"), "150,00");
  EXPECT_EQ(Stored("p105", "PIT37a"), "49850,00");  // 50000 - 150: recalculated
  // The carry is written down, so that the check can tell it from an entry.
  EXPECT_EQ(Stored("PIT37a.P99", "PRZENIESIONE"), "150,00");

  // Once the PIT/O shows less, the marker says the carried amount is stale.
  solv::WriteField("p28", "100,00", "PITOa");
  window.RefreshPoint();
  bool stale = false;
  for (auto* m : MarkersOf(page, MarkerFamily::Transfer))
    stale = stale || m->toolTip().contains(QStringLiteral("nie jest już równa"));
  EXPECT_TRUE(stale);
}

TEST_F(Transfers, LockedBoxGetsNoMarker) {
  auto& window = WindowWithSet("PIT37", 1);  // individual: the spouse's boxes are locked
  solv::WriteField("p29", "80,00", "PITOa");
  auto& page = OpenPage("TPIT37b", "PIT37a");
  window.RefreshPoint();
  EXPECT_FALSE(HasMarkerAt(page, "p100"));
}

TEST_F(Transfers, NothingToOfferPlacesNoMarker) {
  auto& window = WindowWithSet("PIT37", 1);
  solv::WriteField("p28", "0,00", "PITOa");
  auto& page = OpenPage("TPIT37b", "PIT37a");
  window.RefreshPoint();
  EXPECT_TRUE(MarkersOf(page, MarkerFamily::Transfer).isEmpty());
}

// Boxes 74 to 79 of PIT-28 are computed; the information that one was cut
// down to its limit stands next to it all the same (only offers of
// transfers need a box that can be entered).
TEST_F(Transfers, InformationMarkersStandAtComputedBoxes) {
  auto& window = WindowWithSet("PIT28", 1);
  solv::WriteField("p21", "1000,00", "PIT28a");  // revenue at the first rate: box 37
  solv::WriteField("p63", "5000,00", "PIT28a");  // deductions above it: box 73
  auto& page = OpenPage("TPIT28b", "PIT28a");
  window.RefreshPoint();
  ASSERT_NE(page.Cell("p74"), nullptr);
  EXPECT_FALSE(page.IsEditable(page.Cell("p74")));
  ASSERT_TRUE(HasMarkerAt(page, "p74"));
  for (const char* other : {"p75", "p76", "p77", "p78", "p79"}) EXPECT_FALSE(HasMarkerAt(page, other)) << other;
  auto* marker = MarkersOf(page, MarkerFamily::Transfer).front();
  EXPECT_TRUE(marker->Hint().startsWith(QStringLiteral("Informacja|Wartość wynikająca z wyliczenia wynosi 5000,00")));
}

// What the pointer shows over a marker is a text for the user, and a
// balloon with an offer or an information carries no error icon.
TEST_F(Transfers, MarkersShowReadableHintsAndNoErrorIcon) {
  auto& window = WindowWithSet("PIT37", 1);
  solv::WriteField("p28", "150,00", "PITOa");
  solv::WriteField("p39", "50000,00", "PIT37a");
  auto& page = OpenPage("TPIT37b", "PIT37a");
  window.RefreshPoint();
  solv::app::PlaceWarningMarkers(page, "<link=PIT37b#P39>POKAŻ</link>", {});
  solv::app::AddMarker(page, MarkerFamily::Help, QPoint(5, 5), QStringLiteral("Jak wypełnić|PIT-37_poz39"));
  const struct {
    MarkerFamily family;
    const char* shows;
  } cases[] = {
      {MarkerFamily::Transfer, "<b>Przenieś (kliknij)</b><br>Kwota wykazana w załączniku PIT/O poz.28 wynosi 150,00"},
      {MarkerFamily::Warning, "Uwaga: ta pozycja ma komunikat na liście komunikatów (kliknij, aby ją pokazać)"},
      {MarkerFamily::Help, "Jak wypełnić"},
  };
  for (const auto& c : cases) {
    QList<solv::app::PageMarker*> markers = MarkersOf(page, c.family);
    ASSERT_EQ(markers.size(), 1) << static_cast<int>(c.family);
    EXPECT_EQ(markers[0]->toolTip().toStdString(), c.shows);
    EXPECT_FALSE(markers[0]->toolTip().contains(u'|'));
  }

  solv::app::PageMarker* offer = MarkersOf(page, MarkerFamily::Transfer).front();
  QTest::mouseClick(offer, Qt::LeftButton);
  QLabel* icon = nullptr;  // the balloon's label with a picture
  for (QLabel* l : offer->findChildren<QLabel*>())
    if (!l->pixmap().isNull()) icon = l;
  ASSERT_NE(icon, nullptr);
  const QImage shown = icon->pixmap().toImage();
  const QImage info = icon->style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(16, 16).toImage();
  const QImage error = icon->style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(16, 16).toImage();
  ASSERT_NE(info, error);  // the style tells them apart
  EXPECT_EQ(shown, info);
}

}  // namespace
