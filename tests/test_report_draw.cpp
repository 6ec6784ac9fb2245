// Screen painting and print drawing of the report components, checked on a
// canvas that records every call.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_canvas.hpp"
#include "report/model.hpp"

namespace {

using namespace solv;
using solv::testing::Call;
using solv::testing::RecordingCanvas;

std::string Describe(const Call& c) {
  std::string s = c.op + "(" + std::to_string(c.r.left) + "," + std::to_string(c.r.top) + "," +
                  std::to_string(c.r.right) + "," + std::to_string(c.r.bottom);
  if (c.op == "RoundRect") s += "," + std::to_string(c.ew) + "," + std::to_string(c.eh);
  return s + ")";
}

std::vector<std::string> Geometry(const RecordingCanvas& canvas) {
  std::vector<std::string> out;
  for (const Call& c : canvas.calls) out.push_back(Describe(c));
  return out;
}

Font Arial(int height, unsigned style = 0) {
  Font f;
  f.name = "Arial";
  f.height = height;
  f.style = style;
  f.color = clBlack;
  f.charset = EASTEUROPE_CHARSET;
  return f;
}

// ---------------------------------------------------------------------------
// Shapes

TEST(ShapeDrawing, FollowsTheShapeRules) {
  struct Case {
    TKVZShapeType type;
    int w, h;
    const char* expected;
  };
  using enum TKVZShapeType;
  const Case cases[] = {
      {stRectangle, 100, 40, "Rectangle(0,0,100,40)"},
      {stRectangle, 1, 40, "Line(0,0,0,40)"},   // one pixel wide: a vertical line
      {stRectangle, 100, 1, "Line(0,0,100,0)"},  // one pixel high: a horizontal line
      {stRectangle, 1, 1, "Line(0,0,0,1)"},
      {stRectangle, 2, 2, "Rectangle(0,0,2,2)"},
      {stSquare, 100, 40, "Rectangle(30,0,70,40)"},
      {stSquare, 40, 100, "Rectangle(0,30,40,70)"},
      {stSquare, 41, 100, "Rectangle(0,29,41,70)"},  // (100 - 41) div 2
      {stSquare, 100, 1, "Line(49,0,49,1)"},
      {stCircle, 100, 40, "Ellipse(30,0,70,40)"},
      {stEllipse, 100, 40, "Ellipse(0,0,100,40)"},
      {stRoundRect, 100, 40, "RoundRect(0,0,100,40,10,10)"},
      {stRoundRect, 100, 43, "RoundRect(0,0,100,43,10,10)"},  // 43 div 4
      {stRoundSquare, 100, 40, "RoundRect(30,0,70,40,10,10)"},
      {stLineH, 100, 40, "Line(0,0,100,0)"},
      {stLineW, 100, 40, "Line(0,0,0,40)"},
  };
  for (const auto& c : cases) {
    TKVZShape s;
    s.SetShape(c.type);
    s.SetBounds(500, 600, c.w, c.h);
    RecordingCanvas canvas;
    s.Paint(canvas);
    EXPECT_EQ(Geometry(canvas), std::vector<std::string>{c.expected}) << static_cast<int>(c.type) << " " << c.w;
  }
}

TEST(ShapeDrawing, PrintsIntoTheDeviceRectWithAnUnscaledPenOfAtLeastOne) {
  TKVZShape s;
  s.SetShape(TKVZShapeType::stCircle);
  s.SetBrush({kFormShade, TBrushStyle::bsSolid});
  for (int width : {0, 1, 3}) {
    s.SetPen({clNavy, width, TPenStyle::psDash});
    RecordingCanvas canvas(600);
    s.DrawOnPrinter(canvas, {1000, 2000, 1600, 2240}, "");
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(Describe(canvas.calls[0]), "Ellipse(1180,2000,1420,2240)");
    EXPECT_EQ(canvas.calls[0].pen.width, std::max(1, width));
    EXPECT_EQ(canvas.calls[0].pen.color, clNavy);
    EXPECT_EQ(canvas.calls[0].pen.style, TPenStyle::psDash);
    EXPECT_EQ(canvas.calls[0].brush.color, kFormShade);
  }
  // On screen the pen is taken as it is.
  RecordingCanvas screen;
  s.SetPen({clBlack, 0, TPenStyle::psSolid});
  s.Paint(screen);
  EXPECT_EQ(screen.calls[0].pen.width, 0);
}

// A shaded area of a form: a rectangle with a clear pen.
TEST(ShapeDrawing, ShadedAreaKeepsItsClearPen) {
  TKVZShape s;
  s.SetBounds(0, 0, 200, 30);
  s.SetPen({clBlack, 1, TPenStyle::psClear});
  s.SetBrush({kFormShade, TBrushStyle::bsSolid});
  RecordingCanvas canvas;
  s.Paint(canvas);
  ASSERT_EQ(canvas.calls.size(), 1u);
  EXPECT_EQ(canvas.calls[0].op, "Rectangle");
  EXPECT_EQ(canvas.calls[0].pen.style, TPenStyle::psClear);
  EXPECT_EQ(canvas.calls[0].brush.color, 14145495);
}

// ---------------------------------------------------------------------------
// Labels and fields

TEST(LabelPainting, FillsWhenOpaqueAndDrawsWithItsLayoutOnScreenAsInPrint) {
  TKVZLabel l;
  l.SetBounds(10, 20, 120, 30);
  l.SetCaption("A & B");
  l.SetFont(Arial(-16, fsBold));
  l.SetAlignment(TAlignment::taRightJustify);
  l.SetLayout(TTextLayout::tlCenter);
  l.SetWordWrap(true);
  l.SetTransparent(false);
  l.SetColor(kFormShade);

  RecordingCanvas canvas;
  l.Paint(canvas);
  ASSERT_EQ(canvas.calls.size(), 2u);
  EXPECT_EQ(Describe(canvas.calls[0]), "FillRect(0,0,120,30)");
  EXPECT_EQ(canvas.calls[0].brush.color, kFormShade);
  EXPECT_EQ(canvas.calls[0].brush.style, TBrushStyle::bsSolid);
  const Call& text = canvas.calls[1];
  EXPECT_EQ(Describe(text), "DrawText(0,0,120,30)");
  EXPECT_EQ(text.text, "A & B");
  EXPECT_EQ(text.flags, tfRight | tfVCenter | tfWordBreak | tfExpandTabs | tfNoPrefix);  // centred as in print
  EXPECT_EQ(text.brush.style, TBrushStyle::bsClear);
  EXPECT_EQ(text.font.height, -16);
  EXPECT_EQ(text.font.style, fsBold);

  l.SetTransparent(true);
  l.SetWordWrap(false);
  l.SetAlignment(TAlignment::taCenter);
  RecordingCanvas again;
  l.Paint(again);
  ASSERT_EQ(again.calls.size(), 1u);
  EXPECT_EQ(again.calls[0].flags, tfCenter | tfVCenter | tfExpandTabs | tfNoPrefix);
}

TEST(LabelPrinting, DrawsThePrintTextWithLayoutAndTheFontScaledToTheDevice) {
  struct Case {
    TTextLayout layout;
    unsigned vertical;
  };
  const Case cases[] = {{TTextLayout::tlTop, tfTop}, {TTextLayout::tlCenter, tfVCenter},
                        {TTextLayout::tlBottom, tfBottom}};
  for (const auto& c : cases) {
    TKVZField f;
    f.SetFont(Arial(-16, fsBold));
    f.SetCaption("screen text");
    f.AddValue("1234,50");
    f.SetLayout(c.layout);
    f.SetAlignment(TAlignment::taRightJustify);
    RecordingCanvas canvas(600);
    f.PrintTo(canvas, {100, 200, 700, 318});
    ASSERT_EQ(canvas.calls.size(), 1u);  // transparent: no fill
    const Call& t = canvas.calls[0];
    EXPECT_EQ(Describe(t), "DrawText(100,200,700,318)");
    EXPECT_EQ(t.text, "1234,50");
    EXPECT_EQ(t.flags, tfRight | c.vertical | tfExpandTabs | tfNoPrefix);
    EXPECT_EQ(t.font.height, -100);  // 12 pt at 600 dpi
    EXPECT_EQ(t.font.pixelsPerInch, 600);
  }
}

TEST(LabelPrinting, OpaqueLabelFillsTheDeviceRectAndInvisibleOnesPrintNothing) {
  TKVZLabel l;
  l.SetTransparent(false);
  l.SetColor(clAqua);
  l.SetCaption("x");
  RecordingCanvas canvas;
  l.PrintTo(canvas, {5, 6, 50, 60});
  ASSERT_EQ(canvas.calls.size(), 2u);
  EXPECT_EQ(Describe(canvas.calls[0]), "FillRect(5,6,50,60)");
  EXPECT_EQ(canvas.calls[0].brush.color, clAqua);

  l.SetVisible(false);
  RecordingCanvas none;
  l.PrintTo(none, {5, 6, 50, 60});
  EXPECT_TRUE(none.calls.empty());
}

TEST(FontScaling, KeepsThePointSizeOnAnotherDevice) {
  const struct {
    int height, ppi, expected;
  } cases[] = {
      {-11, 96, -11}, {-11, 600, -67}, {-16, 600, -100}, {-19, 600, -117},
      {-19, 300, -58}, {-11, 144, -16}, {16, 600, 100}, {-13, 96, -13},
  };
  for (const auto& c : cases) {
    Font f = Arial(c.height);
    EXPECT_EQ(FontForResolution(f, c.ppi).height, c.expected) << c.height << " at " << c.ppi;
  }
  EXPECT_EQ(MulDiv(-11, 72, 96), -8);  // 8.25
  EXPECT_EQ(MulDiv(10, 3, 4), 8);      // 7.5 rounds away from zero
  EXPECT_EQ(MulDiv(-10, 3, 4), -8);
  EXPECT_EQ(MulDiv(1, 1, 0), 0);
}

// Auto-size in print: measured with the print font from the scaled rect.
TEST(LabelPrintAutoSize, TakesTheMeasuredSizeAndKeepsTheRightEdgeOfRightAligned) {
  struct Case {
    const char* text;
    TAlignment align;
    bool autoSize;
    int escapement;
    Rect expected;
  };
  using enum TAlignment;
  // -11 is 8 pt, -21 at 192 dpi: 10 px a character, 21 px a line.
  const Rect r{100, 50, 300, 90};
  const Case cases[] = {
      {"abcd", taLeftJustify, true, 0, {100, 50, 140, 71}},
      {"abcd", taCenter, true, 0, {100, 50, 140, 71}},
      {"abcd", taRightJustify, true, 0, {260, 50, 300, 71}},
      {"", taLeftJustify, true, 0, {100, 50, 110, 71}},  // one blank
      {"a\nbcdef", taLeftJustify, true, 0, {100, 50, 150, 92}},
      {"abcd", taLeftJustify, false, 0, r},
      {"abcd", taLeftJustify, true, 90, r},
  };
  for (const auto& c : cases) {
    TKVZLabel l;
    l.SetFont(Arial(-11));
    l.SetCaption(c.text);
    l.SetAlignment(c.align);
    l.SetAutoSize(c.autoSize);
    l.SetEscapement(c.escapement);
    RecordingCanvas canvas(192);
    EXPECT_EQ(l.PrintAutoSize(canvas, r), c.expected) << c.text << " " << static_cast<int>(c.align);
  }
}

TEST(LabelPrintAutoSize, MeasuresThePrintTextNotTheCaption) {
  TKVZField f;
  f.SetFont(Arial(-11));
  f.SetCaption("a long screen caption");
  f.AddValue("");
  f.SetWordWrap(true);
  RecordingCanvas canvas(96);
  const Rect out = f.PrintAutoSize(canvas, {0, 0, 10, 10});
  EXPECT_EQ(canvas.measured, std::vector<std::string>{" "});
  EXPECT_EQ(out, (Rect{0, 0, 5, 11}));
}

// ---------------------------------------------------------------------------
// Rotated text

TEST(RotatedText, StartOffsetsAndTurnedSize) {
  struct Case {
    int angle, cx, cy;
    RotatedTextGeometry expected;
  };
  const Case cases[] = {
      {90, 100, 20, {0, 100, 20, 100}},
      {180, 100, 20, {100, 20, 100, 20}},
      {270, 100, 20, {20, 0, 20, 100}},
      {360, 100, 20, {0, 0, 100, 20}},
      {30, 100, 20, {0, 50, 96, 67}},  // sin 30 exactly a half
      {45, 10, 10, {0, 7, 14, 14}},
      {135, 100, 20, {70, 84, 84, 84}},
      {225, 100, 20, {84, 14, 84, 84}},
      {315, 100, 20, {14, 0, 84, 84}},
  };
  for (const auto& c : cases) {
    const RotatedTextGeometry g = RotatedText(c.angle, c.cx, c.cy);
    EXPECT_EQ(g.dx, c.expected.dx) << c.angle;
    EXPECT_EQ(g.dy, c.expected.dy) << c.angle;
    EXPECT_EQ(g.width, c.expected.width) << c.angle;
    EXPECT_EQ(g.height, c.expected.height) << c.angle;
  }
}

TEST(RotatedText, ScreenLabelStartsAtTheOffsetAndResizesWhenAutoSized) {
  // "abcde" in a -20 font: 50 by 20.
  TKVZLabel l;
  l.SetFont(Arial(-20));
  l.SetCaption("abcde");
  l.SetBounds(7, 8, 200, 300);
  l.SetEscapement(90);
  RecordingCanvas canvas;
  l.Paint(canvas);
  const auto out = canvas.Of("TextOut");
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].r.left, 0);
  EXPECT_EQ(out[0].r.top, 50);
  EXPECT_EQ(out[0].font.escapement, 900);
  EXPECT_EQ(canvas.GetFont().escapement, 0);  // the turned font is not left selected
  EXPECT_EQ(l.Width(), 20);
  EXPECT_EQ(l.Height(), 50);
  EXPECT_EQ(l.Left(), 7);

  struct Case {
    TAlignment align;
    int x;
  };
  for (const Case& c : {Case{TAlignment::taLeftJustify, 0}, Case{TAlignment::taCenter, 90},
                        Case{TAlignment::taRightJustify, 180}}) {
    TKVZLabel fixed;
    fixed.SetFont(Arial(-20));
    fixed.SetCaption("abcde");
    fixed.SetAutoSize(false);
    fixed.SetAlignment(c.align);
    fixed.SetBounds(0, 0, 200, 300);
    fixed.SetEscapement(90);
    RecordingCanvas cv;
    fixed.Paint(cv);
    EXPECT_EQ(cv.Of("TextOut").at(0).r.left, c.x) << static_cast<int>(c.align);
    EXPECT_EQ(fixed.Width(), 200);
  }
}

