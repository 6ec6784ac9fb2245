#include "qt_canvas.hpp"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPen>
#include <QRect>
#include <QTransform>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

#include "pdf_export.hpp"
#include "report/page_standard.hpp"

namespace solv {
namespace {

Qt::PenStyle ToQtPenStyle(TPenStyle s) {
  switch (s) {
    case TPenStyle::psClear: return Qt::NoPen;
    case TPenStyle::psDash: return Qt::DashLine;
    case TPenStyle::psDot: return Qt::DotLine;
    case TPenStyle::psDashDot: return Qt::DashDotLine;
    case TPenStyle::psDashDotDot: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
  }
}

Qt::BrushStyle ToQtBrushStyle(TBrushStyle s) {
  switch (s) {
    case TBrushStyle::bsClear: return Qt::NoBrush;
    case TBrushStyle::bsHorizontal: return Qt::HorPattern;
    case TBrushStyle::bsVertical: return Qt::VerPattern;
    case TBrushStyle::bsFDiagonal: return Qt::FDiagPattern;
    case TBrushStyle::bsBDiagonal: return Qt::BDiagPattern;
    case TBrushStyle::bsCross: return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
  }
}

QBrush ToQBrush(const Brush& b) { return QBrush(QtCanvas::ToQColor(b.color), ToQtBrushStyle(b.style)); }

// Qt text flags for our TextFlag bits (alignment included).
int ToQtTextFlags(unsigned flags) {
  int q = 0;
  if (flags & tfCenter) q |= Qt::AlignHCenter;
  else if (flags & tfRight) q |= Qt::AlignRight;
  else q |= Qt::AlignLeft;
  if (flags & tfVCenter) q |= Qt::AlignVCenter;
  else if (flags & tfBottom) q |= Qt::AlignBottom;
  else q |= Qt::AlignTop;
  if (flags & tfWordBreak) q |= Qt::TextWordWrap;
  if (flags & tfSingleLine) q |= Qt::TextSingleLine;
  if (flags & tfExpandTabs) q |= Qt::TextExpandTabs;
  if (flags & tfNoClip) q |= Qt::TextDontClip;
  if (!(flags & tfNoPrefix)) q |= Qt::TextShowMnemonic;
  return q;
}

QString Q(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// Em height for a cell height (a positive font height): the cell is ascent
// plus descent of the face.
int EmForCellHeight(const QString& family, int cell) {
  static std::map<QString, double> ratio;
  auto it = ratio.find(family);
  if (it == ratio.end()) {
    QFont probe(family);
    probe.setPixelSize(1000);
    const QFontMetricsF m(probe);
    const double r = (m.ascent() + m.descent()) > 0 ? 1000.0 / (m.ascent() + m.descent()) : 1.0;
    it = ratio.emplace(family, r).first;
  }
  return std::max(1, static_cast<int>(std::lround(cell * it->second)));
}

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, int ppi) : painter_(painter), ppi_(ppi), base_(painter.transform()) {}

void QtCanvas::SetOrigin(int x, int y) {
  Canvas::SetOrigin(x, y);
  painter_.setTransform(QTransform::fromTranslate(x, y) * base_);
}

QColor QtCanvas::ToQColor(TColor c) {
  const TColor rgb = ColorToRGB(c);
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

QString QtCanvas::FontFamily(const std::string& name) {
  static const std::map<std::string, const char*> kFaces = {
      {"arial", "Liberation Sans"},           {"ms sans serif", "Liberation Sans"},
      {"arial narrow", "Liberation Sans Narrow"}, {"times new roman", "Liberation Serif"},
      {"courier new", "Liberation Mono"},
  };
  std::string key = name;
  std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  auto it = kFaces.find(key);
  return it != kFaces.end() ? QString::fromLatin1(it->second) : Q(name);
}

QFont QtCanvas::ToQFont(const Font& f) {
  const QString family = FontFamily(f.name);
  QFont q(family);
  const int px = f.height < 0 ? -f.height : (f.height == 0 ? 13 : EmForCellHeight(family, f.height));
  q.setPixelSize(std::max(1, px));
  q.setBold(f.style & fsBold);
  q.setItalic(f.style & fsItalic);
  q.setUnderline(f.style & fsUnderline);
  q.setStrikeOut(f.style & fsStrikeOut);
  q.setKerning(false);
  return q;
}

QImage QtCanvas::ToQImage(const Bitmap& bmp) {
  QImage img(bmp.width, bmp.height, QImage::Format_RGBA8888);
  for (int y = 0; y < bmp.height; ++y)
    std::copy_n(bmp.rgba.data() + static_cast<size_t>(y) * bmp.width * 4, static_cast<size_t>(bmp.width) * 4,
                img.scanLine(y));
  return img;
}

void QtCanvas::UsePenAndBrush() {
  const Pen& p = GetPen();
  if (p.style == TPenStyle::psClear) {
    painter_.setPen(Qt::NoPen);
  } else {
    QPen pen(ToQColor(p.color));
    pen.setWidth(std::max(1, p.width));
    if (lineScale_ > 0) {
      pen.setCosmetic(true);
      pen.setWidth(std::max(1, static_cast<int>(std::lround(std::max(1, p.width) * lineScale_))));
    }
    pen.setStyle(ToQtPenStyle(p.style));
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::FlatCap);
    painter_.setPen(pen);
  }
  painter_.setBrush(ToQBrush(GetBrush()));
}

void QtCanvas::FillRect(const Rect& r) {
  if (GetBrush().style == TBrushStyle::bsClear || r.Width() <= 0 || r.Height() <= 0) return;
  painter_.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), ToQBrush(GetBrush()));
}

