// The zoom of the form pages: the steps of Powiększ and Pomniejsz, the
// zoom box's text, the sheet's coordinates at a zoom and the stored value.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "set_fixture.hpp"
#include "shell/zoom.hpp"

namespace {

TEST(Zoom, StepsGoToTheNextListedZoomAndStopAtTheEnds) {
  struct Case {
    int from, in, out;
  };
  const Case cases[] = {
      {100, 110, 90}, {75, 90, 75},    {90, 100, 75},   {175, 200, 150},
      {200, 200, 175},  // the ends of the range
      {130, 150, 125},  // a typed zoom between two steps
      {50, 75, 75},     {300, 200, 200},  // out of the range: back into it
  };
  for (const Case& c : cases) {
    EXPECT_EQ(solv::ZoomIn(c.from), c.in) << c.from;
    EXPECT_EQ(solv::ZoomOut(c.from), c.out) << c.from;
  }
  // From the smallest zoom up, every step once, in order.
  std::vector<int> walked{solv::kZoomMin};
  while (walked.back() != solv::ZoomIn(walked.back())) walked.push_back(solv::ZoomIn(walked.back()));
  EXPECT_EQ(walked, std::vector<int>(solv::kZoomSteps.begin(), solv::kZoomSteps.end()));
  EXPECT_EQ(solv::ClampZoom(74), 75);
  EXPECT_EQ(solv::ClampZoom(201), 200);
  EXPECT_EQ(solv::ClampZoom(133), 133);
}

TEST(Zoom, TypedAndStoredTexts) {
  struct Case {
    const char* text;
    int parsed;  // -1: no zoom
    int stored;
  };
  const Case cases[] = {
      {"150", 150, 150},   {"150%", 150, 150}, {" 90 % ", 90, 90},  {"075", 75, 75},
      {"200", 200, 200},   {"300", 300, 100},  {"74", 74, 100},     {"0", 0, 100},
      {"", -1, 100},       {"%", -1, 100},     {"1,5", -1, 100},    {"12.5", -1, 100},
      {"-100", -1, 100},   {"+150", -1, 100},  {"100%%", -1, 100},  {"abc", -1, 100},
      {"99999", -1, 100},  {"1 50", -1, 100},
  };
  for (const Case& c : cases) {
    const std::optional<int> parsed = solv::ParseZoom(c.text);
    if (c.parsed < 0)
      EXPECT_FALSE(parsed) << '"' << c.text << '"';
    else
      EXPECT_EQ(parsed.value_or(-1), c.parsed) << '"' << c.text << '"';
    EXPECT_EQ(solv::StoredZoom(c.text), c.stored) << '"' << c.text << '"';
  }
  EXPECT_EQ(solv::ZoomText(125), "125%");
}

// A pixel of the zoomed sheet goes back to the sheet unit whose zoomed
// extent holds it: a click lands on the box drawn under it, at every zoom.
TEST(Zoom, PixelsGoBackToTheSheetUnitDrawnThere) {
  for (int percent : solv::kZoomSteps) {
    for (int unit = -40; unit < 1200; ++unit) {
      const int from = solv::Zoomed(unit, percent), to = solv::Zoomed(unit + 1, percent);
      ASSERT_LE(from, to) << percent << "% " << unit;
      for (int pixel = from; pixel < to; ++pixel) ASSERT_EQ(solv::Unzoomed(pixel, percent), unit) << percent << "% " << pixel;
    }
  }
  EXPECT_EQ(solv::Zoomed(794, 100), 794);
  EXPECT_EQ(solv::Zoomed(794, 200), 1588);
  EXPECT_EQ(solv::Zoomed(794, 150), 1191);
  EXPECT_EQ(solv::Zoomed(400, 75), 300);
}

class ZoomSetting : public SetFixture {};

TEST_F(ZoomSetting, WrittenInTheSettingsFileAndReadBack) {
  EXPECT_EQ(solv::ReadZoomSetting(), 100);  // no file yet
  solv::WriteZoomSetting(150);
  EXPECT_EQ(solv::ReadZoomSetting(), 150);
  const std::string text = Bytes(dir_ / "solv2010.ini");
  EXPECT_NE(text.find("[OKNA]"), std::string::npos) << text;
  EXPECT_NE(text.find("Zoom=150"), std::string::npos) << text;
  solv::WriteZoomSetting(500);
  EXPECT_EQ(solv::ReadZoomSetting(), 200);
}

TEST_F(ZoomSetting, ABadStoredValueIsTheDefault) {
  for (const char* value : {"abc", "300", "50", "", "1,5"}) {
    PutBytes(dir_ / "solv2010.ini", std::string("[OKNA]\r\nZoom=") + value + "\r\n");
    EXPECT_EQ(solv::ReadZoomSetting(), 100) << value;
  }
  PutBytes(dir_ / "solv2010.ini", "[OKNA]\r\nZoom=175\r\n");
  EXPECT_EQ(solv::ReadZoomSetting(), 175);
}

}  // namespace
