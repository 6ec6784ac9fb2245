#include "qt_messages.hpp"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "services/message_service.hpp"

namespace solv::app {
namespace {
QPointer<QWidget> g_owner;
}

void SetMessageOwner(QWidget* owner) { g_owner = owner; }
QWidget* MessageOwner() {
  if (g_owner) return g_owner;
  return QApplication::activeWindow();
}

QString StripAccelerator(const QString& caption) {
  QString out;
  out.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (i + 1 < caption.size() && caption[i + 1] == u'&') {
        out += u'&';
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

void ShowInfoBox(QWidget* owner, const QString& title, const QString& message, char kind) {
  QMessageBox box(kind == '!' ? QMessageBox::Warning : QMessageBox::Information, title, message,
                  QMessageBox::Ok, owner);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  box.exec();
}

int ShowChooseBox(QWidget* owner, const QString& third, const QString& message, const QString& first,
                  const QString& second, const QString& title) {
  QMessageBox box(QMessageBox::Question, title, message, QMessageBox::NoButton, owner);
  QAbstractButton* buttons[3] = {nullptr, nullptr, nullptr};
  const QString captions[3] = {first, second, third};
  for (int i = 0; i < 3; ++i) {
    if (captions[i].isEmpty()) continue;
    buttons[i] = box.addButton(StripAccelerator(captions[i]), QMessageBox::ActionRole);
  }
  if (buttons[0]) box.setDefaultButton(static_cast<QPushButton*>(buttons[0]));
  box.setEscapeButton(static_cast<QAbstractButton*>(nullptr));
  box.exec();
  for (int i = 0; i < 3; ++i)
    if (buttons[i] && box.clickedButton() == buttons[i]) return i + 1;
  return 0;
}

void ShowErrorBox(const std::string& what) { ReportError(ErrorKind::Other, what); }

}  // namespace solv::app

namespace solv::app {
namespace {

class QtMessageProvider final : public MessageProvider {
 public:
  void ShowInfo(const std::string& title, const std::string& message, char kind, int) override {
    ShowInfoBox(MessageOwner(), QString::fromStdString(title), QString::fromStdString(message), kind);
  }
  void ShowEditInfo(const std::string& title, const std::string& message, char kind, int) override {
    ShowInfoBox(MessageOwner(), QString::fromStdString(title), QString::fromStdString(message), kind);
  }
  int ShowChoose(const std::string& third, const std::string& message, const std::string& first,
                 const std::string& second, const std::string& title) override {
    return ShowChooseBox(MessageOwner(), QString::fromStdString(third), QString::fromStdString(message),
                         QString::fromStdString(first), QString::fromStdString(second), QString::fromStdString(title));
  }
};

}  // namespace

void InstallQtMessageProvider() {
  static QtMessageProvider provider;
  SetMessageProvider(&provider);
}

}  // namespace solv::app
