// Number <-> text conversions of box values.
//
// Every amount is held as text with a decimal comma and no thousands
// separator. Rendering rounds half away from zero on an 18-significant-digit
// decimal form of the number, so the result never depends on the C locale or
// on the binary noise below the 18th digit.
#pragma once

#include <string>
#include <string_view>

namespace solv {

// Renders x with `decimals` digits after the comma (half away from zero).
// A result that rounds to zero carries no sign.
std::string RenderFixed(long double x, int decimals);

// Renders x by one of the fixed formats: "%.0f" ... "%.3f", or the picture
// forms "0", "0.0", "0.00" (at least one integer digit, that many decimals).
// Single rounding. Throws std::invalid_argument on any other format.
std::string Format(std::string_view format, long double x);

// Two-stage rounding: first at one more decimal ("%.2f" via "%.3f", "%.1f"
// via "%.2f", "%.0f" via "%.1f"), the text read back, then at the requested
// decimals. Other formats round once.
std::string FormatRounded(std::string_view format, long double x);

// Text -> number with a decimal comma: optional sign, digits, at most one
// ',', optional exponent. Blanks and control characters around the text are
// ignored. Anything else (a '.', inner blanks, letters, "inf", "nan", hex,
// thousands separators) gives `def`. Never throws.
long double ParseAmount(std::string_view text, long double def);

// x rounded half away from zero to whole grosz, as a count of grosz.
long double ToGrosz(long double x);

// x cut toward zero at `decimals` decimals, decided on 15 significant
// digits so that binary noise never costs a unit: a typed 20,31 stays 20,31
// although its double is 20,3099999999999999.
long double TruncDecimals(long double x, int decimals);

// The shortest decimal form of x after rounding to whole grosz: decimal
// comma, no trailing zeros ("1234,5", "90,9", "12", "-3,07").
std::string FormatGeneral(long double x);

}  // namespace solv
