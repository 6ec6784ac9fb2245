#include "report/model.hpp"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <utility>

#include "store/ini.hpp"

namespace solv {
namespace {

ReportClock& ClockSlot() {
  static ReportClock clock;
  return clock;
}

ReportPrinterHook& PrinterHook() {
  static ReportPrinterHook hook;
  return hook;
}

std::string TwoDigits(int v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

bool IsValidName(std::string_view s) {
  if (s.empty()) return false;
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!letter(s[0])) return false;
  return std::all_of(s.begin(), s.end(), [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

// A product cut toward zero. Values within floating noise of a whole number
// count as that number (sin 30 degrees is 0.5, not 0.49999...).
int Cut(double v) {
  const double r = std::round(v);
  if (std::fabs(v - r) < 1e-9) return static_cast<int>(r);
  return static_cast<int>(std::trunc(v));
}

Brush ClearBrush(Brush b) {
  b.style = TBrushStyle::bsClear;
  return b;
}

}  // namespace

// ---------------------------------------------------------------------------
// Free helpers

PaperSizeMM PaperSize(TPapersize p) {
  switch (p) {
    case TPapersize::kvz_A4: return {210, 297};
    case TPapersize::kvz_A5: return {148, 210};
    case TPapersize::kvz_Legal: return {215, 355};
    case TPapersize::kvz_Letter: return {215, 279};
  }
  return {210, 297};
}

void SetReportClock(ReportClock clock) { ClockSlot() = std::move(clock); }

LocalDateTime ReportNow() {
  if (ClockSlot()) return ClockSlot()();
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string TimeText(const LocalDateTime& t) {
  return TwoDigits(t.hour) + ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second);
}

std::string DateText(const LocalDateTime& t) {
  std::string year = std::to_string(t.year);
  while (year.size() < 4) year = "0" + year;
  return TwoDigits(t.day) + "-" + TwoDigits(t.month) + "-" + year;
}

std::string DateTimeText(const LocalDateTime& t) {
  if (t.hour == 0 && t.minute == 0 && t.second == 0) return DateText(t);
  return DateText(t) + " " + TimeText(t);
}

void SetReportPrinterHook(ReportPrinterHook hook) { PrinterHook() = std::move(hook); }

int NormalizeEscapement(int a) {
  if (a < 0) {
    while (a < -360) a += 360;
    a += 360;
  } else {
    while (a > 360) a -= 360;
  }
  return a;
}

RotatedTextGeometry RotatedText(int angle, int cx, int cy) {
  const double rad = angle * 3.14159265358979323846 / 180.0;
  const double s = std::sin(rad), c = std::cos(rad);
  auto sinDeg = [](int deg) { return std::sin(deg * 3.14159265358979323846 / 180.0); };
  auto cosDeg = [](int deg) { return std::cos(deg * 3.14159265358979323846 / 180.0); };
  RotatedTextGeometry g;
  if (angle <= 90) {
    g.dx = 0;
    g.dy = Cut(s * cx);
  } else if (angle <= 180) {
    g.dx = -Cut(c * cx);
    g.dy = Cut(cosDeg(180 - angle) * cy) + Cut(s * cx);
  } else if (angle <= 270) {
    g.dx = Cut(sinDeg(angle - 180) * cy) - Cut(c * cx);
    g.dy = Cut(sinDeg(270 - angle) * cy);
  } else {
    g.dx = Cut(sinDeg(360 - angle) * cy);
    g.dy = 0;
  }
  g.width = std::abs(Cut(c * cx)) + std::abs(Cut(s * cy));
  g.height = std::abs(Cut(s * cx)) + std::abs(Cut(c * cy));
  return g;
}

void DrawShape(Canvas& canvas, TKVZShapeType t, int x, int y, int w, int h) {
  using enum TKVZShapeType;
  const int s = std::min(w, h);
  if (t == stSquare || t == stRoundSquare || t == stCircle) {
    x += (w - s) / 2;
    y += (h - s) / 2;
    w = h = s;
  }
  switch (t) {
    case stRectangle:
    case stSquare:
      if (w > 1 && h > 1) canvas.Rectangle({x, y, x + w, y + h});
      else if (w <= 1) canvas.Line(x, y, x, y + h);
      else canvas.Line(x, y, x + w, y);
      break;
    case stRoundRect:
    case stRoundSquare: canvas.RoundRect({x, y, x + w, y + h}, s / 4, s / 4); break;
    case stEllipse:
    case stCircle: canvas.Ellipse({x, y, x + w, y + h}); break;
    case stLineH: canvas.Line(x, y, x + w, y); break;
    case stLineW: canvas.Line(x, y, x, y + h); break;
  }
}

// ---------------------------------------------------------------------------
// TKVZComponent

TKVZComponent::~TKVZComponent() = default;

void TKVZComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidName(name))
    throw ReportComponentError("'" + name + "' is not a valid component name.");
  if (owner_ && !name.empty()) {
    for (const auto& c : owner_->components_)
      if (c.get() != this && SameName(c->name_, name))
        throw ReportComponentError("A component named " + name + " already exists.");
  }
  name_ = name;
}

bool TKVZComponent::OwnerDestroying() const { return owner_ && owner_->Destroying(); }

void TKVZComponent::Changed() {
  if (owner_ && !loading_ && !owner_->Destroying() && owner_->onInvalidate) owner_->onInvalidate(*this);
}

// ---------------------------------------------------------------------------
// TKVZControl

TKVZControl::~TKVZControl() {
  if (parent_ && !OwnerDestroying()) {
    auto& v = parent_->controls_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
}

void TKVZControl::SetParent(TKVZComponent* parent) {
  TKVZBand* band = nullptr;
  if (parent) {
    band = dynamic_cast<TKVZBand*>(parent);
    if (!band) throw ReportComponentError("This component must be placed on a TKVZBand.");
  }
  if (band == parent_) return;
  if (parent_) {
    auto& v = parent_->controls_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  parent_ = band;
  if (band) band->controls_.push_back(this);
  Changed();
}

void TKVZControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed();
}

void TKVZControl::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed();
}

void TKVZControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed();
}

void TKVZControl::SetLayout(TTextLayout l) {
  if (l == layout_) return;
  layout_ = l;
  Changed();
}

void TKVZControl::SetCaption(const std::string& c) {
  if (c == caption_) return;
  caption_ = c;
  Changed();
}

void TKVZControl::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  Changed();
}

