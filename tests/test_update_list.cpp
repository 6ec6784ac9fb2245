#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
      {"Solv2010;12|Pxyz;s.rar;more;fields", "Solv2010", "12", 'P', "s.rar"},
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
  list.items.push_back({"x.exe", "1", 'P', "x.rar"});
  EXPECT_EQ(LoadUpdateList(dir / "none.dat", list), ListLoad::Missing);
  EXPECT_TRUE(list.items.empty());

  list.items.push_back({"x.exe", "4", 'P', "x.rar"});
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
