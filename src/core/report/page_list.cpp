#include "report/page_list.hpp"

namespace solv {

TZbiorInfo* TLista_Stron::Items(int i) const {
  return i >= 0 && i < Count() ? items_[static_cast<size_t>(i)].get() : nullptr;
}

TZbiorInfo& TLista_Stron::Current() {
  if (cursor_ < 0 || cursor_ >= Count()) {
    items_.push_back(std::make_unique<TZbiorInfo>());
    cursor_ = Count() - 1;
  }
  return *items_[static_cast<size_t>(cursor_)];
}

void TLista_Stron::Clear() {
  items_.clear();
  cursor_ = -1;
}

TLista_Stron& ListaStron() {
  static TLista_Stron list;
  return list;
}

}  // namespace solv
