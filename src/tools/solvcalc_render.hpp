#pragma once

#include <string>

#include "report/page_definition.hpp"

namespace solv {

// Draws the page filled from section of the open set into a PNG file; the
// exit code of the command.
int RenderPage(const PageDefinition& definition, const std::string& section, const std::string& out, double scale);

}  // namespace solv
