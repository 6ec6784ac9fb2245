// INI files: parsing and rewriting rules, and the file on disk (encoding,
// line ends, atomic replacement, refused writes, changes made from outside).
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "store/cp1250.hpp"
#include "store/ini.hpp"
#include "store/store.hpp"
#include "set_fixture.hpp"

namespace {

namespace fs = std::filesystem;
using solv::IniDocument;
using solv::IniFile;

// ---------------------------------------------------------------- parsing

struct ReadCase {
  const char* name;
  std::string text;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

TEST(IniRead, FollowsTheReadRules) {
  const ReadCase cases[] = {
      {"plain", "[A]\r\nK=v\r\n", "A", "K", "v"},
      {"blanks around key and value", "[A]\r\n  K  =   v w   \r\n", "A", "K", "v w"},
      {"tabs around value", "[A]\r\nK=\tv\t\r\n", "A", "K", "v"},
      {"blanks inside brackets", "[ A ]\r\nK=v\r\n", "A", "K", "v"},
      {"empty value is not absent", "[A]\r\nK=\r\n", "A", "K", ""},
      {"absent key", "[A]\r\nK=v\r\n", "A", "L", std::nullopt},
      {"absent section", "[A]\r\nK=v\r\n", "B", "K", std::nullopt},
      {"key of another section", "[A]\r\nK=v\r\n[B]\r\n", "B", "K", std::nullopt},
      {"section case", "[PIT37a]\r\nP45=1\r\n", "pit37A", "P45", "1"},
      {"key case", "[PIT36a]\r\nP6A=[X]\r\n", "PIT36a", "p6a", "[X]"},
      {"Polish section case", "[ŹRÓDŁO]\r\nK=v\r\n", "źródło", "K", "v"},
      {"Polish key case", "[A]\r\nŁĄKA_ĆŃĘŚŻ=v\r\n", "A", "łąka_ćńęśż", "v"},
      {"one pair of quotes removed", "[A]\r\nK=\"v w\"\r\n", "A", "K", "v w"},
      {"only one pair removed", "[A]\r\nK=\"\"pomagam podatkiem\"\"\r\n", "A", "K", "\"pomagam podatkiem\""},
      {"quotes after trimming", "[A]\r\nK=  \"v\"  \r\n", "A", "K", "v"},
      {"quote at one end kept", "[A]\r\nK=\"v\r\n", "A", "K", "\"v"},
      {"lone quote kept", "[A]\r\nK=\"\r\n", "A", "K", "\""},
      {"value after first equals", "[A]\r\nK=a=b\r\n", "A", "K", "a=b"},
      {"first of duplicate keys", "[A]\r\nK=1\r\nk=2\r\n", "A", "K", "1"},
      {"first of duplicate sections", "[A]\r\nK=1\r\n[a]\r\nK=2\r\n", "A", "K", "1"},
      {"lines before any section", "K=0\r\n[A]\r\nK=1\r\n", "A", "K", "1"},
      {"LF line ends", "[A]\nK=1\nL=2\n[B]\nK=3\n", "B", "K", "3"},
      {"CR line ends", "[A]\rK=1\rL=2\r[B]\rK=3\r", "A", "L", "2"},
      {"mixed line ends", "[A]\r\nK=1\nL=2\r[B]\r\nK=3", "A", "L", "2"},
      {"no line end at the end", "[A]\r\nK=1", "A", "K", "1"},
  };
  for (const auto& c : cases) {
    const IniDocument doc = IniDocument::Parse(c.text);
    EXPECT_EQ(doc.Read(c.section, c.key), c.expected) << c.name;
  }
}

TEST(IniRead, ReturnsAtMost2047Characters) {
  struct {
    const char* name;
    std::string value;
    std::string expected;
  } cases[] = {
      {"exactly the limit", std::string(2047, 'x'), std::string(2047, 'x')},
      {"one over", std::string(2048, 'x'), std::string(2047, 'x')},
      {"far over", std::string(5000, 'x'), std::string(2047, 'x')},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IniDocument::Parse("[A]\r\nK=" + c.value + "\r\n").Read("A", "K"), c.expected) << c.name;
  }

