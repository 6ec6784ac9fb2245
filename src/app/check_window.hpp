// "Komunikaty zbiorcze": the gathered messages of the whole-return check,
// before printing or on its own in check-only mode.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace solv::app {

class TFormPrePrintKom : public QDialog {
  Q_OBJECT
 public:
  explicit TFormPrePrintKom(QWidget* parent = nullptr);
  ~TFormPrePrintKom() override;

  // Hides "&Drukuj zeznanie"; the second button becomes "&Ok".
  void SetCheckOnly();
  // The message markup shown, the label's previous text cleared.
  void SetMessages(const std::string& markup);

  QLabel* LinkLabel() const { return label_; }
  QPushButton* PrintButton() const { return print_; }
  QPushButton* CancelButton() const { return cancel_; }

  // A link's parameter; the window closes first, so the box can be edited.
  std::function<void(const QString&)> onLink;

 private:
  QLabel* label_ = nullptr;
  QPushButton* print_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

// The window while it exists, else nullptr.
TFormPrePrintKom* FormPrePrintKom();

}  // namespace solv::app