Font TKVZControl::GetFont() const { return parentFont_ && parent_ ? parent_->GetFont() : font_; }

void TKVZControl::SetFont(const Font& f) {
  font_ = f;
  parentFont_ = false;
  Changed();
}

void TKVZControl::SetParentFont(bool v) {
  if (v == parentFont_) return;
  if (!v) font_ = GetFont();  // keeps the font it showed
  parentFont_ = v;
  Changed();
}

void TKVZControl::PrintTo(Canvas& canvas, const Rect& r) const {
  if (!visible_) return;
  DrawOnPrinter(canvas, r, GetPrintText());
}

// ---------------------------------------------------------------------------
// TKVZLabel

void TKVZLabel::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Changed();
}

void TKVZLabel::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  Changed();
}

void TKVZLabel::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  Changed();
}

void TKVZLabel::SetEscapement(int degrees) {
  const int a = NormalizeEscapement(degrees);
  if (a == escapement_) return;
  escapement_ = a;
  Changed();
}

unsigned TKVZLabel::AlignmentFlags() const {
  switch (alignment_) {
    case TAlignment::taRightJustify: return tfRight;
    case TAlignment::taCenter: return tfCenter;
    default: return tfLeft;
  }
}

Size TKVZLabel::DrawRotated(Canvas& canvas, const Rect& area, const std::string& text, const Font& font,
                             bool keepWidth) const {
  Font flat = font;
  flat.escapement = 0;
  canvas.SetFont(flat);
  const Size ext = canvas.TextExtent(text.empty() ? std::string(" ") : text);
  const RotatedTextGeometry g = RotatedText(escapement_, ext.cx, ext.cy);
  int x = area.left + g.dx;
  const int y = area.top + g.dy;
  if (!keepWidth) {
    if (alignment_ == TAlignment::taCenter) x += (area.Width() - g.width) / 2;
    else if (alignment_ == TAlignment::taRightJustify) x += area.Width() - g.width;
  }
  Font turned = flat;
  turned.escapement = escapement_ * 10;
  canvas.SetFont(turned);
  canvas.TextOut(x, y, text);
  canvas.SetFont(flat);
  return {g.width, g.height};
}

