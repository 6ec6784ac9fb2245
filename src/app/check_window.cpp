#include "check_window.hpp"


#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "messages/markup.hpp"
#include "dialog_buttons.hpp"

namespace solv::app {
namespace {
TFormPrePrintKom* g_window = nullptr;
}

TFormPrePrintKom* FormPrePrintKom() { return g_window; }

TFormPrePrintKom::TFormPrePrintKom(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  g_window = this;
  setObjectName(QStringLiteral("TFormPrePrintKom"));
  setWindowTitle(QStringLiteral("Komunikaty zbiorcze"));
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(0, 0, 0, 0);
  auto* scroll = new QScrollArea(this);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setStyleSheet(QStringLiteral("QScrollArea{background:white;}"));
  label_ = new QLabel(scroll);
  label_->setObjectName(QStringLiteral("LinkLabel"));
  label_->setTextFormat(Qt::RichText);
  label_->setWordWrap(true);
  label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label_->setMargin(10);
  label_->setStyleSheet(QStringLiteral("background:white;"));
  connect(label_, &QLabel::linkActivated, this, [this](const QString& link) {
    auto follow = onLink;
    reject();
    if (follow) follow(link);
  });
  scroll->setWidget(label_);
  v->addWidget(scroll, 1);
  QHBoxLayout* footer = AcceptCancelRow(this, QStringLiteral("&Drukuj zeznanie"), print_, cancel_);
  footer->setContentsMargins(8, 6, 8, 8);
  v->addLayout(footer);
  resize(742, 204);
}

TFormPrePrintKom::~TFormPrePrintKom() {
  if (g_window == this) g_window = nullptr;
}

void TFormPrePrintKom::SetCheckOnly() {
  print_->hide();
  print_->setDefault(false);
  cancel_->setText(QStringLiteral("&Ok"));
  cancel_->setDefault(true);
}

void TFormPrePrintKom::SetMessages(const std::string& markup) {
  label_->clear();
  label_->setText(QString::fromStdString(solv::MarkupToRichText(markup)));
}

}  // namespace solv::app
