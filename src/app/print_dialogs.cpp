#include "print_dialogs.hpp"


#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "preview.hpp"
#include "qt_messages.hpp"
#include "report/layout.hpp"
#include "report/page_definition.hpp"
#include "report/page_list.hpp"
#include "report/print_copy.hpp"
#include "report/print_page.hpp"
#include "services/message_service.hpp"
#include "store/store.hpp"
#include "dialog_buttons.hpp"

namespace solv::app {
namespace {

TFormPrePrint* g_window = nullptr;

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

struct Column {
  const char* rows[6];
};

}  // namespace

TFormPrePrint* FormPrePrint() { return g_window; }

TFormPrePrint::TFormPrePrint(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  g_window = this;
  setObjectName(QStringLiteral("TFormPrePrint"));
  setWindowTitle(QStringLiteral("Wybierz formularze"));
  const std::vector<PrintRow>& rows = PrintRows();
  const std::vector<PrintRowState> states = PrintDialogStates();
  boxes_.assign(rows.size(), nullptr);

  auto* v = new QVBoxLayout(this);
  auto group = [&](const QString& title, std::initializer_list<std::initializer_list<const char*>> columns) {
    auto* box = new QGroupBox(title, this);
    auto* grid = new QGridLayout(box);
    int column = 0;
    for (const auto& names : columns) {
      int line = 0;
      for (const char* name : names) {
        const int i = PrintRowIndex(name);
        if (i < 0) continue;
        const size_t at = static_cast<size_t>(i);
        auto* cb = new QCheckBox(Q(rows[at].caption), box);
        cb->setObjectName(QStringLiteral("cb") + Q(rows[at].name));
        if (at < states.size()) {
          cb->setEnabled(states[at].enabled);
          cb->setChecked(states[at].checked);
        } else {
          cb->setEnabled(false);
        }
        boxes_[at] = cb;
        grid->addWidget(cb, line++, column, Qt::AlignLeft | Qt::AlignTop);
      }
      ++column;
    }
    grid->setRowStretch(6, 1);
    v->addWidget(box);
  };
  group(QStringLiteral("Formularze główne"), {{"PIT28", "PIT36", "PIT36L", "PIT37"}, {"PIT38", "PIT39", "PIT40"}});
  group(QStringLiteral("Załączniki"), {{"PITB", "PITD", "PITM", "PITM_M", "PIT28A", "PIT2K"},
                                         {"PITO", "PITZG", "PITZ", "PITZ_M", "PIT28B"}});
  v->addStretch(1);

  v->addLayout(AcceptCancelRow(this, QStringLiteral("&Drukuj"), print_, cancel_));
  resize(256, 312);
}

TFormPrePrint::~TFormPrePrint() {
  if (g_window == this) g_window = nullptr;
}

QCheckBox* TFormPrePrint::Box(const std::string& rowName) const {
  const int i = PrintRowIndex(rowName);
  return i < 0 ? nullptr : boxes_[static_cast<size_t>(i)];
}

std::vector<std::string> TFormPrePrint::CheckedRows() const {
  std::vector<std::string> out;
  const std::vector<PrintRow>& rows = PrintRows();
  for (size_t i = 0; i < boxes_.size(); ++i)
    if (boxes_[i] && boxes_[i]->isChecked()) out.push_back(rows[i].name);
  return out;
}

namespace {

// The print copy of a live page (its fields transparent, each holding the
// text its cell shows) registered in the page list with a record of its own.
std::unique_ptr<TKVZPage> MakeListedPrintCopy(const TKVZPage& page) {
  std::unique_ptr<TKVZPage> copy = MakePrintCopy(page);
  TLista_Stron& list = ListaStron();
  list.ResetCursor();
  list.Current().report = copy->Report();
  return copy;
}

}  // namespace

bool BuildPrintCopies(const std::vector<PrintPageRef>& refs, std::vector<std::unique_ptr<TKVZPage>>& out) {
  out.clear();
  ListaStron().Clear();
  auto fail = [&out] {
    ListaStron().Clear();
    out.clear();
    return false;
  };
  for (const PrintPageRef& ref : refs) {
    const PageDefinition* definition = FindPage(ref.pageClass);
    if (!definition) {
      InfoBox("Nieznana strona formularza: " + ref.pageClass, "Informacja");
      return fail();
    }
    std::unique_ptr<TKVZPage> page = BuildPage(*definition, ref.section);
    PageModelCells cells(*page);
    LoadPageCells(cells);
    try {
      out.push_back(MakeListedPrintCopy(*page));
    } catch (const PrintCopyError& e) {
      if (!e.detail().empty()) ShowErrorBox(e.detail());
      InfoBox(e.what(), "Informacja");
      return fail();
    }
  }
  return true;
}

TPrevForm* PrintSelectedForms(QWidget* parent) {
  std::vector<std::string> chosen;
  {
    TFormPrePrint dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    chosen = dialog.CheckedRows();
  }
  std::vector<std::unique_ptr<TKVZPage>> copies;
  if (!BuildPrintCopies(PagesToPrint(chosen), copies)) return nullptr;
  return ShowPreview(std::move(copies), parent);
}

}  // namespace solv::app
