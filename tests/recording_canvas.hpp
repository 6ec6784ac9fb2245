// A canvas that records every drawing call with the font, pen and brush in
// force, for checking the geometry of the report components. Text metrics
// are simple and fixed: every character is half the font's pixel height
// wide (at least 1), every line is the pixel height high; lines break only
// at "\n".
#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "report/canvas.hpp"

namespace solv::testing {

struct Call {
  std::string op;  // FillRect, Rectangle, RoundRect, Ellipse, Line, DrawText, TextOut, StretchDraw
  Rect r;          // the rectangle; for Line (x1, y1, x2, y2); for TextOut (x, y, 0, 0)
  int ew = 0, eh = 0;
  std::string text;
  unsigned flags = 0;
  Font font;
  Pen pen;
  Brush brush;
  int originX = 0, originY = 0;
  Bitmap bitmap;
};

class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(int ppi = 96) : ppi_(ppi) {}

  std::vector<Call> calls;
  std::vector<std::string> measured;  // texts given to MeasureText and TextExtent

  int PixelsPerInchY() const override { return ppi_; }

  static int CharWidth(const Font& f) { return std::max(1, std::abs(f.height) / 2); }
  static int LineHeight(const Font& f) { return std::abs(f.height); }
  static int Chars(const std::string& s) {
    int n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
  }

  void FillRect(const Rect& r) override { Add("FillRect", r); }
  void Rectangle(const Rect& r) override { Add("Rectangle", r); }
  void RoundRect(const Rect& r, int ew, int eh) override {
    Call& c = Add("RoundRect", r);
    c.ew = ew;
    c.eh = eh;
  }
  void Ellipse(const Rect& r) override { Add("Ellipse", r); }
  void Line(int x1, int y1, int x2, int y2) override { Add("Line", {x1, y1, x2, y2}); }
  void DrawText(const std::string& text, const Rect& r, unsigned flags) override {
    Call& c = Add("DrawText", r);
    c.text = text;
    c.flags = flags;
  }
  Rect MeasureText(const std::string& text, const Rect& r, unsigned) override {
    measured.push_back(text);
    int lines = 1, longest = 0, current = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') {
        ++lines;
        current = 0;
        continue;
      }
      if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++current;
      longest = std::max(longest, current);
    }
    return {r.left, r.top, r.left + longest * CharWidth(GetFont()), r.top + lines * LineHeight(GetFont())};
  }
  void TextOut(int x, int y, const std::string& text) override {
    Call& c = Add("TextOut", {x, y, 0, 0});
    c.text = text;
  }
  Size TextExtent(const std::string& text) override {
    measured.push_back(text);
    return {Chars(text) * CharWidth(GetFont()), LineHeight(GetFont())};
  }
  void StretchDraw(const Rect& r, const Bitmap& bmp) override { Add("StretchDraw", r).bitmap = bmp; }

  std::vector<Call> Of(const std::string& op) const {
    std::vector<Call> out;
    for (const Call& c : calls)
      if (c.op == op) out.push_back(c);
    return out;
  }

 private:
  Call& Add(const char* op, const Rect& r) {
    Call c;
    c.op = op;
    c.r = r;
    c.font = GetFont();
    c.pen = GetPen();
    c.brush = GetBrush();
    c.originX = OriginX();
    c.originY = OriginY();
    calls.push_back(std::move(c));
    return calls.back();
  }
  int ppi_;
};

}  // namespace solv::testing