  // Characters, not bytes: a Polish letter is two bytes in memory.
  std::string polish;
  for (int i = 0; i < 3000; ++i) polish += "ą";
  std::string cut;
  for (int i = 0; i < 2047; ++i) cut += "ą";
  EXPECT_EQ(IniDocument::Parse("[A]\r\nK=" + polish + "\r\n").Read("A", "K"), cut);

  // The quotes are removed before the count.
  EXPECT_EQ(IniDocument::Parse("[A]\r\nK=\"" + std::string(2047, 'y') + "\"\r\n").Read("A", "K"),
            std::string(2047, 'y'));
}

TEST(IniRead, SectionNamesAndEntriesInFileOrder) {
  const IniDocument doc = IniDocument::Parse("[MAIN]\r\nPIT=PIT37\r\n[PITBa]\r\nP1=a\r\nP2= \"b\" \r\np1=dup\r\n[PITBa_1]\r\n");
  EXPECT_EQ(doc.SectionNames(), (std::vector<std::string>{"MAIN", "PITBa", "PITBa_1"}));
  EXPECT_EQ(doc.Entries("pitba"), (solv::IniEntries{{"P1", "a"}, {"P2", "b"}}));
  EXPECT_TRUE(doc.Entries("PITBa_1").empty());
  EXPECT_TRUE(doc.Entries("none").empty());
  EXPECT_TRUE(doc.HasSection("pitba_1"));
  EXPECT_FALSE(doc.HasSection("PITB"));
}

TEST(IniRead, TellsAnIniTextFromOtherText) {
  const struct {
    const char* name;
    std::string text;
    bool ini;
  } cases[] = {
      {"set file", "[MAIN]\r\nPIT=PIT37\r\nVER=10\r\n", true},
      {"comments and blank lines", "; note\r\n\r\n[A]\r\n# note\r\nK=1\r\n\r\n", true},
      {"empty section only", "[A]\r\n", true},
      {"empty text", "", false},
      {"keys without section", "PIT=PIT37\r\nVER=10\r\n", false},
      {"prose", "Dear taxpayer,\r\nthis is a letter.\r\n", false},
      {"prose inside a section", "[A]\r\nthis is not a key\r\n", false},
      {"prose before a section", "hello\r\n[A]\r\nK=1\r\n", false},
      {"NUL bytes", std::string("[A]\r\nK=1\r\n\0\0\0", 13), false},
  };
  for (const auto& c : cases) EXPECT_EQ(IniDocument::Parse(c.text).LooksLikeIni(), c.ini) << c.name;
}

// ---------------------------------------------------------------- rewriting

struct RewriteCase {
  const char* name;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};

TEST(IniWrite, RewritesOnlyWhatWasWritten) {
  const RewriteCase cases[] = {
      {"in place", "[A]\r\nK1=1\r\nK2=2\r\n[B]\r\nK1=3\r\n", "A", "K1", "x",
       "[A]\r\nK1=x\r\nK2=2\r\n[B]\r\nK1=3\r\n"},
      {"in place, other letter case", "[A]\r\nK1=1\r\nK2=2\r\n", "a", "k1", "x", "[A]\r\nK1=x\r\nK2=2\r\n"},
      {"new key at end of its section", "[A]\r\nK1=1\r\n[B]\r\nK1=3\r\n", "A", "K2", "2",
       "[A]\r\nK1=1\r\nK2=2\r\n[B]\r\nK1=3\r\n"},
      {"new key before trailing blank lines", "[A]\r\nK1=1\r\n\r\n\r\n[B]\r\n", "A", "K2", "2",
       "[A]\r\nK1=1\r\nK2=2\r\n\r\n\r\n[B]\r\n"},
      {"new key after a comment that ends the section", "[A]\r\nK1=1\r\n; end\r\n[B]\r\n", "A", "K2", "2",
       "[A]\r\nK1=1\r\n; end\r\nK2=2\r\n[B]\r\n"},
      {"new key in an empty section", "[A]\r\n[B]\r\n", "A", "K", "v", "[A]\r\nK=v\r\n[B]\r\n"},
      {"new section at end of file", "[A]\r\nK1=1\r\n", "B", "K", "v", "[A]\r\nK1=1\r\n[B]\r\nK=v\r\n"},
      {"first section of an empty text", "", "MAIN", "PIT", "PIT37", "[MAIN]\r\nPIT=PIT37\r\n"},
      {"unknown lines kept", "; comment\r\nstray\r\n[A]\r\ngarbage line\r\nK=1\r\n# note\r\n", "A", "K", "2",
       "; comment\r\nstray\r\n[A]\r\ngarbage line\r\nK=2\r\n# note\r\n"},
      {"other spellings kept", "[A]\r\n  L  =  keep  \r\nK=1\r\n", "A", "K", "2",
       "[A]\r\n  L  =  keep  \r\nK=2\r\n"},
      {"LF text rewritten with CRLF", "[A]\nK=1\nL=2\n", "A", "K", "x", "[A]\r\nK=x\r\nL=2\r\n"},
      {"CR text rewritten with CRLF", "[A]\rK=1\rL=2\r", "A", "L", "x", "[A]\r\nK=1\r\nL=x\r\n"},
      {"only the first of duplicate keys", "[A]\r\nK=1\r\nK=2\r\n", "A", "K", "x", "[A]\r\nK=x\r\nK=2\r\n"},
  };
  for (const auto& c : cases) {
    IniDocument doc = IniDocument::Parse(c.before);
    EXPECT_TRUE(doc.Write(c.section, c.key, c.value)) << c.name;
    EXPECT_EQ(doc.Serialize(), c.after) << c.name;
    EXPECT_EQ(doc.Read(c.section, c.key), c.value) << c.name;
  }
}

// What is written is what a later read returns, also after the text went to
// disk and was parsed again.
TEST(IniWrite, ValuesReadBackAsWritten) {
  const struct {
    const char* name;
    std::string value;
    std::string stored;  // the line as it stands in the file
    std::string read;
  } cases[] = {
      {"plain", "abc", "K=abc", "abc"},
      {"empty", "", "K=", ""},
      {"Polish", "Łódź, ul. Źródlana", "K=Łódź, ul. Źródlana", "Łódź, ul. Źródlana"},
      {"equals sign", "a=b", "K=a=b", "a=b"},
      {"quoted", "\"pomagam podatkiem\"", "K=\"\"pomagam podatkiem\"\"", "\"pomagam podatkiem\""},
      {"twice quoted", "\"\"x\"\"", "K=\"\"\"x\"\"\"", "\"\"x\"\""},
      {"empty quotes", "\"\"", "K=\"\"\"\"", "\"\""},
      {"quotes at both ends only", "\"a\" and \"b\"", "K=\"\"a\" and \"b\"\"", "\"a\" and \"b\""},
      {"quoted with blanks outside", " \"x\" ", "K=\" \"x\" \"", " \"x\" "},
      {"open quote", "\"abc", "K=\"abc", "\"abc"},
      {"close quote", "abc\"", "K=abc\"", "abc\""},
      {"lone quote", "\"", "K=\"", "\""},
      // Unquoted blanks at the ends are not part of a value.
      {"blanks trimmed", "  abc  ", "K=abc", "abc"},
  };
  for (const auto& c : cases) {
    IniDocument doc = IniDocument::Parse("[A]\r\n");
    doc.Write("A", "K", c.value);
    EXPECT_EQ(doc.Read("A", "K"), c.read) << c.name;
    const std::string text = doc.Serialize();
    EXPECT_NE(text.find("\r\n" + c.stored + "\r\n"), std::string::npos) << c.name << ": " << text;
    EXPECT_EQ(IniDocument::Parse(text).Read("A", "K"), c.read) << c.name;
  }
}

// A line break in a value, key or section name must not reach the file as a
// line break: it would forge keys and sections.
TEST(IniWrite, LineBreaksAreStoredAsBlanks) {
  const struct {
    const char* name;
    std::string section, key, value;
    std::string text;
  } cases[] = {
      {"value LF", "A", "K", "x\n[EVIL]\nP1=forged", "[A]\r\nP0=0\r\nK=x [EVIL] P1=forged\r\n"},
      {"value CRLF", "A", "K", "x\r\nP1=forged", "[A]\r\nP0=0\r\nK=x  P1=forged\r\n"},
      {"value CR", "A", "K", "x\rP1=forged", "[A]\r\nP0=0\r\nK=x P1=forged\r\n"},
      {"key", "A", "K\nP1", "v", "[A]\r\nP0=0\r\nK P1=v\r\n"},
      {"section", "S\nP1=forged", "K", "v", "[A]\r\nP0=0\r\n[S P1=forged]\r\nK=v\r\n"},
  };
  for (const auto& c : cases) {
    IniDocument doc = IniDocument::Parse("[A]\r\nP0=0\r\n");
    doc.Write(c.section, c.key, c.value);
    EXPECT_EQ(doc.Serialize(), c.text) << c.name;
    const IniDocument reread = IniDocument::Parse(doc.Serialize());
    EXPECT_EQ(reread.Read("A", "P1"), std::nullopt) << c.name;
    EXPECT_FALSE(reread.HasSection("EVIL")) << c.name;
  }
}

TEST(IniWrite, RepeatedWriteWithLineBreakInNameKeepsOneLine) {
  IniDocument doc = IniDocument::Parse("[A]\r\n");
  doc.Write("A", "K\nL", "1");
  doc.Write("A", "K\nL", "2");
  doc.Write("S\nT", "K", "1");
  doc.Write("S\nT", "K", "2");
  EXPECT_EQ(doc.Serialize(), "[A]\r\nK L=2\r\n[S T]\r\nK=2\r\n");
  EXPECT_EQ(doc.Read("A", "K\nL"), "2");
  EXPECT_EQ(doc.Read("S\nT", "K"), "2");
}

TEST(IniWrite, ReportsWhetherTheTextChanged) {
  const struct {
    const char* name;
    std::string before;
    const char* value;
    bool changed;
  } cases[] = {
      {"same value", "[A]\r\nK=v\r\n", "v", false},
      {"same value, other key case", "[A]\r\nk=v\r\n", "v", false},
      {"same quoted value", "[A]\r\nK=\"\"v\"\"\r\n", "\"v\"", false},
      {"same value written with blanks", "[A]\r\nK=v\r\n", "  v  ", false},
      {"same value, blanks in the file", "[A]\r\nK = v \r\n", "v", false},
      {"same empty value", "[A]\r\nK=\r\n", "", false},
      {"other value", "[A]\r\nK=v\r\n", "w", true},
      {"quotes added", "[A]\r\nK=v\r\n", "\"v\"", true},
      {"new key", "[A]\r\n", "v", true},
      {"new key with empty value", "[A]\r\n", "", true},
      {"new key with blanks", "[A]\r\n", "  v  ", true},
      {"new section", "", "v", true},
  };
  for (const auto& c : cases) {
    IniDocument doc = IniDocument::Parse(c.before);
    EXPECT_EQ(doc.Write("A", "K", c.value), c.changed) << c.name;
    // Writing the same again never changes anything.
    EXPECT_FALSE(doc.Write("A", "K", c.value)) << c.name << " (again)";
  }
}

TEST(IniWrite, EraseSectionRemovesEverySectionOfThatName) {
  IniDocument doc = IniDocument::Parse("[A]\r\nK=1\r\n[PITBa]\r\nP1=x\r\n[B]\r\nK=2\r\n[pitba]\r\nP1=y\r\n");
  EXPECT_TRUE(doc.EraseSection("PITBA"));
  EXPECT_EQ(doc.Serialize(), "[A]\r\nK=1\r\n[B]\r\nK=2\r\n");
  EXPECT_EQ(doc.Read("PITBa", "P1"), std::nullopt);
  EXPECT_EQ(doc.Read("B", "K"), "2");  // the index still finds the sections after the gap
  EXPECT_FALSE(doc.EraseSection("PITBa"));
  doc.Write("PITBa", "P1", "z");
  EXPECT_EQ(doc.Serialize(), "[A]\r\nK=1\r\n[B]\r\nK=2\r\n[PITBa]\r\nP1=z\r\n");
}

TEST(IniName, FoldsAsciiAndPolishLetters) {
  EXPECT_TRUE(solv::SameName("PIT37a", "pit37A"));
  EXPECT_TRUE(solv::SameName("ĄĆĘŁŃÓŚŹŻ", "ąćęłńóśźż"));
  EXPECT_TRUE(solv::SameName("ŠČŘŽĽŤŇĎĚŮŐŰÄÖÜ", "ščřžľťňďěůőűäöü"));
  EXPECT_FALSE(solv::SameName("ą", "a"));
  EXPECT_FALSE(solv::SameName("PITBa", "PITBa_1"));
  EXPECT_FALSE(solv::SameName("K L", "K_L"));
}

// ---------------------------------------------------------------- on disk

struct stat StatOf(const fs::path& p) {
  struct stat st {};
  EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
  return st;
}

// Everything in the folder but the given file (left-over temporary files).
std::vector<std::string> OtherFiles(const fs::path& dir, const fs::path& except) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().filename() != except.filename()) names.push_back(e.path().filename().string());
  return names;
}

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "solvini-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    path_ = dir_ / "1.i10";
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  fs::path dir_;
  fs::path path_;
};

