// "Podgląd wydruku": the print copies of a print action shown sheet by sheet
// at a zoom, printed as a page range or saved as a PDF file.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "qt_canvas.hpp"
#include "report/model.hpp"

class QLabel;
class QMenu;
class QPainter;
class QPrinter;
class QScrollArea;
class QToolButton;

namespace solv::app {

class PreviewSheet;

using solv::PaintPrintPage;  // a page drawn as the print draws it (qt_canvas.hpp)

class TPrevForm : public QWidget {
  Q_OBJECT
 public:
  using Pages = std::vector<std::unique_ptr<TKVZPage>>;
  // The zooms, in percent, that the mouse and the keys step through.
  static const std::vector<int>& ZoomLadder();
  static constexpr int kInitialZoom = 75;

  explicit TPrevForm(Pages pages, QWidget* parent = nullptr);
  ~TPrevForm() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  int CurrentPage() const { return current_; }  // from 1; 0 for no pages
  int Zoom() const { return zoom_; }
  const Pages& PageList() const { return pages_; }

  // Nothing when n lies outside 1..PageCount.
  void GoToPage(int n);
  void FirstPage() { GoToPage(1); }
  void PriorPage() { GoToPage(current_ - 1); }
  void NextPage() { GoToPage(current_ + 1); }
  void LastPage() { GoToPage(PageCount()); }
  // Nothing for a zoom outside the ladder's range.
  void SetZoom(int percent);
  void ZoomIn();   // one step up the ladder
  void ZoomOut();  // one step down

  // "Strona : n/m".
  QString Indicator() const;
  QLabel* IndicatorLabel() const { return indicator_; }
  QWidget* Sheet() const;
  QScrollArea* ScrollArea() const { return scroll_; }
  QToolButton* PrintButton() const { return print_; }
  QToolButton* SaveButton() const { return save_; }
  QMenu* ZoomMenu() const { return zoomMenu_; }

  // Pages from..to (1-based, inclusive) on printer, copies times over, as
  // one job titled with the first page's report title. False when the job
  // cannot be started or a page cannot be added.
  bool PrintPages(QPrinter& printer, int from, int to, int copies = 1);
  // Every page into file; says where it went, or (false) that it cannot be
  // written.
  bool SavePdf(const QString& file);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void Refresh();
  void PrintClicked();
  void SaveClicked();
  void ScrollBy(Qt::Orientation o, int delta);

  Pages pages_;
  int current_ = 0;
  int zoom_ = kInitialZoom;
  bool printing_ = false;
  QScrollArea* scroll_ = nullptr;
  PreviewSheet* sheet_ = nullptr;
  QLabel* empty_ = nullptr;
  QLabel* indicator_ = nullptr;
  QToolButton* print_ = nullptr;
  QToolButton* save_ = nullptr;
  QMenu* zoomMenu_ = nullptr;
};

// Opens the preview of pages: maximised, not modal, freed when closed.
TPrevForm* ShowPreview(TPrevForm::Pages pages, QWidget* parent = nullptr);

// The window while it exists, else nullptr.
TPrevForm* PrevForm();

}  // namespace solv::app
