// Report components written to and built from the component tree: what is
// written, round trips, and the errors of bad trees.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "report/component_text.hpp"
#include "report/model.hpp"
#include "report/page_definition.hpp"
#include "report/print_copy.hpp"

namespace {

using namespace solv;
using Props = std::vector<std::pair<std::string, std::string>>;

ComponentNode Node(std::string name, std::string cls, Props props = {}, std::vector<ComponentNode> children = {}) {
  return {std::move(name), std::move(cls), std::move(props), std::move(children)};
}

// A small page as the page definitions write it: a band with a label, a
// shaded rectangle and two cells, the editor, and the report.
ComponentNode SamplePage() {
  const Props font = {{"Font.Charset", "EASTEUROPE_CHARSET"}, {"Font.Color", "clBlack"}, {"Font.Height", "-16"},
                      {"Font.Name", "'Arial'"}, {"Font.Style", "[fsBold]"}, {"ParentFont", "False"}};
  Props cell = {{"Tag", "1"},         {"Left", "600"},          {"Top", "100"},     {"Width", "150"},
                {"Height", "19"},     {"Cursor", "crHandPoint"}, {"Hint", "'Kliknij'"}, {"Alignment", "taRightJustify"},
                {"AutoSize", "False"}, {"Caption", "'0,00'"}};
  cell.insert(cell.end(), font.begin(), font.end());
  const Props cellTail = {{"ShowHint", "True"}, {"OnClick", "p39Click"}, {"NoValue", "'0,00'"},
                          {"ClearValue", "'0,00'"}, {"TagPop", "0"}, {"TagIndex", "0"}, {"EditMask", "''"}};
  cell.insert(cell.end(), cellTail.begin(), cellTail.end());
  Props computed = cell;
  computed[0] = {"Tag", "3"};
  for (auto& [k, v] : computed) {
    if (k == "ShowHint") v = "False";
    if (k == "Caption" || k == "NoValue" || k == "ClearValue") v = "'0'";
  }
  std::erase_if(computed, [](const auto& p) { return p.first == "OnClick"; });

  ComponentNode band = Node("KVZBand1", "TKVZBand",
                            {{"Left", "0"}, {"Top", "0"}, {"Width", "794"}, {"Height", "1164"}, {"Align", "alTop"},
                             {"BandType", "kvz_Detail"}, {"Ruler", "kvz_cmHV"}, {"Color", "clWhite"},
                             {"Font.Charset", "EASTEUROPE_CHARSET"}, {"Font.Color", "clBlack"}, {"Font.Height", "-11"},
                             {"Font.Name", "'Arial'"}, {"Font.Style", "[]"}});
  band.children.push_back(Node("Label1", "TKVZLabel",
                               {{"Left", "10"}, {"Top", "20"}, {"Width", "300"}, {"Height", "14"}, {"AutoSize", "False"},
                                {"Caption", "'Przych'#243'd'"}, {"WordWrap", "True"}, {"Layout", "tlCenter"},
                                {"Color", "14145495"}, {"Transparent", "False"}}));
  band.children.push_back(Node("Shape1", "TKVZShape",
                               {{"Left", "0"}, {"Top", "40"}, {"Width", "794"}, {"Height", "30"},
                                {"Brush.Color", "14145495"}, {"Pen.Style", "psClear"}, {"Shape", "stRectangle"}}));
  band.children.push_back(Node("p39", "TKVZEditField", cell));
  band.children.push_back(Node("p43", "TKVZEditField", computed));

  return Node("PIT37b", "TPIT37b",
              {{"Left", "0"}, {"Top", "0"}, {"Tag", "2"}, {"BorderIcons", "[biMinimize]"},
               {"Caption", "'Formularz (2/3): PIT-37'"}, {"ClientHeight", "1164"}, {"ClientWidth", "817"},
               {"Color", "clWhite"}, {"FormStyle", "fsMDIChild"}, {"Visible", "True"}, {"OnActivate", "FormActivate"},
               {"OnClose", "FormClose"}, {"OnDeactivate", "FormDeactivate"}, {"PixelsPerInch", "96"}},
              {band,
               Node("Ed1", "TKVZEdit", {{"Left", "0"}, {"Visible", "False"}}),
               Node("pit37b", "TKVZReport",
                    {{"Orientation", "poPortrait"}, {"Papersize", "kvz_A4"}, {"LeftMarginMM", "0"},
                     {"RightMarginMM", "0"}, {"TopMarginMM", "0"}, {"ReportTitle", "'pit37b'"}})});
}

std::string Text(const ComponentNode& n) { return WriteComponentText(n); }

const std::string* Prop(const ComponentNode& n, const std::string& name) {
  for (const auto& [k, v] : n.properties)
    if (k == name) return &v;
  return nullptr;
}

std::vector<std::string> PropNames(const ComponentNode& n) {
  std::vector<std::string> out;
  for (const auto& p : n.properties) out.push_back(p.first);
  return out;
}

TEST(PageFromNode, BuildsThePageItsBandControlsAndReport) {
  std::vector<ComponentNode> foreign;
  auto page = PageFromNode(SamplePage(), &foreign);
  EXPECT_STREQ(page->ClassName(), "TPIT37b");
  EXPECT_EQ(page->Name(), "PIT37b");
  EXPECT_EQ(page->Tag(), 2);
  EXPECT_EQ(page->caption, "Formularz (2/3): PIT-37");
  EXPECT_EQ(page->clientHeight, 1164);
  EXPECT_EQ(page->formStyle, "fsMDIChild");
  EXPECT_EQ(page->borderIcons, std::vector<std::string>{"biMinimize"});
  EXPECT_EQ(page->onDeactivate, "FormDeactivate");
  EXPECT_TRUE(page->visible);

  ASSERT_EQ(foreign.size(), 1u);
  EXPECT_EQ(foreign[0].name, "Ed1");

  TKVZBand* band = page->Band();
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(band->BandType(), TKVZBandType::kvz_Detail);
  EXPECT_EQ(band->Height(), 1164);
  EXPECT_EQ(band->GetFont().charset, EASTEUROPE_CHARSET);
  ASSERT_EQ(band->ControlCount(), 4);
  EXPECT_EQ(band->Controls(0)->Name(), "Label1");
  EXPECT_EQ(band->Controls(3)->Name(), "p43");

  auto* label = page->Find<TKVZLabel>("label1");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Caption(), "Przychód");
  EXPECT_EQ(label->Color(), kFormShade);
  EXPECT_FALSE(label->Transparent());
  EXPECT_TRUE(label->WordWrap());
  EXPECT_EQ(label->Layout(), TTextLayout::tlCenter);
  EXPECT_TRUE(label->ParentFont());
  EXPECT_EQ(label->GetFont().height, -11);  // the band's

