// The form registry and the form logic of the main window, run against a
// desktop that records what would happen to the windows: opening forms and
// further copies, the form actions, switching pages, deleting a form
// instance and the help markers.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "report/page_definition.hpp"
#include "services/message_service.hpp"
#include "set_fixture.hpp"
#include "shell/form_registry.hpp"
#include "store/forms.hpp"
#include "store/store.hpp"

namespace {

using solv::RecordingMessageProvider;

constexpr const char* kAbsent = "<absent>";

// Windows as a list of instance names; every call is logged.
class FakeDesktop : public solv::Desktop {
 public:
  std::vector<std::string> OpenWindowNames() const override { return windows; }
  void CreatePage(const std::string& className, const std::string& instanceName) override {
    log.push_back("create " + className + " " + instanceName);
    windows.push_back(instanceName);
    if (onCreate) onCreate(instanceName);
  }
  void BringToFront(const std::string& name) override { log.push_back("front " + name); }
  void FocusPage(const std::string& name) override { log.push_back("focus " + name); }
  void ReloadPage(const std::string& name) override { log.push_back("reload " + name); }
  void ClosePage(const std::string& name) override {
    log.push_back("close " + name);
    if (onClose) onClose(name);
    windows.erase(std::remove(windows.begin(), windows.end(), name), windows.end());
  }
  void ShowSetList(const std::vector<std::string>& lines, const std::vector<std::string>& sections,
                   const std::string& baseName) override {
    log.push_back("list " + baseName);
    listLines = lines;
    listSections = sections;
  }
  void ShowFormMenu(int formIndex) override { log.push_back("menu " + std::to_string(formIndex)); }
  bool HelpOnline() const override { return helpOnline; }
  void PlaceHelpMarkers() override { log.push_back("help"); }

  std::vector<std::string> windows;
  std::vector<std::string> log;
  std::vector<std::string> listLines, listSections;
  std::function<void(const std::string&)> onCreate, onClose;
  bool helpOnline = false;
};

class FormRegistryTest : public SetFixture {
 protected:
  void SetUp() override {
    SetFixture::SetUp();
    scope_ = std::make_unique<solv::ScopedMessageProvider>(&rec_);
  }
  void TearDown() override {
    scope_.reset();
    SetFixture::TearDown();
  }
  static std::string Box(std::string_view key, std::string_view section) {
    return solv::ReadField(key, kAbsent, section);
  }
  void Run(const char* action) {
    const solv::FormAction* a = solv::FindFormAction(action);
    ASSERT_NE(a, nullptr) << action;
    solv::RunFormAction(*a, desk_, solv::AskThroughBoxes);
  }
  std::vector<std::string> Sections() { return solv::SetStore().Sections(); }

