// A page window: the A4 page of one form page painted from its model, its
// cells clickable, and the single editor Ed1 moved over the clicked cell.
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "report/model.hpp"
#include "report/page_definition.hpp"
#include "shell/edit_filter.hpp"

class QScrollArea;

namespace solv::app {

class PageWindow;

// The page editor: every typed key goes through the editor rules; Enter,
// Tab, Shift+Tab and leaving are handed to the page.
class KvzEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit KvzEdit(PageWindow* page, QWidget* parent);
  EditType Type() const { return type_; }
  void SetType(EditType t, int precision) {
    type_ = t;
    precision_ = precision;
  }
  int Precision() const { return precision_; }
  // The box's text when the edit began: Escape brings it back.
  void SetOriginal(const std::string& text) { original_ = text; }
  bool Typed() const { return text().toStdString() != original_; }  // changed since the edit began
  // One typed key's text, or pasted text (a whole amount in the numeric
  // types), through the editor rules. A refused key or text changes
  // nothing, not even the selection, and a balloon says why. Text stops at
  // the first character a set file cannot hold, with a message.
  void InsertTyped(const QString& typed, bool pasted = false);
  // A balloon under the editor that says why a key or an entry was refused.
  void ShowRefusal(const std::string& why);
  QWidget* RefusalBalloon() const { return balloon_; }

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  EditorState State() const;
  void Put(const EditorState& st);
  PageWindow* page_;
  EditType type_ = EditType::kvzString;
  int precision_ = 0;
  std::string original_;
  QPointer<QWidget> balloon_;
};

// The sheet: paints the band and its controls at 96 dpi times the page's
// zoom and passes clicks and hovering to the page window.
class PageWidget : public QWidget {
  Q_OBJECT
 public:
  PageWidget(PageWindow* page, QWidget* parent);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void leaveEvent(QEvent* e) override;

 private:
  PageWindow* page_;
};

class PageWindow : public QWidget {
  Q_OBJECT
 public:
  // A page of the definition for the form instance `instance` (empty: the
  // page's own name).
  PageWindow(const PageDefinition& definition, const std::string& instance, QWidget* parent = nullptr);
  ~PageWindow() override;

  const PageInfo& Info() const { return definition_.info; }
  std::string InstanceName() const { return page_->Name(); }
  void SetInstanceName(const std::string& name);
  TKVZPage& Page() { return *page_; }
  PageWidget* Sheet() const { return sheet_; }
  KvzEdit* Editor() const { return editor_; }
  QScrollArea* Scroll() const { return scroll_; }
  const std::string& CurrentCell() const { return current_; }

  // The zoom in percent (kZoomMin..kZoomMax, clamped): the sheet is drawn
  // and sized by it, and the editor and the markers follow; the point at
  // the centre of the view stays there.
  int Zoom() const { return zoom_; }
  void SetZoom(int percent);
  // Sheet coordinates at 100% (the page definition's) to the zoomed sheet
  // the widget shows, and a pixel of the widget back.
  QRect Zoomed(const QRect& r) const;
  QPoint Unzoomed(const QPoint& sheetPos) const;

  TKVZEditField* Cell(std::string_view name) const;  // without regard to case
  TKVZEditField* CellAt(const QPoint& sheetPos) const;  // sheetPos on the zoomed sheet
  bool IsEditable(const TKVZEditField* cell) const;
  CellKind KindOf(const TKVZEditField* cell) const;
  QRect SheetCellRect(const TKVZEditField* cell) const;  // on the sheet at 100%
  QRect CellRect(const TKVZEditField* cell) const;  // on the zoomed sheet
  QRect FrameRect(const TKVZEditField* cell) const;  // the frame of its box, on the zoomed sheet

  // The page's behaviour.
  void ClickCell(TKVZEditField* cell);
  // Stores; false when the text is refused (the editor then stays, with a
  // balloon or a message; it takes the focus back unless focusLost).
  bool LeaveEditor(bool focusLost = false);
  void CancelEdit();                  // Escape: the box keeps its value, nothing is stored
  void TabStep(bool backward);
  void EnterPressed();
  void StoreAndRecalculate();
  void ReloadCells();                 // from the store, with box locking
  void Activate();                    // recalculate, load, refresh
  void HideEditor();
  void Hover(TKVZEditField* cell);
  // The box under the mouse, whether it takes an entry or not (F2 explains it).
  void Point(TKVZEditField* cell) { pointed_ = cell; }
  // "Skąd ta kwota?" for the box, at globalAt; ExplainCurrent (F2): for the
  // box being edited, else the box under the mouse, below the box.
  void Explain(TKVZEditField* cell, const QPoint& globalAt);
  void ExplainCurrent();

  // Run after every stored change (the main window's refresh point).
  std::function<void()> onStored;
  // Shows the box a link of the explanation names ("PIT37b#p39").
  std::function<void(const QString& link)> onFollowLink;
  // Box locking over every open page (this page alone when not set).
  std::function<void()> lockOpenPages;

 private:
  class Host;
  void AfterStore();
  void PlaceEditor(const TKVZEditField* cell);
  const PageDefinition& definition_;
  std::unique_ptr<TKVZPage> page_;
  QScrollArea* scroll_ = nullptr;
  PageWidget* sheet_ = nullptr;
  KvzEdit* editor_ = nullptr;
  std::string current_;
  TKVZEditField* hover_ = nullptr;
  TKVZEditField* pointed_ = nullptr;
  bool leaving_ = false;
  int zoom_ = 100;
};

}  // namespace solv::app