  auto* shape = page->Find<TKVZShape>("Shape1");
  ASSERT_NE(shape, nullptr);
  EXPECT_EQ(shape->GetPen().style, TPenStyle::psClear);
  EXPECT_EQ(shape->GetBrush().color, 14145495);

  auto* cell = page->Find<TKVZEditField>("P39");
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->Tag(), 1);
  EXPECT_EQ(cell->Cursor(), crHandPoint);
  EXPECT_EQ(cell->Hint(), "Kliknij");
  EXPECT_TRUE(cell->ShowHint());
  EXPECT_EQ(cell->OnClick(), "p39Click");
  EXPECT_EQ(cell->Alignment(), TAlignment::taRightJustify);
  EXPECT_FALSE(cell->AutoSize());
  EXPECT_EQ(cell->NoValue(), "0,00");
  EXPECT_EQ(cell->ClearValue(), "0,00");
  EXPECT_FALSE(cell->ParentFont());
  EXPECT_EQ(cell->GetFont().height, -16);
  EXPECT_EQ(cell->GetFont().style, fsBold);
  EXPECT_EQ(cell->GetFont().name, "Arial");
  EXPECT_FALSE(page->Find<TKVZEditField>("p43")->ShowHint());

  ASSERT_NE(page->Report(), nullptr);
  EXPECT_EQ(page->Report()->Name(), "pit37b");
  EXPECT_EQ(page->Report()->ReportTitle(), "pit37b");
  for (int i = 0; i < page->ComponentCount(); ++i) EXPECT_FALSE(page->Components(i)->Loading());
}

