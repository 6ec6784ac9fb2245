// Every compiled-in page against the catalogue: header data, and exactly the
// listed cells with their kind, editability and defaults.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>

#include "page_catalogue_table.hpp"
#include "report/component_text.hpp"
#include "report/page_definition.hpp"

namespace {

struct Expected {
  solv::CellKind kind;
  bool editable;
  std::string noValue, clearValue;
};

std::vector<std::string> Split(const std::string& s, const std::string& sep) {
  std::vector<std::string> out;
  size_t from = 0;
  for (size_t at; (at = s.find(sep, from)) != std::string::npos; from = at + sep.size()) out.push_back(s.substr(from, at - from));
  out.push_back(s.substr(from));
  return out;
}

// Expands "text editable: p1, p4-p6; ..." into cells with the defaults of
// their kind, then applies the listed exceptions.
std::map<std::string, Expected> ExpectedCells(const CataloguePage& page) {
  std::map<std::string, Expected> cells;
  const std::map<std::string, solv::CellKind> kinds = {{"text", solv::CellKind::Text},
                                                       {"money", solv::CellKind::Money},
                                                       {"check box", solv::CellKind::Check},
                                                       {"integer", solv::CellKind::Integer}};
  const std::regex group(R"((text|money|check box|integer) (editable|computed): (.*))");
  const std::regex range(R"(p(\d+)-p(\d+))");
  for (const auto& part : Split(page.cells, "; ")) {
    std::smatch m;
    EXPECT_TRUE(std::regex_match(part, m, group)) << part;
    const solv::CellKind kind = kinds.at(m[1]);
    Expected e{kind, m[2] == "editable", "", ""};
    if (kind == solv::CellKind::Money) e.noValue = e.clearValue = "0,00";
    if (kind == solv::CellKind::Check) e.noValue = e.clearValue = "[  ]";
    if (kind == solv::CellKind::Integer) e.noValue = e.clearValue = "0";
    for (const auto& item : Split(m[3], ", ")) {
      std::smatch r;
      if (std::regex_match(item, r, range)) {
        for (int n = std::stoi(r[1]); n <= std::stoi(r[2]); ++n) cells["p" + std::to_string(n)] = e;
      } else {
        cells[item] = e;
      }
    }
  }
  if (*page.defaults) {
    const std::regex dflt(R"re((p\w+) (no NoValue|NoValue "([^"]*)"), ClearValue "([^"]*)")re");
    for (const auto& part : Split(page.defaults, "; ")) {
      std::smatch m;
      EXPECT_TRUE(std::regex_match(part, m, dflt)) << part;
      Expected& e = cells.at(m[1]);
      e.noValue = m[2] == "no NoValue" ? "" : std::string(m[3]);
      e.clearValue = m[4];
    }
  }
  return cells;
}

std::string Prop(const solv::ComponentNode& n, const std::string& name) {
  for (const auto& [k, v] : n.properties)
    if (k == name) return v;
  return "<absent>";
}

TEST(PageCatalogue, HoldsTheListedPagesInFormTableOrder) {
  const auto& pages = solv::PageCatalogue();
  ASSERT_EQ(pages.size(), std::size(kCatalogue));
  for (size_t i = 0; i < pages.size(); ++i) EXPECT_EQ(pages[i].info.className, kCatalogue[i].className) << i;
}

TEST(PageCatalogue, EveryPageCarriesExactlyItsCells) {
  size_t total = 0;
  for (const auto& expectedPage : kCatalogue) {
    SCOPED_TRACE(expectedPage.className);
    const solv::PageDefinition* page = solv::FindPage(expectedPage.className);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->info.pageName, expectedPage.pageName);
    EXPECT_EQ(page->info.tag, expectedPage.tag);
    EXPECT_EQ(page->info.Caption(), expectedPage.caption);
    EXPECT_EQ(page->info.height, expectedPage.height);
    EXPECT_EQ(page->info.reportName, expectedPage.reportName);
    EXPECT_EQ(page->info.reportTitle, expectedPage.reportTitle);

    const auto expected = ExpectedCells(expectedPage);
    std::set<std::string> seen;
    for (const auto& cell : page->cells) {
      seen.insert(cell.name);
      auto it = expected.find(cell.name);
      if (it == expected.end()) {
        ADD_FAILURE() << "unlisted cell " << cell.name;
        continue;
      }
      EXPECT_EQ(cell.kind, it->second.kind) << cell.name;
      EXPECT_EQ(cell.editable, it->second.editable) << cell.name;
      EXPECT_EQ(cell.noValue, it->second.noValue) << cell.name;
      EXPECT_EQ(cell.clearValue, it->second.clearValue) << cell.name;
    }
    for (const auto& [name, e] : expected) EXPECT_TRUE(seen.count(name)) << "missing cell " << name;
    total += page->cells.size();
  }
  EXPECT_EQ(total, 1562u);  // the boxes of all forms together
}

