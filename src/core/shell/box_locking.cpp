#include "shell/box_locking.hpp"

#include "report/model.hpp"
#include "shell/page_behaviour.hpp"

namespace solv {
namespace {

using L = LockKind;

}  // namespace

void ApplyLocking(TKVZPage& page, std::string_view instanceName) {
  // The click handler an opened box gets: that of p103, else the page's own.
  std::string click;
  if (const auto* p103 = page.Find<TKVZEditField>("p103")) click = p103->OnClick();
  if (click.empty())
    if (const PageFamily* f = FindPageFamily(page.ClassName())) click = f->clickHandler;

  for (const LockAction& a : LockingFor(instanceName, page.ClassName())) {
    auto* cell = page.Find<TKVZEditField>(a.cell);
    if (!cell) continue;
    if (!a.forced && cell->Cursor() == crNo) continue;
    switch (a.kind) {
      case L::Lock:
        cell->SetShowHint(false);
        cell->SetCursor(crNo);
        break;
      case L::Unlock:
        cell->SetShowHint(true);
        cell->SetCursor(crHandPoint);
        break;
      case L::Plain:
        cell->SetShowHint(false);
        cell->SetHint("");
        cell->SetCursor(crDefault);
        cell->SetOnClick("");
        break;
      case L::EditableWithHint:
        cell->SetShowHint(true);
        cell->SetHint("Kliknij");
        cell->SetCursor(crHandPoint);
        cell->SetOnClick(click);
        break;
      case L::None:
        break;
    }
  }
}

}  // namespace solv
