#pragma once

#include <string>
#include <vector>

#include "report/page_definition.hpp"

namespace solv {

// Draws the page filled from section of the open set into a PNG file; the
// exit code of the command.
int RenderPage(const PageDefinition& definition, const std::string& section, const std::string& out, double scale);

// Writes the pages of the print rows named (PagesToPrint) filled from the
// open set into a PDF file, one page per print copy; the exit code of the
// command. Throws on an unknown row or a failed print copy, before the file
// is written.
int WritePdfOfSet(const std::vector<std::string>& rows, const std::string& out);

// The labels of the page that do not fit their frames on screen or in print.
std::vector<std::string> LabelFitProblemsOfPage(const PageDefinition& definition);

}  // namespace solv
