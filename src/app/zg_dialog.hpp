// The PIT/ZG revenue-and-costs dialog: the income boxes 10, 13, 16, 19, 22,
// 25, 30, 32 and 34 are entered as revenue and costs (kept in the hidden
// cells "p13a" and "p13b"), the box itself showing max(0, revenue - costs).
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <string>
#include <string_view>

#include "shell/edit_filter.hpp"

class QLabel;

namespace solv {
class TKVZEditField;
}

namespace solv::app {

class PageWindow;

// A one-line amount box: typed and pasted keys go through the editor rules of
// the type; entering selects the whole text, leaving clears the selection and,
// when reformat is set, rewrites the text with the type's decimals.
class AmountEdit : public QLineEdit {
  Q_OBJECT
 public:
  AmountEdit(EditType type, int precision, bool reformat, QWidget* parent = nullptr);
  // One typed key's text or pasted text (taken as one amount).
  void InsertTyped(const QString& typed, bool pasted = false);
  QWidget* RefusalBalloon() const { return balloon_; }
  void ShowRefusal(const std::string& why);
  // False, after a balloon that says why, when the text would be kept as
  // another amount.
  bool CheckEntry();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  EditType type_;
  int precision_;
  bool reformat_;
  QPointer<QWidget> balloon_;
};

// How the dialog was closed. Next and Previous (Tab in the costs box,
// Shift+Tab in the revenue box) keep the entry as OK does.
enum class ZgDialogExit { Cancelled, Ok, Next, Previous };

class TZGForm : public QDialog {
  Q_OBJECT
 public:
  TZGForm(int box, const std::string& revenue, const std::string& costs, QWidget* parent = nullptr);
  ZgDialogExit Exit() const { return exit_; }
  // The entries as the boxes leave them (two decimals).
  std::string Revenue() const;
  std::string Costs() const;
  // ZgIncome of the two entries.
  std::string Income() const;
  AmountEdit* RevenueEdit() const { return revenue_; }
  AmountEdit* CostsEdit() const { return costs_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void Finish(ZgDialogExit exit);
  AmountEdit* revenue_;
  AmountEdit* costs_;
  ZgDialogExit exit_ = ZgDialogExit::Cancelled;
};

// The number of a PIT/ZG income box ("p13" -> 13, case ignored), or 0 when
// the cell is none of them.
int ZgIncomeBox(std::string_view cellName);
// Whether a click on this cell of this page opens the dialog.
bool IsZgIncomeBox(std::string_view className, std::string_view cellName);
// The row caption the dialog shows for the box (empty for other boxes).
std::string ZgIncomeCaption(int box);
// The box opened after leaving the dialog with Next or Previous: N+1, N-1,
// but box 7 before boxes 30 and 32.
std::string ZgNeighbourBox(int box, bool previous);

// Runs the dialog for the income box `box` ("p13") of the PIT/ZG copy
// `instance`, preset from its hidden cells in the set. Unless cancelled, the
// revenue and costs cells and the box are stored and the copy recalculated.
ZgDialogExit RunZgDialog(QWidget* parent, const std::string& instance, const std::string& box);
// The same; true when the entry was kept (OK, Next or Previous).
bool OpenZgDialog(QWidget* parent, const std::string& instance, const std::string& box);

// A click on a page cell: when it is a PIT/ZG income box with its two hidden
// cells, the page's editor is left (stored), the dialog runs on the page's
// cells, a kept entry is stored as any edit of the page, and Next or Previous
// opens the neighbouring box. Returns whether the click was taken.
bool HandleZgClick(PageWindow& page, TKVZEditField* cell);

}  // namespace solv::app
