// Print copies written to a PDF file, one A4 page per copy, drawn as the
// print draws them (vector graphics, selectable text).
#pragma once

#include <QString>

#include <vector>

#include "report/model.hpp"

namespace solv {

// Drawing resolution of the PDF: three times the 96 dpi of the page designs,
// so the integer coordinates of the canvas lose nothing visible.
constexpr int kPdfDpi = 96 * 3;

// False when the file cannot be written. Needs a QGuiApplication.
bool WritePdf(const std::vector<const TKVZPage*>& printCopies, const QString& file);

}  // namespace solv
