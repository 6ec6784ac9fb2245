// The drawing surface of the report components: a screen page, a printer
// page or an image. A canvas keeps a current font, pen and brush, as a
// device context does, and draws with them.
//
// Coordinates are device pixels. Rectangles follow the device-context
// rules: right and bottom are exclusive, a line leaves out its end point.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace solv {

// Colours are 0x00BBGGRR. Values with the high byte 0xFF are system colours
// (clWindow, clWindowText, clBtnFace) that ColorToRGB resolves.
using TColor = std::int32_t;

constexpr TColor RGB(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBtnFace = TColor(0xFF00000F);
constexpr TColor clWindow = TColor(0xFF000005);
constexpr TColor clWindowText = TColor(0xFF000008);
constexpr TColor kFormShade = 14145495;  // the grey of the shaded areas of the forms

// The plain 0x00BBGGRR colour: system colours become their classic values
// (window white, window text black, button face light grey).
TColor ColorToRGB(TColor c);
constexpr int RedOf(TColor c) { return c & 0xFF; }
constexpr int GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(TColor c) { return (c >> 16) & 0xFF; }

// a * b / c rounded half away from zero (0 when c is 0), as the font
// conversions between points and pixels do.
int MulDiv(int a, int b, int c);

enum FontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

constexpr int DEFAULT_CHARSET = 1;
constexpr int EASTEUROPE_CHARSET = 238;

struct Font {
  std::string name = "Arial";
  // Pixels on a device of pixelsPerInch dots per inch: a negative value is
  // the character height (em), a positive one the cell height.
  int height = -11;
  int pixelsPerInch = 96;
  TColor color = clWindowText;
  int charset = DEFAULT_CHARSET;
  unsigned style = 0;  // FontStyle bits
  int escapement = 0;  // rotation, tenths of a degree counter-clockwise

  int Size() const { return -MulDiv(height, 72, pixelsPerInch); }  // points
  bool operator==(const Font&) const = default;
};

// The font for a device of ppi dots per inch: the point size stays and the
// pixel height follows the device (unchanged when the resolution is the same).
Font FontForResolution(const Font& f, int ppi);

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

struct Pen {
  TColor color = clBlack;
  int width = 1;
  TPenStyle style = TPenStyle::psSolid;
  bool operator==(const Pen&) const = default;
};

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

struct Brush {
  TColor color = clWhite;
  TBrushStyle style = TBrushStyle::bsSolid;
  bool operator==(const Brush&) const = default;
};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

struct Size {
  int cx = 0, cy = 0;
  bool operator==(const Size&) const = default;
};

// An RGBA bitmap, rows top to bottom, 4 bytes a pixel (R, G, B, A).
struct Bitmap {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgba;

  Bitmap() = default;
  Bitmap(int w, int h, TColor fill = clWhite);
  bool Empty() const { return width <= 0 || height <= 0; }
  TColor Pixel(int x, int y) const;  // alpha ignored
  void SetPixel(int x, int y, TColor c, std::uint8_t alpha = 255);
  // Copies src with its top-left at (x, y); parts outside are cut off.
  void Blit(const Bitmap& src, int x, int y);
  bool operator==(const Bitmap&) const = default;
};

// Text drawing flags.
enum TextFlag : unsigned {
  tfLeft = 0,
  tfCenter = 0x1,
  tfRight = 0x2,
  tfTop = 0,
  tfVCenter = 0x4,  // the text block is centred vertically in the rectangle
  tfBottom = 0x8,
  tfWordBreak = 0x10,
  tfSingleLine = 0x20,
  tfExpandTabs = 0x40,
  tfNoClip = 0x100,
  tfNoPrefix = 0x800,  // "&" is shown as is; without it "&x" underlines x and "&&" is "&"
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  const Font& GetFont() const { return font_; }
  const Pen& GetPen() const { return pen_; }
  const Brush& GetBrush() const { return brush_; }
  void SetFont(const Font& f) { font_ = f; }
  void SetPen(const Pen& p) { pen_ = p; }
  void SetBrush(const Brush& b) { brush_ = b; }

  // Where (0, 0) of the coordinates given to the drawing calls lies on the
  // device; painting a control moves it to the control's top-left.
  int OriginX() const { return originX_; }
  int OriginY() const { return originY_; }
  virtual void SetOrigin(int x, int y) {
    originX_ = x;
    originY_ = y;
  }

  // Dots per inch of the device, vertically.
  virtual int PixelsPerInchY() const { return 96; }

  // The rectangle filled with the brush; no outline.
  virtual void FillRect(const Rect& r) = 0;
  // Outline with the pen, inside filled with the brush.
  virtual void Rectangle(const Rect& r) = 0;
  // As Rectangle with corners rounded by an ellipse of ew by eh.
  virtual void RoundRect(const Rect& r, int ew, int eh) = 0;
  virtual void Ellipse(const Rect& r) = 0;
  virtual void Line(int x1, int y1, int x2, int y2) = 0;

  // Text in r with the font by TextFlag flags; clipped to r unless tfNoClip.
  virtual void DrawText(const std::string& utf8, const Rect& r, unsigned flags) = 0;
  // The rectangle the text needs when drawn with these flags: same left and
  // top as r; with tfWordBreak the lines break at the width of r.
  virtual Rect MeasureText(const std::string& utf8, const Rect& r, unsigned flags) = 0;
  // One line of text whose top-left corner is (x, y), turned about that point
  // by the font's escapement.
  virtual void TextOut(int x, int y, const std::string& utf8) = 0;
  // Width and height of one line of text in the font, unrotated.
  virtual Size TextExtent(const std::string& utf8) = 0;

  // The bitmap scaled into r.
  virtual void StretchDraw(const Rect& r, const Bitmap& bmp) = 0;

 private:
  Font font_;
  Pen pen_;
  Brush brush_;
  int originX_ = 0, originY_ = 0;
};

}  // namespace solv