// The component tree of a page: the window's header, one band of the page's
// height, the cells with the properties the editor and the print rely on,
// the hidden editor and the report.
TEST(PageCatalogue, PagesBuildTheirComponentTree) {
  for (const auto& page : solv::PageCatalogue()) {
    SCOPED_TRACE(page.info.className);
    const solv::ComponentNode& root = page.node;
    EXPECT_EQ(root.className, page.info.className);
    EXPECT_EQ(root.name, page.info.pageName);
    EXPECT_EQ(Prop(root, "Caption"), solv::QuoteText(page.info.Caption()));
    ASSERT_EQ(root.children.size(), 3u);
    const solv::ComponentNode& band = root.children[0];
    EXPECT_EQ(band.className, "TKVZBand");
    EXPECT_EQ(Prop(band, "Width"), "794");
    EXPECT_EQ(Prop(band, "Height"), std::to_string(page.info.height));
    EXPECT_EQ(root.children[1].name, "Ed1");
    EXPECT_EQ(root.children[2].className, "TKVZReport");
    EXPECT_EQ(root.children[2].name, page.info.reportName);
    EXPECT_EQ(Prop(root.children[2], "ReportTitle"), solv::QuoteText(page.info.reportTitle));

    for (const auto& c : band.children) {
      if (c.className != "TKVZEditField") continue;
      const bool editable = Prop(c, "ShowHint") == "True";
      EXPECT_EQ(Prop(c, "Hint"), editable ? solv::QuoteText("Kliknij") : "<absent>") << c.name;
      EXPECT_EQ(Prop(c, "OnClick"), editable ? page.info.clickHandler : "<absent>") << c.name;
      EXPECT_EQ(Prop(c, "Alignment"), Prop(c, "Tag") == "1" ? "taRightJustify" : "taCenter") << c.name;
      EXPECT_EQ(Prop(c, "Font.Style"), "[fsBold]") << c.name;
      const int right = std::stoi(Prop(c, "Left")) + std::stoi(Prop(c, "Width"));
      const int bottom = std::stoi(Prop(c, "Top")) + std::stoi(Prop(c, "Height"));
      EXPECT_LE(right, 794) << c.name;
      EXPECT_LE(bottom, page.info.height) << c.name;
    }
  }
}

TEST(PageDefinition, RejectsBadDefinitions) {
  const char* const head = "page TX name=X tag=1 pages=1 form=X height=1121 report=x title=x click=p1Click\n";
  const std::string cases[] = {
      "",                                                    // no page line
      "label 1 2 3 4 \"a\"\n",                               // statement before page
      std::string(head) + head,                              // two page lines
      "page TY name=X tag=1 pages=1 form=X height=1 report=x title=x click=c\n",  // class not T + name
      std::string(head) + "cell p1 money 1 2 3\n",           // too few values
      std::string(head) + "cell p1 coins 1 2 3 4\n",         // unknown kind
      std::string(head) + "cell x1 money 1 2 3 4\n",         // not a box name
      std::string(head) + "cell p1 money 1 2 3 4\ncell p1 text 5 6 7 8\n",  // a cell twice
      std::string(head) + "label 1 2 3 4 \"open\n",          // unterminated text
      std::string(head) + "label 1 2 x 4 \"a\"\n",           // bad number
      std::string(head) + "flow p1 money \"\"\n",            // flow before grid
      std::string(head) + "frame 1 2 3 4\n",                 // unknown statement
      std::string(head) + "label 1 2 3 4 \"a\" align=justify\n",
      std::string(head) + "origin 10\n",                    // origin without Y
      std::string(head) + "origin 10 20 30\n",              // origin with a third value
      std::string(head) + "origin 10 y\n",                  // origin not a number
      std::string(head) + "rect 1 2 3 4 fill=grey\n",       // a colour neither number nor shade
  };
  for (const auto& text : cases) EXPECT_THROW(solv::ParsePageDefinition(text), solv::PageDefinitionError) << text;
}

