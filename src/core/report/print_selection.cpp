#include "report/print_selection.hpp"

#include <stdexcept>

#include "calc/rules.hpp"
#include "store/forms.hpp"
#include "store/store.hpp"

namespace solv {

const std::vector<PrintRow>& PrintRows() {
  static const std::vector<PrintRow> rows = {
      {"PIT28", "PIT-28", kPIT28, "PIT28a", {"TPIT28a", "TPIT28b", "TPIT28c", "TPIT28d"}, false},
      {"PIT36", "PIT-36", kPIT36, "PIT36a", {"TPIT36a", "TPIT36b", "TPIT36c", "TPIT36d", "TPIT36e", "TPIT36f"}, false},
      {"PIT36L", "PIT-36L", kPIT36L, "PIT36La", {"TPIT36La", "TPIT36Lb", "TPIT36Lc"}, false},
      {"PIT37", "PIT-37", kPIT37, "PIT37a", {"TPIT37a", "TPIT37b", "TPIT37c"}, false},
      {"PIT38", "PIT-38", kPIT38, "PIT38a", {"TPIT38a", "TPIT38b"}, false},
      {"PIT39", "PIT-39", kPIT39, "PIT39a", {"TPIT39a", "TPIT39b"}, false},
      {"PIT40", "PIT-40", kPIT40, "PIT40a", {"TPIT40a", "TPIT40b", "TPIT40c"}, false},
      {"PITB", "PIT/B", kPITB, "PITBa", {"TPITBa", "TPITBb"}, true},
      {"PITD", "PIT/D", kPITD, "PITDa", {"TPITDa", "TPITDb"}, false},
      {"PITM", "PIT/M podatnik", kPITM, "PITMa", {"TPITMa"}, false},
      {"PITO", "PIT/O", kPITO, "PITOa", {"TPITOa", "TPITOb", "TPITOc"}, true},
      {"PITZ", "PIT/Z podatnik", kPITZ, "PITZa", {"TPITZa", "TPITZb"}, false},
      {"PIT2K", "PIT-2K", kPIT2K, "PIT2Ka", {"TPIT2Ka", "TPIT2Kb"}, false},
      {"PIT28A", "PIT-28/A", kPIT28A, "PIT28Aa", {"TPIT28Aa"}, false},
      {"PIT28B", "PIT-28/B", kPIT28B, "PIT28Ba", {"TPIT28Ba", "TPIT28Bb"}, false},
      {"PITZG", "PIT/ZG", kPITZG, "PITZGa", {"TPITZGa"}, true},
      {"PITM_M", "PIT/M małżonek", kPITM_M, "PITMa_M", {"TPITMa"}, false},
      {"PITZ_M", "PIT/Z małżonek", kPITZ_M, "PITZa_M", {"TPITZa", "TPITZb"}, false},
  };
  return rows;
}

const std::vector<int>& PrintOrder() {
  static const std::vector<int> order = {0, 1, 2, 3, 4, 5, 6, 7, 15, 8, 9, 16, 10, 11, 17, 12, 13, 14};
  return order;
}

int PrintRowIndex(const std::string& name) {
  const auto& rows = PrintRows();
  for (size_t i = 0; i < rows.size(); ++i)
    if (SameName(rows[i].name, name)) return static_cast<int>(i);
  return -1;
}

std::vector<PrintRowState> PrintDialogStates() {
  const bool joint = IsJointMethod(TaxationMethod());
  std::vector<PrintRowState> states;
  for (const PrintRow& row : PrintRows()) {
    const bool spouse = row.form == kPITM_M || row.form == kPITZ_M;
    PrintRowState s;
    s.enabled = Store().allowed[static_cast<size_t>(row.form)] && (!spouse || joint);
    s.checked = s.enabled && SectionExists(row.section);
    states.push_back(s);
  }
  return states;
}

std::vector<std::string> PreCheckedRows() {
  std::vector<std::string> names;
  const auto states = PrintDialogStates();
  for (size_t i = 0; i < states.size(); ++i)
    if (states[i].checked) names.push_back(PrintRows()[i].name);
  return names;
}

std::vector<PrintPageRef> PagesToPrint(const std::vector<std::string>& rowNames) {
  std::vector<bool> chosen(PrintRows().size(), false);
  for (const auto& name : rowNames) {
    const int i = PrintRowIndex(name);
    if (i < 0) throw std::invalid_argument("nieznany formularz: " + name);
    chosen[static_cast<size_t>(i)] = true;
  }
  std::vector<PrintPageRef> pages;
  for (int i : PrintOrder()) {
    if (!chosen[static_cast<size_t>(i)]) continue;
    const PrintRow& row = PrintRows()[static_cast<size_t>(i)];
    std::vector<std::string> sections;
    if (row.perCopy) sections = SectionsOfForm(row.section, '_');
    if (sections.empty()) sections.push_back(row.section);
    for (const auto& section : sections)
      for (const auto& pageClass : row.pageClasses) pages.push_back({pageClass, section});
  }
  return pages;
}

}  // namespace solv