TEST(RotatedText, PrintStaysInsideTheDeviceRect) {
  TKVZLabel l;
  l.SetFont(Arial(-20));
  l.SetCaption("abcde");
  l.SetEscapement(90);
  l.SetBounds(0, 0, 20, 50);
  RecordingCanvas canvas(192);  // the print font is -40: 100 by 40
  l.PrintTo(canvas, {300, 400, 340, 500});
  const auto out = canvas.Of("TextOut");
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].r.left, 300);
  EXPECT_EQ(out[0].r.top, 500);  // turned up from the bottom-left corner
  EXPECT_EQ(out[0].font.height, -40);
  EXPECT_EQ(l.Width(), 20);  // print never resizes
}

// ---------------------------------------------------------------------------
// Images

Picture BitmapPicture(int w, int h, TColor c) {
  Picture p;
  p.graphicClass = "TBitmap";
  p.bitmap = Bitmap(w, h, c);
  return p;
}

TEST(ImageDrawing, OnlyBitmapsAreDrawnOthersShowAPlaceholder) {
  Picture metafile;
  metafile.graphicClass = "TMetafile";
  metafile.data = {1, 2, 3};
  for (const Picture& p : {Picture{}, metafile}) {
    TKVZImage i;
    i.SetBounds(0, 0, 80, 60);
    i.SetPicture(p);
    RecordingCanvas screen;
    i.Paint(screen);
    ASSERT_EQ(screen.calls.size(), 1u);
    EXPECT_EQ(Describe(screen.calls[0]), "Rectangle(0,0,80,60)");
    EXPECT_EQ(screen.calls[0].pen.style, TPenStyle::psDashDot);
    EXPECT_EQ(screen.calls[0].pen.color, clBlack);
    EXPECT_EQ(screen.calls[0].brush.style, TBrushStyle::bsClear);
    RecordingCanvas print;
    i.PrintTo(print, {10, 10, 170, 130});
    EXPECT_EQ(Geometry(print), std::vector<std::string>{"Rectangle(10,10,170,130)"});
  }
}

