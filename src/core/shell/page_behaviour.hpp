// How the form pages behave, as far as it needs no window: what each page
// class does differently (click handler, Tab range, exclusive check-box
// groups, identification propagation, extra steps), Tab navigation, the
// toggling of check boxes, and "store and recalculate" over an abstract page.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/store.hpp"
#include "util/asker.hpp"

namespace solv {

// An exclusive check-box group: prefix "p6" with letters "abcd" names p6a..p6d.
struct CheckGroup {
  const char* prefix;
  const char* letters;
};

// Where step 3 of store and recalculate propagates identification.
enum class PropagationKind {
  None,
  Fixed,       // PropagateIdentification(form, empty)
  EndsInM,     // form when the instance name ends in "M" is formM, else form
  OwnerAware,  // first pages of PIT/B and PIT/ZG: decided by the owner of the attachment
};

struct PageFamily {
  const char* className = "";
  const char* clickHandler = "";
  int tabLow = 0, tabHigh = 0;
  std::vector<CheckGroup> groups;
  PropagationKind propagation = PropagationKind::None;
  int form = -1;   // Fixed, EndsInM (otherwise), OwnerAware (the attachment's form)
  int formM = -1;  // EndsInM: the form of an instance ending in "M"
  // Tab order: `tabExtra` comes right after `tabExtraAfter` ("p33" then "p33a").
  const char* tabExtraAfter = nullptr;
  const char* tabExtra = nullptr;
  // After a click on this check box, and its store and recalculate, these
  // boxes are emptied and the page reloaded.
  const char* clearAfterBox = nullptr;
  std::vector<const char*> clearedBoxes;
  // Boxes that open the revenue-and-cost dialog instead of the editor.
  std::vector<const char*> dialogBoxes;
  bool hoverHighlight = true;
};

// The 39 page classes in form-table order.
const std::vector<PageFamily>& PageFamilies();
// By class name ("TPIT37a"), ignoring case; nullptr for an unknown class.
const PageFamily* FindPageFamily(std::string_view className);

// The form index for propagation of a page shown under an instance name;
// nullopt when the page propagates nothing or does so owner-aware.
std::optional<int> PropagationFormFor(std::string_view className, std::string_view instanceName);

// The number Tab counts from: the name without its first letter; 0 when that
// is not a whole number ("p6a").
int TabNumberOf(std::string_view cellName);

// The cell Tab (Shift+Tab with shift) moves to from currentCell: the next
// name "p" + number in Tab order that isEditable accepts (it must say false
// for names the page does not have), or empty when the page's bound is
// reached first.
std::string NextTabCell(std::string_view className, std::string_view currentCell, bool shift,
                        const std::function<bool(const std::string&)>& isEditable);

// A click on a check box: the clicked box first ("[  ]" becomes "[X]",
// anything else "[  ]"), then every other existing box of each exclusive group
// the clicked box belongs to, with its ClearValue.
std::vector<std::pair<std::string, std::string>> ToggleCheckBox(std::string_view className,
                                                                std::string_view cellName,
                                                                std::string_view currentText);

// A page as the page operations see it.
class PageHost {
 public:
  virtual ~PageHost() = default;
  virtual std::string ClassName() const = 0;
  virtual std::string InstanceName() { return Cells().InstanceName(); }
  virtual PageCells& Cells() = 0;
  // Box locking over all open pages.
  virtual void LockOpenPages() {}
  // The refresh point of the main window: markers redrawn, messages refreshed.
  virtual void RefreshPoint() {}
};

// Index of the cell named name (ignoring case), or -1.
int FindCell(const PageCells& cells, std::string_view name);

// The recalculation of the page's form by its instance name, then box locking.
void RecalculatePage(PageHost& page);

// Save the page, recalculate, propagate identification into form
// `propagationForm` (none when nullopt), refresh, reload the page.
void StoreAndRecalculate(PageHost& page, std::optional<int> propagationForm);

constexpr std::string_view kOwnerQuestion = "Dla kogo wystawiany jest formularz?";
constexpr std::string_view kOwnerTitle = "Informacja";

// Store and recalculate of the first page of PIT/B or PIT/ZG (attachmentForm
// kPITB or kPITZG): the owner's identifier in p1 is matched with the main
// form's taxpayer or spouse before propagating.
void StoreAndRecalculateOwnerAware(PageHost& page, int attachmentForm, const Asker& ask);

// Store and recalculate as the page's class does it.
void StorePage(PageHost& page, const Asker& ask);

// A check box clicked: toggled with its group, stored and recalculated, and
// the page's extra step for that box. Returns false (nothing done) for a box
// the page does not have.
bool ClickCheckBox(PageHost& page, std::string_view cellName, const Asker& ask);

}  // namespace solv
