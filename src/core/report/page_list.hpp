// The page list: the print copies of one print action, in print order,
// with a cursor to the current record.
#pragma once

#include <memory>
#include <vector>

#include "report/model.hpp"

namespace solv {

// One print copy's report (owned by the application, not by the record).
struct TZbiorInfo {
  TKVZReport* report = nullptr;
};

class TLista_Stron {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // nullptr for an index out of range.
  TZbiorInfo* Items(int i) const;
  // The current record; with none, a new one is appended and made current.
  TZbiorInfo& Current();
  // No current record: the next Current appends.
  void ResetCursor() { cursor_ = -1; }
  // Frees the records, not the reports they name.
  void Clear();

 private:
  std::vector<std::unique_ptr<TZbiorInfo>> items_;
  int cursor_ = -1;
};

// The process's page list.
TLista_Stron& ListaStron();

}  // namespace solv
