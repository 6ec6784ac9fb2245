#include "zg_dialog.hpp"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "calc/dispatch.hpp"
#include "calc/zg_income.hpp"
#include "markers.hpp"
#include "page_window.hpp"
#include "report/model.hpp"
#include "report/page_definition.hpp"
#include "store/store.hpp"
#include "shell/edit_history.hpp"

namespace solv::app {
namespace {

constexpr int kZgBoxes[] = {10, 13, 16, 19, 22, 25, 30, 32, 34};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool SameName(std::string_view a, std::string_view b) { return Lower(a) == Lower(b); }

bool PageHasCell(const PageDefinition& page, std::string_view name) {
  return std::any_of(page.cells.begin(), page.cells.end(), [&](const CellInfo& c) { return SameName(c.name, name); });
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// ---------------------------------------------------------------------------
// AmountEdit

AmountEdit::AmountEdit(EditType type, int precision, bool reformat, QWidget* parent)
    : QLineEdit(parent), type_(type), precision_(precision), reformat_(reformat) {
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setContextMenuPolicy(Qt::NoContextMenu);
  setAcceptDrops(false);
}

void AmountEdit::InsertTyped(const QString& typed, bool pasted) {
  EditorState st;
  st.text = text().toStdString();
  st.type = type_;
  st.precision = precision_;
  // Positions count code points; amounts hold ASCII only.
  st.caret = st.selStart = cursorPosition();
  if (hasSelectedText()) {
    st.selStart = selectionStart();
    st.selLength = static_cast<int>(selectedText().size());
  }
  std::u32string keys;
  for (uint code : typed.toUcs4()) keys += static_cast<char32_t>(code);
  // A pasted amount is taken whole or refused; a refused key changes
  // nothing, not even the selection, and a balloon says why.
  const KeyResult r = pasted || keys.size() != 1 ? InsertText(st, keys) : TypeKey(st, keys[0]);
  if (!r.accepted) {
    if (!r.refusal.empty()) ShowRefusal(r.refusal);
    return;
  }
  const QString now = Q(r.state.text);
  if (now != text()) setText(now);
  setCursorPosition(r.state.caret);
}

void AmountEdit::keyPressEvent(QKeyEvent* e) {
  if (e->matches(QKeySequence::Paste)) {
    InsertTyped(QGuiApplication::clipboard()->text(QClipboard::Clipboard), true);
    return;
  }
  const QString typed = e->text();
  const bool printable = !typed.isEmpty() && typed.at(0).isPrint();
  if (!printable || (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    QLineEdit::keyPressEvent(e);  // caret movement, Backspace, Delete, Enter
    return;
  }
  InsertTyped(typed);
}

void AmountEdit::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  selectAll();
}

void AmountEdit::ShowRefusal(const std::string& why) {
  if (balloon_) balloon_->close();
  balloon_ = ShowBalloon(*this, mapToGlobal(QPoint(0, height())), QStringLiteral("Uwaga"), Q(why), {},
                         BalloonIcon::Warning);
}

bool AmountEdit::CheckEntry() {
  const std::string why = EntryRefusal(CellKind::Money, text().toStdString());
  if (why.empty()) return true;
  ShowRefusal(why);
  return false;
}

void AmountEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  deselect();
  // A text that would be rounded to another amount stays as typed (the
  // dialog refuses it); the others take the type's decimals.
  if (reformat_ && EntryRefusal(CellKind::Money, text().toStdString()).empty())
    setText(Q(LeaveText(type_, precision_, text().toStdString())));
}

// ---------------------------------------------------------------------------
// TZGForm

TZGForm::TZGForm(int box, const std::string& revenue, const std::string& costs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("ZGForm"));
  setModal(true);
  const QString n = QString::number(box);
  auto* frame = new QVBoxLayout(this);
  auto* caption = new QLabel(QStringLiteral("Poz. ") + n + QStringLiteral(" : ") + Q(ZgIncomeCaption(box)), this);
  caption->setObjectName(QStringLiteral("Label1"));
  caption->setWordWrap(true);
  caption->setMinimumWidth(360);
  frame->addWidget(caption);

  auto* grid = new QGridLayout;
  auto* revenueLabel = new QLabel(QStringLiteral("Poz. ") + n + QStringLiteral("a Przychód : "), this);
  revenueLabel->setObjectName(QStringLiteral("Label2"));
  auto* costsLabel = new QLabel(QStringLiteral("Poz. ") + n + QStringLiteral("b Koszty : "), this);
  costsLabel->setObjectName(QStringLiteral("Label3"));
  revenue_ = new AmountEdit(EditType::kvzFloat, 2, true, this);
  revenue_->setObjectName(QStringLiteral("Przychod"));
  revenue_->setText(Q(revenue));
  costs_ = new AmountEdit(EditType::kvzFloat, 2, true, this);
  costs_->setObjectName(QStringLiteral("Koszty"));
  costs_->setText(Q(costs));
  grid->addWidget(revenueLabel, 0, 0);
  grid->addWidget(revenue_, 0, 1);
  grid->addWidget(costsLabel, 1, 0);
  grid->addWidget(costs_, 1, 1);
  frame->addLayout(grid);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OK"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Anuluj"), this);
  cancel->setObjectName(QStringLiteral("Anuluj"));
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  frame->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, [this] { Finish(ZgDialogExit::Ok); });
  connect(cancel, &QPushButton::clicked, this, [this] { Finish(ZgDialogExit::Cancelled); });

  // Tab and Shift+Tab reach the focus chain before the boxes see them.
  revenue_->installEventFilter(this);
  costs_->installEventFilter(this);
  setTabOrder(revenue_, costs_);
  revenue_->setFocus(Qt::OtherFocusReason);
}

