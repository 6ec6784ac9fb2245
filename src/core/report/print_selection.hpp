// Which forms of the open set are printed, and the pages that makes.
#pragma once

#include <string>
#include <vector>

namespace solv {

// One printable form as the selection dialog shows it.
struct PrintRow {
  std::string name;                     // check box name without "cb": "PIT37", "PITB", "PITM_M"
  std::string caption;                  // "PIT-37", "PIT/M małżonek"
  int form;                             // form-table index (FormId)
  std::string section;                  // first-page section: "PIT37a", "PITMa_M"
  std::vector<std::string> pageClasses; // pages of one copy, in page order
  bool perCopy;                         // every "_" copy of the section is printed (PIT/B, PIT/O, PIT/ZG)
};

// The eighteen rows in the dialog's table order (form-table order).
const std::vector<PrintRow>& PrintRows();
// Table indices in the order the pages are printed: main forms, then the
// attachments (PIT/B, PIT/ZG, PIT/D, PIT/M, PIT/M of the spouse, PIT/O, ...).
const std::vector<int>& PrintOrder();
// Table index of a row name (case ignored), or -1.
int PrintRowIndex(const std::string& name);

// The check boxes of the dialog for the open set, one per table row.
struct PrintRowState {
  bool enabled = false;
  bool checked = false;
};
std::vector<PrintRowState> PrintDialogStates();
// Names of the rows the dialog pre-checks, in table order.
std::vector<std::string> PreCheckedRows();

// One page to print: its page class and the set section it is filled from.
struct PrintPageRef {
  std::string pageClass;  // TPITBa
  std::string section;    // PITBa_1
  bool operator==(const PrintPageRef&) const = default;
};

// The pages of the rows named (in any order; duplicates count once) in print
// order: each form's pages in page order, each copy of a multi-copy
// attachment complete before the next. A row with no section in the set
// prints one blank copy. Throws std::invalid_argument for an unknown name.
std::vector<PrintPageRef> PagesToPrint(const std::vector<std::string>& rowNames);

}  // namespace solv
