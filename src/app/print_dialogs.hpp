// Printing the open return set: the form selection "Wybierz formularze",
// the print copies of the chosen pages and the preview.
#pragma once

#include <QDialog>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "report/model.hpp"
#include "report/print_selection.hpp"

class QCheckBox;
class QPushButton;

namespace solv::app {

class TPrevForm;

class TFormPrePrint : public QDialog {
  Q_OBJECT
 public:
  // The boxes enabled and pre-checked for the open set.
  explicit TFormPrePrint(QWidget* parent = nullptr);
  ~TFormPrePrint() override;

  // The box of a row ("PIT37", "PITM_M"), nullptr for an unknown name.
  QCheckBox* Box(const std::string& rowName) const;
  // Names of the checked rows, in table order.
  std::vector<std::string> CheckedRows() const;
  QPushButton* PrintButton() const { return print_; }
  QPushButton* CancelButton() const { return cancel_; }

 private:
  std::vector<QCheckBox*> boxes_;  // one per table row
  QPushButton* print_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

// The window while it exists, else nullptr.
TFormPrePrint* FormPrePrint();

// Each page built, filled from the set and turned into its print copy, in
// the order given. Stops at the first copy that cannot be made, after its
// messages, and answers false; out then holds nothing.
bool BuildPrintCopies(const std::vector<PrintPageRef>& refs, std::vector<std::unique_ptr<TKVZPage>>& out);

// The selection dialog, then the print copies of the chosen forms in the
// preview. Answers the preview, nullptr when the dialog was cancelled or a
// copy failed.
TPrevForm* PrintSelectedForms(QWidget* parent);

}  // namespace solv::app
