#include "page_window.hpp"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QToolTip>
#include <QVBoxLayout>
#include <cmath>

#include "calc/dispatch.hpp"
#include "explain_popup.hpp"
#include "markers.hpp"
#include "shell/box_locking.hpp"
#include "shell/edit_history.hpp"
#include "qt_canvas.hpp"
#include "qt_messages.hpp"
#include "report/print_page.hpp"
#include "services/message_service.hpp"
#include "shell/page_behaviour.hpp"
#include "shell/zoom.hpp"
#include "store/charset_check.hpp"
#include "store/cp1250.hpp"
#include "store/set_list.hpp"
#include "store/store.hpp"
#include "zg_dialog.hpp"

namespace solv::app {
namespace {

constexpr int kEditorFontPixels = 16;  // the editor's bold face at 100%
constexpr int kEditorMinHeight = 20;   // at 100%

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// Code points before the UTF-16 position pos of text.
int CodePointsBefore(const QString& text, int pos) { return static_cast<int>(text.left(pos).toUcs4().size()); }
int Utf16Position(const QString& text, int codePoints) {
  const QList<uint> ucs = text.toUcs4();
  return static_cast<int>(QString::fromUcs4(reinterpret_cast<const char32_t*>(ucs.constData()),
                                            std::min<qsizetype>(codePoints, ucs.size()))
                              .size());
}

}  // namespace

// The page as the page operations see it.
class PageWindow::Host final : public PageHost {
 public:
  explicit Host(PageWindow& w) : w_(w), cells_(*w.page_) {}
  std::string ClassName() const override { return w_.Info().className; }
  PageCells& Cells() override { return cells_; }
  void LockOpenPages() override {
    if (w_.lockOpenPages)
      w_.lockOpenPages();
    else
      ApplyLocking(*w_.page_, w_.page_->Name());
  }

 private:
  PageWindow& w_;
  PageModelCells cells_;
};

// ---------------------------------------------------------------------------
// KvzEdit

KvzEdit::KvzEdit(PageWindow* page, QWidget* parent) : QLineEdit(parent), page_(page) {
  setObjectName(QStringLiteral("Ed1"));
  setFrame(false);
  QFont f(QtCanvas::FontFamily("Arial"));
  f.setPixelSize(kEditorFontPixels);
  f.setBold(true);
  setFont(f);
  setStyleSheet(QStringLiteral("QLineEdit{background:#c0c0c0;border:none;padding:0 2px;}"));
  // Pasting goes through the editor rules only (no context menu, no drops);
  // a right click explains the box being edited.
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (TKVZEditField* cell = page_->Cell(page_->CurrentCell())) page_->Explain(cell, mapToGlobal(at));
  });
  setAcceptDrops(false);
  setDragEnabled(false);
  hide();
}

bool KvzEdit::event(QEvent* e) {
  // Undo and redo keys undo the typing in the box while there is some, else
  // they reach the window: the entries of the set.
  if (e->type() == QEvent::ShortcutOverride) {
    auto* k = static_cast<QKeyEvent*>(e);
    const bool redo = k->matches(QKeySequence::Redo) ||
                      (k->key() == Qt::Key_Y && k->modifiers() == Qt::ControlModifier);
    if ((k->matches(QKeySequence::Undo) && !isUndoAvailable()) || (redo && !isRedoAvailable())) {
      e->ignore();
      return false;
    }
  }
  // Tab would otherwise move the focus before the key reaches the editor.
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
      page_->TabStep(k->key() == Qt::Key_Backtab || (k->modifiers() & Qt::ShiftModifier));
      return true;
    }
  }
  return QLineEdit::event(e);
}

void KvzEdit::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      page_->EnterPressed();
      return;
    case Qt::Key_Escape: {
      const KeyResult r = TypeKey(State(), kKeyEscape);
      if (r.cancel) {
        setText(QString::fromStdString(r.state.text));
        page_->CancelEdit();
      }
      return;
    }
    default: break;
  }
  if (e->matches(QKeySequence::Paste)) {
    InsertTyped(QGuiApplication::clipboard()->text(QClipboard::Clipboard), true);
    return;
  }
  const QString typed = e->text();
  const bool printable = !typed.isEmpty() && (typed.at(0).isPrint() || typed.at(0).isSurrogate());
  if (!printable || (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    QLineEdit::keyPressEvent(e);  // caret movement, Backspace, Delete, copy and cut
    return;
  }
  InsertTyped(typed);
}

