#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "rar_fixture.hpp"
#include "temp_folder.hpp"
#include "rar_archive.hpp"

namespace fs = std::filesystem;
using namespace solv;
using rarfix::Dir;
using rarfix::File;
using rarfix::RarArchive;
using rarfix::Symlink;

namespace {

std::string ReadAll(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// Every path below root, relative, sorted ("out/_Solv2010", ...).
std::vector<std::string> Tree(const fs::path& root) {
  std::vector<std::string> out;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it)
    out.push_back(fs::relative(it->path(), root).string());
  std::sort(out.begin(), out.end());
  return out;
}

// A temporary folder with the archive beside the target folder "out", and a
// TRAR whose events are written down in order.
class RarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    archive = root / "upd.rar";
    target = root / "out";
    fs::create_directory(target);
    rar.ArchiveName = archive.string();
    rar.TargetDir = target.string();
    rar.OnExtracting = [this](TRAR&, const RarHeader& h) { events.push_back("extracting " + h.FileName); };
    rar.OnExtract = [this](TRAR&, const RarHeader& h, bool ok) {
      events.push_back((ok ? "extracted " : "failed ") + h.FileName);
    };
    rar.OnError = [this](TRAR&, int code) {
      events.push_back("error " + std::to_string(code));
      errors.push_back(code);
    };
  }
  void Write(const std::vector<rarfix::Entry>& entries, const rarfix::Options& options = {}) {
    rarfix::WriteFile(archive, RarArchive(entries, options));
  }

  solv::test::TempFolder folder{"solvrar"};
  fs::path root = folder.Path();
  fs::path archive, target;
  TRAR rar;
  std::vector<std::string> events;
  std::vector<int> errors;
};

TEST_F(RarTest, LibraryReadsRar) { EXPECT_TRUE(rar.LoadedDLL()); }

TEST_F(RarTest, ExtractsEveryEntryWithEventsInOrder) {
  Write({File("_Solv2010", "content"), File("_Solv2010.hlp", std::string(70000, 'h'))});
  std::vector<std::uint64_t> totals;
  std::uint64_t blockBytes = 0;
  rar.OnProcessData = [&](TRAR&, const char*, std::uint64_t total, std::size_t size) {
    totals.push_back(total);
    blockBytes += size;
  };

  EXPECT_TRUE(rar.Extract());
  EXPECT_EQ(events, (std::vector<std::string>{"extracting _Solv2010", "extracted _Solv2010",
                                              "extracting _Solv2010.hlp", "extracted _Solv2010.hlp"}));
  EXPECT_EQ(ReadAll(target / "_Solv2010"), "content");
  EXPECT_EQ(ReadAll(target / "_Solv2010.hlp"), std::string(70000, 'h'));
  // The running total counts across entries and ends at the sum of both.
  ASSERT_FALSE(totals.empty());
  EXPECT_EQ(totals.front(), 7u);
  EXPECT_EQ(totals.back(), 70007u);
  EXPECT_EQ(blockBytes, 70007u);
  EXPECT_TRUE(std::is_sorted(totals.begin(), totals.end()));
  // No temporary file stays behind.
  EXPECT_EQ(Tree(target), (std::vector<std::string>{"_Solv2010", "_Solv2010.hlp"}));
}

TEST_F(RarTest, CreatesFoldersAndReplacesExistingFiles) {
  std::ofstream(target / "_old") << "previous";
  Write({Dir("sub"), File("sub/deep/x.txt", "x"), File("_old", "new")});
  EXPECT_TRUE(rar.Extract());
  EXPECT_TRUE(fs::is_directory(target / "sub"));
  EXPECT_EQ(ReadAll(target / "sub/deep/x.txt"), "x");
  EXPECT_EQ(ReadAll(target / "_old"), "new");
  EXPECT_TRUE(errors.empty());
}

TEST_F(RarTest, ExtractsOnlyTheListedFiles) {
  Write({File("a", "1"), File("b", "2"), File("c", "3")});
  rar.FilesToExtract = {"b"};
  EXPECT_TRUE(rar.Extract());
  EXPECT_EQ(events, (std::vector<std::string>{"extracting b", "extracted b"}));
  EXPECT_EQ(Tree(target), (std::vector<std::string>{"b"}));
}

TEST_F(RarTest, StopEndsAtTheNextHeaderWithoutError) {
  Write({File("a", "1"), File("b", "2")});
  rar.OnExtract = [this](TRAR& sender, const RarHeader& h, bool) {
    events.push_back("extracted " + h.FileName);
    sender.Stop = true;
  };
  EXPECT_TRUE(rar.Extract());
  EXPECT_EQ(events, (std::vector<std::string>{"extracting a", "extracted a"}));
  EXPECT_FALSE(rar.Stop);
  EXPECT_EQ(Tree(target), (std::vector<std::string>{"a"}));
}