TEST_F(IniFileTest, FirstWriteCreatesTheFileInWindows1250WithCrlf) {
  IniFile file(path_);
  EXPECT_FALSE(file.Exists());
  EXPECT_EQ(file.Read("PIT37a", "P11"), std::nullopt);
  file.Write("PIT37a", "P11", "Żółć");
  file.Write("PIT37a", "P12", "Zofia Łucja");
  EXPECT_TRUE(file.Exists());
  EXPECT_EQ(Bytes(path_), "[PIT37a]\r\nP11=\xAF\xF3\xB3\xE6\r\nP12=Zofia \xA3ucja\r\n");
}

TEST_F(IniFileTest, ReadsWindows1250FromDisk) {
  PutBytes(path_, "[A]\nK=\xA3\xF3" "d\x9F \x81 \xE6\nL=\xB9\n");  // LF only, an undefined byte
  IniFile file(path_);
  EXPECT_TRUE(file.LooksLikeIni());
  EXPECT_EQ(file.Read("A", "K"), "Łódź \xEF\xBF\xBD ć");
  EXPECT_EQ(file.Read("a", "l"), "ą");
}

TEST_F(IniFileTest, CharactersOutsideTheCodePageAreWrittenAsQuestionMarks) {
  IniFile file(path_);
  // A CJK letter, then a line end hidden in an overlong UTF-8 form.
  file.Write("A", "K", "a\xE6\x97\xA5" "b\xC0\x8A[EVIL]");
  const std::string bytes = Bytes(path_);
  EXPECT_EQ(bytes.substr(0, 10), "[A]\r\nK=a?b") << bytes;
  ASSERT_GE(bytes.size(), 18u);
  EXPECT_EQ(bytes.substr(bytes.size() - 8), "[EVIL]\r\n") << bytes;
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 2) << bytes;
  EXPECT_EQ(IniFile(path_).Sections(), std::vector<std::string>{"A"});
}

