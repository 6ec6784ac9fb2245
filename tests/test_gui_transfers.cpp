// Amounts of attachments offered on the main form: "i" markers next to the
// boxes they go to, and the transfer itself.
#include <QLabel>

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

}  // namespace
