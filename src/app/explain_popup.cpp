#include "explain_popup.hpp"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "messages/markup.hpp"
#include "shell/explain.hpp"

namespace solv::app {
namespace {

QPointer<QWidget>& Current() {
  static QPointer<QWidget> popup;
  return popup;
}

class ExplanationFrame final : public QFrame {
 public:
  explicit ExplanationFrame(QWidget* owner) : QFrame(owner, Qt::Popup) {}

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Escape) {
      close();
      return;
    }
    QFrame::keyPressEvent(e);
  }
};

}  // namespace

QWidget* ShowExplanation(QWidget& owner, const QPoint& globalAt, const std::string& section, const std::string& key,
                         std::function<void(const QString& link)> onLink) {
  if (QWidget* old = Current()) old->close();
  const Explanation e = ExplainBox(section, key);

  auto* popup = new ExplanationFrame(&owner);
  popup->setObjectName(QStringLiteral("explainPopup"));
  popup->setAttribute(Qt::WA_DeleteOnClose);
  popup->setFrameShape(QFrame::Box);
  popup->setStyleSheet(QStringLiteral("QFrame#explainPopup{background:#ffffe1;border:1px solid black;}"));
  auto* v = new QVBoxLayout(popup);
  v->setContentsMargins(8, 6, 8, 8);
  auto* title = new QLabel(QStringLiteral("<b>Skąd ta kwota?</b>"), popup);
  title->setObjectName(QStringLiteral("explainTitle"));
  v->addWidget(title);
  auto* body = new QLabel(popup);
  body->setObjectName(QStringLiteral("explainText"));
  body->setTextFormat(Qt::RichText);
  body->setWordWrap(true);
  body->setMinimumWidth(360);
  body->setMaximumWidth(520);
  body->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  body->setText(QString::fromStdString(MarkupToRichText(ExplanationMarkup(e))));
  QObject::connect(body, &QLabel::linkActivated, popup, [popup, onLink](const QString& link) {
    popup->close();
    // After the popup has given the mouse and the keyboard back.
    if (onLink) QTimer::singleShot(0, [onLink, link] { onLink(link); });
  });
  v->addWidget(body);
  popup->adjustSize();
  // Kept on the screen.
  QPoint at = globalAt;
  if (const QScreen* screen = owner.screen()) {
    const QRect area = screen->availableGeometry();
    at.setX(std::max(area.left(), std::min(at.x(), area.right() - popup->width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() - popup->height())));
  }
  popup->move(at);
  popup->show();
  Current() = popup;
  return popup;
}

QWidget* ExplanationPopup() { return Current(); }

}  // namespace solv::app