std::unique_ptr<TKVZPage> SamplePageBuilt() {
  std::vector<ComponentNode> foreign;
  return PageFromNode(SamplePage(), &foreign);
}

TEST(PageToNode, RoundTripsThroughTheTree) {
  auto page = SamplePageBuilt();
  const ComponentNode once = PageToNode(*page);
  auto again = PageFromNode(once);
  EXPECT_EQ(Text(PageToNode(*again)), Text(once));

  // The page window, then the band with its controls, then the report.
  ASSERT_EQ(once.children.size(), 2u);
  EXPECT_EQ(once.children[0].name, "KVZBand1");
  EXPECT_EQ(once.children[0].children.size(), 4u);
  EXPECT_EQ(once.children[1].className, "TKVZReport");
  EXPECT_EQ(*Prop(once, "FormStyle"), "fsMDIChild");
  EXPECT_EQ(*Prop(once, "BorderIcons"), "[biMinimize]");
  EXPECT_EQ(*Prop(once, "OnActivate"), "FormActivate");
  EXPECT_EQ(*Prop(once, "Caption"), "'Formularz (2/3): PIT-37'");

  const ComponentNode& cell = once.children[0].children[2];
  EXPECT_EQ(*Prop(cell, "Cursor"), "crHandPoint");
  EXPECT_EQ(*Prop(cell, "OnClick"), "p39Click");
  EXPECT_EQ(*Prop(cell, "Font.Style"), "[fsBold]");
  EXPECT_EQ(*Prop(cell, "Font.Charset"), "EASTEUROPE_CHARSET");
  EXPECT_EQ(*Prop(cell, "Font.Name"), "'Arial'");
  EXPECT_EQ(*Prop(cell, "ShowHint"), "True");
  EXPECT_EQ(Prop(once.children[0].children[3], "ShowHint"), nullptr);  // False is the default
}

// Only what differs from the default is written; what has no default always.
TEST(ComponentToNode, WritesNonDefaultsAndEverythingWithoutADefault) {
  struct Case {
    std::unique_ptr<TKVZComponent> component;
    std::vector<std::string> expected;
  };
  std::vector<Case> cases;
  cases.push_back({std::make_unique<TKVZLabel>(), {"Left", "Top", "Width", "Height", "Escapement"}});
  cases.push_back({std::make_unique<TKVZField>(), {"Left", "Top", "Width", "Height", "Escapement"}});
  cases.push_back({std::make_unique<TKVZEditField>(),
                   {"Left", "Top", "Width", "Height", "Escapement", "TagPop", "TagIndex"}});
  cases.push_back({std::make_unique<TKVZSysField>(),
                   {"Left", "Top", "Width", "Height", "Caption", "Color", "Escapement", "DataType"}});
  cases.push_back({std::make_unique<TKVZShape>(), {"Left", "Top", "Shape"}});
  cases.push_back({std::make_unique<TKVZImage>(), {"Left", "Top", "Autosize"}});
  cases.push_back({std::make_unique<TKVZBand>(),
                   {"Left", "Top", "Width", "Height", "Align", "BandType", "Color", "Ruler"}});
  cases.push_back({std::make_unique<TKVZReport>(),
                   {"Orientation", "Papersize", "LeftMarginMM", "RightMarginMM", "TopMarginMM"}});
  cases.push_back({std::make_unique<TKVZDetailLink>(), {}});
  for (const auto& c : cases)
    EXPECT_EQ(PropNames(ComponentToNode(*c.component)), c.expected) << c.component->ClassName();

  TKVZShape s;
  s.SetBounds(1, 2, 3, 4);
  s.SetPen({clRed, 2, TPenStyle::psDot});
  s.SetBrush({clNavy, TBrushStyle::bsClear});
  s.SetVisible(false);
  s.SetTag(7);
  EXPECT_EQ(ComponentToNode(s).properties,
            (Props{{"Tag", "7"}, {"Left", "1"}, {"Top", "2"}, {"Width", "3"}, {"Height", "4"},
                   {"Brush.Color", "clNavy"}, {"Brush.Style", "bsClear"}, {"Pen.Color", "clRed"},
                   {"Pen.Style", "psDot"}, {"Pen.Width", "2"}, {"Shape", "stRectangle"}, {"Visible", "False"}}));

  TKVZLabel l;
  l.SetCaption("Zażółć 'x'");
  l.SetColor(14145495);
  l.SetEscapement(-30);
  const ComponentNode n = ComponentToNode(l);
  EXPECT_EQ(*Prop(n, "Caption"), QuoteText("Zażółć 'x'"));
  EXPECT_EQ(*Prop(n, "Color"), "14145495");
  EXPECT_EQ(*Prop(n, "Escapement"), "330");
}

