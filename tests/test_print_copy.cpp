#include "report/print_copy.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "report/component_text.hpp"
#include "scoped_tmpdir.hpp"
#include "set_fixture.hpp"

namespace {

using solv::ComponentNode;
using namespace std::string_literals;

// A live page as the page window writes it: events, hints, the editor with a
// sub-object, a popup menu, an editable and a computed cell, the report.
const char* const kPage =
    "object PIT37b: TPIT37b\n"
    "  Tag = 2\n"
    "  Caption = 'Formularz (2/3): PIT-37'\n"
    "  Visible = True\n"
    "  FormStyle = fsMDIChild\n"
    "  PixelsPerInch = 96\n"
    "  OnActivate = FormActivate\n"
    "  OnClose = FormClose\n"
    "  OnDeactivate = FormDeactivate\n"
    "  object KVZBand1: TKVZBand\n"
    "    Height = 1164\n"
    "    object p39: TKVZEditField\n"
    "      Tag = 1\n"
    "      Caption = '1 234,00'\n"
    "      ShowHint = True\n"
    "      Hint = 'Kliknij'\n"
    "      Cursor = crHandPoint\n"
    "      TagPop = 0\n"
    "      TagIndex = 0\n"
    "      OnClick = p39Click\n"
    "    end\n"
    "    object p41: TKVZEditField\n"
    "      Tag = 1\n"
    "      Caption = '567,89'\n"
    "      ShowHint = False\n"
    "      TagPop = 0\n"
    "      TagIndex = 0\n"
    "    end\n"
    "    object KVZLabel1: TKVZLabel\n"
    "      Caption = 'Zak'#322'ad pit37B'\n"
    "    end\n"
    "  end\n"
    "  object Ed1: TKVZEdit\n"
    "    Visible = False\n"
    "    OnExit = Ed1Exit\n"
    "    OnKeyDown = Ed1KeyDown\n"
    "    OnKeyPress = Ed1KeyPress\n"
    "    object Ed1Inner: TKVZShape\n"
    "      Width = 3\n"
    "    end\n"
    "  end\n"
    "  object PopupMenu1: TPopupMenu\n"
    "    object N1: TMenuItem\n"
    "      Caption = 'Kopiuj'\n"
    "    end\n"
    "  end\n"
    "  object pit37b: TKVZReport\n"
    "    ReportTitle = 'pit37b'\n"
    "  end\n"
    "end\n";

const ComponentNode* Find(const ComponentNode& node, const std::string& name) {
  if (node.name == name) return &node;
  for (const ComponentNode& child : node.children)
    if (const ComponentNode* hit = Find(child, name)) return hit;
  return nullptr;
}

void ForEach(const ComponentNode& node, const std::function<void(const ComponentNode&)>& f) {
  f(node);
  for (const ComponentNode& child : node.children) ForEach(child, f);
}

std::string Property(const ComponentNode& node, const std::string& name) {
  for (const auto& [prop, value] : node.properties)
    if (prop == name) return value;
  return "<none>";
}

// ---- Text edits ----

TEST(PrintCopyText, DeletesEventHintVisibilityStyleAndTagLines) {
  const struct {
    const char* line;
    bool deleted;
  } cases[] = {
      {"OnActivate = FormActivate", true},  {"OnDeactivate = FormDeactivate", true},
      {"OnCreate = FormCreate", true},      {"OnShow = FormShow", true},
      {"OnClose = FormClose", true},        {"OnClick = p39Click", true},
      {"OnKeyDown = Ed1KeyDown", true},     {"OnKeyPress = Ed1KeyPress", true},
      {"OnExit = Ed1Exit", true},           {"ShowHint = True", true},
      {"ShowHint = False", true},           {"Visible = True", true},
      {"FormStyle = fsMDIChild", true},     {"TagPop = 0", true},
      {"TagIndex = 12", true},              {"Visible = False", false},
      {"FormStyle = fsNormal", false},      {"Tag = 1", false},
      {"TagPopup = 0", false},              {"Hint = 'Kliknij'", false},
      {"Caption = 'OnClick'", false},       {"OnDblClick = x", false},
      {"OnEnter = x", false},               {"object OnClick1: TKVZLabel", false},
  };
  for (const auto& c : cases) {
    const std::string text = std::string("object a: T\n    ") + c.line + "\nend\n";
    EXPECT_EQ(solv::DeletePrintCopyLines(text),
              c.deleted ? "object a: T\nend\n" : text) << c.line;
  }
}

TEST(PrintCopyText, DeletionTakesTheLineEndAndAnyContinuation) {
  EXPECT_EQ(solv::DeletePrintCopyLines("A = 1\r\n  OnExit = Ed1Exit\r\nB = 2\r\n"), "A = 1\r\nB = 2\r\n");
  EXPECT_EQ(solv::DeletePrintCopyLines("A = 1\nShowHint = True"), "A = 1\n");
  EXPECT_EQ(solv::DeletePrintCopyLines("ShowHint = 'a' +\n  'b' +\n  #322\nB = 2\n"), "B = 2\n");
}

TEST(PrintCopyText, DeletesTheEditorAndPopupMenuBlocksWithTheirSubObjects) {
  const std::string out = solv::DeletePrintCopyBlocks(kPage);
  EXPECT_EQ(out.find("Ed1"), std::string::npos);
  EXPECT_EQ(out.find("PopupMenu1"), std::string::npos);
  EXPECT_EQ(out.find("Kopiuj"), std::string::npos);
  // The report after them is still there, and the text still reads.
  const ComponentNode node = solv::ReadComponentText(out);
  ASSERT_EQ(node.children.size(), 2u);
  EXPECT_EQ(node.children[0].name, "KVZBand1");
  EXPECT_EQ(node.children[1].name, "pit37b");

  // Only those exact heads.
  const std::string others =
      "object a: T\n  object Ed10: TKVZEdit\n  end\n  object Ed1: TKVZEditor\n  end\n"
      "  object PopupMenu2: TPopupMenu\n  end\nend\n";
  EXPECT_EQ(solv::DeletePrintCopyBlocks(others), others);
}

TEST(PrintCopyText, TurnsEditFieldsIntoFieldsAndStopsScaling) {
  EXPECT_EQ(solv::ReplacePrintCopyClasses("object p1: TKVZEditField\n  PixelsPerInch = 96\nend\n"),
            "object p1: TKVZField\n  PixelsPerInch = 96\n  Scaled = FALSE\nend\n");
  EXPECT_EQ(solv::ReplacePrintCopyClasses("PixelsPerInch = 96\r\nX = 1"), "PixelsPerInch = 96\r\nScaled = FALSE\r\nX = 1");
  EXPECT_EQ(solv::ReplacePrintCopyClasses("PixelsPerInch = 96"), "PixelsPerInch = 96\nScaled = FALSE");
  EXPECT_EQ(solv::ReplacePrintCopyClasses("PixelsPerInch = 960\nPixelsPerInch = 120\n"),
            "PixelsPerInch = 960\nPixelsPerInch = 120\n");
  EXPECT_EQ(solv::ReplacePrintCopyClasses("Caption = 'TKVZEditField'\n"), "Caption = 'TKVZField'\n");
}

TEST(PrintCopyText, SuffixesEveryOccurrenceOfThePageNameIgnoringCase) {
  EXPECT_EQ(solv::ReplacePageName("object PIT37b: TPIT37b\n"
                                  "  object pit37b: TKVZReport\n"
                                  "    ReportTitle = 'pit37b'\n"
                                  "    Caption = 'Pit37B i PIT37B'\n"
                                  "  end\n"
                                  "end\n",
                                  "PIT37b"),
            "object PIT37bbak: TPIT37bbak\n"
            "  object PIT37bbak: TKVZReport\n"
            "    ReportTitle = 'PIT37bbak'\n"
            "    Caption = 'PIT37bbak i PIT37bbak'\n"
            "  end\n"
            "end\n");
  EXPECT_EQ(solv::ReplacePageName("object a: T\nend\n", ""), "object a: T\nend\n");
}

TEST(PrintCopyText, EditedTextStillReadsWhateverThePageName) {
  // Names that occur inside the keywords and the values of the page.
  for (const char* name : {"PIT37b", "pit37B", "e", "end", "obj", "object", "nd", "T", "p", "Tag", "True", "a1",
                           "PITBa_2", "Ed1"}) {
    SCOPED_TRACE(name);
    const std::string out = solv::MakePrintCopyText(kPage, name);
    EXPECT_NO_THROW(solv::ReadComponentText(out)) << out;
  }
}

// ---- The file round trip ----

class PrintCopy : public SetFixture {
 protected:
  void SetUp() override {
    SetFixture::SetUp();
    std::filesystem::create_directory(Tmp());
    tmp_.emplace(Tmp());
  }
  void TearDown() override {
    tmp_.reset();
    SetFixture::TearDown();
  }
  std::filesystem::path Tmp() const { return dir_ / "tmp"; }
  // A print-copy file as LoadPrintCopyFile reads it.
  std::filesystem::path File() const { return dir_ / "all.r76"; }
  std::string Damaged() const { return "Błąd: Plik jest uszkodzony " + File().string(); }
  std::optional<ScopedTmpDir> tmp_;
};

// The copy passes through a file of its own in the temporary folder; a file
// of the shared name in the program folder (an earlier program's) is left
// alone, and nothing stays behind.
TEST_F(PrintCopy, MakesAPrintOnlyCopyThroughAPrivateFile) {
  PutBytes(File(), "stale copy of an earlier print");
  const ComponentNode copy = solv::MakePrintCopyNode(solv::ReadComponentText(kPage), "PIT37b");
  EXPECT_EQ(Bytes(File()), "stale copy of an earlier print");
  EXPECT_EQ(PrintCopiesIn(Tmp()), 0);

  EXPECT_EQ(copy.name, "PIT37bbak");
  EXPECT_EQ(copy.className, "TPIT37bbak");
  EXPECT_EQ(Find(copy, "Ed1"), nullptr);
  EXPECT_EQ(Find(copy, "Ed1Inner"), nullptr);
  EXPECT_EQ(Find(copy, "PopupMenu1"), nullptr);
  EXPECT_EQ(Find(copy, "N1"), nullptr);
  ASSERT_FALSE(copy.children.empty());
  EXPECT_EQ(copy.children.back().name, "PIT37bbak");
  EXPECT_EQ(copy.children.back().className, "TKVZReport");
  EXPECT_EQ(Property(copy.children.back(), "ReportTitle"), "'PIT37bbak'");

  ForEach(copy, [](const ComponentNode& node) {
    EXPECT_NE(node.className, "TKVZEditField") << node.name;
    for (const auto& [prop, value] : node.properties) {
      EXPECT_NE(prop.rfind("On", 0), 0u) << node.name << "." << prop;
      EXPECT_NE(prop, "ShowHint") << node.name;
      EXPECT_NE(prop, "TagPop") << node.name;
      EXPECT_NE(prop, "TagIndex") << node.name;
      EXPECT_FALSE(prop == "Visible" && value == "True") << node.name;
      EXPECT_NE(prop, "FormStyle") << node.name;
    }
  });

  // Editable and computed cells alike keep their texts and become fields.
  const ComponentNode* p39 = Find(copy, "p39");
  const ComponentNode* p41 = Find(copy, "p41");
  ASSERT_TRUE(p39 && p41);
  EXPECT_EQ(p39->className, "TKVZField");
  EXPECT_EQ(p41->className, "TKVZField");
  EXPECT_EQ(solv::UnquoteText(Property(*p39, "Caption")), "1 234,00");
  EXPECT_EQ(solv::UnquoteText(Property(*p41, "Caption")), "567,89");
  EXPECT_EQ(Property(*p39, "Hint"), "'Kliknij'");
  EXPECT_EQ(Property(*p39, "Cursor"), "crHandPoint");

  EXPECT_EQ(solv::UnquoteText(Property(*Find(copy, "KVZLabel1"), "Caption")), "Zakład PIT37bbak");
  EXPECT_EQ(Property(copy, "Scaled"), "FALSE");
  EXPECT_EQ(Property(copy, "PixelsPerInch"), "96");
}

TEST_F(PrintCopy, CopyOfAnInstancePageCarriesItsName) {
  ComponentNode page{"PITBa_2", "TPITBa", {{"Caption", "'PITBa_2'"}}, {}};
  page.children.push_back({"pitBa", "TKVZReport", {{"ReportTitle", "'PIT_B_1_2'"}}, {}});
  const ComponentNode copy = solv::MakePrintCopyNode(page, "PITBa_2");
  EXPECT_EQ(copy.name, "PITBa_2bak");
  EXPECT_EQ(copy.className, "TPITBa");
  EXPECT_EQ(Property(copy, "Caption"), "'PITBa_2bak'");
  EXPECT_EQ(copy.children.at(0).name, "pitBa");
}

TEST_F(PrintCopy, ADamagedFileIsReportedByNameAndRemoved) {
  const struct {
    std::string bytes;
    bool readingError;  // the reader's own message comes with it
  } cases[] = {
      {"", true},
      {"object PIT37bbak: TPIT37bbak\r\n  Caption = 'unterminated\r\nend\r\n", true},
      {"object PIT37bbak: TPIT37bbak\r\n", true},
      {"\x00\x01\x02garbage"s, true},
      {"object PIT37bbak: TPIT37bbak\r\nend\r\n", false},  // no report in it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    PutBytes(File(), c.bytes);
    try {
      solv::LoadPrintCopyFile(File());
      ADD_FAILURE() << "read as a page";
    } catch (const solv::PrintCopyError& e) {
      EXPECT_EQ(std::string(e.what()), Damaged());
      EXPECT_EQ(e.detail().empty(), !c.readingError) << e.detail();
    }
    EXPECT_FALSE(std::filesystem::exists(File()));
  }
}

TEST_F(PrintCopy, AMissingFileIsReportedWithoutAReadingError) {
  try {
    solv::LoadPrintCopyFile(File());
    FAIL() << "read a missing file";
  } catch (const solv::PrintCopyError& e) {
    EXPECT_EQ(std::string(e.what()), Damaged());
    EXPECT_TRUE(e.detail().empty());
  }
}

TEST_F(PrintCopy, ReadsTheFileAsWindows1250) {
  PutBytes(File(), solv::Utf8ToCp1250("object r: TKVZReport\r\n  Caption = 'Zażółć'\r\nend\r\n"));
  const ComponentNode node = solv::LoadPrintCopyFile(File());
  EXPECT_EQ(solv::UnquoteText(Property(node, "Caption")), "Zażółć");
}

TEST_F(PrintCopy, FailuresLeaveNoFileBehind) {
  const ComponentNode good = solv::ReadComponentText(kPage);
  ComponentNode badValue = good;
  badValue.children[0].children[0].properties.push_back({"Caption", "not a value"});
  ComponentNode noReport = good;
  noReport.children.pop_back();

  const struct {
    ComponentNode page;
    std::string name;
    const char* why;
  } cases[] = {
      {badValue, "PIT37b", "a value that cannot be written"},
      {noReport, "PIT37b", "no report"},
      {good, "1", "a name that breaks the numbers of the page"},
  };
  const std::string damaged = "Błąd: Plik jest uszkodzony " + (Tmp() / solv::kPrintCopyPrefix).string();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    try {
      solv::MakePrintCopyNode(c.page, c.name);
      ADD_FAILURE() << "copied";
    } catch (const solv::PrintCopyError& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, damaged.size()), damaged);  // and the file's own six characters
    }
    EXPECT_EQ(PrintCopiesIn(Tmp()), 0);
  }
}

// A TMPDIR that names no folder does not stop printing: the copy passes
// through /tmp, and the named place is not made.
TEST_F(PrintCopy, ATemporaryFolderThatIsNoneFallsBackToTmp) {
  const ScopedTmpDir missing(dir_ / "missing");
  EXPECT_EQ(solv::PrintCopyFolder(), std::filesystem::path("/tmp"));
  EXPECT_EQ(solv::MakePrintCopyNode(solv::ReadComponentText(kPage), "PIT37b").name, "PIT37bbak");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "missing"));
}

}  // namespace
