// The band layout run over the printer object: pages, band order, repeated
// detail records, shading, clipping, page breaks, margins and scaling, and
// the page list.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "report/layout.hpp"
#include "report/page_list.hpp"
#include "report/printer.hpp"

namespace {

using namespace solv;

// A report page whose bands and controls the test builds.
struct ReportPage {
  TKVZPage page{"TTest"};
  TKVZReport* report = nullptr;

  ReportPage() {
    page.SetName("Test");
    report = &page.Add<TKVZReport>("KVZReport1");
  }

  TKVZBand& AddBand(TKVZBandType type, int top, int height, int width = 700) {
    auto& b = page.Add<TKVZBand>();
    b.SetParent(&page);
    b.SetBandType(type);
    b.SetBounds(0, top, width, height);
    return b;
  }

  TKVZField& AddField(TKVZBand& band, std::vector<std::string> values, int left = 10, int top = 2) {
    auto& f = page.Add<TKVZField>();
    f.SetParent(&band);
    f.SetBounds(left, top, 100, 14);
    for (const auto& v : values) f.AddValue(v);
    return f;
  }

  TKVZShape& AddShape(TKVZBand& band, int left, int top, int width, int height) {
    auto& s = page.Add<TKVZShape>();
    s.SetParent(&band);
    s.SetBounds(left, top, width, height);
    return s;
  }
};

const std::vector<RecordedCall>& CallsOf(const TPages& pages, int i) {
  return static_cast<RecordedPage*>(pages.Items(i))->Calls();
}

std::vector<RecordedCall> Texts(const std::vector<RecordedCall>& calls) {
  std::vector<RecordedCall> out;
  for (const auto& c : calls)
    if (c.kind == RecordedCall::DrawText) out.push_back(c);
  return out;
}

int CountKind(const std::vector<RecordedCall>& calls, RecordedCall::Kind k) {
  int n = 0;
  for (const auto& c : calls) n += c.kind == k;
  return n;
}

struct Layout : ::testing::Test {
  TKVZPrinter printer;
  TPages pages;
  ReportPage rp;

  void Prepare(ReportPage& r, PrepareMode mode = PrepareMode::Only) { PrepareReport(*r.report, pages, mode, printer); }
};

TEST_F(Layout, MetafilePageIsA4At96DpiAndLandscapeSwaps) {
  EXPECT_TRUE(printer.MetafileMode());
  EXPECT_EQ(printer.PageWidth(), 793);
  EXPECT_EQ(printer.PageHeight(), 1122);
  printer.SetOrientation(TPrinterOrientation::poLandscape);
  EXPECT_EQ(printer.PageWidth(), 1122);
  EXPECT_EQ(printer.PageHeight(), 793);
}

TEST_F(Layout, ReportWithoutBandsGivesNoPage) {
  Prepare(rp);
  EXPECT_EQ(pages.Count(), 0);
}

TEST_F(Layout, FormPageGivesOneClosedPageWithEveryControlOnce) {
  auto& band = rp.AddBand(TKVZBandType::kvz_Detail, 0, 1164, 817);
  rp.AddField(band, {"12,00"}, 10, 1000);
  rp.AddField(band, {""}, 10, 1050);
  Prepare(rp);
  ASSERT_EQ(pages.Count(), 1);
  EXPECT_TRUE(pages.Items(0)->Closed());
  const auto texts = Texts(CallsOf(pages, 0));
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "12,00");
  EXPECT_EQ(texts[0].rect.top, 1000);
  EXPECT_EQ(texts[1].text, "");  // an empty screen text, not NoValue
}

TEST_F(Layout, EqualTopKeepsCreationOrder) {
  auto& a = rp.AddBand(TKVZBandType::kvz_Title, 10, 20);
  auto& b = rp.AddBand(TKVZBandType::kvz_Title, 0, 20);
  auto& c = rp.AddBand(TKVZBandType::kvz_Title, 10, 20);
  EXPECT_EQ(OrderedBands(rp.page), (std::vector<TKVZBand*>{&b, &a, &c}));
  rp.AddField(a, {"a"});
  rp.AddField(b, {"b"});
  rp.AddField(c, {"c"});
  Prepare(rp);
  const auto texts = Texts(CallsOf(pages, 0));
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, "b");
  EXPECT_EQ(texts[1].text, "a");
  EXPECT_EQ(texts[2].text, "c");
}

