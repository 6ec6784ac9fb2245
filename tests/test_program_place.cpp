// Where a copy of the program reads its own files and writes the user's:
// beside the executable in a portable copy that can write there, in the
// user's data folder otherwise and always in an installed copy.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "store/store.hpp"
#include "temp_folder.hpp"

namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "[WERSJA]\r\nData=10-12-2026\r\n";
}

TEST(ProgramPlace, PortableInstalledAndUnwritableCopies) {
  struct Case {
    const char* name;
    const char* exe;                  // the executable's folder, under the temporary folder
    std::vector<const char*> files;   // made under the temporary folder
    const char* unwritable;           // a folder canWrite says no to ("" none)
    const char* programFolder;
    bool userData;
    bool installed;
  };
  const Case cases[] = {
      {"the build folder", "build", {"build/wersja.ini"}, "", "build", false, false},
      {"a portable copy with its sets", "p", {"p/wersja.ini", "p/SAVE/1.i10"}, "", "p", false, false},
      {"a portable copy on a read-only medium", "p", {"p/wersja.ini"}, "p", "p", true, false},
      {"sets that cannot be written", "p", {"p/wersja.ini", "p/SAVE/1.i10"}, "p/SAVE", "p", true, false},
      {"installed under a prefix", "usr/bin", {"usr/share/solvenor-vandrel-2010/wersja.ini"}, "", "usr/share/solvenor-vandrel-2010", true, true},
      {"installed, even where the prefix can be written", "opt/bin",
       {"opt/share/solvenor-vandrel-2010/wersja.ini"}, "", "opt/share/solvenor-vandrel-2010", true, true},
      {"a portable copy in a folder named bin", "x/bin", {"x/bin/wersja.ini", "x/share/solvenor-vandrel-2010/wersja.ini"}, "", "x/bin", false, false},
  };
  for (const Case& c : cases) {
    solv::test::TempFolder tmp;
    const fs::path root = tmp.Path();
    fs::create_directories(root / c.exe);
    for (const char* f : c.files) Touch(root / f);
    const fs::path user = root / "home/.local/share/Solvenor Vandrel 2010";
    const solv::ProgramPlace place = solv::LocateProgram(root / c.exe, user, [&](const fs::path& p) {
      return std::string(c.unwritable).empty() || p != root / c.unwritable;
    });
    EXPECT_EQ(place.programFolder, root / c.programFolder) << c.name;
    EXPECT_EQ(place.dataRoot, c.userData ? user : root / c.exe) << c.name;
    EXPECT_EQ(place.installed, c.installed) << c.name;
  }
}

TEST(ProgramPlace, AFolderIsWritableWhenAFileCanBeMadeThere) {
  solv::test::TempFolder tmp;
  EXPECT_TRUE(solv::FolderWritable(tmp.Path()));
  EXPECT_TRUE(fs::is_empty(tmp.Path())) << "the probe is removed";
  EXPECT_FALSE(solv::FolderWritable(tmp.Path() / "missing"));
}

TEST(ProgramPlace, TheAboutBoxSaysWhereTheSetsAreAndWhoUpdates) {
  const std::string portable = solv::AboutText(false, "10-12-2026", "/home/a/SAVE", "/home/a");
  EXPECT_NE(portable.find("Zestawy danych: /home/a/SAVE"), std::string::npos);
  EXPECT_NE(portable.find("Wersja z dnia 10-12-2026"), std::string::npos);
  EXPECT_EQ(portable.find("menedżer pakietów"), std::string::npos);
  const std::string installed = solv::AboutText(true, "10-12-2026", "/home/a/.local/share/x/SAVE", "/usr/share/x");
  EXPECT_NE(installed.find("aktualizuje go systemowy menedżer pakietów"), std::string::npos);
}

}  // namespace
