// The whole-return check: every form of the set recalculated, their messages
// gathered without links, the message list and current page kept.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/dispatch.hpp"
#include "set_fixture.hpp"
#include "util/debug_log.hpp"

namespace {

using solv::CheckWholeReturn;

const std::string kNote =
    "<color=clNavy>Uwaga: Program sprawdza obliczenia (np. zgodność z limitami). Program nie sprawdza wszystkich "
    "danych (np. poprawność daty).";

const std::string kClean =
    "<color=clNavy><b>W wypełnionych formularzach (deklaracji głównej i załącznikach) nie występują błędy</b><br>" +
    kNote;

std::string Counted(int n) {
  return "<color=clRed><b>W zeznaniu występują błędy</b> <color=clGreen><b>lub uwagi</b><color=clRed><b> - liczba "
         "komunikatów:</b> " +
         std::to_string(n) + "<br>" + kNote + "<br>";
}

class CheckTest : public SetFixture {
 protected:
  void SetUp() override {
    SetFixture::SetUp();
    solv::SetDebugLog([this](std::string_view line) { log_.emplace_back(line); });
  }
  void TearDown() override {
    solv::SetDebugLog(nullptr);
    SetFixture::TearDown();
  }
  void Set(const std::string& text) {
    set_ = dir_ / (std::to_string(++sets_) + ".i10");
    WriteSet(text);
    log_.clear();
  }
  // Forms the check tried, in the order tried, whether or not they have a
  // recalculation yet (the debug log names each one).
  std::vector<std::string> Tried() const {
    std::vector<std::string> out;
    for (const auto& line : log_)
      for (const std::string prefix : {"no recalculation for ", "recalculate "})
        if (line.rfind(prefix, 0) == 0) out.push_back(line.substr(prefix.size()));
    return out;
  }
  std::vector<std::string> log_;
  int sets_ = 0;
};

TEST_F(CheckTest, CleanSetSaysNoErrors) {
  Set("[MAIN]\nPIT=PIT37\n[PIT37a]\np6a=[X]\np10a=[X]\np124=0000012345\np39=1000,00\n");
  const auto result = CheckWholeReturn();
  EXPECT_EQ(result.text, kClean);
  EXPECT_EQ(result.total, 0);
  // The recalculation stored its results.
  EXPECT_EQ(solv::ReadField("p64", "", "PIT37a"), "1000,00");
}

TEST_F(CheckTest, SetWithoutFormsIsClean) {
  Set("[MAIN]\nPIT=PIT37\n");
  const auto result = CheckWholeReturn();
  EXPECT_EQ(result.text, kClean);
  EXPECT_EQ(result.total, 0);
}

TEST_F(CheckTest, GathersCountedMessagesWithoutLinks) {
  // No method, no purpose, and box 93 above box 64.
  Set("[MAIN]\nPIT=PIT37\n[PIT37a]\np124=0000012345\np39=1000,00\np93=1500,00\n");
  const auto result = CheckWholeReturn();
  EXPECT_EQ(result.total, 3);
  EXPECT_EQ(result.text,
            Counted(3) +
                "<color=clRed><b>PIT-37, Poz.6. Wybór sposobu opodatkowania (zaznaczyć właściwy kwadrat)</b> "
                "<color=clNavy><br><br>\n"
                "<color=clRed><b>PIT-37, Poz.10. Cel złożenia formularza (zaznaczyć właściwy kwadrat)</b> "
                "<color=clNavy><br><br>\n"
                "<color=clRed><b>PIT-37, Poz.93. Składki na ubezpieczenia społeczne</b><br><color=clNavy>Odliczenie "
                "podatnika nie może przekroczyć kwoty z poz.64. <br><br>");
  EXPECT_EQ(result.text.find("<link"), std::string::npos);
  EXPECT_EQ(result.text.find("</link>"), std::string::npos);
}

TEST_F(CheckTest, LeavesTheMessageListAndCurrentPageAsTheyWere) {
  Set("[MAIN]\nPIT=PIT37\n[PIT37a]\np39=1000,00\n[PITOa]\np1=1\n");
  solv::ClearMessages();
  solv::AddMessage("komunikat %s", "1");
  solv::AddMessage("drugi");
  solv::Store().currentPage = "PITOa";
  const solv::MessageList before = solv::CopyMessages();

  const auto result = CheckWholeReturn();
  EXPECT_GT(result.total, 0);
  EXPECT_EQ(solv::Messages().items, before.items);
  EXPECT_EQ(solv::Messages().counter, before.counter);
  EXPECT_EQ(solv::Store().currentPage, "PITOa");
}

// The forms are tried in the fixed order, not in file order; every copy of
// PIT/B, PIT/O and PIT/ZG, by copy number (a lone later copy too); the
// spouse's PIT/M and PIT/Z only under joint taxation.
TEST_F(CheckTest, RunsTheFormsInOrderAndTheSpouseCopiesOnlyWhenJoint) {
  const std::string forms =
      "[PITZGa]\n[PITZa_M]\n[PITOa_2]\n[PITOa]\n[PITMa_M]\n[PITMa]\n[PIT2Ka]\n[PITDa]\n[PITBa_2]\n";
  struct Case {
    const char* method;
    std::vector<std::string> tried;
  };
  const Case cases[] = {
      {"p6a", {"PIT37a", "PITBa_2", "PITDa", "PITMa", "PITOa", "PITOa_2", "PIT2Ka", "PITZGa"}},
      {"p6d", {"PIT37a", "PITBa_2", "PITDa", "PITMa", "PITOa", "PITOa_2", "PIT2Ka", "PITZGa"}},
      {"p6b", {"PIT37a", "PITBa_2", "PITDa", "PITMa", "PITMa_M", "PITOa", "PITOa_2", "PITZa_M", "PIT2Ka", "PITZGa"}},
      {"p6c", {"PIT37a", "PITBa_2", "PITDa", "PITMa", "PITMa_M", "PITOa", "PITOa_2", "PITZa_M", "PIT2Ka", "PITZGa"}},
  };
  for (const auto& c : cases) {
    Set(std::string("[MAIN]\nPIT=PIT37\n[PIT37a]\n") + c.method + "=[X]\n" + forms);
    CheckWholeReturn();
    EXPECT_EQ(Tried(), c.tried) << c.method;
  }
}

// An error on a second copy reaches the check, and the message says which
// copy it is on; a lone copy's messages stay as they are.
TEST_F(CheckTest, EveryCopyIsCheckedAndNamed) {
  const std::string head = "[MAIN]\nPIT=PIT37\n[PIT37a]\np6a=[X]\np10a=[X]\np124=0000012345\np39=50000,00\n";
  Set(head + "[PITOa]\np4=1\n[PITOa_1]\np4=1\np21=800,00\n");
  const auto two = CheckWholeReturn();
  EXPECT_NE(two.text.find("<b>PIT/O – kopia 2, Poz.21."), std::string::npos) << two.text;
  EXPECT_EQ(two.text.find("<b>PIT/O, Poz.21."), std::string::npos);

  Set(head + "[PITOa]\np4=1\np21=800,00\n");
  const auto one = CheckWholeReturn();
  EXPECT_NE(one.text.find("<b>PIT/O, Poz.21."), std::string::npos) << one.text;
  EXPECT_EQ(one.text.find("kopia"), std::string::npos);
}

}  // namespace