TEST_F(Layout, DetailBandPrintsOncePerRecordAndResizesAfterTheFirst) {
  auto& band = rp.AddBand(TKVZBandType::kvz_Detail, 0, 20);
  band.SetSecondBandResize(10);
  rp.AddField(band, {"x", "y", "z"}, 10, 0);
  Prepare(rp);
  const auto texts = Texts(CallsOf(pages, 0));
  ASSERT_EQ(texts.size(), 3u);
  // Tops: 0; after a 20 px band 21; after a 30 px band 52.
  const std::vector<std::pair<std::string, int>> want = {{"x", 0}, {"y", 21}, {"z", 52}};
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(texts[i].text, want[i].first);
    EXPECT_EQ(texts[i].rect.top, want[i].second);
  }
  EXPECT_EQ(band.Height(), 30);
  EXPECT_EQ(band.SecondBandResize(), 0);
}

TEST_F(Layout, AltColorShadesEverySecondPrinting) {
  auto& band = rp.AddBand(TKVZBandType::kvz_Detail, 0, 20);
  band.SetAltColor(true);
  band.SetColor(clSilver);
  rp.AddField(band, {"1", "2", "3"});
  Prepare(rp);
  std::vector<RecordedCall> fills;
  for (const auto& c : CallsOf(pages, 0))
    if (c.kind == RecordedCall::FillRect) fills.push_back(c);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect, (Rect{0, 21, 700, 41}));
  EXPECT_EQ(fills[0].brush.color, clSilver);
}

TEST_F(Layout, ClipModes) {
  struct Case {
    TClipMode mode;
    int printed;          // shapes drawn
    Rect partial;         // the shape that sticks out below the band
    int nextTop;          // where the next band starts
  };
  const Case cases[] = {
      {TClipMode::cm_Clip, 1, {10, 10, 50, 20}, 21},
      {TClipMode::cm_Overwrite, 2, {10, 10, 50, 40}, 21},
      {TClipMode::cm_Expand, 2, {10, 10, 50, 40}, 101},
  };
  for (const auto& c : cases) {
    ReportPage r;
    auto& band = r.AddBand(TKVZBandType::kvz_Title, 0, 20);
    band.SetClipMode(c.mode);
    r.AddShape(band, 10, 10, 40, 30);   // partly outside
    r.AddShape(band, 10, 60, 40, 40);   // wholly outside
    auto& next = r.AddBand(TKVZBandType::kvz_Title, 30, 20);
    r.AddField(next, {"n"}, 0, 0);
    TPages p;
    PrepareReport(*r.report, p, PrepareMode::Only, printer);
    const auto& calls = CallsOf(p, 0);
    SCOPED_TRACE(static_cast<int>(c.mode));
    EXPECT_EQ(CountKind(calls, RecordedCall::Rectangle), c.printed);
    for (const auto& call : calls)
      if (call.kind == RecordedCall::Rectangle) {
        EXPECT_EQ(call.rect, c.partial);
        break;
      }
    ASSERT_EQ(Texts(calls).size(), 1u);
    EXPECT_EQ(Texts(calls)[0].rect.top, c.nextTop);
  }
}

TEST_F(Layout, PageBreakRepeatsHeaderAndPutsFooterOnceOnEveryPage) {
  rp.AddField(rp.AddBand(TKVZBandType::kvz_PageHeader, 0, 50), {"head"}, 0, 0);
  rp.AddField(rp.AddBand(TKVZBandType::kvz_PageFooter, 1000, 100), {"foot"}, 0, 0);
  rp.AddField(rp.AddBand(TKVZBandType::kvz_Detail, 100, 500), {"d1"}, 0, 0);
  rp.AddField(rp.AddBand(TKVZBandType::kvz_Detail, 200, 500), {"d2"}, 0, 0);
  Prepare(rp);
  ASSERT_EQ(pages.Count(), 2);
  // Page bottom 1122 - 100: the second detail (552 + 500) does not fit.
  const std::vector<std::vector<std::pair<std::string, int>>> want = {
      {{"head", 0}, {"d1", 51}, {"foot", 1022}},
      {{"head", 0}, {"d2", 51}, {"foot", 1022}},
  };
  for (int i = 0; i < 2; ++i) {
    const auto texts = Texts(CallsOf(pages, i));
    ASSERT_EQ(texts.size(), want[i].size()) << i;
    for (size_t k = 0; k < texts.size(); ++k) {
      EXPECT_EQ(texts[k].text, want[i][k].first);
      EXPECT_EQ(texts[k].rect.top, want[i][k].second);
    }
  }
}