TEST_F(RarTest, ArchivesThatCannotBeOpened) {
  struct Case {
    const char* what;
    std::string name;     // "" leaves ArchiveName empty
    const char* content;  // nullptr: no file
    int code;
  };
  const std::vector<Case> cases = {
      {"no archive name", "", nullptr, kRarBadArchive},
      {"missing file", "missing.rar", nullptr, kRarOpenFailed},
      {"a folder", "folder.rar", nullptr, kRarOpenFailed},
      {"not an archive", "text.rar", "just some text, no archive at all", kRarBadArchive},
      {"empty file", "empty.rar", "", kRarBadArchive},
  };
  fs::create_directory(root / "folder.rar");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.content) std::ofstream(root / c.name) << c.content;
    events.clear();
    errors.clear();
    rar.ArchiveName = c.name.empty() ? "" : (root / c.name).string();
    EXPECT_FALSE(rar.Extract());
    EXPECT_EQ(errors, std::vector<int>{c.code});
    std::vector<RarHeader> headers;
    EXPECT_EQ(rar.List(headers), c.code);
    EXPECT_TRUE(headers.empty());
  }
  EXPECT_TRUE(Tree(target).empty());
}

TEST_F(RarTest, DamagedDataIsReportedAndNeverLandsUnderItsName) {
  // libarchive itself lets the altered byte of a stored RAR 4 entry through;
  // the extraction compares the header checksum.
  std::ofstream(target / "_Solv2010") << "installed before";
  rarfix::Entry damaged = File("_Solv2010", "new program");
  damaged.damaged = true;
  Write({damaged, File("_next", "fine")});

  EXPECT_FALSE(rar.Extract());
  EXPECT_EQ(events, (std::vector<std::string>{"extracting _Solv2010", "failed _Solv2010", "error 12",
                                              "extracting _next", "extracted _next"}));
  EXPECT_EQ(ReadAll(target / "_Solv2010"), "installed before");
  EXPECT_EQ(Tree(target), (std::vector<std::string>{"_Solv2010", "_next"}));
}