EditorState KvzEdit::State() const {
  EditorState st;
  st.text = text().toStdString();
  st.type = type_;
  st.precision = precision_;
  st.upperCase = true;
  st.original = original_;
  st.caret = CodePointsBefore(text(), cursorPosition());
  st.selStart = st.caret;
  if (hasSelectedText()) {
    st.selStart = CodePointsBefore(text(), selectionStart());
    st.selLength = CodePointsBefore(text(), selectionStart() + static_cast<int>(selectedText().size())) - st.selStart;
  }
  return st;
}

void KvzEdit::Put(const EditorState& st) {
  const QString now = QString::fromStdString(st.text);
  if (now != text()) setText(now);
  setCursorPosition(Utf16Position(now, st.caret));
}

void KvzEdit::InsertTyped(const QString& typed, bool pasted) {
  const EditorState st = State();
  const QList<uint> keys = typed.toUcs4();
  if (IsNumericEditType(type_)) {
    // An amount is one whole: a pasted one is taken or refused as such.
    std::u32string text;
    for (uint code : keys) text += static_cast<char32_t>(code);
    const KeyResult r = pasted || text.size() != 1 ? InsertText(st, text) : TypeKey(st, text[0]);
    if (r.accepted) Put(r.state);
    else if (!r.refusal.empty()) ShowRefusal(r.refusal);
    return;
  }
  // Text goes through the same rules key by key. A character the set file
  // cannot hold is refused at once, not written later as '?'.
  EditorState now = st;
  bool changed = false;
  for (uint code : keys) {
    const char32_t key = code;
    if (key == U'\r' || key == U'\n' || key == U'\t') continue;
    KeyResult r = TypeKey(now, key);
    if (!r.accepted) continue;
    if (UnrepresentableCharacters(r.state.text).size() > UnrepresentableCharacters(now.text).size()) {
      std::string shown;
      AppendUtf8(shown, key);
      InfoBox(UnrepresentableMessage(shown), "Informacja");
      break;
    }
    now = r.state;
    changed = true;
  }
  // Nothing taken: the text, caret and selection stay as they were.
  if (changed) Put(now);
}

void KvzEdit::ShowRefusal(const std::string& why) {
  if (balloon_) balloon_->close();
  balloon_ = ShowBalloon(*this, mapToGlobal(QPoint(0, height())), QStringLiteral("Uwaga"), QString::fromStdString(why),
                         {}, BalloonIcon::Warning);
}

void KvzEdit::hideEvent(QHideEvent* e) {
  if (balloon_) balloon_->close();
  QLineEdit::hideEvent(e);
}

void KvzEdit::inputMethodEvent(QInputMethodEvent* e) {
  // Text composed by an input method is committed as typed text.
  if (!e->commitString().isEmpty() && e->preeditString().isEmpty() && e->replacementLength() == 0) {
    InsertTyped(e->commitString(), e->commitString().size() > 1);
    e->accept();
    return;
  }
  QLineEdit::inputMethodEvent(e);
}

void KvzEdit::mouseReleaseEvent(QMouseEvent* e) {
  // The middle button pastes the selection on X11.
  if (e->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
    InsertTyped(QGuiApplication::clipboard()->text(QClipboard::Selection), true);
    e->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(e);
}

void KvzEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  // Another window or a menu taking the focus is no leaving of the box.
  if (isVisible() && e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason)
    page_->LeaveEditor(true);
}

// ---------------------------------------------------------------------------
// PageWidget

PageWidget::PageWidget(PageWindow* page, QWidget* parent) : QWidget(parent), page_(page) {
  setObjectName(QStringLiteral("sheet"));
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  setFixedSize(sizeHint());
}

QSize PageWidget::sizeHint() const {
  const TKVZBand* band = page_->Page().Band();
  const int h = band ? band->Height() : 1121;
  return page_->Zoomed(QRect(0, 0, 794, std::max(1123, h))).size();
}

