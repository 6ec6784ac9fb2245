// The zoom of the form pages: one percentage for the whole program, taken
// from a fixed list of steps by the keys and typed freely in the zoom box
// within the range; kept in the program's settings file.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace solv {

inline constexpr int kZoomMin = 75;
inline constexpr int kZoomMax = 200;
inline constexpr int kZoomDefault = 100;
inline constexpr std::array<int, 8> kZoomSteps = {75, 90, 100, 110, 125, 150, 175, 200};

// percent brought into kZoomMin..kZoomMax.
int ClampZoom(int percent);
// The first step above percent (Powiększ) and the last below it
// (Pomniejsz); at the end of the range percent clamped.
int ZoomIn(int percent);
int ZoomOut(int percent);

// "150", "150%", " 150 % ": the whole number typed; nothing for any other
// text (a fraction, a sign, letters, an empty text). The number is not
// clamped: the caller decides what a value out of range means.
std::optional<int> ParseZoom(std::string_view text);
// The stored value: a bad or out-of-range one is kZoomDefault.
int StoredZoom(std::string_view text);
// "150%": the zoom box's text.
std::string ZoomText(int percent);

// A position or length on the sheet at 100% as drawn at percent, and a
// pixel of the zoomed sheet back at 100% (the sheet point under its centre).
int Zoomed(int value, int percent);
int Unzoomed(int pixel, int percent);

// The program's settings file beside the sets' folder ("solv2010.ini",
// section [OKNA], key Zoom in percent); updates never write it.
std::filesystem::path SettingsFile();
inline constexpr const char* kWindowSection = "OKNA";
inline constexpr const char* kZoomKey = "Zoom";
int ReadZoomSetting();
void WriteZoomSetting(int percent);

}  // namespace solv
