#include "dictionary_window.hpp"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "services/message_service.hpp"
#include "store/store.hpp"

namespace solv::app {

namespace {

const char* const kBrowseCaption = "Słownik (otwarty tylko do odczytu)";
const char* const kEditCaption = "Słownik (otwarty do edycji)";

QString Q(const char* text) { return QString::fromUtf8(text); }

// Edits a cell with at most 20 characters and says when an edit begins.
class EntryDelegate : public QStyledItemDelegate {
 public:
  EntryDelegate(QObject* parent, std::function<void(int row)> began)
      : QStyledItemDelegate(parent), began_(std::move(began)) {}
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setMaxLength(kDictionaryTextLength);
    began_(index.row());
    return editor;
  }

 private:
  std::function<void(int)> began_;
};

}  // namespace

TFormSlow::TFormSlow(int group, const QString& folder, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormSlow"));
  setFixedSize(451, 165);
  data_.Open(folder);

  dbgLista = new QTableWidget(this);
  dbgLista->setObjectName(QStringLiteral("dbgLista"));
  dbgLista->setGeometry(0, 0, 451, 131);
  dbgLista->setFrameShape(QFrame::NoFrame);
  dbgLista->setColumnCount(2);
  dbgLista->setHorizontalHeaderLabels({QString(), QString()});
  dbgLista->verticalHeader()->setDefaultSectionSize(18);
  dbgLista->verticalHeader()->setFixedWidth(12);
  dbgLista->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  dbgLista->horizontalHeader()->setFixedHeight(18);
  dbgLista->setColumnWidth(0, 211);
  dbgLista->setColumnWidth(1, 206);
  dbgLista->setItemDelegate(new EntryDelegate(dbgLista, [this](int row) { BeginChange(row); }));
  connect(dbgLista, &QTableWidget::itemChanged, this, &TFormSlow::ItemChanged);

  auto button = [this](const char* name, const char* caption, int x, int width) {
    auto* b = new QPushButton(Q(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setFlat(true);
    b->setAutoDefault(false);
    b->setGeometry(x, 136, width, 25);
    return b;
  };
  SBOpcja = button("SBOpcja", "&Otwórz do edycji", 4, 140);
  SBNew = button("SBNew", "&Nowy", 150, 70);
  SBDelete = button("SBDelete", "&Usuń", 224, 70);
  SBCancel = button("SBCancel", "&Anuluj", 298, 70);
  SBWyjscie = button("SBWyjscie", "&Zamknij", 372, 75);
  SBNew->setEnabled(false);
  SBDelete->setEnabled(false);
  SBCancel->setEnabled(false);
  connect(SBOpcja, &QPushButton::clicked, this, &TFormSlow::Toggle);
  connect(SBNew, &QPushButton::clicked, this, &TFormSlow::NewOrStore);
  connect(SBDelete, &QPushButton::clicked, this, &TFormSlow::DeleteEntry);
  connect(SBCancel, &QPushButton::clicked, this, &TFormSlow::DropChange);
  connect(SBWyjscie, &QPushButton::clicked, this, &TFormSlow::reject);

  // Persons and marital states have one column as wide as both.
  if (group == 2 || group == 3) {
    dbgLista->setColumnWidth(0, 211 + 206);
    dbgLista->setColumnCount(1);
  }
  // The first group of that number; a number that does not exist leaves the
  // last group.
  if (!data_.groups.empty()) groupId_ = data_.groups.back().id;
  for (const DictionaryGroup& g : data_.groups) {
    if (g.id == group) {
      groupId_ = g.id;
      break;
    }
  }

  setWindowTitle(Q(kBrowseCaption));
  dbgLista->setSelectionBehavior(QAbstractItemView::SelectRows);
  dbgLista->setSelectionMode(QAbstractItemView::SingleSelection);
  dbgLista->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Fill();
  if (dbgLista->rowCount() > 0) dbgLista->setCurrentCell(0, 0);
  if (const QScreen* screen = QApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TFormSlow::Open(int group, QWidget* parent) {
  TFormSlow window(group, QString::fromStdString(DataRoot().string()), parent);
  window.exec();
}

void TFormSlow::Fill() {
  const QSignalBlocker block(dbgLista);
  rowEntries_.clear();
  for (int i = 0; i < static_cast<int>(data_.entries.size()); ++i)
    if (data_.entries[i].prid == groupId_) rowEntries_.push_back(i);
  dbgLista->setRowCount(static_cast<int>(rowEntries_.size()));
  for (int row = 0; row < static_cast<int>(rowEntries_.size()); ++row) {
    const DictionaryEntry& e = data_.entries[rowEntries_[row]];
    dbgLista->setVerticalHeaderItem(row, new QTableWidgetItem(QString()));
    dbgLista->setItem(row, 0, new QTableWidgetItem(e.str01));
    if (dbgLista->columnCount() > 1) dbgLista->setItem(row, 1, new QTableWidgetItem(e.str02));
  }
}

void TFormSlow::Toggle() {
  editing_ = !editing_;
  if (editing_) {
    SBOpcja->setText(Q("&Wróć do przeglądania"));
    setWindowTitle(Q(kEditCaption));
    dbgLista->setSelectionBehavior(QAbstractItemView::SelectItems);
    dbgLista->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
  } else {
    StoreChange();
    SBOpcja->setText(Q("&Otwórz do edycji"));
    setWindowTitle(Q(kBrowseCaption));
    dbgLista->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgLista->setEditTriggers(QAbstractItemView::NoEditTriggers);
  }
  SBNew->setEnabled(editing_);
  SBDelete->setEnabled(editing_);
  SBCancel->setEnabled(editing_);
}

void TFormSlow::BeginChange(int row) {
  if (pending_ != Pending::None || row < 0 || row >= static_cast<int>(rowEntries_.size())) return;
  pending_ = Pending::Edit;
  pendingEntry_ = rowEntries_[row];
  backup_ = data_.entries[pendingEntry_];
  SBDelete->setEnabled(false);
  SBNew->setText(Q("Z&apisz"));
}

void TFormSlow::ChangeEnded() {
  pending_ = Pending::None;
  pendingEntry_ = -1;
  SBDelete->setEnabled(editing_);
  SBNew->setText(Q("&Nowy"));
}

void TFormSlow::NewOrStore() {
  if (pending_ != Pending::None) {
    StoreChange();
    return;
  }
  // A new entry of the shown group at the end of the list, its first cell in edit.
  data_.entries.push_back(DictionaryEntry{0, static_cast<std::uint16_t>(groupId_), {}, {}});
  Fill();
  const int row = dbgLista->rowCount() - 1;
  pending_ = Pending::Insert;
  pendingEntry_ = static_cast<int>(data_.entries.size()) - 1;
  SBDelete->setEnabled(false);
  SBNew->setText(Q("Z&apisz"));
  dbgLista->setCurrentCell(row, 0);
  dbgLista->editItem(dbgLista->item(row, 0));
}

void TFormSlow::StoreChange() {
  if (pending_ == Pending::None) return;
  // The text still in an open editor belongs to the change.
  if (QWidget* editor = dbgLista->indexWidget(dbgLista->currentIndex())) {
    emit dbgLista->itemDelegate()->commitData(editor);
    emit dbgLista->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
  ChangeEnded();
}

void TFormSlow::DropChange() {
  if (pending_ == Pending::None) return;
  // Close an open editor without keeping its text.
  if (QWidget* editor = dbgLista->indexWidget(dbgLista->currentIndex()))
    emit dbgLista->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
  if (pending_ == Pending::Insert) data_.entries.erase(data_.entries.begin() + pendingEntry_);
  else data_.entries[pendingEntry_] = backup_;
  ChangeEnded();
  Fill();
}

void TFormSlow::DeleteEntry() {
  const int row = dbgLista->currentRow();
  if (pending_ != Pending::None || row < 0 || row >= static_cast<int>(rowEntries_.size())) return;
  data_.entries.erase(data_.entries.begin() + rowEntries_[row]);
  Fill();
  if (dbgLista->rowCount() > 0) dbgLista->setCurrentCell(std::min(row, dbgLista->rowCount() - 1), 0);
  ChangeEnded();
}

void TFormSlow::ItemChanged(QTableWidgetItem* item) {
  const int row = item->row();
  if (row < 0 || row >= static_cast<int>(rowEntries_.size())) return;
  BeginChange(row);
  DictionaryEntry& e = data_.entries[rowEntries_[row]];
  QString text = item->text().left(kDictionaryTextLength);
  (item->column() == 0 ? e.str01 : e.str02) = text;
}

TFormSlow::~TFormSlow() {
  // Destroyed without being closed (its owner went first): the lists are still written.
  if (!closed_) {
    closed_ = true;
    StoreChange();
    data_.Save();
  }
}

void TFormSlow::done(int result) {
  if (!closed_) {
    closed_ = true;
    // Whatever was typed is kept: a pending change is stored, then both files written.
    StoreChange();
    if (!data_.Save())
      InfoBox("Nie można zapisać słowników w plikach gr.xml i slo.xml.", "Informacja");
  }
  QDialog::done(result);
}

}  // namespace solv::app
