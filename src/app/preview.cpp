#include "preview.hpp"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "pdf_export.hpp"
#include "qt_canvas.hpp"
#include "qt_messages.hpp"
#include "qt_printer.hpp"
#include "report/layout.hpp"
#include "report/page_list.hpp"
#include "services/message_service.hpp"

namespace solv::app {

namespace {

TPrevForm* g_prevForm = nullptr;

// The sheet size in pixels at ppi dots per inch (A4 portrait without a report).
QSize SheetSize(const TKVZPage& page, double ppi) {
  const TKVZReport* report = page.Report();
  const PaperSizeMM paper = PaperSize(report ? report->Papersize() : TPapersize::kvz_A4);
  int width = static_cast<int>(paper.width * ppi / 25.4);
  int height = static_cast<int>(paper.height * ppi / 25.4);
  if (report && report->Orientation() == TPrinterOrientation::poLandscape) std::swap(width, height);
  return {std::max(1, width), std::max(1, height)};
}

}  // namespace


// The sheet: the current page drawn at the zoom; a left click zooms in, a
// right click out.
class PreviewSheet : public QWidget {
 public:
  explicit PreviewSheet(TPrevForm& form) : QWidget(nullptr), form_(form) {
    setAutoFillBackground(false);
    setCursor(Qt::CrossCursor);
  }
  void Show(const TKVZPage* page, int zoom) {
    if (page != page_ || zoom != zoom_) image_ = QImage();
    page_ = page;
    zoom_ = zoom;
    const QSize at100 = page ? SheetSize(*page, 96.0) : QSize(793, 1122);
    setFixedSize(static_cast<int>(std::lround(at100.width() * zoom / 100.0)),
                 static_cast<int>(std::lround(at100.height() * zoom / 100.0)));
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!page_) return;
    if (image_.isNull()) image_ = RenderPageToImage(*page_, zoom_ / 100.0);
    painter.drawImage(rect(), image_);
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) form_.ZoomIn();
    else if (e->button() == Qt::RightButton) form_.ZoomOut();
  }

 private:
  TPrevForm& form_;
  const TKVZPage* page_ = nullptr;
  int zoom_ = 100;
  QImage image_;
};

const std::vector<int>& TPrevForm::ZoomLadder() {
  static const std::vector<int> ladder{25, 50, 75, 100, 150, 200, 300, 400};
  return ladder;
}