TEST_F(IniFileTest, EveryWriteReplacesTheFileThroughARename) {
  PutBytes(path_, "[A]\r\nK=1\r\n");
  ASSERT_EQ(::chmod(path_.c_str(), 0640), 0);
  IniFile file(path_);
  const struct stat before = StatOf(path_);

  file.Write("A", "K", "2");
  EXPECT_EQ(Bytes(path_), "[A]\r\nK=2\r\n");  // on disk before Write returned
  const struct stat afterWrite = StatOf(path_);
  EXPECT_NE(afterWrite.st_ino, before.st_ino);  // a new file took the name
  EXPECT_EQ(afterWrite.st_mode & 07777, 0640u);

  file.WriteMany("B", {{"X", "1"}, {"Y", "2"}});
  EXPECT_EQ(Bytes(path_), "[A]\r\nK=2\r\n[B]\r\nX=1\r\nY=2\r\n");
  file.EraseSection("A");
  EXPECT_EQ(Bytes(path_), "[B]\r\nX=1\r\nY=2\r\n");

  EXPECT_TRUE(OtherFiles(dir_, path_).empty());
}

TEST_F(IniFileTest, UnchangedWritesLeaveTheFileAlone) {
  const struct {
    const char* name;
    std::string before;
    std::function<void(IniFile&)> write;
  } cases[] = {
      {"same value", "[A]\r\nK=v\r\n", [](IniFile& f) { f.Write("A", "K", "v"); }},
      {"same value, other case", "[A]\r\nK=v\r\n", [](IniFile& f) { f.Write("a", "k", "v"); }},
      {"same quoted value", "[A]\r\nK=\"\"v\"\"\r\n", [](IniFile& f) { f.Write("A", "K", "\"v\""); }},
      {"same value with blanks", "[A]\r\nK=v\r\n", [](IniFile& f) { f.Write("A", "K", " v "); }},
      {"blanks in the file", "[A]\r\nK = v\r\n", [](IniFile& f) { f.Write("A", "K", "v"); }},
      {"same page", "[A]\r\nK=v\r\nL=\r\n", [](IniFile& f) { f.WriteMany("A", {{"K", "v"}, {"L", ""}}); }},
      {"erase of an absent section", "[A]\r\nK=v\r\n", [](IniFile& f) { f.EraseSection("B"); }},
  };
  for (const auto& c : cases) {
    PutBytes(path_, c.before);
    struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};  // a stamp a rewrite would change
    ASSERT_EQ(::utimensat(AT_FDCWD, path_.c_str(), old, 0), 0);
    IniFile file(path_);
    const struct stat before = StatOf(path_);
    c.write(file);
    c.write(file);
    const struct stat after = StatOf(path_);
    EXPECT_EQ(after.st_ino, before.st_ino) << c.name;
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec) << c.name;
    EXPECT_EQ(Bytes(path_), c.before) << c.name;
  }
}

