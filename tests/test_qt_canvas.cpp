// The Qt canvas: a small page rendered as the print draws it, checked pixel
// by pixel.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>

#include "qt_canvas.hpp"
#include "report/model.hpp"

namespace {

using namespace solv;

bool Dark(QRgb c) { return qGray(c) < 128; }

int DarkPixels(const QImage& img, int left, int top, int right, int bottom) {
  int n = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) n += Dark(img.pixel(x, y));
  return n;
}

Font Arial(int height, unsigned style = 0) {
  Font f;
  f.height = height;
  f.style = style;
  f.color = clBlack;
  f.charset = EASTEUROPE_CHARSET;
  return f;
}

// A page with a label, a shaded area, a framed box, a one-pixel rule and a
// right-aligned money cell.
struct TinyPage : ::testing::Test {
  TKVZPage page{"TTiny"};

  void SetUp() override {
    page.SetName("Tiny");
    auto& band = page.Add<TKVZBand>("KVZBand1");
    band.SetParent(&page);
    band.SetBounds(0, 0, 794, 1121);
    band.SetBandType(TKVZBandType::kvz_Detail);
    page.Add<TKVZReport>("tiny").SetReportTitle("tiny");

    auto& label = page.Add<TKVZLabel>("Label1");
    label.SetParent(&band);
    label.SetBounds(20, 20, 200, 30);
    label.SetAutoSize(false);
    label.SetFont(Arial(-19, fsBold));
    label.SetCaption("ZEZNANIE");

    auto& shade = page.Add<TKVZShape>("Shape1");
    shade.SetParent(&band);
    shade.SetBounds(20, 100, 300, 40);
    shade.SetBrush({kFormShade, TBrushStyle::bsSolid});
    shade.SetPen({clBlack, 1, TPenStyle::psClear});

    auto& frame = page.Add<TKVZShape>("Shape2");
    frame.SetParent(&band);
    frame.SetBounds(400, 100, 50, 30);
    frame.SetBrush({clWhite, TBrushStyle::bsClear});

    auto& rule = page.Add<TKVZShape>("Shape3");
    rule.SetParent(&band);
    rule.SetBounds(500, 100, 1, 30);

    auto& cell = page.Add<TKVZField>("p39");
    cell.SetParent(&band);
    cell.SetBounds(20, 200, 200, 25);
    cell.SetAutoSize(false);
    cell.SetAlignment(TAlignment::taRightJustify);
    cell.SetFont(Arial(-16, fsBold));
    cell.SetNoValue("0,00");
    cell.AddValue("1234,56");
  }
};

TEST_F(TinyPage, RendersShadeTextAndFramesAtScaleOne) {
  const QImage img = RenderPageToImage(page, 1.0);
  ASSERT_EQ(img.width(), 793);
  ASSERT_EQ(img.height(), 1122);

  // The form shade 14145495 is 0xD7D7D7.
  EXPECT_EQ(QColor(img.pixel(170, 120)), QColor(215, 215, 215));
  EXPECT_EQ(QColor(img.pixel(21, 101)), QColor(215, 215, 215));
  EXPECT_EQ(QColor(img.pixel(700, 1000)), QColor(Qt::white));

  // The label's text is dark somewhere inside its rectangle and nowhere below it.
  EXPECT_GT(DarkPixels(img, 20, 20, 220, 50), 40);
  EXPECT_EQ(DarkPixels(img, 20, 50, 220, 95), 0);

  // The cell is right-aligned: ink at its right end, none at its left.
  EXPECT_GT(DarkPixels(img, 150, 200, 220, 225), 20);
  EXPECT_EQ(DarkPixels(img, 20, 200, 100, 225), 0);

  // A framed box covers left..right-1 and top..bottom-1.
  EXPECT_TRUE(Dark(img.pixel(400, 110)));
  EXPECT_TRUE(Dark(img.pixel(449, 110)));
  EXPECT_FALSE(Dark(img.pixel(450, 110)));
  EXPECT_TRUE(Dark(img.pixel(425, 100)));
  EXPECT_TRUE(Dark(img.pixel(425, 129)));
  EXPECT_FALSE(Dark(img.pixel(425, 130)));
  EXPECT_FALSE(Dark(img.pixel(425, 115)));  // clear brush

  // A one-pixel-wide shape is a vertical line without its end point.
  EXPECT_TRUE(Dark(img.pixel(500, 100)));
  EXPECT_TRUE(Dark(img.pixel(500, 129)));
  EXPECT_FALSE(Dark(img.pixel(500, 130)));
  EXPECT_FALSE(Dark(img.pixel(501, 115)));
}

