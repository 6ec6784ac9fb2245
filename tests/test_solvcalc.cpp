// The solvcalc tool run as a program on copies of return sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "calc/dispatch.hpp"
#include "messages/messages.hpp"
#include "store/cp1250.hpp"
#include "store/store.hpp"
#include "form_test_support.hpp"
#include "json_reader.hpp"

namespace {

namespace fs = std::filesystem;

class SolvcalcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "solvcalc-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    solv::Store() = solv::StoreState{};
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  // Runs solvcalc with the arguments (each quoted for the shell).
  ToolRun Solvcalc(const std::vector<std::string>& args) { return RunSolvcalc(args, dir_); }

  fs::path CopyOfExample(const std::string& name) { return CopyExample("pit37.i10", dir_ / name); }
  // A set written from UTF-8 lines, in Windows-1250 with CRLF.
  fs::path SetFromLines(const std::string& name, const std::string& utf8Lines) {
    std::string crlf;
    for (char c : utf8Lines) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const fs::path p = dir_ / name;
    PutBytes(p, solv::Utf8ToCp1250(crlf));
    return p;
  }
  // The in-process recalculation of one instance: its message count.
  int RecalcInProcess(const fs::path& set, const std::string& instance) {
    solv::OpenSet(set);
    EXPECT_TRUE(solv::Recalculate(instance));
    return solv::Messages().counter;
  }

  fs::path dir_;
};

// A PIT-37 set with no taxation method and no purpose of the return.
constexpr const char* kFaultySet =
    "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\nP1=1234563218\nP11=Nowak\nP12=Jan\nP39=1000,00\nP40=111,25\n";

TEST_F(SolvcalcTest, RecalcPrintsEachInstanceWithItsMessageCountAndWritesTheSet) {
  const struct {
    const char* name;
    fs::path tool, library;
  } cases[] = {
      {"example", CopyOfExample("a.i10"), CopyOfExample("b.i10")},
      {"faulty", SetFromLines("c.i10", kFaultySet), SetFromLines("d.i10", kFaultySet)},
  };
  for (const auto& c : cases) {
    const ToolRun run = Solvcalc({"recalc", c.tool.string()});
    const int count = RecalcInProcess(c.library, "PIT37a");
    EXPECT_EQ(run.exitCode, 0) << c.name;
    EXPECT_EQ(run.out, "PIT37a\t" + std::to_string(count) + "\n") << c.name;
    EXPECT_EQ(run.err, "") << c.name;
    // The tool wrote the same derived boxes as the library.
    EXPECT_EQ(Bytes(c.tool), Bytes(c.library)) << c.name;
  }
  EXPECT_GT(RecalcInProcess(cases[1].library, "PIT37a"), 0);
  EXPECT_NE(Bytes(cases[0].tool), Bytes(fs::path(EXAMPLES_DIR) / "pit37.i10"));
}