// The zoom is the painter's scale: lines, text and font metrics are drawn
// at the zoomed size (no bitmap is scaled), and a text fits its frame as it
// does at 100%.
void PageWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const TKVZBand* band = page_->Page().Band();
  if (!band) return;
  const double scale = page_->Zoom() / 100.0;
  painter.scale(scale, scale);
  QtCanvas canvas(painter, 96);
  if (page_->Zoom() != 100) canvas.DrawLinesInWholePixels(scale);
  canvas.SetOrigin(band->Left(), 0);
  band->PaintWithControls(canvas);
}

void PageWidget::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    if (TKVZEditField* cell = page_->CellAt(e->position().toPoint()))
      page_->Explain(cell, e->globalPosition().toPoint());
    return;
  }
  if (e->button() != Qt::LeftButton) return;
  TKVZEditField* cell = page_->CellAt(e->position().toPoint());
  if (cell && cell->Name() == page_->CurrentCell() && page_->Editor()->isVisible()) {
    page_->Editor()->setFocus(Qt::MouseFocusReason);  // the caption of the box being edited
  } else if (cell) {
    page_->ClickCell(cell);
  } else if (page_->Editor()->isVisible()) {
    page_->LeaveEditor();
  }
}

void PageWidget::mouseMoveEvent(QMouseEvent* e) {
  TKVZEditField* cell = page_->CellAt(e->position().toPoint());
  page_->Point(cell);
  if (cell && page_->IsEditable(cell)) {
    setCursor(Qt::PointingHandCursor);
    page_->Hover(cell);
    if (!cell->Hint().empty())
      QToolTip::showText(e->globalPosition().toPoint(), QString::fromStdString(cell->Hint()), this,
                         page_->FrameRect(cell), 30000);
  } else {
    if (cell && cell->Cursor() == crNo)
      setCursor(Qt::ForbiddenCursor);
    else
      unsetCursor();
    page_->Hover(nullptr);
  }
}

void PageWidget::leaveEvent(QEvent*) {
  page_->Hover(nullptr);
  page_->Point(nullptr);
}

// ---------------------------------------------------------------------------
// PageWindow

PageWindow::PageWindow(const PageDefinition& definition, const std::string& instance, QWidget* parent)
    : QWidget(parent), definition_(definition), page_(BuildPage(definition, instance)) {
  setObjectName(QString::fromStdString(definition.info.className));
  setWindowTitle(QString::fromStdString(definition.info.Caption()));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  scroll_ = new QScrollArea(this);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setBackgroundRole(QPalette::Base);
  scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  sheet_ = new PageWidget(this, scroll_);
  scroll_->setWidget(sheet_);
  scroll_->verticalScrollBar()->setSingleStep(20);
  layout->addWidget(scroll_);
  editor_ = new KvzEdit(this, sheet_);
  resize(817 + scroll_->verticalScrollBar()->sizeHint().width(), 700);
  page_->onInvalidate = [this](TKVZComponent&) { sheet_->update(); };
  auto* explain = new QShortcut(QKeySequence(Qt::Key_F2), this);
  explain->setContext(Qt::WidgetWithChildrenShortcut);
  connect(explain, &QShortcut::activated, this, &PageWindow::ExplainCurrent);
}

PageWindow::~PageWindow() {
  // The editor goes first, so that its losing the focus finds nothing to store.
  current_.clear();
  leaving_ = true;
  delete editor_;
  page_->onInvalidate = nullptr;
}

void PageWindow::SetInstanceName(const std::string& name) { page_->SetName(name); }

TKVZEditField* PageWindow::Cell(std::string_view name) const {
  const std::string wanted = Lower(name);
  for (int i = 0; i < page_->ComponentCount(); ++i)
    if (auto* f = dynamic_cast<TKVZEditField*>(page_->Components(i)))
      if (Lower(f->Name()) == wanted) return f;
  return nullptr;
}

// The edges are zoomed, not the width: neighbouring rectangles stay
// neighbours, as the painter draws them.
QRect PageWindow::Zoomed(const QRect& r) const {
  const int left = solv::Zoomed(r.x(), zoom_), top = solv::Zoomed(r.y(), zoom_);
  return {left, top, solv::Zoomed(r.x() + r.width(), zoom_) - left, solv::Zoomed(r.y() + r.height(), zoom_) - top};
}

QPoint PageWindow::Unzoomed(const QPoint& pos) const {
  return {solv::Unzoomed(pos.x(), zoom_), solv::Unzoomed(pos.y(), zoom_)};
}

