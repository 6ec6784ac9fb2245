// Page markers: small square buttons on a page's sheet, in three families
// told apart by their tag: warnings "!" (90), transfers and information "i"
// (91), help "?" (92). Placing a family first removes that family's markers.
#pragma once

#include <QToolButton>
#include <functional>
#include <string>
#include <vector>

namespace solv::app {

class PageWindow;

enum class MarkerFamily { Warning = 90, Transfer = 91, Help = 92 };

class PageMarker : public QToolButton {
  Q_OBJECT
 public:
  // 20 by 20 at `at` on the page's sheet at 100%, placed for the zoom
  // (percent); hint "TITLE|TEXT".
  PageMarker(MarkerFamily family, const QString& hint, const QPoint& at, QWidget* sheet, int percent = 100);
  MarkerFamily Family() const { return family_; }
  int Tag() const { return static_cast<int>(family_); }
  QString Hint() const { return hint_; }
  // Run on a click instead of the family's own action.
  std::function<void(PageMarker&)> onClick;
  // Down to 10 by 10 at its bottom-right corner.
  void Shrink();
  // Placed for the sheet's zoom: its left edge and its bottom follow the
  // sheet (a marker above a box stays just above it), its size stays.
  void Place(int percent);

 private:
  void Clicked();
  MarkerFamily family_;
  QString hint_;
  QPoint at_;  // on the sheet at 100%
  bool shrunk_ = false;
  int percent_ = 100;
};

QList<PageMarker*> MarkersOf(const PageWindow& page, MarkerFamily family);
void RemoveMarkers(PageWindow& page, MarkerFamily family);
// at: on the sheet at 100%; the marker follows the page's zoom.
PageMarker* AddMarker(PageWindow& page, MarkerFamily family, const QPoint& at, const QString& hint);

enum class BalloonIcon { Information, Warning, Error };

// A balloon: title with its icon, text and a close button at globalAt, for
// 10 seconds, owned by owner; a click on its text runs onClick (when given)
// and closes it.
QWidget* ShowBalloon(QWidget& owner, const QPoint& globalAt, const QString& title, const QString& text,
                     std::function<void()> onClick = {}, BalloonIcon icon = BalloonIcon::Information);

// The balloon of a marker at its bottom-right corner: an offer to transfer
// and an information carry the information icon, a warning the error icon.
QWidget* ShowMarkerBalloon(PageMarker& marker, const QString& title, const QString& text,
                           std::function<void()> onClick = {}, BalloonIcon icon = BalloonIcon::Information);

// Warning markers "Uwaga|-1" next to the boxes the panel's links point at;
// their click runs onOpenPanel and hides the marker.
void PlaceWarningMarkers(PageWindow& page, const std::string& panelText, std::function<void()> onOpenPanel);

// Transfer and information markers, 30 pixels (at 100%) right of the box's
// left edge and 20 pixels above its top. A marker without onClick shows its title and
// text in a balloon.
struct TransferMarker {
  std::string box;
  std::string title;
  std::string text;
  std::function<void(PageMarker&)> onClick;
};
void PlaceTransferMarkers(PageWindow& page, const std::vector<TransferMarker>& markers);

}  // namespace solv::app