TEST(ImageDrawing, StretchCenterOrTopLeftOnScreen) {
  struct Case {
    bool stretch, center;
    const char* expected;
  };
  const Case cases[] = {
      {true, true, "StretchDraw(0,0,100,100)"},
      {true, false, "StretchDraw(0,0,100,100)"},
      {false, true, "StretchDraw(40,45,60,55)"},
      {false, false, "StretchDraw(0,0,20,10)"},
  };
  for (const auto& c : cases) {
    TKVZImage i;
    i.SetPicture(BitmapPicture(20, 10, clRed));
    i.SetStretch(c.stretch);
    i.SetCenter(c.center);
    RecordingCanvas canvas;
    i.Paint(canvas);
    EXPECT_EQ(Geometry(canvas), std::vector<std::string>{c.expected});
  }
}

TEST(ImageDrawing, PrintWithoutStretchScalesAControlSizedCopy) {
  TKVZImage i;
  i.SetPicture(BitmapPicture(20, 10, clRed));
  i.SetStretch(false);
  RecordingCanvas canvas(192);
  i.PrintTo(canvas, {0, 0, 200, 200});
  ASSERT_EQ(canvas.calls.size(), 1u);
  EXPECT_EQ(Describe(canvas.calls[0]), "StretchDraw(0,0,200,200)");
  const Bitmap& b = canvas.calls[0].bitmap;
  ASSERT_EQ(b.width, 100);
  ASSERT_EQ(b.height, 100);
  EXPECT_EQ(b.Pixel(40, 45), clRed);
  EXPECT_EQ(b.Pixel(59, 54), clRed);
  EXPECT_EQ(b.Pixel(39, 45), clWhite);
  EXPECT_EQ(b.Pixel(60, 54), clWhite);
  EXPECT_EQ(b.Pixel(40, 55), clWhite);

  i.SetCenter(false);
  RecordingCanvas topLeft(192);
  i.PrintTo(topLeft, {0, 0, 200, 200});
  EXPECT_EQ(topLeft.calls[0].bitmap.Pixel(0, 0), clRed);
  EXPECT_EQ(topLeft.calls[0].bitmap.Pixel(20, 0), clWhite);

  i.SetStretch(true);
  RecordingCanvas stretched(192);
  i.PrintTo(stretched, {0, 0, 200, 200});
  EXPECT_EQ(stretched.calls[0].bitmap.width, 20);  // the picture itself
}

