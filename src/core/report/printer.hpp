// The printer object: one drawing surface that is either a real printer
// (a device the application supplies) or a list of recorded pages at
// 96 dots per inch (the preview's pages).
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "report/canvas.hpp"
#include "report/model.hpp"

namespace solv {

// A recorded page: its canvas records from creation until Close.
// Destroying a page closes it first.
class TDrawMetaFile {
 public:
  TDrawMetaFile(int width, int height) : width_(width), height_(height) {}
  virtual ~TDrawMetaFile() = default;
  TDrawMetaFile(const TDrawMetaFile&) = delete;
  TDrawMetaFile& operator=(const TDrawMetaFile&) = delete;
  int Width() const { return width_; }
  int Height() const { return height_; }
  virtual Canvas& GetCanvas() = 0;
  virtual void Close() = 0;
  virtual bool Closed() const = 0;

 private:
  int width_, height_;
};

// Creates the recorded pages (the application records into pictures).
using PageRecorder = std::function<std::unique_ptr<TDrawMetaFile>(int width, int height)>;

// A list of recorded pages; clearing it frees every page.
class TPages {
 public:
  int Count() const { return static_cast<int>(pages_.size()); }
  TDrawMetaFile* Items(int i) const {
    return i >= 0 && i < Count() ? pages_[static_cast<size_t>(i)].get() : nullptr;
  }
  void Add(std::unique_ptr<TDrawMetaFile> p) { pages_.push_back(std::move(p)); }
  void Clear() { pages_.clear(); }

 private:
  std::vector<std::unique_ptr<TDrawMetaFile>> pages_;
};

// One recorded drawing call. Coordinates are device pixels with the canvas
// origin applied.
struct RecordedCall {
  enum Kind { FillRect, Rectangle, RoundRect, Ellipse, Line, DrawText, TextOut, StretchDraw } kind;
  Rect rect;
  std::string text;
  Font font;
  Pen pen;
  Brush brush;
};

// A canvas that keeps its drawing calls. Text is measured with a fixed
// metric: each character half the font's pixel height wide, a line the
// font's pixel height high.
class CallRecordingCanvas : public Canvas {
 public:
  std::vector<RecordedCall> calls;

  void FillRect(const Rect& r) override { Add(RecordedCall::FillRect, r); }
  void Rectangle(const Rect& r) override { Add(RecordedCall::Rectangle, r); }
  void RoundRect(const Rect& r, int, int) override { Add(RecordedCall::RoundRect, r); }
  void Ellipse(const Rect& r) override { Add(RecordedCall::Ellipse, r); }
  void Line(int x1, int y1, int x2, int y2) override { Add(RecordedCall::Line, {x1, y1, x2, y2}); }
  void DrawText(const std::string& utf8, const Rect& r, unsigned) override { Add(RecordedCall::DrawText, r, utf8); }
  Rect MeasureText(const std::string& utf8, const Rect& r, unsigned flags) override;
  void TextOut(int x, int y, const std::string& utf8) override { Add(RecordedCall::TextOut, {x, y, x, y}, utf8); }
  Size TextExtent(const std::string& utf8) override;
  void StretchDraw(const Rect& r, const Bitmap&) override { Add(RecordedCall::StretchDraw, r); }

 private:
  void Add(RecordedCall::Kind k, const Rect& r, const std::string& text = {});
};

// The core's recorded page: the calls stay in its canvas.
class RecordedPage : public TDrawMetaFile {
 public:
  using TDrawMetaFile::TDrawMetaFile;
  Canvas& GetCanvas() override { return canvas_; }
  void Close() override { closed_ = true; }
  bool Closed() const override { return closed_; }
  const std::vector<RecordedCall>& Calls() const { return canvas_.calls; }

 private:
  CallRecordingCanvas canvas_;
  bool closed_ = false;
};

// A real printer, supplied by the application.
class PrinterDevice {
 public:
  virtual ~PrinterDevice() = default;
  virtual void BeginDoc() = 0;
  virtual void NewPage() = 0;
  virtual void EndDoc() = 0;
  virtual Canvas& GetCanvas() = 0;
  virtual int PageNumber() const = 0;
  virtual void SetOrientation(TPrinterOrientation o) = 0;
  virtual void SetTitle(const std::string& t) = 0;
  virtual void SetPapersize(TPapersize) {}
  // Logical pixels per inch.
  virtual int ResolutionX() const = 0;
  virtual int ResolutionY() const = 0;
  // Offset of the printable area on the paper, device pixels.
  virtual int OffsetX() const = 0;
  virtual int OffsetY() const = 0;
  // Physical page size, device pixels.
  virtual int PageWidth() const = 0;
  virtual int PageHeight() const = 0;
};

class PrinterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TKVZPrinter {
 public:
  // Recorded pages come from recorder; without one, RecordedPage.
  explicit TKVZPrinter(PageRecorder recorder = {});

  void SetRecorder(PageRecorder recorder) { recorder_ = std::move(recorder); }
  // The printer used in printer mode (not owned); none makes printing fail.
  void SetDevice(PrinterDevice* device) { device_ = device; }

  bool MetafileMode() const { return metafile_; }
  void SetMetafileMode(bool on) { metafile_ = on; }
  // Hands over a page list that stays the caller's; nullptr returns to the
  // printer's own list.
  void SetPages(TPages* pages) { pages_ = pages ? pages : &ownPages_; }
  TPages& Pages() const { return *pages_; }
  TDrawMetaFile* CurrentPage() const { return current_; }

  void UpdateMetrics();
  void BeginDoc();
  void EndDoc();
  void NewPage();
  // Throws PrinterError "KVZPrinter could not assign the Canvas" when there
  // is no surface to draw on.
  Canvas& GetCanvas();
  int PageNumber() const;
  int PageCount() const;
  TPrinterOrientation Orientation() const { return orientation_; }
  void SetOrientation(TPrinterOrientation o);
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& t);
  TPapersize Papersize() const { return papersize_; }
  void SetPapersize(TPapersize p);

  int OffsetX() const { return offsetX_; }
  int OffsetY() const { return offsetY_; }
  int PageWidth() const { return pageWidth_; }
  int PageHeight() const { return pageHeight_; }
  int ResolutionX() const { return resX_; }
  int ResolutionY() const { return resY_; }
  double ScaleX() const { return resX_ / 96.0; }
  double ScaleY() const { return resY_ / 96.0; }
  // Design pixels to device pixels, cut toward zero.
  int ScaleXValue(int v) const;
  int ScaleYValue(int v) const;

 private:
  PageRecorder recorder_;
  PrinterDevice* device_ = nullptr;
  bool metafile_ = true;
  TPages ownPages_;
  TPages* pages_ = &ownPages_;
  TDrawMetaFile* current_ = nullptr;
  TPrinterOrientation orientation_ = TPrinterOrientation::poPortrait;
  TPapersize papersize_ = TPapersize::kvz_A4;
  std::string title_;
  int offsetX_ = 0, offsetY_ = 0, pageWidth_ = 0, pageHeight_ = 0, resX_ = 96, resY_ = 96;
};

// The process's printer object, created on first use.
TKVZPrinter& KVZPrinter();

}  // namespace solv
