// The dictionary window: the entries of one group in a grid, read-only until
// switched to editing; both files are written when it closes.
#pragma once

#include <QDialog>

#include <vector>

#include "dictionary.hpp"

class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace solv::app {

class TFormSlow : public QDialog {
  Q_OBJECT

 public:
  // group: 1 subjects, 2 persons, 3 marital states.
  TFormSlow(int group, const QString& folder, QWidget* parent = nullptr);
  ~TFormSlow() override;

  // Shows the window modally over the lists in the program folder.
  static void Open(int group, QWidget* parent);

  QTableWidget* dbgLista = nullptr;
  QPushButton* SBOpcja = nullptr;
  QPushButton* SBNew = nullptr;
  QPushButton* SBDelete = nullptr;
  QPushButton* SBCancel = nullptr;
  QPushButton* SBWyjscie = nullptr;

  const Dictionaries& Data() const { return data_; }
  bool Editing() const { return editing_; }
  bool ChangePending() const { return pending_ != Pending::None; }
  // The group whose entries are shown.
  int GroupId() const { return groupId_; }

  void done(int result) override;

 private:
  enum class Pending { None, Insert, Edit };

  void Fill();
  void Toggle();
  void NewOrStore();
  void DeleteEntry();
  void DropChange();
  void BeginChange(int row);
  void StoreChange();
  void ChangeEnded();
  void ItemChanged(QTableWidgetItem* item);

  Dictionaries data_;
  int groupId_ = 0;
  bool editing_ = false;
  bool closed_ = false;
  Pending pending_ = Pending::None;
  int pendingEntry_ = -1;
  DictionaryEntry backup_;
  std::vector<int> rowEntries_;  // the entry shown in each row
};

}  // namespace solv::app
