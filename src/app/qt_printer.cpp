#include "qt_printer.hpp"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

namespace solv {
namespace {

QPageSize::PageSizeId ToQPageSizeId(TPapersize p) {
  switch (p) {
    case TPapersize::kvz_A5: return QPageSize::A5;
    case TPapersize::kvz_Legal: return QPageSize::Legal;
    case TPapersize::kvz_Letter: return QPageSize::Letter;
    default: return QPageSize::A4;
  }
}

constexpr const char* kNoCanvas = "KVZPrinter could not assign the Canvas";

}  // namespace

QtPrinterDevice::QtPrinterDevice(QPrinter& printer) : printer_(printer) {}

QtPrinterDevice::~QtPrinterDevice() { EndDoc(); }

// The whole paper is the painter's device; its origin is then moved to the
// printable area's corner for every page.
void QtPrinterDevice::BeginDoc() {
  EndDoc();
  failed_ = false;
  pageNumber_ = 0;
  printer_.setFullPage(true);
  if (!painter_.begin(&printer_)) {
    failed_ = true;
    return;
  }
  pageNumber_ = 1;
  StartCanvas();
}

void QtPrinterDevice::NewPage() {
  if (!painter_.isActive()) return;
  canvas_.reset();
  if (!printer_.newPage()) {
    failed_ = true;
    return;
  }
  ++pageNumber_;
  StartCanvas();
}

void QtPrinterDevice::EndDoc() {
  canvas_.reset();
  if (painter_.isActive()) painter_.end();
}

void QtPrinterDevice::StartCanvas() {
  painter_.resetTransform();
  painter_.translate(OffsetX(), OffsetY());
  canvas_ = std::make_unique<QtCanvas>(painter_, ResolutionY());
}

Canvas& QtPrinterDevice::GetCanvas() {
  if (!canvas_) throw PrinterError(kNoCanvas);
  return *canvas_;
}

void QtPrinterDevice::SetOrientation(TPrinterOrientation o) {
  printer_.setPageOrientation(o == TPrinterOrientation::poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void QtPrinterDevice::SetTitle(const std::string& t) {
  printer_.setDocName(QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())));
}

void QtPrinterDevice::SetPapersize(TPapersize p) { printer_.setPageSize(QPageSize(ToQPageSizeId(p))); }

int QtPrinterDevice::ResolutionX() const { return printer_.resolution(); }
int QtPrinterDevice::ResolutionY() const { return printer_.resolution(); }

// The printable area begins where the printer's smallest margins end.
int QtPrinterDevice::OffsetX() const {
  const QPageLayout layout = printer_.pageLayout();
  const QPageLayout printable(layout.pageSize(), layout.orientation(), layout.minimumMargins(), layout.units(),
                              layout.minimumMargins());
  return printable.paintRectPixels(printer_.resolution()).left();
}

int QtPrinterDevice::OffsetY() const {
  const QPageLayout layout = printer_.pageLayout();
  const QPageLayout printable(layout.pageSize(), layout.orientation(), layout.minimumMargins(), layout.units(),
                              layout.minimumMargins());
  return printable.paintRectPixels(printer_.resolution()).top();
}

int QtPrinterDevice::PageWidth() const { return printer_.pageLayout().fullRectPixels(printer_.resolution()).width(); }

int QtPrinterDevice::PageHeight() const {
  return printer_.pageLayout().fullRectPixels(printer_.resolution()).height();
}

QtMetaFile::QtMetaFile(int width, int height) : TDrawMetaFile(width, height) {
  picture_.setBoundingRect(QRect(0, 0, width, height));
  if (painter_.begin(&picture_)) canvas_ = std::make_unique<QtCanvas>(painter_, 96);
}

QtMetaFile::~QtMetaFile() { Close(); }

Canvas& QtMetaFile::GetCanvas() {
  if (!canvas_) throw PrinterError(kNoCanvas);
  return *canvas_;
}

void QtMetaFile::Close() {
  if (closed_) return;
  canvas_.reset();
  if (painter_.isActive()) painter_.end();
  // The page keeps its paper size whatever its drawing covers.
  picture_.setBoundingRect(QRect(0, 0, Width(), Height()));
  closed_ = true;
}

void QtMetaFile::Play(QPainter& painter, int ppi) const {
  if (!closed_) return;
  painter.save();
  painter.scale(ppi / 96.0, ppi / 96.0);
  painter.drawPicture(0, 0, picture_);
  painter.restore();
}

namespace {
QPrinter* g_printer = nullptr;
void FreeProgramPrinter() {
  delete g_printer;
  g_printer = nullptr;
}
}  // namespace

QPrinter& ProgramPrinter() {
  if (!g_printer) {
    g_printer = new QPrinter(QPrinter::HighResolution);
    qAddPostRoutine(FreeProgramPrinter);
  }
  return *g_printer;
}

PageRecorder QtPageRecorder() {
  return [](int width, int height) -> std::unique_ptr<TDrawMetaFile> {
    return std::make_unique<QtMetaFile>(width, height);
  };
}

}  // namespace solv