TEST_F(IniFileTest, ChangesMadeFromOutsideAreSeen) {
  PutBytes(path_, "[A]\r\nK=1\r\n");
  IniFile file(path_);
  ASSERT_EQ(file.Read("A", "K"), "1");

  // Rewritten in place with another size.
  PutBytes(path_, "[A]\r\nK=22\r\n");
  EXPECT_EQ(file.Read("A", "K"), "22");

  // Rewritten in place with the same size; only the time stamp tells.
  PutBytes(path_, "[A]\r\nK=33\r\n");
  fs::last_write_time(path_, fs::last_write_time(path_) + std::chrono::seconds(5));
  EXPECT_EQ(file.Read("A", "K"), "33");

  // Replaced by another file (new inode), same size.
  const fs::path other = dir_ / "other";
  PutBytes(other, "[A]\r\nK=44\r\n");
  fs::rename(other, path_);
  EXPECT_EQ(file.Read("A", "K"), "44");

  // A write starts from the file as it now is, not from the old copy.
  PutBytes(path_, "[A]\r\nK=44\r\nL=outside\r\n");
  file.Write("A", "M", "mine");
  EXPECT_EQ(Bytes(path_), "[A]\r\nK=44\r\nL=outside\r\nM=mine\r\n");

  // Removed.
  fs::remove(path_);
  EXPECT_EQ(file.Read("A", "K"), std::nullopt);
  EXPECT_TRUE(file.Sections().empty());
}