// The same on screen and in print, vertical layout included, so the page on
// screen shows each text where the printout puts it.
unsigned TKVZLabel::DrawFlags() const {
  unsigned flags = (wordWrap_ ? tfWordBreak : 0u) | tfExpandTabs | AlignmentFlags() | tfNoPrefix;
  if (Layout() == TTextLayout::tlCenter) flags |= tfVCenter;
  else if (Layout() == TTextLayout::tlBottom) flags |= tfBottom;
  return flags;
}

void TKVZLabel::Paint(Canvas& canvas) {
  const Rect client = ClientRect();
  if (!transparent_) {
    canvas.SetBrush({Color(), TBrushStyle::bsSolid});
    canvas.FillRect(client);
  }
  canvas.SetBrush(ClearBrush(canvas.GetBrush()));
  const std::string text = Caption();
  Font font = GetFont();
  font.escapement = 0;
  canvas.SetFont(font);
  if (escapement_ == 0) {
    canvas.DrawText(text, client, DrawFlags());
  } else {
    // An auto-sized label takes the size of the turned text.
    const Size turned = DrawRotated(canvas, client, text, font, autoSize_);
    if (autoSize_) SetBounds(Left(), Top(), turned.cx, turned.cy);
  }
}

void TKVZLabel::DrawOnPrinter(Canvas& canvas, const Rect& r, const std::string& text) const {
  if (!transparent_) {
    canvas.SetBrush({Color(), TBrushStyle::bsSolid});
    canvas.FillRect(r);
  }
  canvas.SetBrush(ClearBrush(canvas.GetBrush()));
  Font font = FontForResolution(GetFont(), canvas.PixelsPerInchY());
  font.escapement = 0;
  canvas.SetFont(font);
  if (escapement_ == 0) {
    canvas.DrawText(text, r, DrawFlags());
  } else {
    // Same start offsets as on screen, measured with the print font, so the
    // turned text stays inside r.
    DrawRotated(canvas, r, text, font, false);
  }
}

Rect TKVZLabel::PrintAutoSize(Canvas& canvas, const Rect& r) const {
  if (!autoSize_ || escapement_ != 0) return r;
  Font font = FontForResolution(GetFont(), canvas.PixelsPerInchY());
  font.escapement = 0;
  canvas.SetFont(font);
  std::string text = GetPrintText();
  if (text.empty()) text = " ";
  const unsigned flags = (wordWrap_ ? tfWordBreak : 0u) | tfExpandTabs;
  const Rect m = canvas.MeasureText(text, r, flags);
  Rect out = r;
  if (alignment_ == TAlignment::taRightJustify) out.left = r.right - m.Width();
  else out.right = r.left + m.Width();
  out.bottom = r.top + m.Height();
  return out;
}

// ---------------------------------------------------------------------------
// TKVZField

const TKVZField* TKVZField::Referenced() const {
  const std::string& n = Name();
  if (n.empty() || n.back() != '_' || !Owner()) return nullptr;
  const size_t end = n.find_last_not_of('_');
  if (end == std::string::npos) return nullptr;
  return dynamic_cast<const TKVZField*>(Owner()->FindComponent(std::string_view(n).substr(0, end + 1)));
}