void PageWindow::SetZoom(int percent) {
  percent = ClampZoom(percent);
  if (percent == zoom_) return;
  // The sheet point at the centre of the view, at 100%.
  QScrollBar* hBar = scroll_->horizontalScrollBar();
  QScrollBar* vBar = scroll_->verticalScrollBar();
  const QSize view = scroll_->viewport()->size();
  const double cx = (hBar->value() + view.width() / 2.0) * 100.0 / zoom_;
  const double cy = (vBar->value() + view.height() / 2.0) * 100.0 / zoom_;
  zoom_ = percent;
  QToolTip::hideText();
  Hover(nullptr);  // the pointer is over another place of the sheet now
  sheet_->setFixedSize(sheet_->sizeHint());
  QFont f = editor_->font();
  f.setPixelSize(std::max(1, solv::Zoomed(kEditorFontPixels, zoom_)));
  editor_->setFont(f);
  if (QWidget* balloon = editor_->RefusalBalloon()) balloon->close();
  if (TKVZEditField* cell = current_.empty() ? nullptr : Cell(current_); cell && editor_->isVisible()) PlaceEditor(cell);
  for (PageMarker* m : sheet_->findChildren<PageMarker*>()) m->Place(zoom_);
  hBar->setValue(static_cast<int>(std::lround(cx * zoom_ / 100.0 - view.width() / 2.0)));
  vBar->setValue(static_cast<int>(std::lround(cy * zoom_ / 100.0 - view.height() / 2.0)));
  sheet_->update();
}

QRect PageWindow::SheetCellRect(const TKVZEditField* cell) const {
  const TKVZBand* band = page_->Band();
  const int dx = band ? band->Left() : 0;
  return {cell->Left() + dx, cell->Top(), cell->Width(), cell->Height()};
}

QRect PageWindow::CellRect(const TKVZEditField* cell) const { return Zoomed(SheetCellRect(cell)); }

QRect PageWindow::FrameRect(const TKVZEditField* cell) const {
  const TKVZBand* band = page_->Band();
  const int dx = band ? band->Left() : 0;
  for (const CellInfo& c : definition_.cells)
    if (Lower(c.name) == Lower(cell->Name())) return Zoomed({c.frame.x + dx, c.frame.y, c.frame.w, c.frame.h});
  return CellRect(cell);
}

// The whole frame of a box is its target, its number and caption too.
TKVZEditField* PageWindow::CellAt(const QPoint& zoomedPos) const {
  const TKVZBand* band = page_->Band();
  if (!band) return nullptr;
  const QPoint pos = Unzoomed(zoomedPos);
  const CellInfo* hit = CellAtPoint(definition_, pos.x() - band->Left(), pos.y());
  TKVZEditField* f = hit ? Cell(hit->name) : nullptr;
  return f && f->Visible() ? f : nullptr;
}

bool PageWindow::IsEditable(const TKVZEditField* cell) const { return cell && cell->ShowHint(); }

CellKind PageWindow::KindOf(const TKVZEditField* cell) const {
  const int tag = cell->Tag();
  return tag >= 0 && tag <= 3 ? static_cast<CellKind>(tag) : CellKind::Text;
}

void PageWindow::Hover(TKVZEditField* cell) {
  if (cell == hover_) return;
  if (hover_) {
    hover_->SetTransparent(true);
    hover_->SetColor(clWhite);
  }
  hover_ = cell;
  if (hover_) {
    hover_->SetColor(clAqua);
    hover_->SetTransparent(false);
  }
  sheet_->update();
}

void PageWindow::Explain(TKVZEditField* cell, const QPoint& globalAt) {
  if (!cell || Store().setFile.empty()) return;
  ShowExplanation(*this, globalAt, InstanceName(), cell->Name(), [this](const QString& link) {
    if (onFollowLink) onFollowLink(link);
  });
}

void PageWindow::ExplainCurrent() {
  TKVZEditField* cell = editor_->isVisible() && !current_.empty() ? Cell(current_) : pointed_;
  if (!cell) return;
  Explain(cell, sheet_->mapToGlobal(CellRect(cell).bottomLeft() + QPoint(0, 4)));
}

void PageWindow::HideEditor() {
  leaving_ = true;
  editor_->hide();
  leaving_ = false;
  current_.clear();
}