TEST(PageFromNode, ComponentsRoundTripEveryProperty) {
  TKVZPage page("TTest");
  page.SetName("Test");
  page.scaled = false;
  page.font.height = -13;
  page.horzScrollRange = 793;
  page.vertScrollRange = 1122;
  auto& header = page.Add<TKVZBand>("Header");
  header.SetParent(&page);
  header.SetBandType(TKVZBandType::kvz_GroupHeader);
  header.SetRuler(TKVZRulerType::kvz_5mmV);
  auto& band = page.Add<TKVZBand>("Detail");
  band.SetParent(&page);
  band.SetBandType(TKVZBandType::kvz_Detail);
  band.SetClipMode(TClipMode::cm_Expand);
  band.SetAltColor(true);
  band.SetSecondBandResize(-12);
  band.SetAlign(TAlign::alNone);
  band.SetColor(clAqua);
  auto& field = page.Add<TKVZField>("grp");
  field.SetParent(&band);
  field.SetNoValue("brak");
  field.SetClearValue("[  ]");
  field.SetAlignment(TAlignment::taCenter);
  field.SetLayout(TTextLayout::tlBottom);
  field.SetEnabled(false);
  field.SetCursor(-99);
  Font f;
  f.name = "Times New Roman";
  f.height = 19;
  f.style = fsItalic | fsUnderline | fsStrikeOut;
  f.color = RGB(1, 2, 3);
  f.charset = 77;
  field.SetFont(f);
  auto& sys = page.Add<TKVZSysField>("sys");
  sys.SetParent(&band);
  sys.SetDataType(TKVZSysDataType::kvz_FormName);
  auto& image = page.Add<TKVZImage>("img");
  image.SetParent(&band);
  Picture pic;
  pic.graphicClass = "TBitmap";
  pic.bitmap = Bitmap(3, 2, clRed);
  pic.bitmap.SetPixel(2, 1, RGB(10, 20, 30), 128);
  image.SetPicture(pic);
  image.SetStretch(false);
  image.SetCenter(false);
  auto& report = page.Add<TKVZReport>("rep");
  report.SetPapersize(TPapersize::kvz_Legal);
  report.SetOrientation(TPrinterOrientation::poLandscape);
  report.SetTopMarginMM(12);
  report.SetDesignPos(8, 16);
  auto& link = page.Add<TKVZDetailLink>("link");
  link.SetGroupBand(&band);
  link.SetGroupHeader(&header);
  link.SetDataSource(&field);

  const ComponentNode node = PageToNode(page);
  auto back = PageFromNode(node);
  EXPECT_EQ(Text(PageToNode(*back)), Text(node));

  EXPECT_FALSE(back->scaled);
  EXPECT_EQ(back->font.height, -13);
  EXPECT_EQ(back->vertScrollRange, 1122);
  auto* b = back->Find<TKVZBand>("Detail");
  EXPECT_EQ(b->SecondBandResize(), -12);
  EXPECT_EQ(b->ClipMode(), TClipMode::cm_Expand);
  EXPECT_TRUE(b->AltColor());
  EXPECT_EQ(back->Find<TKVZBand>("Header")->Ruler(), TKVZRulerType::kvz_5mmV);
  auto* bf = back->Find<TKVZField>("grp");
  EXPECT_EQ(bf->GetFont(), f);
  EXPECT_EQ(bf->Cursor(), -99);
  EXPECT_FALSE(bf->Enabled());
  EXPECT_EQ(bf->ClearValue(), "[  ]");
  EXPECT_EQ(back->Find<TKVZImage>("img")->GetPicture(), pic);
  EXPECT_EQ(back->Find<TKVZSysField>("sys")->Caption(), "#Test#");
  auto* r = back->Find<TKVZReport>("rep");
  EXPECT_EQ(r->Papersize(), TPapersize::kvz_Legal);
  EXPECT_EQ(r->TopMarginMM(), 12);
  EXPECT_EQ(r->DesignTop(), 16);
  auto* k = back->Find<TKVZDetailLink>("link");
  EXPECT_EQ(k->GroupBand(), b);
  EXPECT_EQ(b->DetailLink(), k);
  EXPECT_EQ(k->GroupHeader(), back->Find<TKVZBand>("Header"));
  EXPECT_EQ(k->DataSource(), bf);
}