  RecordingMessageProvider rec_;
  std::unique_ptr<solv::ScopedMessageProvider> scope_;
  FakeDesktop desk_;
};

// ---------------------------------------------------------------- registry

TEST(FormRegistry, AcceptsPageNamesClassNamesAndTheSpouseNames) {
  const struct {
    const char* name;
    const char* pageClass;
  } cases[] = {
      {"PIT28a", "TPIT28a"},   {"PIT28d", "TPIT28d"},   {"TPIT28d", "TPIT28d"}, {"PIT28Aa", "TPIT28Aa"},
      {"PIT28Bb", "TPIT28Bb"}, {"PIT36f", "TPIT36f"},   {"PIT36Lc", "TPIT36Lc"}, {"PIT37b", "TPIT37b"},
      {"PIT39b", "TPIT39b"},   {"PIT40c", "TPIT40c"},   {"PITBb", "TPITBb"},     {"PITDa", "TPITDa"},
      {"PITMa", "TPITMa"},     {"PITMa_M", "TPITMa"},   {"PITOc", "TPITOc"},     {"PITZa_M", "TPITZa"},
      {"PITZb_M", "TPITZb"},   {"PITZb", "TPITZb"},     {"PIT2Kb", "TPIT2Kb"},   {"PITZGa", "TPITZGa"},
      {"TPITZGa", "TPITZGa"},
      // Unknown names create nothing.
      {"PIT37d", ""},          {"PIT28e", ""},          {"PITMb", ""},           {"TPITMa_M", ""},
      {"PITBa_1", ""},         {"pit37a", ""},          {"", ""},                {"T", ""},
      {"PITZGb", ""},          {"PITOa_M", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(solv::PageClassFor(c.name), c.pageClass) << c.name;
}

TEST(FormRegistry, EveryRegisteredClassHasAPageAndEveryPageIsRegistered) {
  for (const std::string& cls : solv::RegisteredPageClasses())
    EXPECT_NE(solv::FindPage(cls), nullptr) << cls;
  for (const auto& page : solv::PageCatalogue()) {
    EXPECT_EQ(solv::PageClassFor(page.info.className), page.info.className);
    EXPECT_EQ(solv::PageClassFor(page.info.pageName), page.info.className);
    // The page buttons offer exactly the pages of the form.
    EXPECT_EQ(static_cast<int>(solv::PageLetters(page.info.className).size()), page.info.pages)
        << page.info.className;
  }
  EXPECT_EQ(solv::RegisteredPageClasses().size(), solv::PageCatalogue().size());
}

TEST(FormRegistry, SwitchingReplacesTheLastLetter) {
  const struct {
    const char* active;
    char letter;
    const char* target;
  } cases[] = {
      {"TPIT37a", 'b', "TPIT37b"}, {"TPIT37c", 'a', "TPIT37a"}, {"TPIT36La", 'c', "TPIT36Lc"},
      {"TPIT36a", 'f', "TPIT36f"}, {"TPIT37b", 'b', ""},  // the page already shown
      {"TPIT37a", 'd', ""},                              // no such page
      {"TPITMa", 'b', ""},        {"", 'a', ""},
  };
  for (const auto& c : cases) EXPECT_EQ(solv::SwitchPageClass(c.active, c.letter), c.target) << c.active << c.letter;
  EXPECT_EQ(solv::PageLetters("TPIT28Ba"), "ab");
  EXPECT_EQ(solv::PageLetters("TPIT28Aa"), "a");
  EXPECT_EQ(solv::PageLetters("TNothing"), "");
}

// ---------------------------------------------------------------- form actions

TEST(FormActions, ToolbarOrderCaptionsAndVisibility) {
  const char* const captions[] = {"PIT-28", "PIT-36", "PIT-36L", "PIT-37", "PIT-38",   "PIT-39",   "PIT-40", "PIT/B",
                                  "PIT/D",  "PIT/M",  "PIT/O",   "PIT/Z",  "PIT/ZG",   "PIT-28/A", "PIT-28/B", "PIT-2K"};
  for (int i = 0; i < solv::kToolbarActionCount; ++i) {
    const solv::FormAction& a = solv::kFormActions[i];
    EXPECT_EQ(a.tag, i + 1);
    EXPECT_STREQ(a.caption, captions[i]);
    EXPECT_EQ(solv::FormIndex(a.baseName), a.formIndex) << a.action;
    EXPECT_EQ(solv::FindFormAction(a.action), &a);
  }
  EXPECT_EQ(solv::FormActionHint(solv::kFormActions[8]), "Formularz PIT/D");
  EXPECT_EQ(solv::FindFormAction("ActionNone"), nullptr);

  solv::Store().allowed = solv::AllowedFormsOf("PIT37");
  const auto visible = solv::FormActionsVisible();
  std::vector<std::string> shown;
  for (int i = 0; i < solv::kToolbarActionCount; ++i)
    if (visible[i]) shown.push_back(solv::kFormActions[i].caption);
  EXPECT_EQ(shown, (std::vector<std::string>{"PIT-37", "PIT/D", "PIT/O", "PIT-2K"}));
  const solv::ToolbarLayout layout = solv::LayOutToolbar(visible);
  EXPECT_EQ(layout.panelHeight, 100);
  EXPECT_EQ(layout.top[3], 0);
  EXPECT_EQ(layout.top[8], 25);
  EXPECT_EQ(layout.top[10], 50);
  EXPECT_EQ(layout.top[15], 75);
  EXPECT_EQ(layout.top[0], -1);

  solv::Store().allowed = solv::AllowedFormsOf("PIT36");
  EXPECT_TRUE(solv::FormActionsVisible()[12]);  // PIT/ZG follows its flag
  solv::Store().allowed = {};
}

TEST_F(FormRegistryTest, OpeningPitDCopiesTheIdentificationBeforeThePageExists) {
  WriteSet("[MAIN]\nPIT=PIT37\n[PIT37a]\nP1=12345678901\nP11=Kowalski\nP12=Jan\n");
  std::string idWhenCreated;
  desk_.onCreate = [&](const std::string& name) { idWhenCreated = Box("p1", name) + "/" + Box("p4", name); };
  Run("ActionPITD");
  EXPECT_EQ(desk_.log, (std::vector<std::string>{"create TPITDa PITDa", "focus PITDa"}));
  EXPECT_EQ(idWhenCreated, "12345678901/Kowalski");
  EXPECT_TRUE(rec_.calls.empty());

  // Open already: brought to front, nothing copied or created.
  solv::WriteField("P11", "Nowak", "PIT37a");
  desk_.log.clear();
  Run("ActionPITD");
  EXPECT_EQ(desk_.log, (std::vector<std::string>{"front PITDa"}));
  EXPECT_EQ(Box("p4", "PITDa"), "Kowalski");
}

TEST_F(FormRegistryTest, MainFormOpensUnderItsBaseNameAndHelpFollowsWhenOn) {
  WriteSet("[MAIN]\nPIT=PIT37\n");
  desk_.helpOnline = true;
  Run("ActionPIT37");
  EXPECT_EQ(desk_.log, (std::vector<std::string>{"create TPIT37a PIT37a", "help"}));
  EXPECT_EQ(Sections(), (std::vector<std::string>{"MAIN"}));  // nothing written by opening
}

TEST_F(FormRegistryTest, PitMAndPitZFollowTheWayOfTaxation) {
  const struct {
    const char* way;
    const char* action;
    std::vector<std::string> log;
  } cases[] = {
      {"P6a=[X]", "ActionPITZ", {"create TPITZa PITZa", "focus PITZa"}},
      {"P6d=[X]", "ActionPITM", {"create TPITMa PITMa", "focus PITMa"}},
      {"P6b=[X]", "ActionPITZ", {"menu 11"}},
      {"P6c=[X]", "ActionPITM", {"menu 9"}},
      {"P6c=[X]", "ActionPITM_M", {"create TPITMa PITMa_M"}},
      {"P6b=[X]", "ActionPITZ_M", {"create TPITZa PITZa_M"}},
  };
  int n = 0;
  for (const auto& c : cases) {
    set_ = dir_ / (std::to_string(++n) + ".i10");
    WriteSet(std::string("[MAIN]\nPIT=PIT36\n[PIT36a]\nP1=1\nP2=2\nP11=A\nP25=B\n") + c.way + "\n");
    desk_ = FakeDesktop{};
    Run(c.action);
    EXPECT_EQ(desk_.log, c.log) << c.way << " " << c.action;
  }
  // The spouse's form got the spouse's identifier.
  EXPECT_EQ(Box("p1", "PITZa_M"), "2");
}

TEST_F(FormRegistryTest, LoadingPitMOpensTheTaxpayersFormOnly) {
  WriteSet("[MAIN]\nPIT=PIT36\n[PIT36a]\nP6a=[X]\n[PITMa]\np1=1\n[PITMa_M]\np1=2\n");
  solv::OpenForm("PITMa", desk_, solv::AskThroughBoxes);
  EXPECT_EQ(desk_.log, (std::vector<std::string>{"create TPITMa PITMa", "focus PITMa"}));
  EXPECT_TRUE(rec_.calls.empty());  // single-copy forms ask nothing
}

// ---------------------------------------------------------------- further copies

TEST_F(FormRegistryTest, NewPitBCopiesAreNumberedAfterTheBaseName) {
  WriteSet("[MAIN]\nPIT=PIT36\n");
  // Each page stores something once edited, which creates its section.
  desk_.onCreate = [](const std::string& name) { solv::WriteField("P4", "firma " + name, name); };
  rec_.answers = {1, 1};
  for (int i = 0; i < 3; ++i) Run("ActionPITB");
  EXPECT_EQ(desk_.windows, (std::vector<std::string>{"PITBa", "PITBa_1", "PITBa_2"}));
  EXPECT_EQ(Sections(), (std::vector<std::string>{"MAIN", "PITBa", "PITBa_1", "PITBa_2"}));
  ASSERT_EQ(rec_.calls.size(), 2u);  // no question for the first copy
  const auto& q = rec_.calls[0];
  EXPECT_EQ(q.message,
            "Dla bieżącego zeznania wypełniono już załącznik PIT/B.\r\n"
            "Aby otworzyć wypełniony załącznik PIT/B wybierz Wczytaj.\r\n"
            "Aby wypełnić kolejny załącznik PIT/B wybierz Nowy.");
  EXPECT_EQ(q.first, "Nowy");
  EXPECT_EQ(q.second, "Wczytaj");
  EXPECT_EQ(q.third, "Anuluj");
  EXPECT_EQ(q.title, "Informacja");
}

TEST_F(FormRegistryTest, NewCopySkipsNamesOfOpenWindowsAndSections) {
  WriteSet("[MAIN]\nPIT=PIT36\n[PITZGa]\nP1=x\n[PITZGa_2]\nP1=y\n");
  desk_.windows = {"PITZGa_1"};  // open, nothing stored yet
  rec_.answers = {1};
  Run("ActionPITZG");
  EXPECT_EQ(desk_.log, (std::vector<std::string>{"create TPITZGa PITZGa_3"}));
  EXPECT_NE(rec_.calls[0].message.find("załącznik PIT/ZG.\r\n"), std::string::npos);
}

TEST_F(FormRegistryTest, AnOpenButUnsavedFirstCopyIsNotOpenedTwice) {
  WriteSet("[MAIN]\nPIT=PIT36\n");
  Run("ActionPITB");
  Run("ActionPITB");
  EXPECT_EQ(desk_.log, (std::vector<std::string>{"create TPITBa PITBa", "front PITBa"}));
}

TEST_F(FormRegistryTest, CancelOrNoAnswerOpensNothing) {
  for (int answer : {3, -1}) {
    WriteSet("[MAIN]\nPIT=PIT36\n[PITBa]\nP4=a\n");
    desk_ = FakeDesktop{};
    rec_.answers = {answer};
    Run("ActionPITB");
    EXPECT_TRUE(desk_.log.empty()) << answer;
  }
}

TEST_F(FormRegistryTest, PitOCopiesCarryTheirNumberAndIdentifiers) {
  WriteSet("[MAIN]\nPIT=PIT37\n[PIT37a]\nP1=111\nP2=222\nP11=Kowalski\n");
  Run("ActionPITO");
  EXPECT_EQ(Box("p4", "PITOa"), "1");
  EXPECT_EQ(Box("p1", "PITOa"), "111");
  EXPECT_EQ(Box("p5", "PITOa"), "Kowalski");
  solv::WriteField("p2", "222", "PITOa");  // typed on the first copy
  rec_.answers = {1, 1};
  Run("ActionPITO");
  Run("ActionPITO");
  EXPECT_EQ(desk_.windows, (std::vector<std::string>{"PITOa", "PITOa_1", "PITOa_2"}));
  for (const auto& [section, number] : std::vector<std::pair<std::string, std::string>>{{"PITOa_1", "2"}, {"PITOa_2", "3"}}) {
    EXPECT_EQ(Box("p4", section), number);
    EXPECT_EQ(Box("p1", section), "111");
    EXPECT_EQ(Box("p2", section), "222");
  }
}

TEST_F(FormRegistryTest, LoadingSeveralCopiesShowsTheCopiesList) {
  WriteSet(
      "[MAIN]\nPIT=PIT36\n"
      "[PITOa]\np4=1\np5=Kowalski\np6=Jan\n[PITOa_1]\np4=2\np5=Nowak\np6=Anna\n[PITOa_2]\np4=3\np5=Wiśniewski\np6=Piotr\n"
      "[PITBa]\nP1=111\nP4=Spółka\nP5=A\n[PITBa_1]\nP1=111\nP4=Firma\nP5=B\n");
  rec_.answers = {2, 2};
  Run("ActionPITO");
  EXPECT_EQ(desk_.log, (std::vector<std::string>{"list PITOa"}));
  EXPECT_EQ(desk_.listLines, (std::vector<std::string>{"załącznik nr 1 Kowalski, Jan", "załącznik nr 2 Nowak, Anna",
                                                        "załącznik nr 3 Wiśniewski, Piotr"}));
  EXPECT_EQ(desk_.listSections, (std::vector<std::string>{"PITOa", "PITOa_1", "PITOa_2"}));
  Run("ActionPITB");
  EXPECT_EQ(desk_.listLines, (std::vector<std::string>{"Spółka A, 111", "Firma B, 111"}));

  // Opening a line of the list.
  desk_.log.clear();
  solv::OpenListedInstance("PITOa_1", "PITOa", desk_);
  solv::OpenListedInstance("PITOa_1", "PITOa", desk_);
  EXPECT_EQ(desk_.log, (std::vector<std::string>{"create TPITOa PITOa_1", "front PITOa_1", "reload PITOa_1",
                                                 "front PITOa_1", "reload PITOa_1"}));
}

TEST_F(FormRegistryTest, LoadingASingleCopyOpensItDirectly) {
  WriteSet("[MAIN]\nPIT=PIT36\n[PITBa_1]\nP4=a\n");
  rec_.answers = {2};
  Run("ActionPITB");
  EXPECT_EQ(desk_.log, (std::vector<std::string>{"create TPITBa PITBa_1", "focus PITBa_1"}));
}

// ---------------------------------------------------------------- deleting

TEST_F(FormRegistryTest, PitOCopiesAreDeletedFromTheHighestNumberDown) {
  WriteSet("[MAIN]\nPIT=PIT37\n[PITOa]\np4=1\n[PITOa_1]\np4=2\n[PITOa_2]\np4=3\n");
  desk_.windows = {"PITOa_1", "PITOa_2"};
  rec_.answers = {1, 1};

  EXPECT_FALSE(solv::DeleteFormInstance("PITOa_1", desk_, solv::AskThroughBoxes));
  ASSERT_EQ(rec_.calls.size(), 1u);
  EXPECT_EQ(rec_.calls[0].function, RecordingMessageProvider::Function::Info);
  EXPECT_EQ(rec_.calls[0].message,
            "Usunięcie tego załącznika spowodowałoby powstanie luki w numeracji załączników.\r\n"
            "Możliwe jest usunięcie załącznika PIT/O, oznaczonego najwyższym numerem (usuwanie od końca).");
  EXPECT_EQ(rec_.calls[0].title, "Informacja");
  EXPECT_TRUE(solv::SectionExists("PITOa_1"));
  EXPECT_TRUE(desk_.log.empty());

  EXPECT_TRUE(solv::DeleteFormInstance("PITOa_2", desk_, solv::AskThroughBoxes));
  EXPECT_FALSE(solv::SectionExists("PITOa_2"));
  EXPECT_EQ(desk_.log, (std::vector<std::string>{"close PITOa_2"}));
  // Now copy 2 is the last one.
  EXPECT_TRUE(solv::DeleteFormInstance("PITOa_1", desk_, solv::AskThroughBoxes));
  EXPECT_EQ(Sections(), (std::vector<std::string>{"MAIN", "PITOa"}));
}

TEST_F(FormRegistryTest, DeletingNeedsTak) {
  const struct {
    bool provider;
    std::deque<int> answers;
    bool deleted;
  } cases[] = {{true, {2}, false}, {true, {}, false}, {false, {}, false}, {true, {1}, true}};
  int n = 0;
  for (const auto& c : cases) {
    set_ = dir_ / (std::to_string(++n) + ".i10");
    WriteSet("[MAIN]\nPIT=PIT37\n[PITDa]\np1=1\n");
    desk_ = FakeDesktop{};
    desk_.windows = {"PITDa"};
    RecordingMessageProvider rec;
    rec.answers = c.answers;
    solv::ScopedMessageProvider scope(c.provider ? &rec : nullptr);
    EXPECT_EQ(solv::DeleteFormInstance("PITDa", desk_, solv::AskThroughBoxes), c.deleted) << n;
    EXPECT_EQ(solv::SectionExists("PITDa"), !c.deleted) << n;
    EXPECT_EQ(desk_.windows.empty(), c.deleted) << n;
    if (c.provider) {
      ASSERT_EQ(rec.calls.size(), 1u);
      EXPECT_EQ(rec.calls[0].message, "Czy na pewno chcesz usunąć formularz z zestawu?");
      EXPECT_EQ(rec.calls[0].first, "&TAK");
      EXPECT_EQ(rec.calls[0].second, "&NIE");
      EXPECT_EQ(rec.calls[0].title, "Informacja");
    }
  }
  EXPECT_FALSE(solv::DeleteFormInstance("", desk_, solv::AskThroughBoxes));
}

TEST_F(FormRegistryTest, DeletingAPitBRecountsTheOwnersCopies) {
  WriteSet(
      "[MAIN]\nPIT=PIT36\n"
      "[PITBa]\np1=A\np3=3\n[PITBa_1]\np1=A\np3=3\n[PITBa_2]\np1=B\np3=1\n[PITBa_3]\np1=A\np3=3\n");
  desk_.windows = {"PITBa_1"};
  // Closing stores the editor; that must not bring the section back.
  desk_.onClose = [](const std::string& name) { solv::WriteField("P9", "typed", name); };
  rec_.answers = {1};
  EXPECT_TRUE(solv::DeleteFormInstance("PITBa_1", desk_, solv::AskThroughBoxes));
  EXPECT_FALSE(solv::SectionExists("PITBa_1"));
  EXPECT_EQ(Box("p3", "PITBa"), "2");
  EXPECT_EQ(Box("p3", "PITBa_3"), "2");
  EXPECT_EQ(Box("p3", "PITBa_2"), "1");
}

// ---------------------------------------------------------------- help markers

TEST_F(FormRegistryTest, HelpMarkersComeFromTheLinesOfThePage) {
  PutBytes(dir_ / "in.r76", solv::Utf8ToCp1250(
                                "[PIT37a]\r\nILE=9\r\n"
                                "L1=Numer PESEL|1#100#200#http://pomoc/pesel##reszta\r\n"
                                "L2=Strona druga|2#10#20#t2##\r\n"
                                "L3=bez kreski 1#1#1#t##\r\n"
                                "L4=Zła liczba|1#x#1#t##\r\n"
                                "L5=Za mało|1#5\r\n"
                                "L7=Kotwica|1# -5 #7#http://a/b#c##\r\n"
                                "L8=Bez końca|1#3#4#temat\r\n"
                                "L10=poza ILE|1#1#1#t##\r\n"
                                "[PITMa]\r\nILE=1\r\nL1=Małżonek|1#1#2#m##\r\n"
                                "[PITBa]\r\nILE=1\r\nL1=Kopia|1#3#4#b##\r\n"
                                "[PIT40a]\r\nILE=99999999999\r\nL1=x|1#1#1#y##\r\n"
                                "[PIT38a]\r\nILE=abc\r\nL1=x|1#1#1#y##\r\n"));
  using M = solv::HelpMarker;
  const struct {
    const char* instance;
    int tag;
    std::vector<M> markers;
  } cases[] = {
      {"PIT37a", 1,
       {{"Numer PESEL", 100, 200, "http://pomoc/pesel"}, {"Kotwica", -5, 7, "http://a/b#c"}, {"Bez końca", 3, 4, "temat"}}},
      {"PIT37a", 2, {{"Strona druga", 10, 20, "t2"}}},
      {"PIT37a", 3, {}},
      {"PITMa_M", 1, {{"Małżonek", 1, 2, "m"}}},
      {"PITBa_2", 1, {{"Kopia", 3, 4, "b"}}},
      {"PIT40a", 1, {{"x", 1, 1, "y"}}},
      {"PIT38a", 1, {}},
      {"PIT39a", 1, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(solv::HelpMarkers(dir_, c.instance, c.tag), c.markers) << c.instance << c.tag;
  EXPECT_EQ(cases[0].markers[0].Hint(), "Numer PESEL|http://pomoc/pesel");
  EXPECT_TRUE(solv::HelpMarkers(dir_ / "nowhere", "PIT37a", 1).empty());
}

}  // namespace
