// The main window starts the updater from the program folder and closes.
#include <QFile>
#include <QTest>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "test_gui_fixture.hpp"

namespace fs = std::filesystem;

namespace {

class UpdaterStart : public GuiFixture {
 protected:
  // A stand-in updater that writes down its arguments.
  void FakeUpdater() {
    const fs::path script = folder_ / "renovo";
    std::ofstream(script) << "#!/bin/sh\necho \"args:$*\" > \"" << (folder_ / "started.txt").string()
                          << ".tmp\"\nmv \"" << (folder_ / "started.txt").string() << ".tmp\" \""
                          << (folder_ / "started.txt").string() << "\"\n";
    fs::permissions(script, fs::perms::owner_all);
  }
  // What the stand-in wrote, waiting a while for the started process.
  std::string Started() {
    const fs::path file = folder_ / "started.txt";
    for (int i = 0; i < 200 && !fs::exists(file); ++i) {
      QTest::qWait(25);
    }
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

}  // namespace

TEST_F(UpdaterStart, ActionsStartTheUpdaterAndCloseTheWindow) {
  struct Case {
    const char* action;
    const char* args;
  };
  for (const Case& c : {Case{"Action7", "args:\n"}, Case{"Action4", "args:01\n"}}) {
    SCOPED_TRACE(c.action);
    WindowWithSet("PIT37", 1);
    FakeUpdater();
    fs::remove(folder_ / "started.txt");
    messages_.answers = {1};
    window_->Action(QString::fromUtf8(c.action))->trigger();
    EXPECT_EQ(Started(), c.args);
    EXPECT_FALSE(window_->isVisible());
    window_.reset();
  }
}

TEST_F(UpdaterStart, RefusedOrMissingUpdaterKeepsTheWindow) {
  WindowWithSet("PIT37", 1);
  FakeUpdater();
  messages_.answers = {2};  // "&NIE"
  window_->Action(QStringLiteral("Action7"))->trigger();
  EXPECT_TRUE(window_->isVisible());

  fs::remove(folder_ / "renovo");
  messages_.calls.clear();
  messages_.answers = {1};
  window_->Action(QStringLiteral("Action7"))->trigger();
  EXPECT_TRUE(window_->isVisible());
  ASSERT_EQ(messages_.calls.size(), 2u);
  EXPECT_TRUE(messages_.calls[1].message.starts_with("Nie znaleziono programu aktualizującego"));
  EXPECT_FALSE(fs::exists(folder_ / "started.txt"));
}

TEST(UpdaterBuild, RenovoIsBuiltBesideSolv2010) {
  EXPECT_TRUE(QFile::exists(QStringLiteral(SOLV2010_DIR "/renovo")));
}