std::string TKVZField::GetPrintText() const {
  if (!values_.empty()) {
    if (recordIndex_ < static_cast<int>(values_.size())) return values_[static_cast<size_t>(recordIndex_)];
    if (values_.size() == 1) return values_.front();
    return noValue_;
  }
  const std::string& n = Name();
  if (!n.empty() && n.back() == '_') {
    if (const TKVZField* f = Referenced()) return f->GetPrintText();
  }
  return noValue_;
}

bool TKVZField::NextRecord() {
  const int count = static_cast<int>(values_.size());
  if (count < 2) return false;
  if (recordIndex_ < count) ++recordIndex_;
  return recordIndex_ < count;
}

void TKVZField::ClearValues() {
  SetCaption(clearValue_);
  values_.clear();
  recordIndex_ = 0;
}

std::string TKVZField::NextValue() const {
  if (!values_.empty()) {
    const size_t next = static_cast<size_t>(recordIndex_) + 1;
    if (next < values_.size()) return values_[next];
    if (values_.size() == 1) return values_.front();
    return noValue_;
  }
  const std::string& n = Name();
  if (!n.empty() && n.back() == '_') {
    if (const TKVZField* f = Referenced()) return f->NextValue();
  }
  return Caption();
}

// ---------------------------------------------------------------------------
// TKVZSysField

TKVZSysField::TKVZSysField() {
  SetColor(clWhite);
  SetCaption(DesignCaption());
}

void TKVZSysField::SetDataType(TKVZSysDataType t) {
  dataType_ = t;
  SetCaption(DesignCaption());
}

std::string TKVZSysField::DesignCaption() const {
  switch (dataType_) {
    case TKVZSysDataType::kvz_Time: return "#hh:mm:ss#";
    case TKVZSysDataType::kvz_Date: return "#tt.mm.jjjj#";
    case TKVZSysDataType::kvz_DateTime: return "#tt.mm.jjjj hh:mm:ss#";
    case TKVZSysDataType::kvz_PageNum: return "#Page#";
    case TKVZSysDataType::kvz_Counter: return "#Counter#";
    case TKVZSysDataType::kvz_Count: return "#Count#";
    case TKVZSysDataType::kvz_FormName: return "#" + (Owner() ? Owner()->Name() : std::string()) + "#";
  }
  return {};
}

std::string TKVZSysField::GetPrintText() const {
  switch (dataType_) {
    case TKVZSysDataType::kvz_Time: return TimeText(ReportNow());
    case TKVZSysDataType::kvz_Date: return DateText(ReportNow());
    case TKVZSysDataType::kvz_DateTime: return DateTimeText(ReportNow());
    case TKVZSysDataType::kvz_PageNum: return std::to_string(pageNumber_);
    case TKVZSysDataType::kvz_Counter: return std::to_string(counter_ + 1);
    case TKVZSysDataType::kvz_Count: return "E";
    case TKVZSysDataType::kvz_FormName: return Owner() ? Owner()->Name() : std::string();
  }
  return {};
}

bool TKVZSysField::NextRecord() {
  ++counter_;
  return false;
}

void TKVZSysField::Loaded() {
  TKVZLabel::Loaded();
  SetCaption(DesignCaption());
}

// ---------------------------------------------------------------------------
// TKVZShape

void TKVZShape::SetShape(TKVZShapeType s) {
  if (s == shape_) return;
  shape_ = s;
  Changed();
}

void TKVZShape::SetBrush(const Brush& b) {
  if (b == brush_) return;
  brush_ = b;
  Changed();
}

void TKVZShape::SetPen(const Pen& p) {
  if (p == pen_) return;
  pen_ = p;
  Changed();
}

void TKVZShape::Paint(Canvas& canvas) {
  canvas.SetPen(pen_);
  canvas.SetBrush(brush_);
  DrawShape(canvas, shape_, 0, 0, Width(), Height());
}

void TKVZShape::DrawOnPrinter(Canvas& canvas, const Rect& r, const std::string&) const {
  Pen pen = pen_;
  pen.width = std::max(1, pen.width);
  canvas.SetPen(pen);
  canvas.SetBrush(brush_);
  DrawShape(canvas, shape_, r.left, r.top, r.Width(), r.Height());
}

