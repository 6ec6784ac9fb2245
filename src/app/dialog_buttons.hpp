// The button row of a dialog: an accepting default button and "&Anuluj",
// right-aligned.
#pragma once

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace solv::app {

inline QHBoxLayout* AcceptCancelRow(QDialog* dialog, const QString& acceptCaption, QPushButton*& accept,
                                    QPushButton*& cancel) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  accept = new QPushButton(acceptCaption, dialog);
  accept->setObjectName(QStringLiteral("btnDrukuj"));
  accept->setDefault(true);
  QObject::connect(accept, &QPushButton::clicked, dialog, &QDialog::accept);
  row->addWidget(accept);
  cancel = new QPushButton(QStringLiteral("&Anuluj"), dialog);
  cancel->setObjectName(QStringLiteral("btnAnuluj"));
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  row->addWidget(cancel);
  return row;
}

}  // namespace solv::app
