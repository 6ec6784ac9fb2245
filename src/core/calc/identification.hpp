// The copying of the taxpayer's and spouse's identification between the forms
// of the open set. Under joint taxation (a decision of the calculations) the
// spouse's blocks are copied too.
#pragma once

#include <array>
#include <string_view>

#include "store/forms.hpp"

namespace solv {

// One row of the identification table: (first box, count) of the taxpayer's
// identifier, the taxpayer's data, the spouse's identifier and the spouse's
// data; first = -1 where the form has no such block.
struct IdBlock {
  int first, count;
};
using IdRow = std::array<IdBlock, 4>;
extern const std::array<IdRow, kFormCount> kIdentificationTable;

void CopyFieldRange(bool always, std::string_view sourceSection, int sourceFirst, int sourceCount,
                    std::string_view targetSection, int targetFirst, int targetCount);
// Forms are form-table indices, -1 meaning the main form of the open set; an
// empty section means the form's base name.
void CopyIdentification(int sourceForm, int targetForm, bool always, std::string_view sourceSection,
                        std::string_view targetSection);
void PropagateIdentification(int editedForm, std::string_view editedSection);

}  // namespace solv
