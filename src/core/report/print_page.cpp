#include "report/print_page.hpp"

#include "report/layout.hpp"
#include "report/print_copy.hpp"

namespace solv {

std::unique_ptr<TKVZPage> BuildPage(const PageDefinition& definition, std::string_view instanceName) {
  std::vector<ComponentNode> foreign;  // the editor lives in the window, not in the model
  auto page = PageFromNode(definition.node, &foreign);
  if (!instanceName.empty()) page->SetName(std::string(instanceName));
  return page;
}

PageModelCells::PageModelCells(TKVZPage& page) : page_(page) {
  for (int i = 0; i < page.ComponentCount(); ++i)
    if (auto* cell = dynamic_cast<TKVZEditField*>(page.Components(i))) cells_.push_back(cell);
}

std::unique_ptr<TKVZPage> MakePrintCopy(const TKVZPage& page) {
  std::unique_ptr<TKVZPage> copy = PageFromNode(MakePrintCopyNode(PageToNode(page), page.Name()));
  TKVZReport* report = copy->Report();
  if (!report) throw PrintCopyError(PrintCopyFolder() / kPrintCopyPrefix, {});
  SetFieldsTransparent(*report, true);
  for (int i = 0; i < page.ComponentCount(); ++i)
    if (const auto* cell = dynamic_cast<const TKVZEditField*>(page.Components(i)))
      AddValue(*report, cell->Name(), cell->Caption());
  return copy;
}

}  // namespace solv
