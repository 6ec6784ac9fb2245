#include "markers.hpp"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "page_window.hpp"
#include "shell/links.hpp"
#include "shell/zoom.hpp"

namespace solv::app {
namespace {

QString CaptionOf(MarkerFamily f) {
  switch (f) {
    case MarkerFamily::Warning: return QStringLiteral("!");
    case MarkerFamily::Transfer: return QStringLiteral("i");
    case MarkerFamily::Help: return QStringLiteral("?");
  }
  return {};
}

QString ColourOf(MarkerFamily f) {
  switch (f) {
    case MarkerFamily::Warning: return QStringLiteral("rgb(255,0,0)");
    case MarkerFamily::Transfer: return QStringLiteral("rgb(0,0,255)");
    case MarkerFamily::Help: return QStringLiteral("rgb(0,193,0)");
  }
  return QStringLiteral("black");
}

// What the pointer shows over a marker: its hint "TITLE|TEXT" made
// readable. The hint itself stays the marker's own (a warning's "Uwaga|-1"
// and a help topic are for the program, not the user).
QString ToolTipOf(MarkerFamily family, const QString& hint) {
  const qsizetype bar = hint.indexOf(u'|');
  const QString title = bar < 0 ? hint : hint.left(bar);
  const QString text = bar < 0 ? QString() : hint.mid(bar + 1);
  if (family == MarkerFamily::Warning && text == QStringLiteral("-1"))
    return QStringLiteral("Uwaga: ta pozycja ma komunikat na liście komunikatów (kliknij, aby ją pokazać)");
  if (family == MarkerFamily::Help || text.isEmpty()) return title;
  QString body = text.toHtmlEscaped();
  body.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
  body.replace(u'\n', QStringLiteral("<br>"));
  return QStringLiteral("<b>%1</b><br>%2").arg(title.toHtmlEscaped(), body);
}

// A balloon's text that reacts to a click.
class BalloonText : public QLabel {
 public:
  BalloonText(const QString& text, std::function<void()> onClick, QWidget* parent)
      : QLabel(text, parent), onClick_(std::move(onClick)) {
    if (onClick_) setCursor(Qt::PointingHandCursor);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton || !onClick_) return;
    auto run = onClick_;
    window()->close();
    run();
  }

 private:
  std::function<void()> onClick_;
};

}  // namespace

PageMarker::PageMarker(MarkerFamily family, const QString& hint, const QPoint& at, QWidget* sheet, int percent)
    : QToolButton(sheet), family_(family), hint_(hint), at_(at), percent_(percent) {
  setObjectName(family == MarkerFamily::Help ? QStringLiteral("helpMarker") : QStringLiteral("marker%1").arg(Tag()));
  setProperty("tag", Tag());
  const QString caption = CaptionOf(family);
  setText(caption);
  QFont f(QStringLiteral("Arial"), 10);
  f.setBold(true);
  setFont(f);
  // A longer caption than one character is drawn in black.
  const QString colour = caption.size() > 1 ? QStringLiteral("black") : ColourOf(family);
  setStyleSheet(QStringLiteral("QToolButton{color:%1;}").arg(colour));
  Place(percent);
  setToolTip(ToolTipOf(family, hint));
  setCursor(Qt::PointingHandCursor);
  connect(this, &QToolButton::clicked, this, &PageMarker::Clicked);
  show();
  raise();
}

void PageMarker::Shrink() {
  shrunk_ = true;
  Place(percent_);
}

void PageMarker::Place(int percent) {
  percent_ = percent;
  const int x = solv::Zoomed(at_.x(), percent), y = solv::Zoomed(at_.y() + 20, percent) - 20;
  if (shrunk_)
    setGeometry(x + 10, y + 10, 10, 10);
  else
    setGeometry(x, y, 20, 20);
}

void PageMarker::Clicked() {
  if (onClick) {
    onClick(*this);
    return;
  }
  const qsizetype bar = hint_.indexOf(u'|');
  Shrink();
  ShowMarkerBalloon(*this, hint_.left(bar), bar < 0 ? QString() : hint_.mid(bar + 1), {},
                    family_ == MarkerFamily::Warning ? BalloonIcon::Error : BalloonIcon::Information);
}

QList<PageMarker*> MarkersOf(const PageWindow& page, MarkerFamily family) {
  QList<PageMarker*> out;
  for (PageMarker* m : page.Sheet()->findChildren<PageMarker*>())
    if (m->Family() == family) out.push_back(m);
  return out;
}

