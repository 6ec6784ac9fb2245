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

bool WritePdf(const std::vector<const TKVZPage*>& printCopies, const QString& file) {
  {
    // QPdfWriter reports no failure to open its file; try it first.
    QFile probe(file);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  }
  QPdfWriter writer(file);
  writer.setResolution(kPdfDpi);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  writer.setCreator(QStringLiteral("Solvenor Vandrel 2010"));
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  bool first = true;
  for (const TKVZPage* page : printCopies) {
    if (!first && !writer.newPage()) return false;
    first = false;
    if (page) PaintPrintPage(painter, *page, kPdfDpi);
  }
  return painter.end();
}

}  // namespace solv