// ---------------------------------------------------------------------------
// TKVZImage

void TKVZImage::SizeToPicture() {
  if (!autosize_ || Loading()) return;
  if (picture_.Width() > 0 && picture_.Height() > 0) SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
}

void TKVZImage::SetPicture(const solv::Picture& p) {
  picture_ = p;
  SizeToPicture();
  Changed();
}

void TKVZImage::SetCenter(bool v) {
  if (v == center_) return;
  center_ = v;
  Changed();
}

void TKVZImage::SetStretch(bool v) {
  if (v == stretch_) return;
  stretch_ = v;
  Changed();
}

void TKVZImage::SetAutosize(bool v) {
  autosize_ = v;
  if (v) SizeToPicture();
}

void TKVZImage::DrawPlaceholder(Canvas& canvas, const Rect& r) const {
  canvas.SetPen({clBlack, 1, TPenStyle::psDashDot});
  canvas.SetBrush(ClearBrush(canvas.GetBrush()));
  canvas.Rectangle(r);
}

void TKVZImage::Paint(Canvas& canvas) {
  if (!picture_.IsBitmap()) {
    DrawPlaceholder(canvas, ClientRect());
    return;
  }
  const int pw = picture_.Width(), ph = picture_.Height();
  if (stretch_) {
    canvas.StretchDraw(ClientRect(), picture_.bitmap);
  } else if (center_) {
    const int x = (Width() - pw) / 2, y = (Height() - ph) / 2;
    canvas.StretchDraw({x, y, x + pw, y + ph}, picture_.bitmap);
  } else {
    canvas.StretchDraw({0, 0, pw, ph}, picture_.bitmap);
  }
}

void TKVZImage::DrawOnPrinter(Canvas& canvas, const Rect& r, const std::string&) const {
  if (!picture_.IsBitmap()) {
    DrawPlaceholder(canvas, r);
    return;
  }
  if (stretch_) {
    canvas.StretchDraw(r, picture_.bitmap);
    return;
  }
  Bitmap sheet(Width(), Height(), clWhite);
  if (center_) sheet.Blit(picture_.bitmap, (Width() - picture_.Width()) / 2, (Height() - picture_.Height()) / 2);
  else sheet.Blit(picture_.bitmap, 0, 0);
  canvas.StretchDraw(r, sheet);
}

// ---------------------------------------------------------------------------
// TKVZBand