void RemoveMarkers(PageWindow& page, MarkerFamily family) {
  for (PageMarker* m : MarkersOf(page, family)) {
    m->hide();
    m->deleteLater();
    m->setParent(nullptr);  // gone from the page at once
  }
}

PageMarker* AddMarker(PageWindow& page, MarkerFamily family, const QPoint& at, const QString& hint) {
  return new PageMarker(family, hint, at, page.Sheet(), page.Zoom());
}

QWidget* ShowMarkerBalloon(PageMarker& marker, const QString& title, const QString& text,
                           std::function<void()> onClick, BalloonIcon icon) {
  return ShowBalloon(marker, marker.mapToGlobal(QPoint(marker.width(), marker.height())), title, text,
                     std::move(onClick), icon);
}

QWidget* ShowBalloon(QWidget& owner, const QPoint& globalAt, const QString& title, const QString& text,
                     std::function<void()> onClick, BalloonIcon kind) {
  auto* balloon = new QFrame(&owner, Qt::ToolTip);
  balloon->setObjectName(QStringLiteral("markerBalloon"));
  balloon->setAttribute(Qt::WA_DeleteOnClose);
  balloon->setFrameShape(QFrame::Box);
  balloon->setStyleSheet(QStringLiteral("QFrame#markerBalloon{background:#ffffe1;border:1px solid black;}"));
  auto* v = new QVBoxLayout(balloon);
  v->setContentsMargins(8, 6, 8, 8);
  auto* head = new QHBoxLayout;
  auto* icon = new QLabel(balloon);
  icon->setObjectName(QStringLiteral("balloonIcon"));
  icon->setPixmap(balloon->style()
                      ->standardIcon(kind == BalloonIcon::Error     ? QStyle::SP_MessageBoxCritical
                                     : kind == BalloonIcon::Warning ? QStyle::SP_MessageBoxWarning
                                                                    : QStyle::SP_MessageBoxInformation)
                      .pixmap(16, 16));
  head->addWidget(icon);
  auto* caption = new QLabel(QStringLiteral("<b>%1</b>").arg(title.toHtmlEscaped()), balloon);
  head->addWidget(caption, 1);
  auto* close = new QToolButton(balloon);
  close->setObjectName(QStringLiteral("balloonClose"));
  close->setText(QStringLiteral("×"));
  close->setAutoRaise(true);
  QObject::connect(close, &QToolButton::clicked, balloon, &QWidget::close);
  head->addWidget(close);
  v->addLayout(head);
  auto* body = new BalloonText(text, std::move(onClick), balloon);
  body->setObjectName(QStringLiteral("balloonText"));
  body->setWordWrap(true);
  body->setMaximumWidth(420);
  v->addWidget(body);
  balloon->adjustSize();
  balloon->move(globalAt);
  balloon->show();
  QTimer::singleShot(10000, balloon, &QWidget::close);
  return balloon;
}

void PlaceWarningMarkers(PageWindow& page, const std::string& panelText, std::function<void()> onOpenPanel) {
  RemoveMarkers(page, MarkerFamily::Warning);
  for (const std::string& name : WarningBoxes(panelText)) {
    TKVZEditField* cell = page.Cell(name);
    if (!cell && QString::fromStdString(name).compare(QStringLiteral("P28"), Qt::CaseInsensitive) == 0)
      cell = page.Cell("P28a");
    if (!cell) continue;
    const QRect r = page.SheetCellRect(cell);
    PageMarker* m = AddMarker(page, MarkerFamily::Warning, QPoint(r.left() + 10, r.top() - 20),
                              QStringLiteral("Uwaga|-1"));
    m->onClick = [onOpenPanel](PageMarker& marker) {
      if (marker.Hint().endsWith(QStringLiteral("|-1"))) {
        if (onOpenPanel) onOpenPanel();
        marker.hide();
      }
    };
  }
}

void PlaceTransferMarkers(PageWindow& page, const std::vector<TransferMarker>& markers) {
  RemoveMarkers(page, MarkerFamily::Transfer);
  for (const TransferMarker& tm : markers) {
    TKVZEditField* cell = page.Cell(tm.box);
    if (!cell) continue;
    const QRect r = page.SheetCellRect(cell);
    PageMarker* m = AddMarker(page, MarkerFamily::Transfer, QPoint(r.left() + 30, r.top() - 20),
                              QString::fromStdString(tm.title + "|" + tm.text));
    m->onClick = tm.onClick;
  }
}

}  // namespace solv::app