TEST_F(IniFileTest, GenericIniAccessSeesOutsideWrites) {
  solv::IniWrite(path_, "A", "K", "1");
  EXPECT_EQ(solv::IniRead(dir_ / "." / "1.i10", "a", "k", "def"), "1");
  PutBytes(path_, "[A]\r\nK=outside\r\n");
  EXPECT_EQ(solv::IniRead(path_, "A", "K", "def"), "outside");
  EXPECT_EQ(solv::IniRead(path_, "A", "none", "def"), "def");
}

// Lowers the file-size limit so that writes past it fail (with EFBIG rather
// than a signal), and puts everything back when it goes.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = old_;
    lowered.rlim_cur = bytes;
    ok_ = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  bool ok() const { return ok_; }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = SIG_DFL;
  bool ok_ = false;
};

TEST_F(IniFileTest, RefusedWriteThrowsAndLeavesFileAndReadsUnchanged) {
  const std::string original = "[A]\r\nK=old\r\n[B]\r\nX=1\r\n";
  const struct {
    const char* name;
    std::function<void(IniFile&)> write;
  } cases[] = {
      {"Write", [](IniFile& f) { f.Write("A", "K", "a much longer new value"); }},
      {"WriteMany", [](IniFile& f) { f.WriteMany("A", {{"K", "a much longer new value"}, {"L", "x"}}); }},
      {"EraseSection", [](IniFile& f) { f.EraseSection("B"); }},
  };
  for (const auto& c : cases) {
    PutBytes(path_, original);
    IniFile file(path_);
    ASSERT_EQ(file.Read("A", "K"), "old");
    std::optional<std::string> error;
    {
      FileSizeLimit limit(8);
      ASSERT_TRUE(limit.ok());
      try {
        c.write(file);
      } catch (const solv::StoreError& e) {
        error = e.what();
      }
    }
    EXPECT_EQ(error, "Unable to write to " + path_.string()) << c.name;
    EXPECT_EQ(Bytes(path_), original) << c.name;
    EXPECT_EQ(file.Read("A", "K"), "old") << c.name;
    EXPECT_EQ(file.Read("A", "L"), std::nullopt) << c.name;
    EXPECT_EQ(file.Read("B", "X"), "1") << c.name;
    EXPECT_TRUE(OtherFiles(dir_, path_).empty()) << c.name;

    // Once the file system takes writes again, the same write goes through.
    c.write(file);
    EXPECT_NE(Bytes(path_), original) << c.name;
  }
}

