// Where the windows of the document area go: a new page window, the
// "Okno" menu's cascade and tile, and windows kept inside the area when it
// shrinks. Rectangles are in pixels of the document area's viewport.
#pragma once

#include <vector>

namespace solv {

struct WindowRect {
  int x = 0, y = 0, w = 0, h = 0;
  int Right() const { return x + w; }    // one past the last column
  int Bottom() const { return y + h; }   // one past the last row
  bool operator==(const WindowRect&) const = default;
};

// The step between cascaded windows, and the smallest height a page window
// is given (below it the cascade starts again at the top).
constexpr int kCascadeStep = 24;
constexpr int kMinWindowHeight = 240;

// A new page window of the given width in area: the first place of the
// cascade (top-left corner of area, then one step down and right, ...) that
// no open window occupies, as wide as fits and reaching to the bottom of area.
WindowRect NewWindowPlace(const WindowRect& area, int width, const std::vector<WindowRect>& open);

// The k-th window (from 0) cascaded from the top-left corner of area, as
// wide as width (or what fits) and reaching to the bottom of area; k wraps
// when the next place would leave less than kMinWindowHeight.
WindowRect CascadeRect(const WindowRect& area, int k, int width);

// count windows side by side filling area: one row of up to three columns,
// then a grid of as many columns as rows (or one more).
std::vector<WindowRect> TileRects(const WindowRect& area, int count);

// r moved and, where it must be, shrunk so that it lies inside area.
WindowRect FitInto(const WindowRect& r, const WindowRect& area);

// A window after its area's height went from oldHeight to newHeight: one
// that reached the old bottom, or now reaches past the new one, ends at the
// new bottom (never lower than kMinWindowHeight, never moved).
WindowRect FollowAreaHeight(const WindowRect& r, int oldHeight, int newHeight);

}  // namespace solv
