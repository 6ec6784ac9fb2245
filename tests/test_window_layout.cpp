// Where windows of the document area go: new page windows, cascade, tile,
// windows kept inside an area that shrinks, and the window list's labels.
#include <gtest/gtest.h>

#include "shell/form_registry.hpp"
#include "shell/window_layout.hpp"

namespace {

using solv::WindowRect;

const WindowRect kArea{142, 0, 880, 560};  // right of the Menu window at 1024 x 768

TEST(WindowLayout, NewWindowsTakeTheFirstFreeCascadePlace) {
  const struct {
    const char* name;
    std::vector<WindowRect> open;
    WindowRect expected;
  } cases[] = {
      {"the first window", {}, {142, 0, 857, 560}},
      {"over a window at the first place", {{142, 0, 857, 560}}, {166, 24, 856, 536}},
      {"a place freed by a closed window is taken again", {{166, 24, 856, 536}}, {142, 0, 857, 560}},
      {"a window moved elsewhere frees its place", {{300, 100, 500, 400}}, {142, 0, 857, 560}},
  };
  for (const auto& c : cases) EXPECT_EQ(solv::NewWindowPlace(kArea, 857, c.open), c.expected) << c.name;
}

TEST(WindowLayout, TheCascadeStaysInsideTheAreaAndStartsAgain) {
  const int places = (kArea.h - solv::kMinWindowHeight) / solv::kCascadeStep + 1;
  std::vector<WindowRect> open;
  for (int k = 0; k < places; ++k) {
    const WindowRect r = solv::NewWindowPlace(kArea, 857, open);
    EXPECT_EQ(r, solv::CascadeRect(kArea, k, 857)) << k;
    EXPECT_GE(r.h, solv::kMinWindowHeight) << k;
    EXPECT_EQ(r.Bottom(), kArea.Bottom()) << k;
    EXPECT_LE(r.Right(), kArea.Right()) << k;
    open.push_back(r);
  }
  // Every place taken: the cascade begins again at the top.
  EXPECT_EQ(solv::CascadeRect(kArea, places, 857), solv::CascadeRect(kArea, 0, 857));
  // A narrow area (a small window) still gets one place at its corner.
  const WindowRect narrow{0, 0, 200, 150};
  EXPECT_EQ(solv::CascadeRect(narrow, 3, 857), (WindowRect{0, 0, 200, 150}));
}

TEST(WindowLayout, TilesFillTheAreaWithoutOverlapping) {
  for (int count = 1; count <= 7; ++count) {
    const std::vector<WindowRect> tiles = solv::TileRects(kArea, count);
    ASSERT_EQ(static_cast<int>(tiles.size()), count);
    long long area = 0;
    for (size_t i = 0; i < tiles.size(); ++i) {
      const WindowRect& t = tiles[i];
      EXPECT_GE(t.x, kArea.x) << count;
      EXPECT_GE(t.y, kArea.y) << count;
      EXPECT_LE(t.Right(), kArea.Right()) << count;
      EXPECT_LE(t.Bottom(), kArea.Bottom()) << count;
      area += static_cast<long long>(t.w) * t.h;
      for (size_t j = i + 1; j < tiles.size(); ++j) {
        const WindowRect& u = tiles[j];
        const bool apart = t.Right() <= u.x || u.Right() <= t.x || t.Bottom() <= u.y || u.Bottom() <= t.y;
        EXPECT_TRUE(apart) << count << ": " << i << " and " << j;
      }
    }
    EXPECT_EQ(area, static_cast<long long>(kArea.w) * kArea.h) << count << " windows leave a gap";
  }
  EXPECT_EQ(solv::TileRects(kArea, 2)[1], (WindowRect{582, 0, 440, 560}));  // side by side
  EXPECT_TRUE(solv::TileRects(kArea, 0).empty());
}

TEST(WindowLayout, FitIntoMovesThenShrinks) {
  const struct {
    WindowRect in, expected;
  } cases[] = {
      {{200, 50, 300, 200}, {200, 50, 300, 200}},   // inside: unchanged
      {{900, 500, 300, 200}, {722, 360, 300, 200}},  // partly outside: moved back
      {{0, 0, 2000, 900}, {142, 0, 880, 560}},       // too large: shrunk to the area
  };
  for (const auto& c : cases) EXPECT_EQ(solv::FitInto(c.in, kArea), c.expected);
}

TEST(WindowLayout, WindowsFollowTheAreaHeight) {
  const struct {
    const char* name;
    WindowRect in;
    int oldHeight, newHeight;
    WindowRect expected;
  } cases[] = {
      {"reached the bottom: shrinks with the area", {142, 0, 857, 560}, 560, 420, {142, 0, 857, 420}},
      {"reached the bottom: grows with the area", {142, 0, 857, 420}, 420, 560, {142, 0, 857, 560}},
      {"ends above the new bottom: unchanged", {142, 0, 857, 300}, 560, 420, {142, 0, 857, 300}},
      {"reaches past the new bottom: shortened", {142, 24, 857, 500}, 560, 420, {142, 24, 857, 396}},
      {"never below the least height", {142, 300, 857, 260}, 560, 320, {142, 300, 857, solv::kMinWindowHeight}},
  };
  for (const auto& c : cases) EXPECT_EQ(solv::FollowAreaHeight(c.in, c.oldHeight, c.newHeight), c.expected) << c.name;
}

TEST(WindowLayout, InstanceLabelsTellCopiesApart) {
  const struct {
    const char* instance;
    const char* label;
  } cases[] = {{"PIT37a", ""}, {"PITBa_1", " – kopia 2"}, {"PITOa_12", " – kopia 13"},
               {"PITMa_M", " – małżonek"}, {"PITZa_x", ""}, {"PITBa_", ""}};
  for (const auto& c : cases) EXPECT_EQ(solv::InstanceLabel(c.instance), c.label) << c.instance;
}

}  // namespace