TEST_F(Layout, DetailHeaderAndFooterFollowTheirDetailAndNewPageBandBreaks) {
  rp.AddField(rp.AddBand(TKVZBandType::kvz_DetailHeader, 0, 20), {"dh"}, 0, 0);
  rp.AddField(rp.AddBand(TKVZBandType::kvz_Detail, 10, 20), {"d1", "d2"}, 0, 0);
  rp.AddField(rp.AddBand(TKVZBandType::kvz_DetailFooter, 20, 20), {"df"}, 0, 0);
  rp.AddBand(TKVZBandType::kvz_NewPage, 30, 20);
  rp.AddField(rp.AddBand(TKVZBandType::kvz_Detail, 40, 20), {"other"}, 0, 0);
  Prepare(rp);
  ASSERT_EQ(pages.Count(), 2);
  std::vector<std::string> first, second;
  for (const auto& t : Texts(CallsOf(pages, 0))) first.push_back(t.text);
  for (const auto& t : Texts(CallsOf(pages, 1))) second.push_back(t.text);
  EXPECT_EQ(first, (std::vector<std::string>{"dh", "d1", "d2", "df"}));
  EXPECT_EQ(second, (std::vector<std::string>{"other"}));
}

TEST_F(Layout, DetailLinkPrintsGroupHeaderOnEachNewValue) {
  auto& detail = rp.AddBand(TKVZBandType::kvz_Detail, 0, 20);
  auto& key = rp.AddField(detail, {"A", "A", "B"}, 0, 0);
  auto& header = rp.AddBand(TKVZBandType::kvz_GroupHeader, 50, 20);
  rp.AddField(header, {"group"}, 0, 0);
  auto& link = rp.page.Add<TKVZDetailLink>("Link1");
  link.SetGroupBand(&detail);
  link.SetGroupHeader(&header);
  link.SetDataSource(&key);
  Prepare(rp);
  std::vector<std::string> texts;
  for (const auto& t : Texts(CallsOf(pages, 0))) texts.push_back(t.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"group", "A", "A", "group", "B"}));
}

TEST_F(Layout, PrepareModesCollectSeveralReportsInOneList) {
  ReportPage r[3];
  for (auto& x : r) x.AddField(x.AddBand(TKVZBandType::kvz_Detail, 0, 1121, 817), {"v"});
  Prepare(r[0], PrepareMode::First);
  Prepare(r[1], PrepareMode::Middle);
  Prepare(r[2], PrepareMode::Last);
  ASSERT_EQ(pages.Count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(pages.Items(i)->Closed());
    EXPECT_EQ(Texts(CallsOf(pages, i)).size(), 1u);
  }
  Prepare(r[0], PrepareMode::Only);
  EXPECT_EQ(pages.Count(), 1);
  EXPECT_EQ(pages.Items(1), nullptr);
}

// A printer at 600 dpi whose printable area starts 50 px right and 60 px
// down on the paper.
struct FakePrinter : PrinterDevice {
  CallRecordingCanvas canvas;
  std::vector<std::string> log;
  int pages = 0;
  void BeginDoc() override { log.push_back("begin"); pages = 1; }
  void NewPage() override { log.push_back("page"); ++pages; }
  void EndDoc() override { log.push_back("end"); }
  Canvas& GetCanvas() override { return canvas; }
  int PageNumber() const override { return pages; }
  void SetOrientation(TPrinterOrientation) override { log.push_back("orientation"); }
  void SetTitle(const std::string& t) override { log.push_back("title " + t); }
  int ResolutionX() const override { return 600; }
  int ResolutionY() const override { return 600; }
  int OffsetX() const override { return 50; }
  int OffsetY() const override { return 60; }
  int PageWidth() const override { return 4960; }
  int PageHeight() const override { return 7016; }
};

TEST_F(Layout, PrintScalesToTheDeviceAndAppliesMargins) {
  FakePrinter device;
  printer.SetDevice(&device);
  rp.report->SetReportTitle("PIT-37");
  rp.report->SetLeftMarginMM(10);
  rp.report->SetTopMarginMM(20);
  rp.report->SetRightMarginMM(5);
  auto& band = rp.AddBand(TKVZBandType::kvz_Title, 0, 100, 500);
  band.SetLeft(10);
  band.SetClipMode(TClipMode::cm_Overwrite);
  rp.AddShape(band, 20, 30, 40, 10);
  auto& second = rp.AddBand(TKVZBandType::kvz_Title, 200, 10, 500);
  rp.AddShape(second, 0, 0, 8, 8);
  PrintReport(*rp.report, printer);

  EXPECT_FALSE(printer.MetafileMode());
  EXPECT_DOUBLE_EQ(printer.ScaleX(), 6.25);
  // 600 / 25.4 * mm + 0.5, less the offset on the left and the top.
  const ReportMargins m = MarginsOf(*rp.report, printer);
  EXPECT_EQ(m.left, 187);   // 236.72 - 50
  EXPECT_EQ(m.top, 413);    // 472.94 - 60
  EXPECT_EQ(m.right, 119);  // 118.61
  EXPECT_EQ(device.log, (std::vector<std::string>{"orientation", "title PIT-37", "begin", "end"}));
  std::vector<Rect> rects;
  for (const auto& c : device.canvas.calls)
    if (c.kind == RecordedCall::Rectangle) rects.push_back(c.rect);
  ASSERT_EQ(rects.size(), 2u);
  // Band left 62 + 187, top at the top margin; the control scaled by 6.25.
  EXPECT_EQ(rects[0], (Rect{249 + 125, 413 + 187, 249 + 375, 413 + 250}));
  // The next band follows the first band's 625 px.
  EXPECT_EQ(rects[1], (Rect{187, 413 + 625 + 1, 187 + 50, 413 + 626 + 50}));
}

