#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

#include "updater/update_list.hpp"

namespace fs = std::filesystem;
using namespace solv;

namespace {

struct LineCase {
  const char* line;
  const char* name;
  const char* version;
  char flag;
  const char* archive;
};

TEST(UpdateList, LineFields) {
  const LineCase cases[] = {
      {"Solv2010;12;P;s.rar", "Solv2010", "12", 'P', "s.rar"},
      {"Solv2010;12;P;s.rar;", "Solv2010", "12", 'P', "s.rar"},
      {"Solv2010|12|P|s.rar", "Solv2010", "12", 'P', "s.rar"},
      {"Solv2010;12|Pxyz;s.rar;more;fields;ignored", "Solv2010", "12", 'P', "s.rar"},
      {"Solv2010;12\r", "Solv2010", "12", 0, ""},
      {"a.htm;abc;;", "a.htm", "abc", 0, ""},
      {"plain", "plain", "", 0, ""},
      {";;;;;;", "", "", 0, ""},
      {"", "", "", 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    UpdateRecord r = ParseUpdateLine(c.line);
    EXPECT_EQ(r.name, c.name);
    EXPECT_EQ(r.version, c.version);
    EXPECT_EQ(r.flag, c.flag);
    EXPECT_EQ(r.archive, c.archive);
  }
}

// The server list's size and SHA-256 fields, and what counts as each.
TEST(UpdateList, SizeAndHashFields) {
  const UpdateRecord r = ParseUpdateLine("Solv2010;12;;s.rar;5000;" + std::string(64, 'a') + ";rest");
  EXPECT_EQ(r.archive, "s.rar");
  EXPECT_EQ(r.size, "5000");
  EXPECT_EQ(r.sha256, std::string(64, 'a'));
  EXPECT_EQ(ParseUpdateLine("a;1;;;7").size, "7");

  const std::pair<const char*, std::optional<std::uint64_t>> sizes[] = {
      {"0", 0},   {"5000", 5000},           {"18446744073709551615", std::nullopt},
      {"", std::nullopt},  {"-1", std::nullopt}, {"12a", std::nullopt}, {" 5", std::nullopt},
      {"9999999999999999999", 9999999999999999999ull},
  };
  for (const auto& [text, size] : sizes) EXPECT_EQ(UpdateSize(text), size) << text;
  EXPECT_TRUE(IsSha256Text(std::string(32, 'A') + std::string(32, '0')));
  EXPECT_FALSE(IsSha256Text(std::string(63, 'a')));
  EXPECT_FALSE(IsSha256Text(std::string(63, 'a') + "g"));
}

// Names an update never writes, however they are spelled.
TEST(UpdateList, ProtectedNames) {
  const std::pair<const char*, bool> cases[] = {
      {"SAVE/1.i10", true},  {"save/notatki.txt", true}, {"SAVE", true},      {"Save\\x", true},
      {"SAVE./1.txt", true}, {"1.i10", true},             {"inne/7.I10", true}, {"gr.xml", true},
      {"pomoc/SLO.XML", true}, {"data041.dat", true},     {"data41.dat", true}, {"data41.sig", true},
      {".renovo-staging/x", true}, {"Solv2010", false},   {"_Solv2010", false}, {"saved/x", false},
      {"pomoc/SAVE/x", false}, {"help/data041.dat", false}, {"x.i100", false}, {"agr.xml", false},
      {"SOLV2010.INI", true}, {"pomoc/solv2010.ini", false},
  };
  for (const auto& [name, guarded] : cases) EXPECT_EQ(IsProtectedName(name), guarded) << name;
}

TEST(UpdateList, VersionNumbers) {
  const std::pair<const char*, long long> cases[] = {
      {"12", 12}, {"0", 0}, {"-3", -3}, {"abc", -1}, {"", -1},
      {"12a", -1}, {" 12", -1}, {"1.5", -1}, {"99999999999999999999", -1},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(UpdateVersion(text), value) << text;
}

TEST(UpdateList, TextDropsNamelessLinesAndWritesTwoFields) {
  UpdateList list;
  list.ParseText("a.exe;3;P;a.rar\r\n\r\n;;;\r\nb.htm|abc\nc.txt;7");
  ASSERT_EQ(list.items.size(), 3u);
  EXPECT_EQ(list.At(2)->name, "c.txt");
  EXPECT_EQ(list.At(3), nullptr);
  EXPECT_EQ(list.Find("B.htm"), nullptr);  // names compare exactly
  EXPECT_EQ(list.Text(), "a.exe;3\r\nb.htm;abc\r\nc.txt;7\r\n");
}

TEST(UpdateList, LoneCarriageReturnsEndLines) {
  UpdateList list;
  list.ParseText("a.exe;3\rb.htm;4;;b.rar\r/x;3\r;\xc9");
  ASSERT_EQ(list.items.size(), 3u);
  EXPECT_EQ(list.At(0)->version, "3");
  EXPECT_EQ(list.At(1)->archive, "b.rar");
  // What is written reads back the same.
  UpdateList again;
  again.ParseText(list.Text());
  EXPECT_EQ(again.Text(), list.Text());
}

TEST(UpdateList, LoadAndSave) {
  const fs::path dir = fs::temp_directory_path() / ("solv_update_list_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  UpdateList list;
  list.items.push_back({"x.exe", "1", 'P', "x.rar", "", ""});
  EXPECT_EQ(LoadUpdateList(dir / "none.dat", list), ListLoad::Missing);
  EXPECT_TRUE(list.items.empty());

  list.items.push_back({"x.exe", "4", 'P', "x.rar", "", ""});
  ASSERT_TRUE(SaveUpdateList(dir / "l.dat", list));
  UpdateList back;
  ASSERT_EQ(LoadUpdateList(dir / "l.dat", back), ListLoad::Loaded);
  ASSERT_EQ(back.items.size(), 1u);
  EXPECT_EQ(back.items[0].version, "4");
  EXPECT_EQ(back.items[0].flag, 0);
  EXPECT_EQ(back.items[0].archive, "");

  fs::create_directories(dir / "dir.dat");
  EXPECT_EQ(LoadUpdateList(dir / "dir.dat", back), ListLoad::Unreadable);
  fs::remove_all(dir);
}

TEST(UpdateList, SafeNames) {
  const std::pair<const char*, bool> cases[] = {
      {"Solv2010", true}, {"html/pomoc.htm", true}, {"_Solv2010", true},
      {"", false}, {"../x", false}, {"a/../../x", false}, {"sub\\..\\..\\x", false},
      {"..", false}, {"/etc/passwd", false}, {"\\x", false}, {"C:x", false},
      {"C:\\Windows\\x", false}, {"a//b", false}, {"./a", false}, {"a\nb", false},
  };
  for (const auto& [name, safe] : cases) EXPECT_EQ(IsSafeRelativeName(name), safe) << name;
}

TEST(UpdateList, LocationReply) {
  struct Case {
    const char* reply;
    LocationReply result;
    const char* host;
    const char* path;
  };
  const Case cases[] = {
      {"ERROR", LocationReply::NoAnswer, "old", "/old/"},
      {"<html><body>404</body></html>", LocationReply::NoAnswer, "old", "/old/"},
      {"OK", LocationReply::Unchanged, "old", "/old/"},
      {"KVZ:dl.example|/files/|", LocationReply::Changed, "dl.example", "/files/"},
      {"xxKVZ=dl.example|/files/", LocationReply::Changed, "dl.example", "/files/"},
      {"KVZ", LocationReply::Changed, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    UpdateLocation loc{"old", "/old/"};
    EXPECT_EQ(ParseLocationReply(c.reply, loc), c.result);
    EXPECT_EQ(loc.host, c.host);
    EXPECT_EQ(loc.path, c.path);
  }
}

}  // namespace
