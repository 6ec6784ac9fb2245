#include "report/print_page.hpp"

#include "report/print_copy.hpp"

namespace solv {

std::string DefaultInstanceOf(const PageInfo& page) {
  std::string name = page.pageName;
  if (!name.empty()) name.back() = 'a';
  return name;
}

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
  const ComponentNode copyNode = MakePrintCopyNode(PageToNode(page), page.Name());
  std::unique_ptr<TKVZPage> copy = PageFromNode(copyNode);
  for (int i = 0; i < copy->ComponentCount(); ++i)
    if (auto* field = dynamic_cast<TKVZField*>(copy->Components(i))) field->SetTransparent(true);
  for (int i = 0; i < page.ComponentCount(); ++i) {
    const auto* cell = dynamic_cast<const TKVZEditField*>(page.Components(i));
    if (!cell) continue;
    if (auto* field = copy->Find<TKVZField>(cell->Name())) field->AddValue(cell->Caption());
  }
  return copy;
}

}  // namespace solv
