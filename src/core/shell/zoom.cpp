#include "shell/zoom.hpp"

#include <algorithm>
#include <exception>

#include "store/store.hpp"

namespace solv {

int ClampZoom(int percent) { return std::clamp(percent, kZoomMin, kZoomMax); }

int ZoomIn(int percent) {
  for (int step : kZoomSteps)
    if (step > percent) return step;
  return kZoomMax;
}

int ZoomOut(int percent) {
  for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it)
    if (*it < percent) return *it;
  return kZoomMin;
}

std::optional<int> ParseZoom(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (!text.empty() && text.back() == '%') {
    text.remove_suffix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  }
  if (text.empty() || text.size() > 4) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

int StoredZoom(std::string_view text) {
  const std::optional<int> v = ParseZoom(text);
  return v && *v >= kZoomMin && *v <= kZoomMax ? *v : kZoomDefault;
}

std::string ZoomText(int percent) { return std::to_string(percent) + "%"; }

namespace {
long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
}  // namespace

// The painter fills the pixels whose centres lie inside a shape: a sheet
// edge at v lands on the first pixel whose centre is at or past v times the
// scale, ceil(v * percent / 100 - 1/2), and a pixel belongs to the sheet
// unit under its centre. The two agree exactly (whole numbers throughout).
int Zoomed(int value, int percent) {
  return static_cast<int>(-FloorDiv(-(2LL * value * percent - 100), 200));
}

int Unzoomed(int pixel, int percent) { return static_cast<int>(FloorDiv((2LL * pixel + 1) * 50, percent)); }

std::filesystem::path SettingsFile() { return DataRoot() / "solv2010.ini"; }

int ReadZoomSetting() {
  try {
    return StoredZoom(IniRead(SettingsFile(), kWindowSection, kZoomKey, ""));
  } catch (const std::exception&) {
    return kZoomDefault;  // an unreadable settings file: the program still starts
  }
}

void WriteZoomSetting(int percent) {
  try {
    IniWrite(SettingsFile(), kWindowSection, kZoomKey, std::to_string(ClampZoom(percent)));
  } catch (const std::exception&) {
    // A program folder that cannot be written keeps the zoom for this run.
  }
}

}  // namespace solv