TKVZBand::~TKVZBand() {
  if (!OwnerDestroying()) {
    for (TKVZControl* c : controls_) c->parent_ = nullptr;
    if (detailLink_ && detailLink_->GroupBand() == this) detailLink_->SetGroupBand(nullptr);
  }
  if (parent_ && !parent_->Destroying()) {
    auto& v = parent_->bands_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
}

void TKVZBand::SetParent(TKVZComponent* parent) {
  TKVZPage* page = nullptr;
  if (parent) {
    page = dynamic_cast<TKVZPage*>(parent);
    if (!page) throw ReportComponentError("This component must be placed on a TForm.");
  }
  if (page == parent_) return;
  if (parent_) {
    auto& v = parent_->bands_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  parent_ = page;
  if (page) page->bands_.push_back(this);
  Changed();
}

void TKVZBand::SetBandType(TKVZBandType t) {
  if (t == bandType_) return;
  bandType_ = t;
  Changed();
}

void TKVZBand::SetRuler(TKVZRulerType r) {
  if (r == ruler_) return;
  ruler_ = r;
  Changed();
}

void TKVZBand::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  Changed();
}

Font TKVZBand::GetFont() const { return parentFont_ && parent_ ? parent_->font : font_; }

void TKVZBand::SetFont(const Font& f) {
  font_ = f;
  parentFont_ = false;
  Changed();
}

void TKVZBand::Paint(Canvas& canvas, bool designing) const {
  canvas.SetBrush({color_, TBrushStyle::bsSolid});
  canvas.FillRect(ClientRect());
  if (designing) PaintRuler(canvas);
}

void TKVZBand::PaintRuler(Canvas& canvas) const {
  using enum TKVZRulerType;
  static const char* const kTypeNames[] = {"Title",        "PageHeader", "DetailHeader", "Detail",      "DetailFooter",
                                           "PageFooter",   "ReportFooter", "New Page",   "GroupHeader", "GroupFooter"};
  const TKVZRulerType r = ruler_;
  canvas.SetPen({clSilver, 1, TPenStyle::psSolid});
  canvas.SetBrush(ClearBrush(canvas.GetBrush()));
  Font f;
  f.name = "Arial";
  f.height = -11;
  f.color = clSilver;
  canvas.SetFont(f);
  // Lines every stepMM millimetres; the centimetre lines carry labels.
  auto vertical = [&](double stepMM, bool labels) {
    for (int n = 1;; ++n) {
      const int x = static_cast<int>(n * stepMM * 96.0 / 25.4);
      if (x >= width_) break;
      canvas.Line(x, 0, x, height_);
      if (labels) canvas.TextOut(x + 2, 0, std::to_string(n) + "cm");
    }
  };
  auto horizontal = [&](double stepMM, bool labels) {
    for (int n = 1;; ++n) {
      const int y = static_cast<int>(n * stepMM * 96.0 / 25.4);
      if (y >= height_) break;
      canvas.Line(0, y, width_, y);
      if (labels) canvas.TextOut(2, y + 1, std::to_string(n) + "cm");
    }
  };
  if (r == kvz_cmV || r == kvz_cmHV) {
    vertical(10, true);
    canvas.TextOut(0, 10, kTypeNames[static_cast<int>(bandType_)]);
  }
  if (r == kvz_cmH || r == kvz_cmHV) horizontal(10, true);
  if (r == kvz_5mmV || r == kvz_5mmHV) vertical(5, false);
  if (r == kvz_5mmH || r == kvz_5mmHV) horizontal(5, false);
  if (r == kvz_mmV || r == kvz_mmHV) vertical(1, false);
  if (r == kvz_mmH || r == kvz_mmHV) horizontal(1, false);
}

void TKVZBand::PaintWithControls(Canvas& canvas, bool designing) const {
  const int ox = canvas.OriginX(), oy = canvas.OriginY();
  Paint(canvas, designing);
  for (TKVZControl* c : controls_) {
    if (!c->Visible() && !designing) continue;
    canvas.SetOrigin(ox + c->Left(), oy + c->Top());
    c->Paint(canvas);
  }
  canvas.SetOrigin(ox, oy);
}

void TKVZBand::Notification(TKVZComponent& removed) {
  if (detailLink_ == &removed) detailLink_ = nullptr;
}

// ---------------------------------------------------------------------------
// TKVZReport

void TKVZReport::SetOrientation(TPrinterOrientation o) {
  orientation_ = o;
  if (PrinterHook().orientation) PrinterHook().orientation(o);
}

void TKVZReport::SetPapersize(TPapersize p) {
  papersize_ = p;
  if (PrinterHook().papersize) PrinterHook().papersize(p);
}

void TKVZReport::SetLeftMarginMM(int mm) {
  if (mm >= 0 && mm < PaperSize(papersize_).width) leftMarginMM_ = mm;
}

void TKVZReport::SetRightMarginMM(int mm) {
  if (mm >= 0 && mm < PaperSize(papersize_).width) rightMarginMM_ = mm;
}

void TKVZReport::SetTopMarginMM(int mm) {
  if (mm >= 0 && mm < PaperSize(papersize_).height) topMarginMM_ = mm;
}

// ---------------------------------------------------------------------------
// TKVZDetailLink

TKVZDetailLink::~TKVZDetailLink() {
  if (!OwnerDestroying() && groupBand_ && groupBand_->detailLink_ == this) groupBand_->detailLink_ = nullptr;
}

void TKVZDetailLink::SetGroupBand(TKVZBand* b) {
  groupBand_ = b;
  if (b) b->detailLink_ = this;
}

bool TKVZDetailLink::GroupChangedBefore() {
  if (!dataSource_) return false;
  const std::string current = dataSource_->GetPrintText();
  const bool changed = lastValue_.empty() || lastValue_ != current;
  lastValue_ = current;
  return changed;
}

bool TKVZDetailLink::GroupChangedAfter() const {
  if (!dataSource_ || lastValue_.empty()) return false;
  return lastValue_ != dataSource_->NextValue();
}

void TKVZDetailLink::Notification(TKVZComponent& removed) {
  if (groupHeader_ == &removed) groupHeader_ = nullptr;
  if (groupFooter_ == &removed) groupFooter_ = nullptr;
  if (groupBand_ == &removed) groupBand_ = nullptr;
  if (dataSource_ == &removed) dataSource_ = nullptr;
}

// ---------------------------------------------------------------------------
// TKVZPage

TKVZPage::TKVZPage(std::string className) : className_(std::move(className)) {}

TKVZPage::~TKVZPage() {
  destroying_ = true;
  for (TKVZBand* b : bands_)
    if (b->Owner() != this) b->parent_ = nullptr;
  while (!components_.empty()) components_.pop_back();
}

TKVZComponent* TKVZPage::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const auto& c : components_)
    if (SameName(c->Name(), name)) return c.get();
  return nullptr;
}