TEST_F(TinyPage, ScalesGeometryAndFontsWithTheImage) {
  const QImage img = RenderPageToImage(page, 2.0);
  ASSERT_EQ(img.width(), 1587);
  ASSERT_EQ(img.height(), 2245);
  // The shade spans 40..638 (no pen: one pixel short of 640).
  EXPECT_EQ(QColor(img.pixel(600, 240)), QColor(215, 215, 215));
  EXPECT_EQ(QColor(img.pixel(39, 240)), QColor(Qt::white));
  EXPECT_TRUE(Dark(img.pixel(800, 220)));  // the frame's left edge
  EXPECT_GT(DarkPixels(img, 40, 40, 440, 100), 160);
  EXPECT_GT(DarkPixels(img, 300, 400, 440, 450), 80);  // the cell's value at its right end
  EXPECT_EQ(DarkPixels(img, 40, 400, 200, 450), 0);
}

// A field without values prints its NoValue, never its (wider) caption.
TEST_F(TinyPage, FieldsPrintTheirValuesNotTheirCaption) {
  auto* cell = page.Find<TKVZField>("p39");
  cell->ClearValues();
  cell->SetCaption("88888888888888");
  const QImage img = RenderPageToImage(page, 1.0);
  EXPECT_GT(DarkPixels(img, 180, 200, 220, 225), 10);
  EXPECT_EQ(DarkPixels(img, 20, 200, 170, 225), 0);
}

TEST(QtCanvas, UsesTheMetricCompatibleFacesAndMeasures) {
  EXPECT_EQ(QtCanvas::FontFamily("Arial"), "Liberation Sans");
  EXPECT_EQ(QtCanvas::FontFamily("Times New Roman"), "Liberation Serif");
  EXPECT_EQ(QFontInfo(QtCanvas::ToQFont(Arial(-16))).family(), "Liberation Sans");
  EXPECT_EQ(QtCanvas::ToQFont(Arial(-16)).pixelSize(), 16);
  EXPECT_TRUE(QtCanvas::ToQFont(Arial(-16, fsBold)).bold());

  QImage img(200, 100, QImage::Format_RGB32);
  QPainter painter(&img);
  QtCanvas canvas(painter);
  canvas.SetFont(Arial(-16));
  const Rect one = canvas.MeasureText("abc", {10, 20, 500, 30}, 0);
  EXPECT_EQ(one.left, 10);
  EXPECT_EQ(one.top, 20);
  EXPECT_GT(one.Width(), 15);
  EXPECT_LT(one.Width(), 40);
  EXPECT_GE(one.Height(), 16);
  const Rect two = canvas.MeasureText("abc abc abc", {10, 20, 40, 30}, tfWordBreak);
  EXPECT_GE(two.Height(), 3 * one.Height());
  EXPECT_LE(two.Width(), 40);
  const Size ext = canvas.TextExtent("abc");
  EXPECT_EQ(ext.cx, one.Width());
  EXPECT_EQ(ext.cy, one.Height());
}

TEST(QtCanvas, ResolvesSystemColoursAndDrawsBitmaps) {
  EXPECT_EQ(QtCanvas::ToQColor(clWindow), QColor(Qt::white));
  EXPECT_EQ(QtCanvas::ToQColor(clWindowText), QColor(Qt::black));
  EXPECT_EQ(QtCanvas::ToQColor(clNavy), QColor(0, 0, 128));

  Bitmap bmp(2, 1, clRed);
  bmp.SetPixel(1, 0, clGreen);
  QImage img(40, 10, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    QPainter painter(&img);
    QtCanvas canvas(painter);
    canvas.SetOrigin(10, 0);
    canvas.StretchDraw({0, 0, 20, 10}, bmp);
  }
  EXPECT_EQ(QColor(img.pixel(9, 5)), QColor(Qt::white));
  EXPECT_EQ(QColor(img.pixel(12, 5)), QColor(255, 0, 0));
  EXPECT_EQ(QColor(img.pixel(27, 5)), QColor(0, 128, 0));
  EXPECT_EQ(QColor(img.pixel(31, 5)), QColor(Qt::white));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
