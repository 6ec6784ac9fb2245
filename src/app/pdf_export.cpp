#include "pdf_export.hpp"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

#include "qt_canvas.hpp"

namespace solv {
namespace {

// Drawing resolution: three times the 96 dpi of the page designs, so the
// integer coordinates of the canvas lose nothing visible.
constexpr int kScale = 3;
constexpr int kDpi = 96 * kScale;

// One page's band on the sheet, placed by the report's margins: every
// control's print text in its scaled rectangle, auto-sized labels measured,
// cut to the band by its ClipMode.
void DrawPage(QPainter& painter, const TKVZPage& page) {
  const TKVZBand* band = page.Band();
  if (!band) return;
  const TKVZReport* report = page.Report();
  auto sx = [](int v) { return kScale * v; };
  auto margin = [](int mm) { return mm <= 0 ? 0 : static_cast<int>(std::nearbyint(kDpi / 25.4 * mm + 0.5)); };
  const int leftMargin = margin(report ? report->LeftMarginMM() : 0);
  const int rightMargin = margin(report ? report->RightMarginMM() : 0);
  const int topMargin = margin(report ? report->TopMarginMM() : 0);
  const Rect bandRect{sx(band->Left()) + leftMargin, topMargin, sx(band->Width()) - rightMargin,
                      sx(band->Height()) + topMargin};

  QtCanvas canvas(painter, kDpi);
  for (const TKVZControl* c : band->ControlList()) {
    Rect r{sx(c->Left()), sx(c->Top()), sx(c->Left() + c->Width()), sx(c->Top() + c->Height())};
    if (auto* label = dynamic_cast<const TKVZLabel*>(c)) r = label->PrintAutoSize(canvas, r);
    r = {r.left + bandRect.left, r.top + bandRect.top, r.right + bandRect.left, r.bottom + bandRect.top};
    if (band->ClipMode() == TClipMode::cm_Clip) {
      const Rect cut{std::max(r.left, bandRect.left), std::max(r.top, bandRect.top), std::min(r.right, bandRect.right),
                     std::min(r.bottom, bandRect.bottom)};
      if (cut.left >= cut.right || cut.top >= cut.bottom) continue;
      r = cut;
    }
    c->PrintTo(canvas, r);
  }
}

}  // namespace

bool WritePdf(const std::vector<const TKVZPage*>& printCopies, const QString& file) {
  {
    // QPdfWriter reports no failure to open its file; try it first.
    QFile probe(file);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  }
  QPdfWriter writer(file);
  writer.setResolution(kDpi);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  writer.setCreator(QStringLiteral("Solvenor Vandrel 2010"));
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  bool first = true;
  for (const TKVZPage* page : printCopies) {
    if (!first && !writer.newPage()) return false;
    first = false;
    if (page) DrawPage(painter, *page);
  }
  return painter.end();
}

}  // namespace solv
