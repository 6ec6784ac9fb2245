// ParseAmount on any text, and the text forms of any number.
#include <cmath>
#include <cstring>

#include "fuzz_support.hpp"
#include "value/number.hpp"

using solv::fuzz::Require;

namespace {

// Digits, then an optional comma and exactly `decimals` digits, after an optional '-'.
bool PlainFixed(const std::string& s, int decimals) {
  std::size_t i = s[0] == '-' ? 1 : 0;
  std::size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (digits == 0) return false;
  if (decimals == 0) return i == s.size();
  if (i >= s.size() || s[i] != ',') return false;
  ++i;
  std::size_t frac = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++frac;
  return i == s.size() && frac == static_cast<std::size_t>(decimals);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = solv::fuzz::Text(data, size);

  // Any text: a finite number or the default.
  const long double parsed = solv::ParseAmount(text, -7.0L);
  Require(std::isfinite(parsed), "ParseAmount gives a finite number");

  // The leading bytes as a number: its text forms read back.
  long double x = 0;
  if (size >= sizeof(double)) {
    double d;
    std::memcpy(&d, data, sizeof d);
    x = d;
  }
  const std::string fixed = solv::RenderFixed(x, 2);
  Require(!fixed.empty(), "RenderFixed gives text");
  if (std::isfinite(x) && std::fabs(x) < 1e15L) {
    Require(PlainFixed(fixed, 2), "RenderFixed gives digits, a comma and two decimals");
    const long double back = solv::ParseAmount(fixed, NAN);
    Require(std::fabs(back - x) <= 0.005L + std::fabs(x) * 1e-15L, "RenderFixed reads back");
    Require(fixed != "-0,00", "zero carries no sign");
    const std::string whole = solv::FormatRounded("0", x);
    Require(PlainFixed(whole, 0), "FormatRounded(\"0\") gives whole digits");
    const std::string general = solv::FormatGeneral(x);
    const long double g = solv::ParseAmount(general, NAN);
    Require(std::fabs(g - x) <= 0.005L + std::fabs(x) * 1e-15L, "FormatGeneral reads back");
    Require(std::fabs(solv::ToGrosz(x) - x * 100) <= 0.5L + std::fabs(x) * 1e-13L, "ToGrosz counts grosz");
  }
  (void)solv::TruncDecimals(x, 2);
  (void)solv::Format("%.2f", x);
  (void)solv::Format("0.00", parsed);
  return 0;
}