// Several reports print as one job, each starting a page, the copies one
// after the other; each report's fields print their values every time.
TEST_F(Layout, PrintReportsIsOneJobWithAPagePerReport) {
  ReportPage pages[3];
  std::vector<TKVZReport*> reports;
  for (int i = 0; i < 3; ++i) {
    auto& band = pages[i].AddBand(TKVZBandType::kvz_Detail, 0, 1121);
    pages[i].AddField(band, {"strona " + std::to_string(i + 1)});
    pages[i].report->SetReportTitle("pit37" + std::string(1, static_cast<char>('a' + i)));
    reports.push_back(pages[i].report);
  }
  const struct {
    int copies;
    int pages;
  } cases[] = {{1, 3}, {2, 6}, {0, 3}};
  for (const auto& c : cases) {
    FakePrinter device;
    printer.SetDevice(&device);
    PrintReports(reports, "Formularz PIT-37", c.copies, printer);
    EXPECT_EQ(std::count(device.log.begin(), device.log.end(), "begin"), 1) << c.copies;
    EXPECT_EQ(std::count(device.log.begin(), device.log.end(), "end"), 1) << c.copies;
    EXPECT_EQ(std::count(device.log.begin(), device.log.end(), "page"), c.pages - 1) << c.copies;
    EXPECT_EQ(device.log.front(), "orientation");
    EXPECT_EQ(device.log[1], "title Formularz PIT-37");
    EXPECT_EQ(device.log.back(), "end");
    const std::vector<RecordedCall> texts = Texts(device.canvas.calls);
    ASSERT_EQ(static_cast<int>(texts.size()), c.pages) << c.copies;
    for (int i = 0; i < c.pages; ++i) EXPECT_EQ(texts[static_cast<size_t>(i)].text, "strona " + std::to_string(i % 3 + 1));
  }
  FakePrinter none;
  printer.SetDevice(&none);
  PrintReports({}, "nic", 1, printer);
  EXPECT_TRUE(none.log.empty());
}

TEST_F(Layout, MarginsOfZeroOrLessStartAtTheOrigin) {
  FakePrinter device;
  printer.SetDevice(&device);
  printer.SetMetafileMode(false);
  printer.UpdateMetrics();
  EXPECT_EQ(MarginsOf(*rp.report, printer).left, 0);
  EXPECT_EQ(MarginsOf(*rp.report, printer).top, 0);
  EXPECT_EQ(MarginsOf(*rp.report, printer).right, 0);
}

TEST_F(Layout, CanvasWithoutAPrinterFails) {
  printer.SetMetafileMode(false);
  try {
    printer.GetCanvas();
    FAIL();
  } catch (const PrinterError& e) {
    EXPECT_STREQ(e.what(), "KVZPrinter could not assign the Canvas");
  }
  printer.SetMetafileMode(true);
  printer.SetRecorder([](int, int) { return std::unique_ptr<TDrawMetaFile>(); });
  EXPECT_THROW(printer.GetCanvas(), PrinterError);
}

TEST_F(Layout, FieldOperationsActOnTheReportsPage) {
  auto& band = rp.AddBand(TKVZBandType::kvz_Detail, 0, 20);
  auto& f = rp.AddField(band, {});
  f.SetName("P45");
  f.SetTransparent(false);
  AddValue(*rp.report, "p45", "7");
  AddValue(*rp.report, "P46", "8");
  EXPECT_EQ(f.Values(), (std::vector<std::string>{"7"}));
  SetFieldsTransparent(*rp.report, true);
  EXPECT_TRUE(f.Transparent());
}

TEST(PageList, CursorAppendsOneRecordPerCopy) {
  TLista_Stron list;
  TKVZReport a, b;
  EXPECT_EQ(list.Items(0), nullptr);
  list.Current().report = &a;
  EXPECT_EQ(&list.Current(), list.Items(0));  // the cursor stays
  list.ResetCursor();
  list.Current().report = &b;
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(1)->report, &b);
  EXPECT_EQ(list.Items(2), nullptr);
  EXPECT_EQ(list.Items(-1), nullptr);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(a.ReportTitle(), "");  // the reports are not freed
  list.Current();
  EXPECT_EQ(list.Count(), 1);
}

}  // namespace
