// A component as the textual component format holds it: a name, a class,
// property lines in order and sub-components. Pages are built from such trees
// and written back to them (the print copy of a page).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace solv {

struct ComponentNode {
  std::string name;
  std::string className;
  // Property name and value text as written after " = " (strings quoted,
  // numbers, identifiers, sets in brackets), in order.
  std::vector<std::pair<std::string, std::string>> properties;
  std::vector<ComponentNode> children;
};

}  // namespace solv