TEST_F(IniFileTest, WriteIntoAMissingFolderThrows) {
  const fs::path nowhere = dir_ / "missing" / "1.i10";
  IniFile file(nowhere);
  try {
    file.Write("A", "K", "v");
    FAIL() << "no error";
  } catch (const solv::StoreError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + nowhere.string());
  }
  EXPECT_EQ(file.Read("A", "K"), std::nullopt);
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

TEST_F(IniFileTest, WriteOverADirectoryThrows) {
  fs::create_directory(path_);
  IniFile file(path_);
  EXPECT_THROW(file.Write("A", "K", "v"), solv::StoreError);
  EXPECT_TRUE(fs::is_directory(path_));
  EXPECT_TRUE(fs::is_empty(path_));
}

}  // namespace

// A save that expects a version of the file replaces only that version: a
// file written, created or removed by another program since is left as that
// program left it, and the save is refused as a change from outside.
TEST_F(IniFileTest, ASaveExpectingAVersionNeverGoesOverAnother) {
  const struct {
    const char* what;
    bool existsBefore;
    std::function<void(const fs::path&)> outside;  // what happens after the version was taken
    std::optional<std::string> left;               // the file as the other program left it
  } cases[] = {
      {"written in place", true, [](const fs::path& p) { PutBytes(p, "[A]\r\nK=outside\r\n"); },
       "[A]\r\nK=outside\r\n"},
      {"replaced", true,
       [](const fs::path& p) {
         PutBytes(p.string() + ".x", "[A]\r\nK=other\r\n");
         fs::rename(p.string() + ".x", p);
       },
       "[A]\r\nK=other\r\n"},
      {"removed", true, [](const fs::path& p) { fs::remove(p); }, std::nullopt},
      {"created", false, [](const fs::path& p) { PutBytes(p, "[A]\r\nK=new\r\n"); }, "[A]\r\nK=new\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(path_);
    if (c.existsBefore) PutBytes(path_, "[A]\r\nK=old\r\n");
    const solv::FileStamp version = solv::FileStamp::Of(path_);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));  // a later modification time
    c.outside(path_);
    EXPECT_THROW(solv::SaveIniText(path_, "[A]\r\nK=ours\r\n", &version), solv::SetChangedError);
    if (c.left) EXPECT_EQ(Bytes(path_), *c.left);
    else EXPECT_FALSE(fs::exists(path_));
    EXPECT_TRUE(OtherFiles(dir_, path_).empty());
  }
  // The version it expects is replaced.
  PutBytes(path_, "[A]\r\nK=old\r\n");
  const solv::FileStamp version = solv::FileStamp::Of(path_);
  solv::SaveIniText(path_, "[A]\r\nK=ours\r\n", &version);
  EXPECT_EQ(Bytes(path_), "[A]\r\nK=ours\r\n");
  EXPECT_TRUE(OtherFiles(dir_, path_).empty());
}
