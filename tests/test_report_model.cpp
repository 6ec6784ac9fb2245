// The report page model: properties and their rules, owners and parents,
// field values and print texts, system fields, detail links.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/model.hpp"

namespace {

using namespace solv;

// A page with one band, as every form page has.
struct PageFixture : ::testing::Test {
  TKVZPage page{"TPIT37b"};
  TKVZBand* band = nullptr;

  void SetUp() override {
    page.SetName("PIT37b");
    band = &page.Add<TKVZBand>("KVZBand1");
    band->SetParent(&page);
  }

  TKVZField& AddField(const std::string& name, std::vector<std::string> values = {}, std::string noValue = "0,00") {
    auto& f = page.Add<TKVZField>(name);
    f.SetParent(band);
    f.SetNoValue(noValue);
    for (const auto& v : values) f.AddValue(v);
    return f;
  }
};

// A fixed clock for the system fields, reset after each test.
struct FixedClock {
  explicit FixedClock(LocalDateTime t) {
    SetReportClock([t] { return t; });
  }
  ~FixedClock() { SetReportClock({}); }
};

TEST(Escapement, IsBroughtIntoZeroTo360) {
  const struct {
    int in, out;
  } cases[] = {{-30, 330}, {725, 5}, {360, 360}, {0, 0}, {90, 90}, {361, 1}, {720, 360},
               {-360, 0},  {-361, 359}, {-720, 0}, {-1, 359}};
  for (const auto& c : cases) {
    TKVZLabel l;
    l.SetEscapement(c.in);
    EXPECT_EQ(l.Escapement(), c.out) << c.in;
    EXPECT_EQ(NormalizeEscapement(c.in), c.out) << c.in;
  }
}

TEST(Report, IgnoresMarginsOffThePortraitPaper) {
  struct Case {
    TPapersize paper;
    TPrinterOrientation orientation;
    int left, right, top;     // values set, in order, after 5 mm each
    int eLeft, eRight, eTop;  // what the report then holds
  };
  using enum TPapersize;
  const Case cases[] = {
      {kvz_A4, TPrinterOrientation::poPortrait, 10, 0, 20, 10, 0, 20},
      {kvz_A4, TPrinterOrientation::poPortrait, -1, -7, -1, 5, 5, 5},
      {kvz_A4, TPrinterOrientation::poPortrait, 210, 209, 297, 5, 209, 5},
      {kvz_A4, TPrinterOrientation::poPortrait, 209, 210, 296, 209, 5, 296},
      // Landscape still measures against the portrait width and height.
      {kvz_A4, TPrinterOrientation::poLandscape, 250, 0, 250, 5, 0, 250},
      {kvz_A5, TPrinterOrientation::poPortrait, 148, 147, 210, 5, 147, 5},
      {kvz_Legal, TPrinterOrientation::poPortrait, 214, 215, 354, 214, 5, 354},
      {kvz_Letter, TPrinterOrientation::poPortrait, 214, 215, 279, 214, 5, 5},
  };
  for (const auto& c : cases) {
    TKVZReport r;
    r.SetPapersize(c.paper);
    r.SetOrientation(c.orientation);
    r.SetLeftMarginMM(5);
    r.SetRightMarginMM(5);
    r.SetTopMarginMM(5);
    r.SetLeftMarginMM(c.left);
    r.SetRightMarginMM(c.right);
    r.SetTopMarginMM(c.top);
    EXPECT_EQ(r.LeftMarginMM(), c.eLeft) << static_cast<int>(c.paper) << " " << c.left;
    EXPECT_EQ(r.RightMarginMM(), c.eRight) << static_cast<int>(c.paper) << " " << c.right;
    EXPECT_EQ(r.TopMarginMM(), c.eTop) << static_cast<int>(c.paper) << " " << c.top;
  }
}

TEST(Report, StartsAsTheFormPagesUseItAndTellsThePrinter) {
  TKVZReport r;
  EXPECT_EQ(r.Orientation(), TPrinterOrientation::poPortrait);
  EXPECT_EQ(r.Papersize(), TPapersize::kvz_A4);
  EXPECT_EQ(r.LeftMarginMM(), 0);
  EXPECT_EQ(r.RightMarginMM(), 0);
  EXPECT_EQ(r.TopMarginMM(), 0);

  std::vector<std::string> told;
  SetReportPrinterHook({[&](TPrinterOrientation o) { told.push_back("o" + std::to_string(static_cast<int>(o))); },
                        [&](TPapersize p) { told.push_back("p" + std::to_string(static_cast<int>(p))); }});
  r.SetOrientation(TPrinterOrientation::poLandscape);
  r.SetPapersize(TPapersize::kvz_Letter);
  SetReportPrinterHook({});
  EXPECT_EQ(told, (std::vector<std::string>{"o1", "p3"}));
}

TEST(PaperSizes, AreInMillimetres) {
  EXPECT_EQ(PaperSize(TPapersize::kvz_A4).width, 210);
  EXPECT_EQ(PaperSize(TPapersize::kvz_A4).height, 297);
  EXPECT_EQ(PaperSize(TPapersize::kvz_A5).width, 148);
  EXPECT_EQ(PaperSize(TPapersize::kvz_A5).height, 210);
  EXPECT_EQ(PaperSize(TPapersize::kvz_Legal).width, 215);
  EXPECT_EQ(PaperSize(TPapersize::kvz_Legal).height, 355);
  EXPECT_EQ(PaperSize(TPapersize::kvz_Letter).width, 215);
  EXPECT_EQ(PaperSize(TPapersize::kvz_Letter).height, 279);
}

TEST(Components, StartWithTheirInitialValues) {
  TKVZLabel l;
  EXPECT_TRUE(l.AutoSize());
  EXPECT_TRUE(l.Transparent());
  EXPECT_FALSE(l.WordWrap());
  EXPECT_EQ(l.Color(), clWindow);
  EXPECT_EQ(l.Alignment(), TAlignment::taLeftJustify);
  EXPECT_EQ(l.Layout(), TTextLayout::tlTop);
  EXPECT_TRUE(l.Visible());

  TKVZShape s;
  EXPECT_EQ(s.Width(), 65);
  EXPECT_EQ(s.Height(), 65);
  EXPECT_EQ(s.Shape(), TKVZShapeType::stRectangle);

  TKVZImage i;
  EXPECT_EQ(i.Width(), 100);
  EXPECT_EQ(i.Height(), 100);
  EXPECT_TRUE(i.Center());
  EXPECT_TRUE(i.Stretch());
  EXPECT_FALSE(i.Autosize());

  TKVZSysField sf;
  EXPECT_TRUE(sf.AutoSize());
  EXPECT_TRUE(sf.Transparent());
  EXPECT_EQ(sf.Color(), clWhite);
  EXPECT_EQ(sf.DataType(), TKVZSysDataType::kvz_Time);
  EXPECT_EQ(sf.Caption(), "#hh:mm:ss#");

  TKVZBand b;
  EXPECT_EQ(b.BandType(), TKVZBandType::kvz_Title);
  EXPECT_EQ(b.Ruler(), TKVZRulerType::kvz_cmHV);
  EXPECT_EQ(b.ClipMode(), TClipMode::cm_Clip);
  EXPECT_EQ(b.Align(), TAlign::alTop);
  EXPECT_EQ(b.Color(), clWhite);
  EXPECT_FALSE(b.AltShade());
}

// ---------------------------------------------------------------------------
// Owners and parents

TEST_F(PageFixture, ControlsGoOnlyOnBandsAndBandsOnlyOnPages) {
  auto& label = page.Add<TKVZLabel>("Label1");
  label.SetParent(band);
  auto& other = page.Add<TKVZLabel>("Label2");

  try {
    label.SetParent(&page);
    FAIL() << "a control went on a page";
  } catch (const ReportComponentError& e) {
    EXPECT_STREQ(e.what(), "This component must be placed on a TKVZBand.");
  }
  EXPECT_EQ(label.Parent(), band);
  EXPECT_THROW(label.SetParent(&other), ReportComponentError);
  EXPECT_EQ(label.Parent(), band);
  EXPECT_THROW(label.SetParent(&page.Add<TKVZReport>("rep")), ReportComponentError);

  auto& second = page.Add<TKVZBand>("KVZBand2");
  try {
    second.SetParent(band);
    FAIL() << "a band went on a band";
  } catch (const ReportComponentError& e) {
    EXPECT_STREQ(e.what(), "This component must be placed on a TForm.");
  }
  EXPECT_EQ(second.Parent(), nullptr);
  EXPECT_THROW(second.SetParent(&label), ReportComponentError);
  second.SetParent(&page);
  EXPECT_EQ(page.Bands(), (std::vector<TKVZBand*>{band, &second}));

  // Moving keeps child order on both bands.
  auto& third = page.Add<TKVZLabel>("Label3");
  third.SetParent(band);
  label.SetParent(&second);
  EXPECT_EQ(band->ControlList(), (std::vector<TKVZControl*>{&third}));
  EXPECT_EQ(second.ControlList(), (std::vector<TKVZControl*>{&label}));
  label.SetParent(nullptr);
  EXPECT_EQ(second.ControlCount(), 0);
}

TEST_F(PageFixture, NamesAreUniqueIgnoringCaseAndFoundSo) {
  auto& f = AddField("p39");
  EXPECT_EQ(page.FindComponent("P39"), &f);
  EXPECT_EQ(page.Find<TKVZField>("p39"), &f);
  EXPECT_EQ(page.Find<TKVZBand>("p39"), nullptr);
  EXPECT_EQ(page.FindComponent(""), nullptr);
  EXPECT_EQ(page.FindComponent("p40"), nullptr);

  EXPECT_THROW(page.Add<TKVZLabel>("P39"), ReportComponentError);
  auto& g = AddField("p40");
  EXPECT_THROW(g.SetName("P39"), ReportComponentError);
  EXPECT_EQ(g.Name(), "p40");
  EXPECT_THROW(g.SetName("39p"), ReportComponentError);
  EXPECT_THROW(g.SetName("p 40"), ReportComponentError);
  g.SetName("p40a");
  EXPECT_EQ(page.FindComponent("P40A"), &g);
  // Unnamed components do not clash.
  page.Add<TKVZLabel>();
  page.Add<TKVZLabel>();
}

TEST_F(PageFixture, RemovingAComponentDropsEveryReferenceToIt) {
  auto& f = AddField("p1");
  auto& header = page.Add<TKVZBand>("Header");
  header.SetParent(&page);
  auto& link = page.Add<TKVZDetailLink>("Link");
  link.SetGroupBand(band);
  link.SetGroupHeader(&header);
  link.SetDataSource(&f);
  EXPECT_EQ(band->DetailLink(), &link);

  auto gone = page.RemoveComponent(header);
  EXPECT_EQ(link.GroupHeader(), nullptr);
  EXPECT_EQ(page.Bands(), (std::vector<TKVZBand*>{band}));
  auto goneField = page.RemoveComponent(f);
  EXPECT_EQ(link.DataSource(), nullptr);
  EXPECT_EQ(band->ControlCount(), 0);
  EXPECT_EQ(page.FindComponent("p1"), nullptr);
  auto goneLink = page.RemoveComponent(link);
  EXPECT_EQ(band->DetailLink(), nullptr);
  EXPECT_EQ(goneLink->Owner(), nullptr);
}

TEST_F(PageFixture, ReportIsTheLastOneAndBandTheFirst) {
  EXPECT_EQ(page.Report(), nullptr);
  auto& r1 = page.Add<TKVZReport>("r1");
  auto& r2 = page.Add<TKVZReport>("r2");
  EXPECT_EQ(page.Report(), &r2);
  (void)r1;
  EXPECT_EQ(page.Band(), band);
}

TEST_F(PageFixture, ControlsTakeTheBandFontUntilGivenTheirOwn) {
  Font bandFont;
  bandFont.height = -11;
  bandFont.charset = EASTEUROPE_CHARSET;
  band->SetFont(bandFont);
  auto& l = page.Add<TKVZLabel>("L");
  l.SetParent(band);
  EXPECT_TRUE(l.ParentFont());
  EXPECT_EQ(l.GetFont(), bandFont);

  Font own = bandFont;
  own.height = -16;
  own.style = fsBold;
  l.SetFont(own);
  EXPECT_FALSE(l.ParentFont());
  EXPECT_EQ(l.GetFont(), own);
  l.SetParentFont(true);
  EXPECT_EQ(l.GetFont(), bandFont);

  page.font.name = "Times New Roman";
  band->SetParentFont(true);
  EXPECT_EQ(l.GetFont().name, "Times New Roman");
}

TEST_F(PageFixture, ChangesAskForARepaintOnlyWhenSomethingChanged) {
  std::vector<std::string> repainted;
  page.onInvalidate = [&](TKVZComponent& c) { repainted.push_back(c.Name()); };
  auto& l = page.Add<TKVZLabel>("L");
  l.SetEscapement(30);
  l.SetEscapement(390);  // the same angle
  band->SetBandType(TKVZBandType::kvz_Detail);
  auto& s = page.Add<TKVZShape>("S");
  s.SetPen({clRed, 1, TPenStyle::psSolid});
  EXPECT_EQ(repainted, (std::vector<std::string>{"L", "KVZBand1", "S"}));
}

// ---------------------------------------------------------------------------
// Fields

TEST_F(PageFixture, FieldPrintTextGoesRecordByRecord) {
  struct Case {
    std::vector<std::string> values;
    int nexts;  // NextRecord calls before asking
    const char* expected;
  };
  const Case cases[] = {
      {{}, 0, "0,00"},  // no values: NoValue, whatever the caption
      {{"12,50"}, 0, "12,50"},
      {{"12,50"}, 5, "12,50"},  // one value prints on every record
      {{"a", "b", "c"}, 0, "a"},
      {{"a", "b", "c"}, 1, "b"},
      {{"a", "b", "c"}, 2, "c"},
      {{"a", "b", "c"}, 3, "0,00"},  // used up
      {{"a", "b", "c"}, 9, "0,00"},
      {{""}, 0, ""},  // an empty value is a value
  };
  for (const auto& c : cases) {
    auto& f = AddField("p" + std::to_string(&c - cases), c.values);
    f.SetCaption("99,99");
    for (int i = 0; i < c.nexts; ++i) f.NextRecord();
    EXPECT_EQ(f.GetPrintText(), c.expected) << f.Name();
  }
}

TEST_F(PageFixture, NextRecordAnswersWhetherARecordIsLeft) {
  auto& one = AddField("one", {"x"});
  EXPECT_FALSE(one.NextRecord());
  EXPECT_EQ(one.RecordIndex(), 0);

  auto& three = AddField("three", {"a", "b", "c"});
  EXPECT_TRUE(three.NextRecord());
  EXPECT_TRUE(three.NextRecord());
  EXPECT_FALSE(three.NextRecord());
  EXPECT_FALSE(three.NextRecord());
  EXPECT_EQ(three.RecordIndex(), 3);  // stops at the count
  three.ResetRecord();
  EXPECT_EQ(three.GetPrintText(), "a");

  three.SetClearValue("0,00");
  three.ClearValues();
  EXPECT_EQ(three.Caption(), "0,00");
  EXPECT_TRUE(three.Values().empty());
  EXPECT_EQ(three.RecordIndex(), 0);
}

TEST_F(PageFixture, TrailingUnderscoreBorrowsTheNamedField) {
  AddField("p5", {"Kowalski"});
  auto& ref = AddField("p5_", {}, "none");
  auto& ref2 = AddField("p5__", {}, "none");
  EXPECT_EQ(ref.GetPrintText(), "Kowalski");
  EXPECT_EQ(ref2.GetPrintText(), "Kowalski");

  // Its own values come first.
  ref.AddValue("Nowak");
  EXPECT_EQ(ref.GetPrintText(), "Nowak");

  auto& label = page.Add<TKVZLabel>("p6");
  label.SetParent(band);
  label.SetCaption("a label");
  EXPECT_EQ(AddField("p6_", {}, "none").GetPrintText(), "none");     // another class
  EXPECT_EQ(AddField("p7_", {}, "none").GetPrintText(), "none");     // missing
  EXPECT_EQ(AddField("___", {}, "none").GetPrintText(), "none");     // nothing left of the name
}

TEST_F(PageFixture, NextValueLooksOneRecordAhead) {
  auto& three = AddField("three", {"a", "b", "c"});
  EXPECT_EQ(three.NextValue(), "b");
  three.NextRecord();
  three.NextRecord();
  EXPECT_EQ(three.NextValue(), "0,00");
  auto& one = AddField("one", {"x"});
  EXPECT_EQ(one.NextValue(), "x");
  auto& none = AddField("none");
  none.SetCaption("caption");
  EXPECT_EQ(none.NextValue(), "caption");
  auto& ref = AddField("three_");
  EXPECT_EQ(ref.NextValue(), "0,00");  // the referenced field's, at its record
  three.ResetRecord();
  EXPECT_EQ(ref.NextValue(), "b");
}

// ---------------------------------------------------------------------------
// System fields

TEST_F(PageFixture, SystemFieldsPrintTimeDatePageCounterAndFormName) {
  FixedClock clock({2011, 4, 8, 9, 5, 3});
  struct Case {
    TKVZSysDataType type;
    const char* caption;
    const char* text;
  };
  using enum TKVZSysDataType;
  const Case cases[] = {
      {kvz_Time, "#hh:mm:ss#", "09:05:03"},
      {kvz_Date, "#tt.mm.jjjj#", "08-04-2011"},
      {kvz_DateTime, "#tt.mm.jjjj hh:mm:ss#", "08-04-2011 09:05:03"},
      {kvz_PageNum, "#Page#", "7"},
      {kvz_Counter, "#Counter#", "1"},
      {kvz_Count, "#Count#", "E"},
      {kvz_FormName, "#PIT37b#", "PIT37b"},
  };
  for (const auto& c : cases) {
    auto& s = page.Add<TKVZSysField>();
    s.SetParent(band);
    s.SetDataType(c.type);
    s.SetPageNumber(7);
    EXPECT_EQ(s.Caption(), c.caption);
    EXPECT_EQ(s.GetPrintText(), c.text) << c.caption;
  }
}

TEST(SystemField, CountsRecordsAndNeverAsksForMore) {
  TKVZSysField counter;
  counter.SetDataType(TKVZSysDataType::kvz_Counter);
  EXPECT_FALSE(counter.NextRecord());
  EXPECT_FALSE(counter.NextRecord());
  EXPECT_EQ(counter.GetPrintText(), "3");

  TKVZSysField count;
  count.SetDataType(TKVZSysDataType::kvz_Count);
  for (int i = 0; i < 4; ++i) count.NextRecord();
  EXPECT_EQ(count.GetPrintText(), "E");
}

TEST(SystemField, DateAndTimeTexts) {
  EXPECT_EQ(TimeText({2010, 12, 31, 23, 59, 59}), "23:59:59");
  EXPECT_EQ(DateText({2010, 1, 2, 0, 0, 0}), "02-01-2010");
  EXPECT_EQ(DateTimeText({2010, 1, 2, 0, 0, 0}), "02-01-2010");  // midnight: the date alone
  EXPECT_EQ(DateTimeText({2010, 1, 2, 0, 0, 1}), "02-01-2010 00:00:01");
}

// ---------------------------------------------------------------------------
// Detail links

TEST_F(PageFixture, DetailLinkRecordsItselfAndTestsGroupChanges) {
  auto& f = AddField("grp", {"A", "A", "B"});
  auto& link = page.Add<TKVZDetailLink>("Link1");
  link.SetGroupBand(band);
  EXPECT_EQ(band->DetailLink(), &link);

  EXPECT_FALSE(link.GroupChangedBefore());  // no data source
  link.SetDataSource(&f);
  EXPECT_FALSE(link.GroupChangedAfter());   // nothing seen yet
  EXPECT_TRUE(link.GroupChangedBefore());   // first record starts a group
  EXPECT_EQ(link.LastValue(), "A");
  EXPECT_FALSE(link.GroupChangedAfter());   // next is A too
  f.NextRecord();
  EXPECT_FALSE(link.GroupChangedBefore());
  EXPECT_TRUE(link.GroupChangedAfter());    // next is B
  f.NextRecord();
  EXPECT_TRUE(link.GroupChangedBefore());

  // The previous band keeps its reference, as at run time.
  auto& other = page.Add<TKVZBand>("Other");
  link.SetGroupBand(&other);
  EXPECT_EQ(other.DetailLink(), &link);
  EXPECT_EQ(band->DetailLink(), &link);
}

// ---------------------------------------------------------------------------
// Images

TEST(Image, AutosizeTakesThePictureSize) {
  Picture pic;
  pic.graphicClass = "TBitmap";
  pic.bitmap = Bitmap(30, 20);
  TKVZImage i;
  i.SetPicture(pic);
  EXPECT_EQ(i.Width(), 100);  // Autosize off
  i.SetAutosize(true);
  EXPECT_EQ(i.Width(), 30);
  EXPECT_EQ(i.Height(), 20);
  pic.bitmap = Bitmap(5, 6);
  i.SetPicture(pic);
  EXPECT_EQ(i.Width(), 5);
  EXPECT_EQ(i.Height(), 6);
  i.SetPicture(Picture{});  // no picture: the size stays
  EXPECT_EQ(i.Width(), 5);

  TKVZImage loading;
  loading.BeginLoading();
  loading.SetAutosize(true);
  loading.SetPicture(pic);
  EXPECT_EQ(loading.Width(), 100);
}

// ---------------------------------------------------------------------------
// Registration

TEST(Registration, CreatesTheNineClassesByName) {
  for (const char* name : {"TKVZReport", "TKVZBand", "TKVZDetailLink", "TKVZLabel", "TKVZField", "TKVZEditField",
                           "TKVZSysField", "TKVZShape", "TKVZImage"}) {
    auto c = CreateComponent(name);
    ASSERT_NE(c, nullptr) << name;
    EXPECT_STREQ(c->ClassName(), name);
  }
  EXPECT_EQ(CreateComponent("TKVZEdit"), nullptr);
  EXPECT_EQ(CreateComponent("TKVZControl"), nullptr);  // abstract
  EXPECT_EQ(CreateComponent("tkvzlabel"), nullptr);
  EXPECT_FALSE(IsComponentClass("TPIT37a"));
}

}  // namespace
