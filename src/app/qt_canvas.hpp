// The report canvas on a QPainter: page windows paint on it, the preview and
// the printer draw on it. Fonts named as on the forms (Arial, Times New
// Roman, Courier New) are drawn with their metric-compatible Liberation
// faces.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include <string>
#include <vector>

#include "report/canvas.hpp"
#include "report/model.hpp"
#include "report/page_definition.hpp"

namespace solv {

class QtCanvas : public Canvas {
 public:
  // ppi: dots per inch of the device the painter draws on (96 on screen).
  explicit QtCanvas(QPainter& painter, int ppi = 96);

  int PixelsPerInchY() const override { return ppi_; }
  // On a painter scaled by `scale` (a zoomed page on screen): lines as wide
  // as the scale makes them, in whole pixels, so that each line keeps one
  // width along the page. The print never uses it.
  void DrawLinesInWholePixels(double scale) { lineScale_ = scale; }
  void SetOrigin(int x, int y) override;

  void FillRect(const Rect& r) override;
  void Rectangle(const Rect& r) override;
  void RoundRect(const Rect& r, int ew, int eh) override;
  void Ellipse(const Rect& r) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void DrawText(const std::string& utf8, const Rect& r, unsigned flags) override;
  Rect MeasureText(const std::string& utf8, const Rect& r, unsigned flags) override;
  void TextOut(int x, int y, const std::string& utf8) override;
  Size TextExtent(const std::string& utf8) override;
  void StretchDraw(const Rect& r, const Bitmap& bmp) override;

  static QColor ToQColor(TColor c);
  static QString FontFamily(const std::string& name);  // "Arial" -> "Liberation Sans"
  static QFont ToQFont(const Font& f);                 // pixel size from the height, no rotation
  static QImage ToQImage(const Bitmap& bmp);

 private:
  void UsePenAndBrush();

  QPainter& painter_;
  int ppi_;
  QTransform base_;
  double lineScale_ = 0;
};

// The band of a page drawn as the print draws it, on a white sheet of the
// report's paper (A4 portrait without a report) at scale times 96 dots per
// inch: every control's print text (a field's values, not its screen
// caption) in its scaled rectangle, auto-sized labels measured, cut to the
// band by its ClipMode. Needs a QGuiApplication.
QImage RenderPageToImage(const TKVZPage& page, double scale);

// The band of a print page drawn on any painter (image, printer, PDF) at ppi
// dots per inch, placed by the report's margins and cut by its clip mode.
void PaintPrintPage(QPainter& painter, const TKVZPage& page, int ppi);

// The labels of a page that do not fit their frames with the faces the
// program draws with: on screen (96 dpi) and in print (PDF resolution, whole
// point sizes). Needs a QGuiApplication.
std::vector<std::string> LabelFitProblemsDrawn(const PageDefinition& page);

}  // namespace solv