std::string TZGForm::Revenue() const { return LeaveText(EditType::kvzFloat, 2, revenue_->text().toStdString()); }
std::string TZGForm::Costs() const { return LeaveText(EditType::kvzFloat, 2, costs_->text().toStdString()); }
std::string TZGForm::Income() const { return ZgIncome(Revenue(), Costs()); }

bool TZGForm::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    const bool backward = k->key() == Qt::Key_Backtab || (k->key() == Qt::Key_Tab && (k->modifiers() & Qt::ShiftModifier));
    const bool forward = k->key() == Qt::Key_Tab && !backward;
    if (watched == costs_ && forward) {
      Finish(ZgDialogExit::Next);
      return true;
    }
    if (watched == revenue_ && backward) {
      Finish(ZgDialogExit::Previous);
      return true;
    }
  }
  return QDialog::eventFilter(watched, e);
}

void TZGForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  revenue_->setFocus(Qt::OtherFocusReason);
  revenue_->selectAll();
}

void TZGForm::Finish(ZgDialogExit exit) {
  // An entry that would be kept as another number (more than two decimals,
  // too large) is refused; the dialog stays with a balloon at the box.
  if (exit != ZgDialogExit::Cancelled)
    for (AmountEdit* e : {revenue_, costs_})
      if (!e->CheckEntry()) {
        e->setFocus();
        return;
      }
  exit_ = exit;
  if (exit == ZgDialogExit::Cancelled)
    reject();
  else
    accept();
}

// ---------------------------------------------------------------------------
// Boxes and captions

int ZgIncomeBox(std::string_view cellName) {
  const std::string name = Lower(cellName);
  for (int box : kZgBoxes)
    if (name == "p" + std::to_string(box)) return box;
  return 0;
}

bool IsZgIncomeBox(std::string_view className, std::string_view cellName) {
  return SameName(className, "TPITZGa") && ZgIncomeBox(cellName) != 0;
}

std::string ZgIncomeCaption(int box) {
  switch (box) {
    case 10:
      return "Należności ze stosunku: pracy, służbowego, spółdzielczego i z pracy nakładczej, a także zasiłki ...";
    case 13: return "Pozarolnicza działalność gospodarcza";
    case 16: return "Działalność wykonywana osobiście, o której mowa w art.13 ustawy (w tym umowy o dzieło i zlecenia)";
    case 19: return "Najem lub dzierżawa";
    case 22: return "Prawa autorskie i inne prawa, o których mowa w art.18 ustawy";
    case 25:
      return "Inne źródła, niewymienione w wierszach od 1 do 5 (w tym emerytury - renty, stypendia z zagranicy)";
    case 30: return "Dochód, o którym mowa w art.30c ust.4 i 5 ustawy ";
    case 32: return "Dochód, o którym mowa w art. 30b ust. 5a i 5b ustawy ";
    case 34: return "Dochód, o którym mowa w art. 30e ust.8 i 9 ustawy ";
    default: return {};
  }
}

std::string ZgNeighbourBox(int box, bool previous) {
  if (previous && (box == 30 || box == 32)) return "p7";
  return "p" + std::to_string(previous ? box - 1 : box + 1);
}

// ---------------------------------------------------------------------------
// Entry points

ZgDialogExit RunZgDialog(QWidget* parent, const std::string& instance, const std::string& box) {
  const int number = ZgIncomeBox(box);
  const PageDefinition* page = FindPage("TPITZGa");
  if (number == 0 || !page || !PageHasCell(*page, box + "a") || !PageHasCell(*page, box + "b"))
    return ZgDialogExit::Cancelled;
  TZGForm dialog(number, ReadField(box + "a", "", instance), ReadField(box + "b", "", instance), parent);
  dialog.exec();
  if (dialog.Exit() == ZgDialogExit::Cancelled) return ZgDialogExit::Cancelled;
  {
    const EditHistory::Operation step(SetHistory(), instance, box);
    const SetHold hold;  // the three boxes and the recalculation: one replace
    WriteField(box + "a", dialog.Revenue(), instance);
    WriteField(box + "b", dialog.Costs(), instance);
    WriteField(box, dialog.Income(), instance);
    Recalculate(instance);
  }
  return dialog.Exit();
}

bool OpenZgDialog(QWidget* parent, const std::string& instance, const std::string& box) {
  return RunZgDialog(parent, instance, box) != ZgDialogExit::Cancelled;
}

bool HandleZgClick(PageWindow& page, TKVZEditField* cell) {
  if (!cell || !IsZgIncomeBox(page.Info().className, cell->Name())) return false;
  TKVZEditField* revenueCell = page.Cell(cell->Name() + "a");
  TKVZEditField* costsCell = page.Cell(cell->Name() + "b");
  if (!revenueCell || !costsCell) return false;
  if (!page.IsEditable(cell)) return true;
  // The box being edited is stored first.
  if (!page.CurrentCell().empty() && !page.LeaveEditor()) return true;
  const int number = ZgIncomeBox(cell->Name());
  TZGForm dialog(number, revenueCell->Caption(), costsCell->Caption(), &page);
  dialog.exec();
  const ZgDialogExit exit = dialog.Exit();
  if (exit == ZgDialogExit::Cancelled) return true;
  const EditHistory::Operation step(SetHistory(), page.InstanceName(), cell->Name());
  revenueCell->SetCaption(dialog.Revenue());
  costsCell->SetCaption(dialog.Costs());
  cell->SetCaption(dialog.Income());
  page.StoreAndRecalculate();
  if (exit == ZgDialogExit::Next || exit == ZgDialogExit::Previous)
    if (TKVZEditField* next = page.Cell(ZgNeighbourBox(number, exit == ZgDialogExit::Previous))) page.ClickCell(next);
  return true;
}

}  // namespace solv::app
