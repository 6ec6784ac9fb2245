#include "value/number.hpp"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <system_error>

namespace solv {
namespace {

// The 18 significant digits of |x| and its decimal exponent: |x| is
// d0.d1d2...d17 x 10^exp. Zero (and anything not finite) gives all zeros.
struct Digits18 {
  char d[18];
  int exp = 0;
  bool negative = false;
  bool zero = true;
};

Digits18 Decompose(long double x, int significant = 18) {
  Digits18 r;
  for (char& c : r.d) c = '0';
  if (!std::isfinite(x) || x == 0) return r;
  r.negative = x < 0;
  r.zero = false;
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, significant - 1);
  // Form: d.ddddddddddddddddde[+-]XX
  const char* p = buf;
  int n = 0;
  for (; p < res.ptr && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9' && n < 18) r.d[n++] = *p;
  if (p < res.ptr && *p == 'e') {
    ++p;
    int e = 0;
    std::from_chars(*p == '+' ? p + 1 : p, res.ptr, e);
    r.exp = e;
  }
  return r;
}

// Digits of round(|x| * 10^decimals), most significant first, without leading zeros
// (at least "0").
std::string ScaledDigits(const Digits18& v, int decimals, bool truncate) {
  if (v.zero) return "0";
  // Number of leading digits that stay: integer digits plus the decimals.
  const int keep = v.exp + 1 + decimals;
  std::string out;
  if (keep <= 0) {
    // Everything is dropped; only when exactly the first digit is dropped can it round up.
    if (keep == 0 && !truncate && v.d[0] >= '5') return "1";
    return "0";
  }
  if (keep >= 18) {
    out.assign(v.d, 18);
    out.append(static_cast<size_t>(keep - 18), '0');
  } else {
    out.assign(v.d, static_cast<size_t>(keep));
    if (!truncate && v.d[keep] >= '5') {
      int i = keep - 1;
      for (; i >= 0; --i) {
        if (out[i] == '9') {
          out[i] = '0';
        } else {
          ++out[i];
          break;
        }
      }
      if (i < 0) out.insert(out.begin(), '1');
    }
  }
  size_t nz = out.find_first_not_of('0');
  if (nz == std::string::npos) return "0";
  return out.substr(nz);
}

std::string PlaceComma(std::string digits, bool negative, int decimals) {
  if (static_cast<int>(digits.size()) < decimals + 1)
    digits.insert(0, static_cast<size_t>(decimals + 1) - digits.size(), '0');
  if (decimals > 0) digits.insert(digits.size() - static_cast<size_t>(decimals), 1, ',');
  const bool allZero = digits.find_first_not_of("0,") == std::string::npos;
  if (negative && !allZero) digits.insert(0, 1, '-');
  return digits;
}

long double DigitsToNumber(const std::string& digits, bool negative, int decimals) {
  long double v = 0;
  std::string s = digits;
  if (decimals > 0) s += "e-" + std::to_string(decimals);
  std::from_chars(s.data(), s.data() + s.size(), v);
  return negative ? -v : v;
}

// Decimals named by a format: "%.Nf" or a picture "0", "0.0", "0.00", ...
int DecimalsOf(std::string_view format) {
  if (format.size() == 4 && format[0] == '%' && format[1] == '.' && format[3] == 'f' &&
      format[2] >= '0' && format[2] <= '9')
    return format[2] - '0';
  if (format == "0") return 0;
  if (format.size() >= 3 && format.substr(0, 2) == "0." &&
      format.find_first_not_of('0', 2) == std::string_view::npos)
    return static_cast<int>(format.size() - 2);
  throw std::invalid_argument("unknown number format: " + std::string(format));
}

bool IsBlankOrControl(unsigned char c) { return c <= ' ' || c == 0x7f; }

}  // namespace

std::string RenderFixed(long double x, int decimals) {
  const Digits18 v = Decompose(x);
  return PlaceComma(ScaledDigits(v, decimals, false), v.negative, decimals);
}

std::string Format(std::string_view format, long double x) { return RenderFixed(x, DecimalsOf(format)); }

std::string FormatRounded(std::string_view format, long double x) {
  const int decimals = DecimalsOf(format);
  const bool twoStage = format.size() == 4 && format[0] == '%' && decimals <= 2;
  if (!twoStage) return RenderFixed(x, decimals);
  const std::string first = RenderFixed(x, decimals + 1);
  return RenderFixed(ParseAmount(first, 0), decimals);
}

long double ParseAmount(std::string_view text, long double def) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlankOrControl(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && IsBlankOrControl(static_cast<unsigned char>(text[e - 1]))) --e;
  if (b == e) return def;
  text = text.substr(b, e - b);

  // Check the grammar ourselves; from_chars would accept "inf", "nan" and hex forms.
  std::string s;
  s.reserve(text.size());
  size_t i = 0;
  if (text[i] == '+' || text[i] == '-') {
    if (text[i] == '-') s += '-';
    ++i;
  }
  int digits = 0;
  bool comma = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      s += c;
      ++digits;
    } else if (c == ',' && !comma) {
      s += '.';
      comma = true;
    } else {
      break;
    }
  }
  if (digits == 0) return def;
  if (i < text.size()) {
    if (text[i] != 'e' && text[i] != 'E') return def;
    s += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) s += text[i++];
    int expDigits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++expDigits) s += text[i];
    if (expDigits == 0 || i != text.size()) return def;
  }
  long double v = 0;
  const char* first = s.data();
  if (*first == '-') ++first;  // from_chars takes no '+', and we add the sign after
  auto res = std::from_chars(first, s.data() + s.size(), v, std::chars_format::general);
  if (res.ec != std::errc() || res.ptr != s.data() + s.size() || !std::isfinite(v)) return def;
  return s[0] == '-' ? -v : v;
}

long double ToGrosz(long double x) {
  const Digits18 v = Decompose(x);
  return DigitsToNumber(ScaledDigits(v, 2, false), v.negative, 0);
}

long double TruncDecimals(long double x, int decimals) {
  // Decided on 15 significant digits, which every double carries exactly: the
  // double of a typed 20,31 (20,30999...) is cut as 20,31.
  const Digits18 v = Decompose(x, 15);
  return DigitsToNumber(ScaledDigits(v, decimals, true), v.negative, decimals);
}

std::string FormatGeneral(long double x) {
  std::string s = RenderFixed(x, 2);
  while (s.back() == '0' && s.find(',') != std::string::npos) s.pop_back();
  if (s.back() == ',') s.pop_back();
  return s;
}

}  // namespace solv
