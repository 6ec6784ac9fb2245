// The locking rules: which boxes the chosen way of taxation (or the main
// form, or the attachment number) makes meaningless, and what a page does
// with each of them after a recalculation.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace solv {

enum class LockKind {
  None,              // leave the box as it is
  Lock,              // not editable, the "no" pointer
  Unlock,            // editable, the hand pointer
  Plain,             // not editable, no hint, default pointer, no click handler
  EditableWithHint,  // editable, hint "Kliknij", hand pointer, the click handler of p103
};

enum class LockCondition {
  Joint,             // taxation-method code 2 or 3
  MethodIs4,         // taxation-method code 4
  ExemptionFirst,    // PIT-28 p109a ticked
  ExemptionSecond,   // PIT-28 p109b ticked
  ExemptionNeither,  // neither
  MainIsPIT28,
  MainIsPIT36,
  MainIsPIT36L,
  MainIsPIT38,
  MainIsOther,       // neither PIT-36, PIT-36L nor PIT-38
  AttachmentIsFirst, // the instance's p4 (attachment number) is 1
};

// One row of the locking table: for the windows of an instance base name,
// the boxes get `whenTrue` or `whenFalse` by the condition. An unforced row
// leaves boxes whose pointer is the "no" pointer untouched. A row for
// entered boxes only leaves out the computed ones of its list (a list the
// calculations share, which also names the boxes they compute).
struct LockRule {
  const char* window;  // instance base name: "PIT36a", "PITOa", ...
  LockCondition condition;
  std::string boxes;   // "p2, p25-p38, p69a-p69m"
  LockKind whenTrue;
  LockKind whenFalse;
  bool forced;
  bool enteredOnly = false;
};

// The rows in the order they run.
const std::vector<LockRule>& LockingRules();

// "p2, p25-p27, p69a-p69c" -> p2, p25, p26, p27, p69a, p69b, p69c.
std::vector<std::string> ExpandBoxList(std::string_view list);

struct LockAction {
  std::string cell;
  LockKind kind;
  bool forced;
};

// The actions for a page of the class shown under the instance name, from the
// open set's main form, taxation method, PIT-28 exemption choice and the
// instance's attachment number; boxes the page does not have are left out
// (with an unknown class nothing is left out).
std::vector<LockAction> LockingFor(std::string_view instanceName, std::string_view pageClassName);

}  // namespace solv
