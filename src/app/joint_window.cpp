#include "joint_window.hpp"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "zg_dialog.hpp"

namespace solv::app {
namespace {

QPointer<TFormRazemOsobno> gWindow;

QString Q(const std::string& s) { return QString::fromStdString(s); }

QLabel* Output(const char* name, QWidget* parent) {
  auto* l = new QLabel(QStringLiteral("0,00"), parent);
  l->setObjectName(QString::fromUtf8(name));
  l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  l->setMinimumWidth(110);
  return l;
}

}  // namespace

TFormRazemOsobno::TFormRazemOsobno(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FormRazemOsobno"));
  setWindowTitle(QStringLiteral("Razem czy osobno"));
  auto input = [this](const char* name) {
    // Decimals allowed but not forced: the text stays as typed.
    auto* e = new AmountEdit(EditType::kvzFloat, 2, false, this);
    e->setObjectName(QString::fromUtf8(name));
    e->setMinimumWidth(110);
    connect(e, &QLineEdit::textChanged, this, [this] { Recalculate(); });
    return e;
  };
  przychod1_ = input("Przychod1");
  odliczenia1_ = input("Odliczenia1");
  odliczenia11_ = input("Odliczenia11");
  przychod2_ = input("Przychod2");
  odliczenia2_ = input("Odliczenia2");
  odliczenia22_ = input("Odliczenia22");
  dochod1_ = Output("Dochod1", this);
  dochod2_ = Output("Dochod2", this);
  dochod3_ = Output("Dochod3", this);
  podatek1_ = Output("Podatek1", this);
  podatek2_ = Output("Podatek2", this);
  podatek3_ = Output("Podatek3", this);
  odliczenia33_ = Output("Odliczenia33", this);
  doZaplaty1_ = Output("DoZaplaty1", this);
  doZaplaty2_ = Output("DoZaplaty2", this);
  doZaplaty3_ = Output("dozaplaty3", this);
  osobno_ = Output("osobno", this);
  razem_ = Output("razem", this);

  auto* grid = new QGridLayout;
  int row = 0;
  auto heading = [&](int col, const char* text) {
    auto* l = new QLabel(QString::fromUtf8(text), this);
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    grid->addWidget(l, row, col);
  };
  heading(1, "Podatnik");
  heading(2, "Małżonek");
  heading(3, "Wspólnie");
  auto line = [&](const char* caption, QWidget* a, QWidget* b, QWidget* c) {
    ++row;
    grid->addWidget(new QLabel(QString::fromUtf8(caption), this), row, 0);
    grid->addWidget(a, row, 1);
    grid->addWidget(b, row, 2);
    if (c) grid->addWidget(c, row, 3);
  };
  line("Przychód", przychod1_, przychod2_, nullptr);
  line("Odliczenia od przychodu", odliczenia1_, odliczenia2_, nullptr);
  line("Dochód", dochod1_, dochod2_, dochod3_);
  line("Podatek wg skali", podatek1_, podatek2_, podatek3_);
  line("Odliczenia od podatku", odliczenia11_, odliczenia22_, odliczenia33_);
  line("Podatek do zapłaty ", doZaplaty1_, doZaplaty2_, doZaplaty3_);

  auto* totals = new QGridLayout;
  totals->addWidget(
      new QLabel(QStringLiteral("Wysokość podatku przy rozliczeniu indywidualnym (suma podatku podatnika i małżonka)"),
                 this),
      0, 0);
  totals->addWidget(osobno_, 0, 1);
  totals->addWidget(
      new QLabel(QStringLiteral("Wysokość podatku przy rozliczeniu wspólnym (suma podatku podatnika i małżonka)"), this),
      1, 0);
  totals->addWidget(razem_, 1, 1);

  auto* footer = new QHBoxLayout;
  footer->addStretch();
  auto* close = new QPushButton(QStringLiteral("&Zakończ"), this);
  close->setObjectName(QStringLiteral("BitBtnZakoncz"));
  footer->addWidget(close);

  auto* v = new QVBoxLayout(this);
  v->addLayout(grid);
  v->addSpacing(8);
  v->addLayout(totals);
  v->addStretch();
  v->addLayout(footer);

  auto* recalc = new QAction(QStringLiteral("&Przelicz"), this);
  recalc->setObjectName(QStringLiteral("ActionPrzelicz"));
  connect(recalc, &QAction::triggered, this, [this] { Recalculate(); });
  addAction(recalc);
  auto* finish = new QAction(QStringLiteral("&Zakończ"), this);
  finish->setObjectName(QStringLiteral("ActionZakoncz"));
  connect(finish, &QAction::triggered, this, [this] { CloseWindow(); });
  addAction(finish);
  connect(close, &QPushButton::clicked, finish, &QAction::trigger);

  setTabOrder(przychod1_, odliczenia1_);
  setTabOrder(odliczenia1_, odliczenia11_);
  setTabOrder(odliczenia11_, przychod2_);
  setTabOrder(przychod2_, odliczenia2_);
  setTabOrder(odliczenia2_, odliczenia22_);
  setTabOrder(odliczenia22_, close);
}

JointSimulationInput TFormRazemOsobno::Input() const {
  auto t = [](const AmountEdit* e) { return e->text().toStdString(); };
  return {t(przychod1_), t(odliczenia1_), t(odliczenia11_), t(przychod2_), t(odliczenia2_), t(odliczenia22_)};
}

void TFormRazemOsobno::Recalculate() {
  const JointSimulationResult r = SimulateJointTaxation(Input());
  dochod1_->setText(Q(r.dochod1));
  dochod2_->setText(Q(r.dochod2));
  dochod3_->setText(Q(r.dochod3));
  podatek1_->setText(Q(r.podatek1));
  podatek2_->setText(Q(r.podatek2));
  podatek3_->setText(Q(r.podatek3));
  odliczenia33_->setText(Q(r.odliczenia33));
  doZaplaty1_->setText(Q(r.doZaplaty1));
  doZaplaty2_->setText(Q(r.doZaplaty2));
  doZaplaty3_->setText(Q(r.doZaplaty3));
  osobno_->setText(Q(r.osobno));
  razem_->setText(Q(r.razem));
}

void TFormRazemOsobno::CloseWindow() {
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
    frame->close();
  else
    close();
}

void ShowJointWindow(QWidget* mdiParentOrNull) {
  if (TFormRazemOsobno* w = gWindow.data()) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(w->parentWidget())) {
      if (QMdiArea* area = frame->mdiArea()) area->setActiveSubWindow(frame);
      frame->showNormal();
      frame->raise();
    } else {
      w->showNormal();
      w->raise();
      w->activateWindow();
    }
    return;
  }
  auto* w = new TFormRazemOsobno;
  gWindow = w;
  if (auto* area = qobject_cast<QMdiArea*>(mdiParentOrNull)) {
    QMdiSubWindow* frame = area->addSubWindow(w);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->show();
    area->setActiveSubWindow(frame);
  } else {
    w->setParent(mdiParentOrNull, Qt::Window);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    w->raise();
    w->activateWindow();
  }
}

TFormRazemOsobno* JointWindow() { return gWindow.data(); }

}  // namespace solv::app