TKVZComponent& TKVZPage::InsertComponent(std::unique_ptr<TKVZComponent> c) {
  if (!c) throw ReportComponentError("No component to insert.");
  if (c->owner_) throw ReportComponentError("The component " + c->Name() + " already has an owner.");
  if (FindComponent(c->Name())) throw ReportComponentError("A component named " + c->Name() + " already exists.");
  c->owner_ = this;
  components_.push_back(std::move(c));
  return *components_.back();
}

std::unique_ptr<TKVZComponent> TKVZPage::RemoveComponent(TKVZComponent& c) {
  auto it = std::find_if(components_.begin(), components_.end(), [&](const auto& p) { return p.get() == &c; });
  if (it == components_.end()) return nullptr;
  if (auto* control = dynamic_cast<TKVZControl*>(&c)) control->SetParent(nullptr);
  if (auto* band = dynamic_cast<TKVZBand*>(&c)) {
    for (TKVZControl* child : band->controls_) child->parent_ = nullptr;
    band->controls_.clear();
    band->SetParent(nullptr);
  }
  for (const auto& other : components_)
    if (other.get() != &c) other->Notification(c);
  std::unique_ptr<TKVZComponent> out = std::move(*it);
  components_.erase(it);
  out->owner_ = nullptr;
  return out;
}

TKVZReport* TKVZPage::Report() const {
  for (auto it = components_.rbegin(); it != components_.rend(); ++it)
    if (auto* r = dynamic_cast<TKVZReport*>(it->get())) return r;
  return nullptr;
}

// ---------------------------------------------------------------------------
// Registration

std::unique_ptr<TKVZComponent> CreateComponent(std::string_view className) {
  if (className == "TKVZReport") return std::make_unique<TKVZReport>();
  if (className == "TKVZBand") return std::make_unique<TKVZBand>();
  if (className == "TKVZDetailLink") return std::make_unique<TKVZDetailLink>();
  if (className == "TKVZLabel") return std::make_unique<TKVZLabel>();
  if (className == "TKVZField") return std::make_unique<TKVZField>();
  if (className == "TKVZEditField") return std::make_unique<TKVZEditField>();
  if (className == "TKVZSysField") return std::make_unique<TKVZSysField>();
  if (className == "TKVZShape") return std::make_unique<TKVZShape>();
  if (className == "TKVZImage") return std::make_unique<TKVZImage>();
  return nullptr;
}

bool IsComponentClass(std::string_view className) { return CreateComponent(className) != nullptr; }

}  // namespace solv