// ---------------------------------------------------------------------------
// Bands

TEST(BandPainting, FlatPanelAndRulerOnlyWhileDesigning) {
  TKVZBand b;
  b.SetBounds(0, 0, 120, 80);
  b.SetColor(clWhite);
  b.SetBandType(TKVZBandType::kvz_Detail);
  RecordingCanvas plain;
  b.Paint(plain);
  EXPECT_EQ(Geometry(plain), std::vector<std::string>{"FillRect(0,0,120,80)"});
  EXPECT_EQ(plain.calls[0].brush.color, clWhite);

  RecordingCanvas design;
  b.Paint(design, true);
  std::vector<std::string> lines, texts;
  for (const Call& c : design.Of("Line")) lines.push_back(Describe(c));
  for (const Call& c : design.Of("TextOut")) texts.push_back(c.text + "@" + std::to_string(c.r.left) + "," + std::to_string(c.r.top));
  // Every centimetre: 37, 75, 113 px.
  EXPECT_EQ(lines, (std::vector<std::string>{"Line(37,0,37,80)", "Line(75,0,75,80)", "Line(113,0,113,80)",
                                             "Line(0,37,120,37)", "Line(0,75,120,75)"}));
  EXPECT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[3], "Detail@0,10");
  EXPECT_EQ(design.Of("Line")[0].pen.color, clSilver);
}

