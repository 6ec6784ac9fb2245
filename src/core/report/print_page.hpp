// Pages as the program uses them: built from their definitions, filled from
// the store, and turned into print-only copies.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "report/model.hpp"
#include "report/page_definition.hpp"
#include "store/store.hpp"

namespace solv {

// A new page of the definition, named after instanceName when one is given
// (a page shown for a form instance carries the instance name). Its cells
// show their design-time texts until loaded.
std::unique_ptr<TKVZPage> BuildPage(const PageDefinition& definition, std::string_view instanceName = {});

// The field cells of a page as the store loads and saves them.
class PageModelCells final : public PageCells {
 public:
  explicit PageModelCells(TKVZPage& page);
  std::string InstanceName() const override { return page_.Name(); }
  int CellCount() const override { return static_cast<int>(cells_.size()); }
  std::string CellName(int i) const override { return cells_[static_cast<size_t>(i)]->Name(); }
  std::string CellClearValue(int i) const override { return cells_[static_cast<size_t>(i)]->ClearValue(); }
  std::string CellText(int i) const override { return cells_[static_cast<size_t>(i)]->Caption(); }
  void SetCellText(int i, const std::string& text) override { cells_[static_cast<size_t>(i)]->SetCaption(text); }

 private:
  TKVZPage& page_;
  std::vector<TKVZEditField*> cells_;  // in component order
};

// The print-only copy of a page: written as text without editor, events and
// hints, read back through a private temporary file, its fields transparent
// and each holding the text its cell shows. Throws PrintCopyError when the
// copy cannot be made.
std::unique_ptr<TKVZPage> MakePrintCopy(const TKVZPage& page);

}  // namespace solv
