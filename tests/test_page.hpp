// A form page built from its definition over the open set, as the page
// operations see it, recording what they asked of the main window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "report/print_page.hpp"
#include "shell/box_locking.hpp"
#include "shell/page_behaviour.hpp"

class TestPage : public solv::PageHost {
 public:
  TestPage(const char* cls, const std::string& instance)
      : page_(solv::BuildPage(*solv::FindPage(cls), instance)), cells_(*page_), class_(cls) {}
  std::string ClassName() const override { return class_; }
  solv::PageCells& Cells() override { return cells_; }
  void LockOpenPages() override {
    calls.push_back("lock");
    solv::ApplyLocking(*page_, page_->Name());
  }
  void RefreshPoint() override { calls.push_back("refresh"); }

  std::string Text(const std::string& cell) { return cells_.CellText(solv::FindCell(cells_, cell)); }
  void Set(const std::string& cell, const std::string& text) { cells_.SetCellText(solv::FindCell(cells_, cell), text); }
  solv::TKVZEditField* Cell(const std::string& cell) { return page_->Find<solv::TKVZEditField>(cell); }
  void Load() { solv::LoadPageCells(cells_); }

  std::vector<std::string> calls;

 private:
  std::unique_ptr<solv::TKVZPage> page_;
  solv::PageModelCells cells_;
  std::string class_;
};