// A system field shows its design caption once loaded, whatever was stored.
TEST(PageFromNode, SystemFieldTakesItsDesignCaptionAfterLoading) {
  ComponentNode band = Node("B", "TKVZBand", {},
                            {Node("s", "TKVZSysField", {{"Caption", "'stale'"}, {"DataType", "kvz_FormName"}})});
  auto page = PageFromNode(Node("PITBa_2", "TPITBa", {}, {band}));
  EXPECT_EQ(page->Find<TKVZSysField>("s")->Caption(), "#PITBa_2#");
}

// Values are read by name and identifier ignoring letter case, as written
// by hand or by the print copy ("Scaled = FALSE").
TEST(PageFromNode, IdentifiersIgnoreLetterCase) {
  ComponentNode band = Node("B", "TKVZBand", {{"bandtype", "KVZ_DETAIL"}},
                            {Node("l", "TKVZLabel", {{"transparent", "FALSE"}, {"Font.Style", "[FSBOLD]"}})});
  auto page = PageFromNode(Node("P", "TP", {{"Scaled", "FALSE"}, {"PixelsPerInch", "96"}}, {band}));
  EXPECT_FALSE(page->scaled);
  EXPECT_EQ(page->Band()->BandType(), TKVZBandType::kvz_Detail);
  EXPECT_FALSE(page->Find<TKVZLabel>("l")->Transparent());
  EXPECT_EQ(page->Find<TKVZLabel>("l")->GetFont().style, fsBold);
}

