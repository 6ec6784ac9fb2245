#include "form_his.hpp"

#include <QApplication>
#include <QButtonGroup>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>

#include "help.hpp"
#include "qt_messages.hpp"
#include "services/message_service.hpp"
#include "shell/form_registry.hpp"
#include "start_windows.hpp"
#include "store/set_list.hpp"
#include "store/store.hpp"

namespace solv::app {

const char* const kArt6Ust2 =
    "Art. 6 ust. 2 ustawy o podatku dochodowym od osób fizycznych:\n"
    "Małżonkowie, o których mowa w ust. 1, mogą być, z zastrzeżeniem ust. 8, opodatkowani łącznie od sumy "
    "swoich dochodów, po uprzednim odliczeniu od dochodu każdego z nich kwot przysługujących odliczeń; w tym "
    "przypadku podatek określa się w podwójnej wysokości podatku obliczonego od połowy łącznych dochodów "
    "małżonków. Opodatkowanie łączne następuje na wniosek małżonków wyrażony w zeznaniu podatkowym.";
const char* const kArt6aUst1 =
    "Art. 6a ust. 1 ustawy o podatku dochodowym od osób fizycznych:\n"
    "Zasady opodatkowania, o których mowa w art. 6 ust. 2, stosuje się również do małżonka, którego "
    "współmałżonek zmarł w trakcie roku podatkowego lub po jego zakończeniu, a przed złożeniem zeznania "
    "podatkowego, jeżeli spełnione są warunki określone w ustawie; wniosek składa się w zeznaniu podatkowym.";

namespace {

struct FormChoice {
  const char* name;
  const char* caption;
  const char* code;
};
constexpr FormChoice kChoices[] = {
    {"rbPit28", "PIT-28", "PIT28"}, {"rbPit36", "PIT-36", "PIT36"}, {"rbPit36L", "PIT-36L", "PIT36L"},
    {"rbPit37", "PIT-37", "PIT37"}, {"rbPit38", "PIT-38", "PIT38"}, {"rbPit39", "PIT-39", "PIT39"},
    {"rbPit40", "PIT-40", "PIT40"},
};
struct WayChoice {
  const char* name;
  const char* caption;
};
constexpr WayChoice kWays[] = {
    {"rb6a", "1. indywidualnie "},
    {"rb6b", "2. wspólnie z małżonkiem, zgodnie z wnioskiem, o którym mowa w art.6 ust.2 ustawy"},
    {"rb6c", "3. wspólnie z małżonkiem, zgodnie z wnioskiem, o którym mowa w art.6a ust.1 ustawy"},
    {"rb6d", "4. w sposób przewidziany dla osób samotnie wychowujących dzieci "},
};

QToolButton* SmallButton(const QString& caption, const QString& hint, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setText(caption);
  b->setToolTip(hint);
  b->setFixedSize(22, 22);
  b->setCursor(Qt::PointingHandCursor);
  QFont f = b->font();
  f.setBold(true);
  b->setFont(f);
  return b;
}

}  // namespace

TFormHis::TFormHis(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TFormHis"));
  setWindowTitle(QStringLiteral("Witamy w programie Solvenor Vandrel 2010"));
  auto* root = new QVBoxLayout(this);
  auto* heading = new QLabel(QStringLiteral("Wybierz zestaw danych, z którym chcesz pracować"), this);
  QFont hf = heading->font();
  hf.setPointSize(hf.pointSize() + 3);
  hf.setBold(true);
  heading->setFont(hf);
  heading->setStyleSheet(QStringLiteral("color:#1d4e89;"));
  root->addWidget(heading);

  auto* columns = new QHBoxLayout;
  root->addLayout(columns, 1);

  auto* savedBox = new QGroupBox(QStringLiteral("Zapisane zestawy danych"), this);
  auto* savedLayout = new QVBoxLayout(savedBox);
  list_ = new QListWidget(savedBox);
  list_->setObjectName(QStringLiteral("ListBox1"));
  list_->setMinimumWidth(260);
  savedLayout->addWidget(list_);
  columns->addWidget(savedBox, 1);

  auto* choiceBox = new QGroupBox(QStringLiteral("Zestaw danych"), this);
  auto* grid = new QGridLayout(choiceBox);
  forms_ = new QButtonGroup(this);
  auto* open = new QRadioButton(QStringLiteral("Otwórz istniejący zestaw"), choiceBox);
  open->setObjectName(QStringLiteral("rbOpen"));
  open->setChecked(true);
  forms_->addButton(open, 0);
  grid->addWidget(open, 0, 0, 1, 2);
  auto* newLabel = new QLabel(QStringLiteral("Nowy zestaw dla formularza:"), choiceBox);
  grid->addWidget(newLabel, 1, 0, 1, 2);
  int row = 2, id = 1;
  for (const FormChoice& c : kChoices) {
    auto* rb = new QRadioButton(QString::fromUtf8(c.caption), choiceBox);
    rb->setObjectName(QString::fromUtf8(c.name));
    forms_->addButton(rb, id++);
    grid->addWidget(rb, row, 0);
    auto* help = SmallButton(QStringLiteral("?"), QStringLiteral("Pomoc: ") + QString::fromUtf8(c.caption), choiceBox);
    const QString topic = QString::fromUtf8(c.caption);
    connect(help, &QToolButton::clicked, this, [topic] { ShowHelpTopic(topic); });
    grid->addWidget(help, row, 1);
    ++row;
  }
  grid->setRowStretch(row, 1);
  columns->addWidget(choiceBox);

  taxation_ = new QGroupBox(QStringLiteral("Wybór sposobu opodatkowania"), this);
  taxation_->setObjectName(QStringLiteral("pnlOpodatkowanie"));
  auto* tgrid = new QGridLayout(taxation_);
  ways_ = new QButtonGroup(this);
  id = 1;
  for (const WayChoice& w : kWays) {
    auto* rb = new QRadioButton(QString::fromUtf8(w.caption), taxation_);
    rb->setObjectName(QString::fromUtf8(w.name));
    ways_->addButton(rb, id);
    tgrid->addWidget(rb, id - 1, 0);
    if (id == 2 || id == 3) {
      auto* info = SmallButton(QStringLiteral("i"), QStringLiteral("Wyjaśnienie"), taxation_);
      info->setObjectName(id == 2 ? QStringLiteral("btnInfo6b") : QStringLiteral("btnInfo6c"));
      const char* text = id == 2 ? kArt6Ust2 : kArt6aUst1;
      connect(info, &QToolButton::clicked, this, [info, text] {
        const QString html = QStringLiteral("<b>Informacja</b><p style='white-space:pre-wrap'>%1</p>")
                                 .arg(QString::fromUtf8(text).toHtmlEscaped());
        QToolTip::showText(info->mapToGlobal(QPoint(info->width(), info->height())), html, info, {}, 600000);
      });
      tgrid->addWidget(info, id - 1, 1);
    }
    ++id;
  }
  ways_->button(1)->setChecked(true);
  root->addWidget(taxation_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("btnOK"));
  ok_->setDefault(true);
  delete_ = new QPushButton(QStringLiteral("&Usuń"), this);
  delete_->setObjectName(QStringLiteral("btnUsun"));
  cancel_ = new QPushButton(QStringLiteral("&Anuluj"), this);
  cancel_->setObjectName(QStringLiteral("btnAnuluj"));
  for (QPushButton* b : {ok_, delete_, cancel_}) {
    b->setMinimumWidth(100);
    buttons->addWidget(b);
  }
  root->addLayout(buttons);

  connect(ok_, &QPushButton::clicked, this, &TFormHis::Ok);
  connect(delete_, &QPushButton::clicked, this, &TFormHis::Delete);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(list_, &QListWidget::itemClicked, this, [this] { forms_->button(0)->setChecked(true); });
  connect(list_, &QListWidget::currentRowChanged, this, [this](int r) {
    if (r >= 0) forms_->button(0)->setChecked(true);
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { Ok(); });
  connect(forms_, &QButtonGroup::idToggled, this, [this](int, bool) { UpdateTaxationPanel(); });
  UpdateTaxationPanel();
  Rebuild();
  resize(760, 460);
}

QRadioButton* TFormHis::Choice(const QString& name) const { return findChild<QRadioButton*>(name); }

void TFormHis::UpdateTaxationPanel() {
  const int id = forms_->checkedId();
  taxation_->setVisible(id == 2 || id == 4);
}

void TFormHis::Rebuild() {
  numbers_ = SetNumbers(DataFolder());
  list_->clear();
  for (int n : numbers_)
    list_->addItem(QString::fromStdString(SetLabel(DataFolder() / (std::to_string(n) + ".i10"))));
  delete_->setEnabled(!numbers_.empty());
}

int TFormHis::exec() {
  ShowOrganisationOnce(parentWidget());
  Rebuild();
  return QDialog::exec();
}

bool TFormHis::NoSetOpen() const {
  std::string name = SetFileName();
  return name.find_first_not_of(" \t") == std::string::npos;
}

void TFormHis::Ok() {
  const int id = forms_->checkedId();
  if (id <= 0) {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(numbers_.size())) return;
    switch (OpenExistingSet(DataFolder(), numbers_[static_cast<size_t>(row)], AskThroughBoxes)) {
      case OpenSetResult::Opened: accept(); return;
      case OpenSetResult::AlreadyOpen: reject(); return;
      case OpenSetResult::Nothing:
      case OpenSetResult::Refused: return;
    }
    return;
  }
  const FormChoice& c = kChoices[id - 1];
  const int way = (id == 2 || id == 4) ? std::max(0, ways_->checkedId()) : 0;
  if (CreateSet(DataFolder(), c.code, way) > 0) accept();
}

void TFormHis::Delete() {
  const int row = list_->currentRow();
  if (row < 0 || row >= static_cast<int>(numbers_.size())) return;
  DeleteSet(DataFolder(), numbers_[static_cast<size_t>(row)], AskThroughBoxes);
  Rebuild();
}

void TFormHis::done(int r) {
  QDialog::done(r);
  if (r != QDialog::Accepted && NoSetOpen() && !property("keepRunning").toBool()) QApplication::exit(0);
}

// ---------------------------------------------------------------------------

TFormHis02::TFormHis02(const std::vector<std::string>& lines, const std::vector<std::string>& sections,
                       const std::string& baseName, Desktop& desktop, QWidget* parent)
    : QWidget(parent, Qt::Window), sections_(sections), baseName_(baseName), desktop_(desktop) {
  setObjectName(QStringLiteral("TFormHis02"));
  setWindowTitle(QStringLiteral("Solvenor Vandrel - Lista zapisanych dokumentów"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* root = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  for (const std::string& l : lines) list_->addItem(QString::fromStdString(l));
  if (!lines.empty()) list_->setCurrentRow(0);
  root->addWidget(list_);
  auto* buttons = new QHBoxLayout;
  auto* open = new QPushButton(QStringLiteral("&Otwórz"), this);
  open->setObjectName(QStringLiteral("btnOtworz"));
  auto* all = new QPushButton(QStringLiteral("&Otwórz &wszystkie"), this);
  all->setObjectName(QStringLiteral("btnOtworzWszystkie"));
  auto* close = new QPushButton(QStringLiteral("&Zamknij"), this);
  close->setObjectName(QStringLiteral("btnZamknij"));
  buttons->addWidget(open);
  buttons->addWidget(all);
  buttons->addStretch();
  buttons->addWidget(close);
  root->addLayout(buttons);
  connect(open, &QPushButton::clicked, this, [this] { OpenRow(list_->currentRow()); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* it) { OpenRow(list_->row(it)); });
  connect(all, &QPushButton::clicked, this, [this] {
    for (int r = 0; r < static_cast<int>(sections_.size()); ++r) OpenRow(r);
  });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  resize(460, 260);
}

void TFormHis02::OpenRow(int row) {
  if (row < 0 || row >= static_cast<int>(sections_.size())) return;
  OpenListedInstance(sections_[static_cast<size_t>(row)], baseName_, desktop_);
}

}  // namespace solv::app
