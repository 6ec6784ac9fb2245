#include "shell/window_layout.hpp"

#include <algorithm>

namespace solv {
namespace {

// The places of the cascade in area: each keeps the minimum height and
// leaves a window at least that wide too.
int CascadePlaces(const WindowRect& area) {
  const int byHeight = (area.h - kMinWindowHeight) / kCascadeStep + 1;
  const int byWidth = (area.w - kMinWindowHeight) / kCascadeStep + 1;
  return std::max(1, std::min(byHeight, byWidth));
}

}  // namespace

WindowRect CascadeRect(const WindowRect& area, int k, int width) {
  const int step = (k % CascadePlaces(area)) * kCascadeStep;
  WindowRect r;
  r.x = area.x + step;
  r.y = area.y + step;
  r.w = std::max(1, std::min(width, area.Right() - r.x));
  r.h = std::max(1, area.Bottom() - r.y);
  return r;
}

WindowRect NewWindowPlace(const WindowRect& area, int width, const std::vector<WindowRect>& open) {
  for (int k = 0; k < CascadePlaces(area); ++k) {
    const WindowRect r = CascadeRect(area, k, width);
    const bool taken =
        std::any_of(open.begin(), open.end(), [&](const WindowRect& o) { return o.x == r.x && o.y == r.y; });
    if (!taken) return r;
  }
  // Every place is taken: the next one after as many windows as are open.
  return CascadeRect(area, static_cast<int>(open.size()), width);
}

std::vector<WindowRect> TileRects(const WindowRect& area, int count) {
  std::vector<WindowRect> out;
  if (count <= 0) return out;
  int cols = count <= 3 ? count : 1;
  if (count > 3)
    while (cols * cols < count) ++cols;
  const int rows = (count + cols - 1) / cols;
  for (int i = 0; i < count; ++i) {
    const int row = i / cols, col = i % cols;
    // The last row's windows share its whole width.
    const int inRow = row == rows - 1 ? count - row * cols : cols;
    const int x0 = area.x + area.w * col / inRow, x1 = area.x + area.w * (col + 1) / inRow;
    const int y0 = area.y + area.h * row / rows, y1 = area.y + area.h * (row + 1) / rows;
    out.push_back({x0, y0, std::max(1, x1 - x0), std::max(1, y1 - y0)});
  }
  return out;
}

WindowRect FitInto(const WindowRect& r, const WindowRect& area) {
  WindowRect out = r;
  out.w = std::clamp(out.w, 1, std::max(1, area.w));
  out.h = std::clamp(out.h, 1, std::max(1, area.h));
  out.x = std::clamp(out.x, area.x, area.Right() - out.w);
  out.y = std::clamp(out.y, area.y, area.Bottom() - out.h);
  return out;
}

WindowRect FollowAreaHeight(const WindowRect& r, int oldHeight, int newHeight) {
  if (r.Bottom() != oldHeight && r.Bottom() <= newHeight) return r;
  WindowRect out = r;
  out.h = std::max(kMinWindowHeight, newHeight - r.y);
  return out;
}

}  // namespace solv