TEST_F(SolvcalcTest, RecalcOfASetWithoutFormsPrintsNothing) {
  const fs::path set = SetFromLines("e.i10", "[MAIN]\nPIT=PIT37\nVER=10\n");
  const ToolRun run = Solvcalc({"recalc", set.string()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "");
}

TEST_F(SolvcalcTest, CheckPrintsPlainTextAndExitsOneOnMessages) {
  const struct {
    const char* name;
    fs::path set;
    bool markup;
    int exitCode;
    const char* contains;
  } cases[] = {
      {"clean", CopyOfExample("a.i10"), false, 0, "nie występują błędy"},
      {"clean, markup", CopyOfExample("b.i10"), true, 0, "nie występują błędy</b><br>"},
      {"faulty", SetFromLines("c.i10", kFaultySet), false, 1, "liczba komunikatów: "},
      {"faulty, markup", SetFromLines("d.i10", kFaultySet), true, 1, "liczba komunikatów:</b> "},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"check"};
    if (c.markup) args.push_back("--markup");
    args.push_back(c.set.string());
    const ToolRun run = Solvcalc(args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.name << "\n" << run.out << run.err;
    EXPECT_NE(run.out.find(c.contains), std::string::npos) << c.name << "\n" << run.out;
    EXPECT_EQ(run.out.find("<br>") != std::string::npos, c.markup) << c.name << "\n" << run.out;
    EXPECT_EQ(run.out.find("<color") != std::string::npos, c.markup) << c.name << "\n" << run.out;
    EXPECT_EQ(run.err, "") << c.name;
  }
}

TEST_F(SolvcalcTest, CheckCountsTheMessagesOfTheRecalculation) {
  const fs::path set = SetFromLines("c.i10", kFaultySet);
  const int count = RecalcInProcess(SetFromLines("d.i10", kFaultySet), "PIT37a");
  const ToolRun run = Solvcalc({"check", set.string()});
  EXPECT_NE(run.out.find("liczba komunikatów: " + std::to_string(count) + "\n"), std::string::npos) << run.out;
}

// A faulty PIT-37 with a deduction above its limit: messages with and
// without a "POPRAW" link.
constexpr const char* kLimitSet =
    "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\nP6a=[X]\nP10a=[X]\nP39=1000,00\nP40=100,00\nP93=5000,00\n";

// Every example, and a faulty set: check --json is one valid JSON value with
// every message the check counts, each with its form, box, colour, text,
// markup and links; a correction carries its value.
TEST_F(SolvcalcTest, CheckAsJsonHoldsEveryMessage) {
  std::vector<fs::path> sets;
  for (const auto& e : fs::directory_iterator(EXAMPLES_DIR))
    if (e.path().extension() == ".i10") {
      sets.push_back(dir_ / e.path().filename());
      fs::copy_file(e.path(), sets.back());
    }
  sets.push_back(SetFromLines("limit.i10", kLimitSet));
  ASSERT_GT(sets.size(), 5u);
  bool sawCorrection = false;
  for (const fs::path& set : sets) {
    const ToolRun run = Solvcalc({"check", "--json", set.string()});
    const std::optional<Json> json = JsonReader::Read(run.out);
    ASSERT_TRUE(json) << set << "\n" << run.out;
    const int total = static_cast<int>((*json)["total"].number);
    EXPECT_EQ(run.exitCode, total > 0 ? 1 : 0) << set;
    const std::vector<Json>& messages = (*json)["messages"].array;
    EXPECT_EQ(static_cast<int>(messages.size()), total) << set;
    // The same messages as the plain check prints, in its order.
    const ToolRun plain = Solvcalc({"check", set.string()});
    size_t at = 0;
    for (const Json& m : messages) {
      EXPECT_FALSE(m["section"].string.empty()) << set;
      EXPECT_FALSE(m["markup"].string.empty()) << set;
      EXPECT_EQ(m["colour"].kind, Json::Kind::String) << set;
      const std::string& title = m["title"].string;
      at = plain.out.find(title, at);
      EXPECT_NE(at, std::string::npos) << set << ": " << title;
      for (const Json& link : m["links"].array) {
        EXPECT_FALSE(link["page"].string.empty()) << set;
        if (link["correct"].boolean) {
          EXPECT_FALSE(link["value"].string.empty()) << set;
          sawCorrection = true;
        }
      }
    }
  }
  EXPECT_TRUE(sawCorrection);
}

TEST_F(SolvcalcTest, CheckAsJsonNamesTheFormAndBoxOfAMessage) {
  const ToolRun run = Solvcalc({"check", "--json", SetFromLines("limit.i10", kLimitSet).string()});
  const std::optional<Json> json = JsonReader::Read(run.out);
  ASSERT_TRUE(json) << run.out;
  const Json* limit = nullptr;
  for (const Json& m : (*json)["messages"].array)
    if (m["box"].string == "93") limit = &m;
  ASSERT_NE(limit, nullptr) << run.out;
  EXPECT_EQ((*limit)["section"].string, "PIT37a");
  EXPECT_EQ((*limit)["form"].string, "PIT-37");
  EXPECT_EQ((*limit)["colour"].string, "clRed");
  EXPECT_NE((*limit)["text"].string.find("nie może przekroczyć kwoty z poz.64"), std::string::npos);
  ASSERT_EQ((*limit)["links"].array.size(), 2u);
  const Json& correct = (*limit)["links"].array[0];
  EXPECT_TRUE(correct["correct"].boolean);
  EXPECT_EQ(correct["value"].string, "900");
  EXPECT_EQ(correct["page"].string, "PIT37b");
  EXPECT_EQ(correct["box"].string, "P93");
  EXPECT_EQ((*limit)["links"].array[1]["text"].string, "POKAŻ >>>");
}

TEST_F(SolvcalcTest, CheckMarkupKeepsTheLinksOfEveryMessage) {
  const ToolRun run = Solvcalc({"check", "--markup", SetFromLines("limit.i10", kLimitSet).string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("<link=popraw#900#PIT37b#P93>POPRAW</link>"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("<link=PIT37b#P93>POKAŻ >>></link>"), std::string::npos) << run.out;
  EXPECT_EQ(Solvcalc({"check", "--markup", "--json", SetFromLines("x.i10", kLimitSet).string()}).exitCode, 2);
}

TEST_F(SolvcalcTest, RecalcAndCellsAsJson) {
  const ToolRun recalc = Solvcalc({"recalc", "--json", CopyOfExample("a.i10").string()});
  EXPECT_EQ(recalc.exitCode, 0);
  const std::optional<Json> forms = JsonReader::Read(recalc.out);
  ASSERT_TRUE(forms) << recalc.out;
  ASSERT_EQ((*forms)["forms"].array.size(), 1u);
  const Json& pit37 = (*forms)["forms"].array[0];
  EXPECT_EQ(pit37["section"].string, "PIT37a");
  EXPECT_EQ(pit37["values"]["p41"].string, "48665,00") << recalc.out;
  EXPECT_EQ(pit37["messages"].kind, Json::Kind::Array);

  for (const char* command : {"cells", "captions"}) {
    const ToolRun run = Solvcalc({command, "--json", "TPIT37b"});
    const std::optional<Json> page = JsonReader::Read(run.out);
    ASSERT_TRUE(page) << command << "\n" << run.out;
    bool found = false;
    for (const Json& c : (*page)["cells"].array)
      if (c["name"].string == "p41") {
        found = true;
        EXPECT_EQ(c["number"].string, "41");
        EXPECT_FALSE(c["editable"].boolean);
        EXPECT_NE(c["caption"].string.find("Dochód"), std::string::npos);
      }
    EXPECT_TRUE(found) << command;
  }
}

// Anything but a readable INI file: exit 2, one line on stderr, the path left
// as it was.
TEST_F(SolvcalcTest, RefusesWhatIsNotASetAndLeavesItAlone) {
  const fs::path missing = dir_ / "missing.i10";
  const fs::path folder = dir_ / "folder.i10";
  fs::create_directory(folder);
  const fs::path binary = dir_ / "binary.i10";
  PutBytes(binary, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0", 20));
  const fs::path prose = dir_ / "prose.i10";
  PutBytes(prose, "To jest list, nie zestaw.\r\nPIT=PIT37\r\n");
  const fs::path empty = dir_ / "empty.i10";
  PutBytes(empty, "");

  for (const char* command : {"recalc", "check"}) {
    for (const fs::path& p : {missing, folder, binary, prose, empty}) {
      const std::string before = fs::is_regular_file(p) ? Bytes(p) : std::string();
      const ToolRun run = Solvcalc({command, p.string()});
      const std::string label = std::string(command) + " " + p.filename().string();
      EXPECT_EQ(run.exitCode, 2) << label;
      EXPECT_EQ(run.out, "") << label;
      ASSERT_FALSE(run.err.empty()) << label;
      EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << label << ": " << run.err;
      EXPECT_EQ(run.err.back(), '\n') << label;
      if (fs::is_regular_file(p)) {
        EXPECT_EQ(Bytes(p), before) << label;
      }
    }
  }
  EXPECT_FALSE(fs::exists(missing));
  EXPECT_TRUE(fs::is_empty(folder));
  // Nothing was created beside them either.
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"binary.i10", "empty.i10", "folder.i10", "prose.i10"}));
}

TEST_F(SolvcalcTest, WrongArgumentsGiveExitTwo) {
  const fs::path set = CopyOfExample("a.i10");
  const std::vector<std::vector<std::string>> cases = {
      {}, {"recalc"}, {"frobnicate", set.string()}, {"recalc", set.string(), set.string()},
  };
  for (const auto& args : cases) {
    const ToolRun run = Solvcalc(args);
    EXPECT_EQ(run.exitCode, 2) << ::testing::PrintToString(args);
    EXPECT_FALSE(run.err.empty()) << ::testing::PrintToString(args);
  }
  EXPECT_EQ(Bytes(set), Bytes(fs::path(EXAMPLES_DIR) / "pit37.i10"));
}

// The page commands: the catalogue, a page's cells, and a page drawn to PNG.
TEST_F(SolvcalcTest, PageCommands) {
  const ToolRun pages = Solvcalc({"pages"});
  EXPECT_EQ(pages.exitCode, 0);
  EXPECT_EQ(std::count(pages.out.begin(), pages.out.end(), '\n'), 39);
  EXPECT_NE(pages.out.find("TPIT37b\tPIT37b\t1164\tpit37b\tpit37b\n"), std::string::npos);

  const ToolRun cells = Solvcalc({"cells", "TPIT37a"});
  EXPECT_EQ(cells.exitCode, 0);
  EXPECT_NE(cells.out.find("p5\t3\te\t\t2010\n"), std::string::npos);
  EXPECT_NE(cells.out.find("p6a\t2\te\t[  ]\t[  ]\n"), std::string::npos);
  EXPECT_EQ(Solvcalc({"cells", "TPIT99x"}).exitCode, 2);

  const fs::path set = CopyOfExample("1.i10");
  const fs::path png = dir_ / "b.png";
  const ToolRun render = Solvcalc({"render", set.string(), "TPIT37b", png.string(), "--scale", "2"});
#ifdef SOLVCALC_CAN_RENDER
  EXPECT_EQ(render.exitCode, 0) << render.err;
  EXPECT_EQ(Bytes(png).substr(0, 8), "\x89PNG\r\n\x1a\n");
#endif
  for (const auto& bad : std::vector<std::vector<std::string>>{
           {"render", set.string(), "TPIT99x", png.string()},
           {"render", (dir_ / "missing.i10").string(), "TPIT37b", png.string()},
           {"render", set.string(), "TPIT37b", png.string(), "--scale", "0"},
           {"render", set.string(), "TPIT37b"}}) {
    EXPECT_EQ(Solvcalc(bad).exitCode, 2) << bad[2];
  }
}

// captions and lint, on compiled-in pages, on a definition file and on a
// folder of definitions given with --pages.
TEST_F(SolvcalcTest, CaptionsAndLintOfPages) {
  const ToolRun captions = Solvcalc({"captions", "TPIT37b"});
  EXPECT_EQ(captions.exitCode, 0);
  EXPECT_NE(captions.out.find("p39\t39\tWynagrodzenia i inne przychody ze stosunku służbowego, stosunku pracy, "
                              "pracy nakładczej, spółdzielczego stosunku pracy, zasiłki pieniężne z ubezpieczenia "
                              "społecznego / Przychód\n"),
            std::string::npos)
      << captions.out;
  EXPECT_NE(captions.out.find("p102\t102\tWydatki mieszkaniowe – wykazane w części B.3 załącznika PIT/D / Kwota "
                              "wydatków\n"),
            std::string::npos);
  EXPECT_EQ(Solvcalc({"captions", "TPIT99x"}).exitCode, 2);

  EXPECT_EQ(Solvcalc({"lint", "TPIT37a", "TPIT37b", "TPIT37c"}).out, "");
  EXPECT_EQ(Solvcalc({"lint", "TPIT37a"}).exitCode, 0);

  // A definition file with a box lacking its caption and no footer.
  const fs::path folder = dir_ / "forms";
  fs::create_directory(folder);
  for (const auto& e : fs::directory_iterator(FORMS_DIR))
    fs::copy_file(e.path(), folder / e.path().filename());
  PutBytes(folder / "PIT37c.page", "page TPIT37c name=PIT37c tag=3 pages=3 form=PIT-37 height=1164 report=pit37c "
                                   "title=pit37c click=p112Click variant=17\nbox p109 money 28 20 100 40 \"\"\n");
  const ToolRun lint = Solvcalc({"lint", (folder / "PIT37c.page").string()});
  EXPECT_EQ(lint.exitCode, 1);
  EXPECT_NE(lint.out.find("TPIT37c\tpole p109: brak opisu\n"), std::string::npos) << lint.out;
  EXPECT_NE(lint.out.find("TPIT37c\tbrak stopki (footer)\n"), std::string::npos) << lint.out;
  EXPECT_EQ(Solvcalc({"--pages", folder.string(), "captions", "TPIT37c"}).out, "p109\t109\t\n");

  // A broken definition names its file and line.
  PutBytes(folder / "PIT37c.page", "page TPIT37c name=PIT37c\n");
  const ToolRun broken = Solvcalc({"--pages", folder.string(), "pages"});
  EXPECT_EQ(broken.exitCode, 2);
  EXPECT_NE(broken.err.find("PIT37c.page: line 1"), std::string::npos) << broken.err;
}

// The text of a PDF through pdftotext (pages end in a form feed); nullopt
// when the tool is not installed.
std::optional<std::string> PdfText(const fs::path& pdf) {
  if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) return std::nullopt;
  const fs::path txt = fs::path(pdf).replace_extension(".txt");
  const std::string command = "pdftotext -enc UTF-8 '" + pdf.string() + "' '" + txt.string() + "'";
  if (std::system(command.c_str()) != 0) return std::string();
  return Bytes(txt);
}