void PageWindow::ClickCell(TKVZEditField* cell) {
  if (!IsEditable(cell)) return;
  if (Store().readOnly) {
    InfoBox(kReadOnlyEditMessage, "Informacja");
    return;
  }
  if (HandleZgClick(*this, cell)) return;  // PIT/ZG income boxes open their dialog
  // A cell being edited is left as by leaving the editor, so its entry is
  // formatted and stored before the next cell takes the editor.
  if (!current_.empty() && !LeaveEditor()) return;
  current_ = cell->Name();
  const CellKind kind = KindOf(cell);
  if (kind == CellKind::Check) {
    Host host(*this);
    const EditHistory::Operation step(SetHistory(), page_->Name(), cell->Name());
    ClickCheckBox(host, cell->Name(), AskThroughBoxes);
    current_.clear();
    AfterStore();
    return;
  }
  editor_->SetType(EditTypeOf(kind), EditPrecisionOf(kind));
  PlaceEditor(cell);
  editor_->setAlignment(kind == CellKind::Money ? (Qt::AlignRight | Qt::AlignVCenter) : Qt::AlignCenter);
  editor_->setText(QString::fromStdString(EnterText(cell->Caption())));
  editor_->SetOriginal(editor_->text().toStdString());
  editor_->show();
  editor_->raise();
  editor_->setFocus(Qt::MouseFocusReason);
  editor_->selectAll();
  scroll_->ensureWidgetVisible(editor_, 40, 40);
}

void PageWindow::PlaceEditor(const TKVZEditField* cell) {
  const QRect r = CellRect(cell);
  editor_->setGeometry(r.x(), r.y(), r.width(), std::max(r.height(), solv::Zoomed(kEditorMinHeight, zoom_)));
}

bool PageWindow::LeaveEditor(bool focusLost) {
  if (leaving_ || current_.empty()) return true;
  // An entry that would be stored as another number (rounded, or the box's
  // NoValue) is refused with the reason; the editor keeps it.
  if (TKVZEditField* cell = Cell(current_)) {
    const std::string why = EntryRefusal(KindOf(cell), editor_->text().toStdString());
    if (!why.empty()) {
      editor_->ShowRefusal(why);
      if (!focusLost && editor_->isVisible()) editor_->setFocus();
      return false;
    }
  }
  leaving_ = true;
  const std::string text = LeaveText(editor_->Type(), editor_->Precision(), editor_->text().toStdString());
  editor_->setText(QString::fromStdString(text));
  if (TKVZEditField* cell = Cell(current_)) {
    CellEditResult r = CellTextAfterEdit(KindOf(cell), text, cell->NoValue());
    if (!r.valid) {
      leaving_ = false;
      ShowErrorBox(r.error);
      if (editor_->isVisible()) editor_->setFocus();
      return false;
    }
    cell->SetCaption(r.text);
  }
  const EditHistory::Operation step(SetHistory(), page_->Name(), current_);
  current_.clear();
  editor_->hide();
  leaving_ = false;
  StoreAndRecalculate();
  return true;
}

void PageWindow::EnterPressed() { LeaveEditor(); }

void PageWindow::CancelEdit() {
  if (current_.empty()) return;
  HideEditor();
}

void PageWindow::TabStep(bool backward) {
  const std::string from = current_;
  if (from.empty() || !LeaveEditor()) return;
  const std::string next =
      NextTabCell(Info().className, from, backward, [this](const std::string& n) { return IsEditable(Cell(n)); });
  if (TKVZEditField* cell = next.empty() ? nullptr : Cell(next)) ClickCell(cell);
}

void PageWindow::StoreAndRecalculate() {
  Host host(*this);
  StorePage(host, AskThroughBoxes);
  AfterStore();
}

void PageWindow::AfterStore() {
  ApplyLocking(*page_, page_->Name());
  sheet_->update();
  if (onStored) onStored();
}

void PageWindow::ReloadCells() {
  PageModelCells cells(*page_);
  LoadPageCells(cells);
  ApplyLocking(*page_, page_->Name());
  sheet_->update();
}

void PageWindow::Activate() {
  if (!current_.empty()) LeaveEditor();
  current_.clear();
  Recalculate(page_->Name());
  ReloadCells();
}

}  // namespace solv::app
