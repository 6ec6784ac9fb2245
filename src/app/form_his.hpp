// The set dialog (choose, create or delete a return set) and the window that
// lists the copies of a multi-copy attachment.
#pragma once

#include <QDialog>
#include <QWidget>
#include <string>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace solv {
class Desktop;
}

namespace solv::app {

class TFormHis : public QDialog {
  Q_OBJECT
 public:
  explicit TFormHis(QWidget* parent = nullptr);
  // Shows the organisation window the first time in a run, then the dialog.
  int exec() override;

  QListWidget* List() const { return list_; }
  QRadioButton* Choice(const QString& name) const;  // "rbOpen", "rbPit37", "rb6b" ...
  QPushButton* OkButton() const { return ok_; }
  QPushButton* DeleteButton() const { return delete_; }
  QPushButton* CancelButton() const { return cancel_; }
  QGroupBox* TaxationPanel() const { return taxation_; }
  // The program ends when the dialog closes while no set is open.
  bool NoSetOpen() const;

  void Rebuild();  // set numbers and labels

 protected:
  void done(int r) override;

 private:
  void Ok();
  void Delete();
  void UpdateTaxationPanel();

  QListWidget* list_ = nullptr;
  std::vector<int> numbers_;
  QButtonGroup* forms_ = nullptr;
  QButtonGroup* ways_ = nullptr;
  QGroupBox* taxation_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

// The wording of art. 6 ust. 2 and art. 6a ust. 1 shown by the "i" buttons.
extern const char* const kArt6Ust2;
extern const char* const kArt6aUst1;

class TFormHis02 : public QWidget {
  Q_OBJECT
 public:
  TFormHis02(const std::vector<std::string>& lines, const std::vector<std::string>& sections,
             const std::string& baseName, Desktop& desktop, QWidget* parent = nullptr);
  QListWidget* List() const { return list_; }

 private:
  void OpenRow(int row);
  QListWidget* list_ = nullptr;
  std::vector<std::string> sections_;
  std::string baseName_;
  Desktop& desktop_;
};

}  // namespace solv::app
