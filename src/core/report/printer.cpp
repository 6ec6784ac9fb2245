#include "report/printer.hpp"

#include <algorithm>
#include <cstdlib>

namespace solv {

namespace {
int FontPixels(const Font& f) { return std::max(1, std::abs(f.height)); }

// Code points of a UTF-8 text.
int Chars(const std::string& s) {
  int n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}
}  // namespace

void CallRecordingCanvas::Add(RecordedCall::Kind k, const Rect& r, const std::string& text) {
  const Rect moved{r.left + OriginX(), r.top + OriginY(), r.right + OriginX(), r.bottom + OriginY()};
  calls.push_back({k, moved, text, GetFont(), GetPen(), GetBrush()});
}

Size CallRecordingCanvas::TextExtent(const std::string& utf8) {
  const int px = FontPixels(GetFont());
  return {Chars(utf8) * px / 2, px};
}

Rect CallRecordingCanvas::MeasureText(const std::string& utf8, const Rect& r, unsigned flags) {
  const int px = FontPixels(GetFont());
  const int width = Chars(utf8) * px / 2;
  int lines = 1;
  if ((flags & tfWordBreak) && r.Width() > 0 && width > r.Width()) lines = (width + r.Width() - 1) / r.Width();
  return {r.left, r.top, r.left + std::min(width, (flags & tfWordBreak) && r.Width() > 0 ? r.Width() : width),
          r.top + lines * px};
}

TKVZPrinter::TKVZPrinter(PageRecorder recorder) : recorder_(std::move(recorder)) { UpdateMetrics(); }

void TKVZPrinter::UpdateMetrics() {
  if (!metafile_ && device_) {
    resY_ = device_->ResolutionY();
    resX_ = device_->ResolutionX();
    offsetX_ = device_->OffsetX();
    offsetY_ = device_->OffsetY();
    pageWidth_ = device_->PageWidth();
    pageHeight_ = device_->PageHeight();
    return;
  }
  resX_ = resY_ = 96;
  offsetX_ = offsetY_ = 0;
  const PaperSizeMM mm = PaperSize(papersize_);
  // Whole pixels of the paper at 96 dpi, cut toward zero.
  pageWidth_ = mm.width * 9600 / 2540;
  pageHeight_ = mm.height * 9600 / 2540;
  if (orientation_ == TPrinterOrientation::poLandscape) std::swap(pageWidth_, pageHeight_);
}

void TKVZPrinter::BeginDoc() {
  if (!metafile_) {
    if (device_) device_->BeginDoc();
    return;
  }
  current_ = nullptr;
  pages_->Clear();
}

void TKVZPrinter::EndDoc() {
  if (!metafile_) {
    if (device_) device_->EndDoc();
    return;
  }
  if (current_) current_->Close();
  current_ = nullptr;
}

void TKVZPrinter::NewPage() {
  if (!metafile_) {
    if (device_) device_->NewPage();
    return;
  }
  if (current_) current_->Close();
  current_ = nullptr;
  std::unique_ptr<TDrawMetaFile> page =
      recorder_ ? recorder_(pageWidth_, pageHeight_) : std::make_unique<RecordedPage>(pageWidth_, pageHeight_);
  if (!page) return;
  current_ = page.get();
  pages_->Add(std::move(page));
}

Canvas& TKVZPrinter::GetCanvas() {
  if (!metafile_) {
    if (!device_) throw PrinterError("KVZPrinter could not assign the Canvas");
    return device_->GetCanvas();
  }
  if (!current_) NewPage();
  if (!current_) throw PrinterError("KVZPrinter could not assign the Canvas");
  return current_->GetCanvas();
}

int TKVZPrinter::PageNumber() const {
  if (!metafile_) return device_ ? device_->PageNumber() : 0;
  return pages_->Count();
}

int TKVZPrinter::PageCount() const { return metafile_ ? pages_->Count() : 0; }

void TKVZPrinter::SetOrientation(TPrinterOrientation o) {
  orientation_ = o;
  if (!metafile_ && device_) device_->SetOrientation(o);
  UpdateMetrics();
}

void TKVZPrinter::SetTitle(const std::string& t) {
  title_ = t;
  if (!metafile_ && device_) device_->SetTitle(t);
}

void TKVZPrinter::SetPapersize(TPapersize p) {
  papersize_ = p;
  if (!metafile_ && device_) device_->SetPapersize(p);
  UpdateMetrics();
}

int TKVZPrinter::ScaleXValue(int v) const { return static_cast<int>(ScaleX() * v); }
int TKVZPrinter::ScaleYValue(int v) const { return static_cast<int>(ScaleY() * v); }

TKVZPrinter& KVZPrinter() {
  static TKVZPrinter printer;
  return printer;
}

}  // namespace solv