TEST(BandPainting, RulerStepsByType) {
  struct Case {
    TKVZRulerType ruler;
    size_t vertical, horizontal;  // lines across 40 by 20 px
  };
  using enum TKVZRulerType;
  const Case cases[] = {
      {kvz_none, 0, 0},  {kvz_cmV, 1, 0},   {kvz_cmH, 0, 0},    {kvz_5mmV, 2, 0},
      {kvz_5mmHV, 2, 1}, {kvz_mmH, 0, 5},   {kvz_mmHV, 10, 5},  {kvz_5mmH, 0, 1},
  };
  for (const auto& c : cases) {
    TKVZBand b;
    b.SetBounds(0, 0, 40, 20);
    b.SetRuler(c.ruler);
    RecordingCanvas canvas;
    b.Paint(canvas, true);
    size_t v = 0, h = 0;
    for (const Call& l : canvas.Of("Line")) (l.r.left == l.r.right ? v : h)++;
    EXPECT_EQ(v, c.vertical) << static_cast<int>(c.ruler);
    EXPECT_EQ(h, c.horizontal) << static_cast<int>(c.ruler);
  }
}

TEST(BandPainting, PaintsVisibleControlsAtTheirPlace) {
  TKVZPage page;
  auto& band = page.Add<TKVZBand>("B");
  band.SetParent(&page);
  band.SetBounds(0, 0, 300, 200);
  auto& shape = page.Add<TKVZShape>("S");
  shape.SetParent(&band);
  shape.SetBounds(10, 20, 30, 40);
  auto& hidden = page.Add<TKVZLabel>("H");
  hidden.SetParent(&band);
  hidden.SetVisible(false);
  auto& label = page.Add<TKVZLabel>("L");
  label.SetParent(&band);
  label.SetBounds(50, 60, 70, 80);

  RecordingCanvas canvas;
  canvas.SetOrigin(5, 5);
  band.PaintWithControls(canvas);
  ASSERT_EQ(canvas.calls.size(), 3u);
  EXPECT_EQ(canvas.calls[0].op, "FillRect");
  EXPECT_EQ(canvas.calls[0].originX, 5);
  EXPECT_EQ(Describe(canvas.calls[1]), "Rectangle(0,0,30,40)");
  EXPECT_EQ(canvas.calls[1].originX, 15);
  EXPECT_EQ(canvas.calls[1].originY, 25);
  EXPECT_EQ(canvas.calls[2].op, "DrawText");
  EXPECT_EQ(canvas.calls[2].originX, 55);
  EXPECT_EQ(canvas.calls[2].originY, 65);
  EXPECT_EQ(canvas.OriginX(), 5);
}

}  // namespace
