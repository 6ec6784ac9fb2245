// The printer object's surfaces on Qt: a real printer over a QPrinter, and
// recorded pages kept as QPictures at 96 dots per inch that can be replayed
// on any QPainter.
#pragma once

#include <QPainter>
#include <QPicture>
#include <memory>
#include <string>

#include "qt_canvas.hpp"
#include "report/printer.hpp"

class QPrinter;

namespace solv {

// A QPrinter as the printer object's device. The painter's origin is the
// printable area's corner, as on a printer device context; the offset of
// that corner on the paper is reported for the report margins. BeginDoc
// fails (Failed() true, GetCanvas throws PrinterError) when the printer
// cannot start a job.
class QtPrinterDevice final : public PrinterDevice {
 public:
  explicit QtPrinterDevice(QPrinter& printer);
  ~QtPrinterDevice() override;

  void BeginDoc() override;
  void NewPage() override;
  void EndDoc() override;
  Canvas& GetCanvas() override;
  int PageNumber() const override { return pageNumber_; }
  void SetOrientation(TPrinterOrientation o) override;
  void SetTitle(const std::string& t) override;
  void SetPapersize(TPapersize p) override;
  int ResolutionX() const override;
  int ResolutionY() const override;
  int OffsetX() const override;
  int OffsetY() const override;
  int PageWidth() const override;
  int PageHeight() const override;

  // A job was asked for and could not be started, or a page could not be added.
  bool Failed() const { return failed_; }

 private:
  void StartCanvas();

  QPrinter& printer_;
  QPainter painter_;
  std::unique_ptr<QtCanvas> canvas_;
  int pageNumber_ = 0;
  bool failed_ = false;
};

// A recorded page: a QPicture of width × height pixels at 96 dots per inch,
// recording from creation until Close.
class QtMetaFile final : public TDrawMetaFile {
 public:
  QtMetaFile(int width, int height);
  ~QtMetaFile() override;

  Canvas& GetCanvas() override;
  void Close() override;
  bool Closed() const override { return closed_; }

  // The recording (complete once closed).
  const QPicture& Picture() const { return picture_; }
  // Draws the closed page on painter, its origin at the painter's origin and
  // scaled from 96 dots per inch to ppi.
  void Play(QPainter& painter, int ppi = 96) const;

 private:
  QPicture picture_;
  QPainter painter_;
  std::unique_ptr<QtCanvas> canvas_;
  bool closed_ = false;
};

// The recorder for TKVZPrinter: every recorded page a QtMetaFile.
PageRecorder QtPageRecorder();

// The printer of the program: "Ustawienia drukarki" sets it up and every
// print uses it, so a choice made there (printer, paper, file) holds until
// the program ends. Freed with the application object.
QPrinter& ProgramPrinter();

}  // namespace solv