TEST_F(RarTest, TruncatedOrDamagedHeadersEndWithBadData) {
  const std::string whole = RarArchive({File("a", "first"), File("b", "second entry")}, {.endBlock = false});
  rarfix::Entry badHeader = File("b", "second entry");
  badHeader.badHeaderCrc = true;
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> events;
  };
  const std::vector<Case> cases = {
      {"cut inside the last entry's data", whole.substr(0, whole.size() - 3),
       {"extracting a", "extracted a", "extracting b", "failed b", "error 12", "error 12"}},
      {"cut inside the last header", whole.substr(0, whole.size() - 12 - 10),
       {"extracting a", "extracted a", "error 12"}},
      {"header checksum wrong", RarArchive({File("a", "first"), badHeader}),
       {"extracting a", "extracted a", "error 12"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(target);
    rarfix::WriteFile(archive, c.bytes);
    events.clear();
    EXPECT_FALSE(rar.Extract());
    EXPECT_EQ(events, c.events);
    EXPECT_EQ(Tree(target), (std::vector<std::string>{"a"}));
    std::vector<RarHeader> headers;
    EXPECT_EQ(rar.List(headers), kRarBadData);
  }
}

TEST_F(RarTest, UnsafeNamesAndLinksAreNeverWritten) {
  const fs::path target2 = target / "a" / "b";  // so that "../x" would still land inside root
  fs::create_directories(target2);
  rar.TargetDir = target2.string();
  const std::string absolute = (root / "abs").string();
  struct Case {
    const char* what;
    rarfix::Entry entry;
  };
  const std::vector<Case> cases = {
      {"parent", File("../x", "evil")},
      {"absolute", File(absolute, "evil")},
      {"parent inside", File("c/../../x", "evil")},
      {"drive letter", File("C:x", "evil")},
      {"backslashes", File("..\\..\\x", "evil")},
      {"dot", File("./x", "evil")},
      {"symbolic link", Symlink("x", root.string())},
      {"symbolic link to a parent", Symlink("y", "../../..")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Write({c.entry, File("good", "ok")});
    events.clear();
    EXPECT_FALSE(rar.Extract());
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[1].rfind("failed ", 0), 0u) << events[1];
    EXPECT_EQ(events[2], "error 16");
    EXPECT_EQ(events[4], "extracted good");
    EXPECT_EQ(Tree(root), (std::vector<std::string>{"out", "out/a", "out/a/b", "out/a/b/good", "upd.rar"}));
    fs::remove(target2 / "good");
  }
}

TEST_F(RarTest, ExistingLinksInsideTheTargetAreNotFollowed) {
  const fs::path outside = root / "outside";
  fs::create_directory(outside);
  std::ofstream(outside / "victim") << "untouched";
  fs::create_symlink(outside / "victim", target / "_Solv2010");
  fs::create_directory_symlink(outside, target / "sub");
  Write({File("_Solv2010", "new"), File("sub/victim", "evil"), File("sub/new", "evil")});

  EXPECT_FALSE(rar.Extract());
  EXPECT_EQ(events, (std::vector<std::string>{"extracting _Solv2010", "extracted _Solv2010",
                                              "extracting sub/victim", "failed sub/victim", "error 16",
                                              "extracting sub/new", "failed sub/new", "error 16"}));
  // The link at the final name was replaced by the file, not written through.
  EXPECT_FALSE(fs::is_symlink(target / "_Solv2010"));
  EXPECT_EQ(ReadAll(target / "_Solv2010"), "new");
  EXPECT_EQ(ReadAll(outside / "victim"), "untouched");
  EXPECT_EQ(Tree(outside), std::vector<std::string>{"victim"});
}

TEST_F(RarTest, PolishNames) {
  // RAR 4 keeps names in the DOS code page unless the Unicode flag is set;
  // with it, either UTF-8 or its own UTF-16 encoding follows.
  rarfix::Entry unicode = File("zażółć.txt", "1");
  unicode.nameForm = rarfix::NameForm::Unicode;
  rarfix::Entry utf8 = File("gęśla jaźń.txt", "2");
  utf8.nameForm = rarfix::NameForm::Utf8;
  rarfix::Entry dos = File("\xa5\x86\xa9.txt", "3");  // "ąćę" in code page 852
  Write({unicode, utf8, dos});

  std::vector<RarHeader> headers;
  ASSERT_EQ(rar.List(headers), 0);
  ASSERT_EQ(headers.size(), 3u);
  EXPECT_EQ(headers[0].FileName, "zażółć.txt");
  EXPECT_EQ(headers[1].FileName, "gęśla jaźń.txt");
  EXPECT_EQ(headers[2].FileName, "ąćę.txt");
  EXPECT_TRUE(rar.Extract());
  EXPECT_EQ(ReadAll(target / "zażółć.txt"), "1");
  EXPECT_EQ(ReadAll(target / "gęśla jaźń.txt"), "2");
  EXPECT_EQ(ReadAll(target / "ąćę.txt"), "3");
}

TEST_F(RarTest, ListReadsHeadersWithoutExtracting) {
  Write({Dir("sub"), File("sub/a", "12345"), Symlink("l", "sub/a")});
  int listed = 0;
  rar.OnListFile = [&](TRAR&, const RarHeader&) { ++listed; };
  std::vector<RarHeader> headers;
  ASSERT_EQ(rar.List(headers), 0);
  ASSERT_EQ(headers.size(), 3u);
  EXPECT_EQ(listed, 3);
  EXPECT_TRUE(headers[0].Directory);
  EXPECT_EQ(headers[1].FileName, "sub/a");
  EXPECT_EQ(headers[1].UnpSize, 5u);
  EXPECT_FALSE(headers[1].Link);
  EXPECT_TRUE(headers[2].Link);
  EXPECT_TRUE(Tree(target).empty());
}

// The update run's extraction: one pass, every entry shown first; a refused
// entry is not written and ends it, as does keepGoing answering false.
TEST_F(RarTest, ExtractorForTheUpdateRun) {
  RarExtractor extractor;
  std::vector<std::string> seen;
  const auto acceptAll = [&](const ArchiveEntry& e) {
    seen.push_back(e.name + (e.link ? " (link)" : ""));
    return true;
  };
  const auto always = [] { return true; };

  Write({File("_Solv2010", "program"), File("help/a.htm", "pomoc")});
  ExtractResult r = extractor.ExtractAll(archive, target, acceptAll, always);
  EXPECT_EQ(r.error, 0);
  EXPECT_FALSE(r.refused || r.stopped);
  EXPECT_EQ(seen, (std::vector<std::string>{"_Solv2010", "help/a.htm"}));
  EXPECT_EQ(ReadAll(target / "_Solv2010"), "program");
  EXPECT_EQ(ReadAll(target / "help" / "a.htm"), "pomoc");

  fs::remove_all(target);
  Write({File("_Solv2010", "program"), File("SAVE/1.i10", "x"), File("_late", "y")});
  r = extractor.ExtractAll(archive, target, [](const ArchiveEntry& e) { return e.name.rfind("SAVE/", 0) != 0; },
                           always);
  EXPECT_TRUE(r.refused);
  EXPECT_EQ(r.refusedName, "SAVE/1.i10");
  EXPECT_EQ(Tree(target), std::vector<std::string>{"_Solv2010"});

  fs::remove_all(target);
  seen.clear();
  Write({Symlink("_link", "/etc")});
  r = extractor.ExtractAll(archive, target, acceptAll, always);
  EXPECT_EQ(seen, std::vector<std::string>{"_link (link)"});

  fs::remove_all(target);
  rarfix::Entry damaged = File("_bad", "data");
  damaged.damaged = true;
  Write({damaged, File("_after", "ok")});
  r = extractor.ExtractAll(archive, target, nullptr, always);
  EXPECT_EQ(r.error, kRarBadData);

  fs::remove_all(target);
  int asked = 0;
  Write({File("a", "1"), File("b", "2"), File("c", "3")});
  r = extractor.ExtractAll(archive, target, nullptr, [&] { return ++asked < 2; });
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(Tree(target), (std::vector<std::string>{"a", "b"}));

  r = extractor.ExtractAll(root / "missing.rar", target, nullptr, always);
  EXPECT_EQ(r.error, kRarOpenFailed);
}

}  // namespace
