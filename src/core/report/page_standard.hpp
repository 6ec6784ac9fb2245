// The standard every form page keeps: what the official forms carry (numbered
// and captioned boxes, the header block, the closing parts, the footer) and
// what showing and printing them whole needs (nothing cut, nothing off the
// sheet). solvcalc lint and the page tests report these problems.
#pragma once

#include <string>
#include <vector>

#include "report/canvas.hpp"
#include "report/page_definition.hpp"

namespace solv {

// Problems found without drawing: field cells without a printed number or
// caption, key letters printed as box numbers, generic texts, the header
// block of a first page, the closing parts of a last page, the footer, and
// components outside the band or reaching into the footer.
std::vector<std::string> PageStructureProblems(const PageDefinition& page);

// Labels whose text does not fit their frame, measured on screen (the pixel
// sizes of the definition on the screen canvas) and in print (whole point
// sizes at the print canvas's resolution, as the printer draws them).
std::vector<std::string> LabelFitProblems(const PageDefinition& page, Canvas& screen, Canvas& print);

}  // namespace solv