TEST(PageFromNode, BadTreesRaiseAClearError) {
  struct Case {
    const char* what;
    ComponentNode root;
    const char* message;  // part of what()
  };
  auto onBand = [](ComponentNode control) {
    return Node("P", "TP", {}, {Node("B", "TKVZBand", {}, {std::move(control)})});
  };
  auto label = [](Props p) { return Node("l", "TKVZLabel", std::move(p)); };
  std::vector<Case> cases;
  cases.push_back({"unknown class", onBand(Node("x", "TKVZEdit")), "Class TKVZEdit not found"});
  cases.push_back({"unknown property", onBand(label({{"Colour", "clRed"}})), "l.Colour"});
  cases.push_back({"unknown sub-property", onBand(label({{"Font.Weight", "700"}})), "l.Font.Weight"});
  cases.push_back({"shape has no caption", onBand(Node("s", "TKVZShape", {{"Caption", "'x'"}})), "s.Caption"});
  cases.push_back({"label has no ShowHint", onBand(label({{"ShowHint", "True"}})), "l.ShowHint"});
  cases.push_back({"bad enumeration", onBand(label({{"Alignment", "taJustify"}})), "taJustify"});
  cases.push_back({"text for a number", onBand(label({{"Left", "'10'"}})), "l.Left"});
  cases.push_back({"number too large", onBand(label({{"Left", "99999999999"}})), "l.Left"});
  cases.push_back({"number for a text", onBand(label({{"Caption", "10"}})), "l.Caption"});
  cases.push_back({"bad boolean", onBand(label({{"AutoSize", "Yes"}})), "l.AutoSize"});
  cases.push_back({"bad colour", onBand(label({{"Color", "clRedish"}})), "l.Color"});
  cases.push_back({"bad font style", onBand(label({{"Font.Style", "[fsHeavy]"}})), "fsHeavy"});
  cases.push_back({"malformed set", onBand(label({{"Font.Style", "fsBold"}})), "l.Font.Style"});
  cases.push_back({"bad picture", onBand(Node("i", "TKVZImage", {{"Picture.Data", "'07544269746D6170'"}})),
                   "i.Picture.Data"});
  cases.push_back({"bad page property", Node("P", "TP", {{"FormStyle", "fsFloating"}}), "P.FormStyle"});
  cases.push_back({"unknown page property", Node("P", "TP", {{"AlphaBlend", "True"}}), "P.AlphaBlend"});
  cases.push_back({"control on the page", Node("P", "TP", {}, {label({})}),
                   "This component must be placed on a TKVZBand."});
  cases.push_back({"control on a control", onBand(Node("a", "TKVZLabel", {}, {label({})})),
                   "This component must be placed on a TKVZBand."});
  cases.push_back({"band on a band", Node("P", "TP", {}, {Node("B", "TKVZBand", {}, {Node("C", "TKVZBand")})}),
                   "This component must be placed on a TForm."});
  cases.push_back({"names clash", onBand(Node("B", "TKVZLabel")), "A component named B already exists."});
  cases.push_back({"bad name", onBand(Node("1abc", "TKVZLabel")), "not a valid component name"});
  cases.push_back({"missing reference", Node("P", "TP", {}, {Node("k", "TKVZDetailLink", {{"GroupBand", "Nope"}})}),
                   "k.GroupBand"});
  cases.push_back({"reference of the wrong class",
                   onBand(Node("k", "TKVZDetailLink", {{"DataSource", "B"}})), "k.DataSource"});
  cases.push_back({"component class as the page", Node("P", "TKVZBand"), "cannot be the page window"});
  for (const auto& c : cases) {
    try {
      PageFromNode(c.root);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const ReportComponentError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.what << ": " << e.what();
    }
  }
}

// The page of a form, as its definition builds it, read into the model, then
// turned into its print copy and read again.
TEST(PageFromNode, ReadsACataloguePageAndItsPrintCopy) {
  const PageDefinition* def = FindPage("PIT37b");
  ASSERT_NE(def, nullptr);
  std::vector<ComponentNode> foreign;
  auto page = PageFromNode(def->node, &foreign);
  ASSERT_EQ(foreign.size(), 1u);
  EXPECT_EQ(foreign[0].className, "TKVZEdit");
  for (const CellInfo& cell : def->cells) {
    auto* f = page->Find<TKVZEditField>(cell.name);
    ASSERT_NE(f, nullptr) << cell.name;
    EXPECT_EQ(f->ShowHint(), cell.editable) << cell.name;
    EXPECT_EQ(f->ClearValue(), cell.clearValue) << cell.name;
  }
  page->Find<TKVZEditField>(def->cells.front().name)->SetCaption("1234,56");

  const std::string copyText = MakePrintCopyText(WriteComponentText(PageToNode(*page)), page->Name());
  auto copy = PageFromNode(ReadComponentText(copyText));
  EXPECT_EQ(copy->Name(), "PIT37bbak");
  EXPECT_FALSE(copy->scaled);
  ASSERT_NE(copy->Report(), nullptr);
  auto* f = copy->Find<TKVZField>(def->cells.front().name);
  ASSERT_NE(f, nullptr);
  EXPECT_STREQ(f->ClassName(), "TKVZField");
  EXPECT_EQ(f->Caption(), "1234,56");
  EXPECT_EQ(copy->Band()->ControlCount(), page->Band()->ControlCount());
}

}  // namespace