// Outlines cover left..right-1 and top..bottom-1; without a pen the filled
// area is one pixel smaller, as on a device context.
void QtCanvas::Rectangle(const Rect& r) {
  UsePenAndBrush();
  painter_.drawRect(QRect(r.left, r.top, r.Width() - 1, r.Height() - 1));
}

void QtCanvas::RoundRect(const Rect& r, int ew, int eh) {
  UsePenAndBrush();
  painter_.drawRoundedRect(QRect(r.left, r.top, r.Width() - 1, r.Height() - 1), ew / 2.0, eh / 2.0);
}

void QtCanvas::Ellipse(const Rect& r) {
  UsePenAndBrush();
  painter_.drawEllipse(QRect(r.left, r.top, r.Width() - 1, r.Height() - 1));
}

// The flat cap leaves the end point out.
void QtCanvas::Line(int x1, int y1, int x2, int y2) {
  if (x1 == x2 && y1 == y2) return;
  UsePenAndBrush();
  painter_.drawLine(x1, y1, x2, y2);
}

void QtCanvas::DrawText(const std::string& utf8, const Rect& r, unsigned flags) {
  Font f = GetFont();
  painter_.setFont(ToQFont(f));
  painter_.setPen(ToQColor(f.color));
  painter_.drawText(QRect(r.left, r.top, r.Width(), r.Height()), ToQtTextFlags(flags), Q(utf8));
}

Rect QtCanvas::MeasureText(const std::string& utf8, const Rect& r, unsigned flags) {
  const QFontMetrics fm(ToQFont(GetFont()));
  const int width = (flags & tfWordBreak) ? std::max(1, r.Width()) : (1 << 20);
  const int q = ToQtTextFlags(flags & ~(tfCenter | tfRight | tfVCenter | tfBottom));
  const QRect br = fm.boundingRect(QRect(r.left, r.top, width, 1 << 20), q, Q(utf8));
  // Lines count the font height each, without the leading between them, as
  // TextExtent does.
  const int spacing = std::max(1, fm.lineSpacing());
  const int lines = std::max(1, (br.height() + spacing / 2) / spacing);
  return {r.left, r.top, r.left + br.width(), r.top + lines * fm.height()};
}

void QtCanvas::TextOut(int x, int y, const std::string& utf8) {
  const Font& f = GetFont();
  const QFont qf = ToQFont(f);
  painter_.save();
  painter_.translate(x, y);
  if (f.escapement != 0) painter_.rotate(-f.escapement / 10.0);  // counter-clockwise
  painter_.setFont(qf);
  painter_.setPen(ToQColor(f.color));
  painter_.drawText(0, QFontMetrics(qf).ascent(), Q(utf8));
  painter_.restore();
}

Size QtCanvas::TextExtent(const std::string& utf8) {
  const QFontMetrics fm(ToQFont(GetFont()));
  return {fm.horizontalAdvance(Q(utf8)), fm.height()};
}

void QtCanvas::StretchDraw(const Rect& r, const Bitmap& bmp) {
  if (bmp.Empty()) return;
  painter_.drawImage(QRect(r.left, r.top, r.Width(), r.Height()), ToQImage(bmp));
}

void PaintPrintPage(QPainter& painter, const TKVZPage& page, int ppi) {
  const TKVZBand* band = page.Band();
  if (!band) return;
  const TKVZReport* report = page.Report();
  const double scale = ppi / 96.0;
  auto sx = [&](int v) { return static_cast<int>(scale * v); };
  auto margin = [&](int mm) { return mm <= 0 ? 0 : static_cast<int>(std::nearbyint(ppi / 25.4 * mm + 0.5)); };
  const int leftMargin = margin(report ? report->LeftMarginMM() : 0);
  const int rightMargin = margin(report ? report->RightMarginMM() : 0);
  const int topMargin = margin(report ? report->TopMarginMM() : 0);
  const Rect bandRect{sx(band->Left()) + leftMargin, topMargin, sx(band->Width()) - rightMargin,
                      sx(band->Height()) + topMargin};
  QtCanvas canvas(painter, ppi);
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

QImage RenderPageToImage(const TKVZPage& page, double scale) {
  const TKVZReport* report = page.Report();
  const PaperSizeMM paper = PaperSize(report ? report->Papersize() : TPapersize::kvz_A4);
  const int ppi = static_cast<int>(std::lround(96.0 * scale));
  int width = static_cast<int>(paper.width * ppi / 25.4);
  int height = static_cast<int>(paper.height * ppi / 25.4);
  if (report && report->Orientation() == TPrinterOrientation::poLandscape) std::swap(width, height);
  QImage image(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintPrintPage(painter, page, ppi);
  return image;
}

std::vector<std::string> LabelFitProblemsDrawn(const PageDefinition& page) {
  QImage image(1, 1, QImage::Format_RGB32);
  QPainter painter(&image);
  QtCanvas screen(painter, 96);
  QtCanvas print(painter, kPdfDpi);
  return LabelFitProblems(page, screen, print);
}

}  // namespace solv