TEST_F(SolvcalcTest, PdfPrintsTheCheckedFormsWithTheirStoredValues) {
  const fs::path set = CopyOfExample("1.i10");
  const struct {
    const char* name;
    std::vector<std::string> extra;
    long pages;
  } cases[] = {
      {"pre-checked", {}, 3},
      // PIT/O has no section: one blank copy after the main form.
      {"listed", {"--forms", "PITO, PIT37"}, 6},
  };
  for (const auto& c : cases) {
    const fs::path pdf = dir_ / (std::string(c.name) + ".pdf");
    std::vector<std::string> args{"pdf", set.string(), pdf.string()};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const ToolRun run = Solvcalc(args);
#ifdef SOLVCALC_CAN_RENDER
    ASSERT_EQ(run.exitCode, 0) << c.name << ": " << run.err;
    EXPECT_EQ(run.err, "") << c.name;
    EXPECT_EQ(Bytes(pdf).substr(0, 4), "%PDF") << c.name;
    if (const auto text = PdfText(pdf)) {
      EXPECT_EQ(std::count(text->begin(), text->end(), '\f'), c.pages) << c.name;
      for (const char* stored : {"1234563218", "Kowalska", "Zofia Łucja", "Piotrkowska", "50000,00"})
        EXPECT_NE(text->find(stored), std::string::npos) << c.name << ": " << stored;
      // PIT-37 pages come first, PIT/O after them.
      EXPECT_LT(text->find("PIT-37(17)"), text->find("PIT/O")) << c.name;
    }
#else
    EXPECT_EQ(run.exitCode, 2) << c.name;
#endif
  }
  // The set is only read.
  EXPECT_EQ(Bytes(set), Bytes(fs::path(EXAMPLES_DIR) / "pit37.i10"));
}

TEST_F(SolvcalcTest, PdfErrorsGiveOneLineAndWriteNothing) {
  const fs::path set = CopyOfExample("1.i10");
  const fs::path pdf = dir_ / "out.pdf";
  for (const auto& bad : std::vector<std::vector<std::string>>{
           {"pdf", set.string(), pdf.string(), "--forms", "PIT37,PIT99"},
           {"pdf", (dir_ / "missing.i10").string(), pdf.string()},
           {"pdf", set.string(), (dir_ / "no-such-dir" / "out.pdf").string()},
           {"pdf", set.string()},
           {"pdf", set.string(), pdf.string(), "--forms"}}) {
    const ToolRun run = Solvcalc(bad);
    EXPECT_EQ(run.exitCode, 2) << bad.back();
    EXPECT_FALSE(run.err.empty()) << bad.back();
    EXPECT_FALSE(fs::exists(pdf)) << bad.back();
  }
  const ToolRun unknown = Solvcalc({"pdf", set.string(), pdf.string(), "--forms", "PIT99"});
  EXPECT_EQ(unknown.err, "solvcalc: nieznany formularz: PIT99\n");
}

}  // namespace
