#include "report/canvas.hpp"

#include <cstdlib>

namespace solv {

TColor ColorToRGB(TColor c) {
  if ((static_cast<std::uint32_t>(c) & 0xFF000000u) == 0) return c;
  switch (c) {
    case clWindow: return clWhite;
    case clWindowText: return clBlack;
    case clBtnFace: return RGB(240, 240, 240);
    default: return clBlack;
  }
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return 0;
  const long long p = static_cast<long long>(a) * b;
  const long long q = std::llabs(p) * 2 + std::llabs(c);
  const long long m = q / (2 * std::llabs(static_cast<long long>(c)));
  return static_cast<int>(((p < 0) != (c < 0)) ? -m : m);
}

Font FontForResolution(const Font& f, int ppi) {
  if (ppi <= 0 || ppi == f.pixelsPerInch) return f;
  Font r = f;
  r.height = -MulDiv(f.Size(), ppi, 72);
  r.pixelsPerInch = ppi;
  return r;
}

Bitmap::Bitmap(int w, int h, TColor fill) : width(w > 0 ? w : 0), height(h > 0 ? h : 0) {
  rgba.resize(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) SetPixel(x, y, fill);
}

TColor Bitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return clBlack;
  const size_t i = (static_cast<size_t>(y) * width + x) * 4;
  return RGB(rgba[i], rgba[i + 1], rgba[i + 2]);
}

void Bitmap::SetPixel(int x, int y, TColor c, std::uint8_t alpha) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  const size_t i = (static_cast<size_t>(y) * width + x) * 4;
  rgba[i] = static_cast<std::uint8_t>(RedOf(c));
  rgba[i + 1] = static_cast<std::uint8_t>(GreenOf(c));
  rgba[i + 2] = static_cast<std::uint8_t>(BlueOf(c));
  rgba[i + 3] = alpha;
}

void Bitmap::Blit(const Bitmap& src, int x, int y) {
  for (int sy = 0; sy < src.height; ++sy) {
    const int dy = y + sy;
    if (dy < 0 || dy >= height) continue;
    for (int sx = 0; sx < src.width; ++sx) {
      const int dx = x + sx;
      if (dx < 0 || dx >= width) continue;
      const size_t si = (static_cast<size_t>(sy) * src.width + sx) * 4;
      const size_t di = (static_cast<size_t>(dy) * width + dx) * 4;
      for (int k = 0; k < 4; ++k) rgba[di + k] = src.rgba[si + k];
    }
  }
}

}  // namespace solv