TPrevForm::TPrevForm(Pages pages, QWidget* parent) : QWidget(parent, Qt::Window), pages_(std::move(pages)) {
  g_prevForm = this;
  setWindowTitle(QStringLiteral("Podgląd wydruku"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  auto* bar = new QWidget(this);
  auto* barLayout = new QHBoxLayout(bar);
  barLayout->setContentsMargins(16, 2, 8, 2);
  auto button = [&](const QString& text, const QString& name) {
    auto* b = new QToolButton(bar);
    b->setText(text);
    b->setObjectName(name);
    b->setAutoRaise(true);
    barLayout->addWidget(b);
    return b;
  };
  QToolButton* zoom = button(QStringLiteral("%"), QStringLiteral("spbzoom"));
  zoom->setToolTip(QStringLiteral("powiększenie"));
  zoomMenu_ = new QMenu(this);
  for (int z : {400, 300, 200, 150, 100, 75, 50, 25})
    zoomMenu_->addAction(QString::number(z), this, [this, z] { SetZoom(z); });
  connect(zoom, &QToolButton::clicked, this, [this, zoom] { zoomMenu_->popup(zoom->mapToGlobal(QPoint(10, 30))); });
  connect(button(QStringLiteral("|◀"), QStringLiteral("spbPierwsza")), &QToolButton::clicked, this,
          [this] { FirstPage(); });
  connect(button(QStringLiteral("◀"), QStringLiteral("spbPop")), &QToolButton::clicked, this, [this] { PriorPage(); });
  connect(button(QStringLiteral("▶"), QStringLiteral("spbNast")), &QToolButton::clicked, this, [this] { NextPage(); });
  connect(button(QStringLiteral("▶|"), QStringLiteral("spbOstatni")), &QToolButton::clicked, this,
          [this] { LastPage(); });
  barLayout->addSpacing(20);
  print_ = button(QStringLiteral("Drukuj ..."), QStringLiteral("spDrukuj"));
  connect(print_, &QToolButton::clicked, this, [this] { PrintClicked(); });
  save_ = button(QStringLiteral("Zapisz PDF ..."), QStringLiteral("SpeedButton2"));
  connect(save_, &QToolButton::clicked, this, [this] { SaveClicked(); });
  barLayout->addStretch(1);
  QToolButton* exit = button(QStringLiteral("Wyjście"), QStringLiteral("SpeedButton1"));
  connect(exit, &QToolButton::clicked, this, [this] { close(); });
  layout->addWidget(bar);

  scroll_ = new QScrollArea(this);
  scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  scroll_->setBackgroundRole(QPalette::Dark);
  auto* holder = new QWidget;
  auto* holderLayout = new QVBoxLayout(holder);
  holderLayout->setContentsMargins(15, 15, 15, 15);
  sheet_ = new PreviewSheet(*this);
  holderLayout->addWidget(sheet_, 0, Qt::AlignHCenter | Qt::AlignTop);
  empty_ = new QLabel(QStringLiteral("Brak stron do wydruku: nie wybrano żadnego formularza."), holder);
  empty_->setAlignment(Qt::AlignCenter);
  holderLayout->addWidget(empty_, 0, Qt::AlignHCenter | Qt::AlignTop);
  scroll_->setWidget(holder);
  scroll_->setWidgetResizable(true);
  scroll_->viewport()->installEventFilter(this);
  layout->addWidget(scroll_, 1);

  auto* status = new QWidget(this);
  auto* statusLayout = new QHBoxLayout(status);
  statusLayout->setContentsMargins(4, 0, 4, 0);
  statusLayout->addWidget(new QLabel(
      QStringLiteral("Lewy przycisk myszy : powiększenie           Prawy przycisk myszy : pomniejszenie"), status));
  statusLayout->addStretch(1);
  indicator_ = new QLabel(status);
  indicator_->setObjectName(QStringLiteral("Label1"));
  statusLayout->addWidget(indicator_);
  layout->addWidget(status);

  current_ = pages_.empty() ? 0 : 1;
  const bool any = !pages_.empty();
  sheet_->setVisible(any);
  empty_->setVisible(!any);
  print_->setEnabled(any);
  save_->setEnabled(any);
  Refresh();
}

TPrevForm::~TPrevForm() {
  if (g_prevForm == this) g_prevForm = nullptr;
  // The page list names the reports of the copies shown here; they go with
  // the window, so the list must not keep them.
  TLista_Stron& list = ListaStron();
  for (int i = 0; i < list.Count(); ++i) {
    const TKVZReport* report = list.Items(i)->report;
    const bool ours = std::any_of(pages_.begin(), pages_.end(), [&](const auto& p) { return p->Report() == report; });
    if (report && ours) {
      list.Clear();
      break;
    }
  }
}

QWidget* TPrevForm::Sheet() const { return sheet_; }

QString TPrevForm::Indicator() const {
  return QStringLiteral("Strona : %1/%2").arg(current_).arg(PageCount());
}

void TPrevForm::Refresh() {
  sheet_->Show(current_ > 0 ? pages_[static_cast<size_t>(current_ - 1)].get() : nullptr, zoom_);
  indicator_->setText(Indicator());
}

void TPrevForm::GoToPage(int n) {
  if (n < 1 || n > PageCount() || n == current_) return;
  current_ = n;
  Refresh();
}

void TPrevForm::SetZoom(int percent) {
  const auto& ladder = ZoomLadder();
  if (percent == zoom_ || percent < ladder.front() || percent > ladder.back()) return;
  zoom_ = percent;
  Refresh();
}

void TPrevForm::ZoomIn() {
  const auto& ladder = ZoomLadder();
  const auto next = std::upper_bound(ladder.begin(), ladder.end(), zoom_);
  if (next != ladder.end()) SetZoom(*next);
}

void TPrevForm::ZoomOut() {
  const auto& ladder = ZoomLadder();
  const auto at = std::lower_bound(ladder.begin(), ladder.end(), zoom_);
  if (at != ladder.begin()) SetZoom(*std::prev(at));
}

void TPrevForm::ScrollBy(Qt::Orientation o, int delta) {
  QScrollBar* bar = o == Qt::Horizontal ? scroll_->horizontalScrollBar() : scroll_->verticalScrollBar();
  bar->setValue(std::clamp(bar->value() + delta, bar->minimum(), bar->maximum()));
}

void TPrevForm::keyPressEvent(QKeyEvent* e) {
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  switch (e->key()) {
    case Qt::Key_Escape: close(); break;
    case Qt::Key_PageUp: PriorPage(); break;
    case Qt::Key_PageDown: NextPage(); break;
    case Qt::Key_Home: FirstPage(); break;
    case Qt::Key_End: LastPage(); break;
    case Qt::Key_Left: ScrollBy(Qt::Horizontal, -8); break;
    case Qt::Key_Right: ScrollBy(Qt::Horizontal, 8); break;
    case Qt::Key_Up: ScrollBy(Qt::Vertical, -8); break;
    case Qt::Key_Down: ScrollBy(Qt::Vertical, 8); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: ZoomIn(); break;
    case Qt::Key_Minus: ZoomOut(); break;
    default:
      if (ctrl && e->key() == Qt::Key_P && print_->isEnabled()) {
        PrintClicked();
        break;
      }
      QWidget::keyPressEvent(e);
      return;
  }
  e->accept();
}

bool TPrevForm::eventFilter(QObject* watched, QEvent* e) {
  if (watched == scroll_->viewport() && e->type() == QEvent::Wheel) {
    auto* wheel = static_cast<QWheelEvent*>(e);
    if (wheel->modifiers() & Qt::ControlModifier) {
      if (wheel->angleDelta().y() > 0) ZoomIn();
      else if (wheel->angleDelta().y() < 0) ZoomOut();
      return true;
    }
  }
  return QWidget::eventFilter(watched, e);
}

void TPrevForm::closeEvent(QCloseEvent* e) {
  // A print run draws from the page list; the window stays until it ends.
  if (printing_) {
    QApplication::beep();
    e->ignore();
    return;
  }
  QWidget::closeEvent(e);
}

bool TPrevForm::PrintPages(QPrinter& printer, int from, int to, int copies) {
  from = std::max(from, 1);
  to = std::min(to, PageCount());
  std::vector<TKVZReport*> reports;
  for (int n = from; n <= to; ++n)
    if (TKVZReport* report = pages_[static_cast<size_t>(n - 1)]->Report()) reports.push_back(report);
  if (reports.empty()) return false;
  printing_ = true;
  // One job with all the pages, titled with the first page's report title;
  // a job per page would leave a printer that writes a file with the last
  // page only.
  QtPrinterDevice device(printer);
  TKVZPrinter& kvz = KVZPrinter();
  kvz.SetDevice(&device);
  bool ok = true;
  try {
    PrintReports(reports, reports.front()->ReportTitle(), copies, kvz);
  } catch (const PrinterError&) {
    ok = false;
  }
  if (device.Failed()) ok = false;
  device.EndDoc();
  kvz.SetDevice(nullptr);
  printing_ = false;
  return ok;
}

void TPrevForm::PrintClicked() {
  if (pages_.empty()) return;
  QPrinter& printer = ProgramPrinter();
  QPrintDialog dialog(&printer, this);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setMinMax(1, PageCount());
  dialog.setFromTo(1, PageCount());
  if (dialog.exec() != QDialog::Accepted) return;
  int from = 1, to = PageCount();
  if (printer.printRange() == QPrinter::PageRange) {
    from = printer.fromPage();
    to = printer.toPage();
  } else if (printer.printRange() == QPrinter::CurrentPage) {
    from = to = current_;
  }
  // Copies the printer cannot make itself are printed in the job, one
  // after the other.
  int copies = 1;
  if (!printer.supportsMultipleCopies()) {
    copies = std::max(1, printer.copyCount());
    printer.setCopyCount(1);
  }
  printer.setPrintRange(QPrinter::AllPages);
  printer.setFromTo(0, 0);
  if (!PrintPages(printer, from, to, copies)) {
    InfoBox("Nie można rozpocząć drukowania na wybranej drukarce.", "Informacja");
    return;
  }
  close();
}

bool TPrevForm::SavePdf(const QString& file) {
  std::vector<const TKVZPage*> copies;
  for (const auto& page : pages_) copies.push_back(page.get());
  const bool ok = !copies.empty() && WritePdf(copies, file);
  if (!ok) {
    InfoBox("Nie można zapisać pliku " + file.toStdString(), "Informacja");
    return false;
  }
  const int n = static_cast<int>(copies.size());
  const char* pages = n == 1 ? "stronę" : (n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 12 || n % 100 > 14)) ? "strony"
                                                                                                          : "stron";
  InfoBox("Zapisano plik PDF (" + std::to_string(n) + " " + pages + "):\n" + file.toStdString(), "Informacja");
  return true;
}

void TPrevForm::SaveClicked() {
  if (pages_.empty()) return;
  const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Zapisz PDF"), QString(),
                                                    QStringLiteral("PDF (*.pdf)"));
  if (file.isEmpty()) return;
  SavePdf(file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? file : file + QStringLiteral(".pdf"));
}

TPrevForm* ShowPreview(TPrevForm::Pages pages, QWidget* parent) {
  if (g_prevForm) g_prevForm->close();
  auto* form = new TPrevForm(std::move(pages), parent);
  form->showMaximized();
  form->raise();
  form->activateWindow();
  return form;
}

TPrevForm* PrevForm() { return g_prevForm; }

}  // namespace solv::app