// An origin moves every later position (grids included) but no size; "shade"
// names the grey of the forms wherever a colour is given.
TEST(PageDefinition, OriginAndShadeAffectLaterStatements) {
  const solv::PageDefinition def = solv::ParsePageDefinition(
      "page TX name=X tag=1 pages=1 form=X height=1121 report=x title=x click=p1Click\n"
      "rect 1 2 3 4 fill=shade\n"
      "origin 100 200\n"
      "rect 1 2 3 4 fill=5 pen=shade\n"
      "label 10 20 30 40 \"a\" fill=shade color=shade\n"
      "cell p1 money 5 6 70 19\n"
      "grid 0 50 2 60 40\n"
      "flow p2 text \"\"\n"
      "origin 0 0\n"
      "cell p3 int 7 8 9 10\n");
  const auto& band = def.node.children[0].children;
  struct Want {
    const char* cls;
    size_t nth;  // among the children of that class
    const char* left;
    const char* top;
    const char* width;
    const char* prop;  // nullptr: the value is the component's name
    const char* value;
  };
  const Want wants[] = {
      {"TKVZShape", 0, "1", "2", "3", "Brush.Color", "14145495"},
      {"TKVZShape", 1, "101", "202", "3", "Pen.Color", "14145495"},
      {"TKVZLabel", 0, "110", "220", "30", "Color", "14145495"},
      {"TKVZLabel", 0, "110", "220", "30", "Font.Color", "14145495"},
      {"TKVZEditField", 0, "105", "206", "70", nullptr, "p1"},
      {"TKVZShape", 2, "100", "250", "60", "Brush.Color", "16777215"},  // the flow box's frame
      {"TKVZEditField", 1, "103", "269", "54", nullptr, "p2"},
      {"TKVZEditField", 2, "7", "8", "9", nullptr, "p3"},
  };
  for (const auto& w : wants) {
    SCOPED_TRACE(std::string(w.cls) + " " + std::to_string(w.nth));
    const solv::ComponentNode* found = nullptr;
    size_t seen = 0;
    for (const auto& c : band)
      if (c.className == w.cls && seen++ == w.nth) found = &c;
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(Prop(*found, "Left"), w.left);
    EXPECT_EQ(Prop(*found, "Top"), w.top);
    EXPECT_EQ(Prop(*found, "Width"), w.width);
    EXPECT_EQ(w.prop ? Prop(*found, w.prop) : found->name, w.value);
  }
}

}  // namespace

namespace {

// A click anywhere in the frame of a box lands on its cell: on every page
// the corners (inside the frame's lines) and the middle of each frame find
// that cell and no other.
TEST(PageDefinition, EveryPointOfABoxFrameFindsItsCell) {
  int checked = 0;
  for (const solv::PageDefinition& page : solv::PageCatalogue()) {
    for (const solv::CellInfo& c : page.cells) {
      if (c.hidden) continue;
      const auto& f = c.frame;
      EXPECT_TRUE(f.Contains(c.rect.x, c.rect.y)) << page.info.className << " " << c.name;
      const std::pair<int, int> points[] = {{f.x + 3, f.y + 3},
                                            {f.x + f.w - 4, f.y + 3},
                                            {f.x + 3, f.y + f.h - 4},
                                            {f.x + f.w - 4, f.y + f.h - 4},
                                            {f.x + f.w / 2, f.y + f.h / 2}};
      for (const auto& [x, y] : points) {
        const solv::CellInfo* found = solv::CellAtPoint(page, x, y);
        EXPECT_EQ(found ? found->name : "(none)", c.name) << page.info.className << " at " << x << "," << y;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 1000);
}

// PIT-28 box 5: the caption above the cell takes the click too.
TEST(PageDefinition, TheCaptionOfABoxIsPartOfItsTarget) {
  const solv::PageDefinition* page = solv::FindPage("TPIT28a");
  ASSERT_NE(page, nullptr);
  const solv::CellInfo* p5 = nullptr;
  for (const auto& c : page->cells)
    if (c.name == "p5") p5 = &c;
  ASSERT_NE(p5, nullptr);
  EXPECT_GE(p5->rect.y - p5->frame.y, 24);  // the strip above the cell
  const solv::CellInfo* hit = solv::CellAtPoint(*page, p5->rect.x + 50, p5->frame.y + 8);
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->name, "p5");
  EXPECT_EQ(solv::CellAtPoint(*page, 2, 2), nullptr);
}

}  // namespace
