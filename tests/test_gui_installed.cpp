// An installed copy: no updater in the menus (the package manager updates
// it), and "O programie" says where its sets are.
#include "test_gui_fixture.hpp"

namespace {

class InstalledCopy : public GuiFixture {};

TEST_F(InstalledCopy, OffersNoUpdaterAndSaysWhereTheSetsAre) {
  for (const bool installed : {false, true}) {
    solv::Store().installed = installed;
    WindowWithSet("PIT37", 1);
    for (const char* name : {"Action7", "Action4"})
      EXPECT_EQ(window_->Action(QString::fromLatin1(name))->isVisible(), !installed) << name;
    messages_.calls.clear();
    window_->Action(QStringLiteral("ActionOProgramie"))->trigger();
    ASSERT_EQ(messages_.calls.size(), 1u);
    EXPECT_EQ(messages_.calls[0].title, "O programie");
    EXPECT_NE(messages_.calls[0].message.find("Zestawy danych: " + solv::DataFolder().string()), std::string::npos);
    window_.reset();
  }
  solv::Store().installed = false;
}

}  // namespace
