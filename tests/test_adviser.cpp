// Checks beyond the forms' own: attachment counts against the attachments in
// the set, in the recalculation of the main form and so in the whole-return
// check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/dispatch.hpp"
#include "form_test_support.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"

namespace {

class AdviserTest : public FormFixture {
 protected:
  // The adviser's messages of the last recalculation.
  static std::vector<std::string> CountMessages() {
    std::vector<std::string> out;
    for (const std::string& m : MessageItems())
      if (m.find("Informacja o załącznikach") != std::string::npos) out.push_back(solv::MarkupToPlain(m));
    return out;
  }
};

constexpr const char* kPit37 = "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np6a=[X]\np10a=[X]\np39=50000,00\n";

// Each count box against the copies in the set: equal passes, one more or
// one less fires, with the count to correct to.
TEST_F(AdviserTest, AttachmentCountsAgainstTheSet) {
  const struct {
    const char* what;
    std::string set;
    const char* section;
    std::vector<std::string> expected;
  } cases[] = {
      {"PIT-37 without attachments, empty counts", kPit37, "PIT37a", {}},
      {"PIT-37 with PIT/O and PIT/D, counts 0",
       std::string(kPit37) + "[PITOa]\np4=1\n[PITDa]\np1=1\n",
       "PIT37a",
       {"PIT-37, Poz.129. Informacja o załącznikach: PIT/O\nLiczba załączników PIT/O w zestawie wynosi 1, a w "
        "poz.129 wpisano 0 (POPRAW, POKAŻ >>>)\n\n",
        "PIT-37, Poz.130. Informacja o załącznikach: PIT/D\nLiczba załączników PIT/D w zestawie wynosi 1, a w "
        "poz.130 wpisano 0 (POPRAW, POKAŻ >>>)\n\n"}},
      {"two PIT/O copies, counted", std::string(kPit37) + "p129=2\n[PITOa]\np4=1\n[PITOa_1]\np4=2\n", "PIT37a", {}},
      {"two PIT/O copies, one counted", std::string(kPit37) + "p129=1\n[PITOa]\np4=1\n[PITOa_1]\np4=2\n", "PIT37a",
       {"PIT-37, Poz.129. Informacja o załącznikach: PIT/O\nLiczba załączników PIT/O w zestawie wynosi 2, a w "
        "poz.129 wpisano 1 (POPRAW, POKAŻ >>>)\n\n"}},
      {"a count without the attachment", std::string(kPit37) + "p131=1\n", "PIT37a",
       {"PIT-37, Poz.131. Informacja o załącznikach: PIT-2K\nLiczba załączników PIT-2K w zestawie wynosi 0, a w "
        "poz.131 wpisano 1 (POPRAW, POKAŻ >>>)\n\n"}},
      {"markup in a count box is not shown", std::string(kPit37) + "p129=<b>x\n", "PIT37a",
       {"PIT-37, Poz.129. Informacja o załącznikach: PIT/O\nLiczba załączników PIT/O w zestawie wynosi 0, a w "
        "poz.129 wpisano tekst, który nie jest liczbą (POPRAW, POKAŻ >>>)\n\n"}},
      {"PIT-38 with two PIT/ZG", "[MAIN]\nPIT=PIT38\nVER=10\n[PIT38a]\np1=1234563218\np63=2\n[PITZGa]\n[PITZGa_1]\n",
       "PIT38a", {}},
      {"PIT-36, the spouse's PIT/M counts when joint",
       "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\np6b=[X]\np312=2\n[PITMa]\n[PITMa_M]\n", "PIT36a", {}},
      {"PIT-36, and not when filing alone", "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\np6a=[X]\np312=2\n[PITMa]\n[PITMa_M]\n",
       "PIT36a",
       {"PIT-36, Poz.312. Informacja o załącznikach: PIT/M\nLiczba załączników PIT/M w zestawie wynosi 1, a w "
        "poz.312 wpisano 2 (POPRAW, POKAŻ >>>)\n\n"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteSet(c.set);
    ASSERT_TRUE(solv::Recalculate(c.section));
    EXPECT_EQ(CountMessages(), c.expected);
  }
}

// The correction link carries the count and the page of the box.
TEST_F(AdviserTest, TheCorrectionLinkCarriesTheCount) {
  WriteSet(std::string(kPit37) + "[PITOa]\np4=1\n[PITOa_1]\np4=2\n");
  ASSERT_TRUE(solv::Recalculate("PIT37a"));
  bool found = false;
  for (const std::string& m : MessageItems())
    found = found || m.find("(<link=popraw#2#PIT37c#P129>POPRAW</link>, <link=PIT37c#P129>POKAŻ >>></link>)") !=
                         std::string::npos;
  EXPECT_TRUE(found);
  const solv::WholeReturnCheck check = solv::CheckWholeReturn();
  EXPECT_NE(check.text.find("Liczba załączników PIT/O w zestawie wynosi 2"), std::string::npos) << check.text;
}

// Attachments carry no count boxes of their own.
TEST_F(AdviserTest, OnlyMainFormsAreCounted) {
  WriteSet(std::string(kPit37) + "p129=1\n[PITOa]\np4=1\n");
  ASSERT_TRUE(solv::Recalculate("PITOa"));
  EXPECT_TRUE(CountMessages().empty());
}

// The transfers into a main form against what their sources offer now.
class TransferCheckTest : public AdviserTest {
 protected:
  static std::vector<std::string> TransferMessages() {
    std::vector<std::string> out;
    for (const std::string& m : MessageItems())
      if (m.find("Kwota przeniesiona z innego") != std::string::npos ||
          m.find("Kwota do przeniesienia") != std::string::npos)
        out.push_back(m);
    return out;
  }
};

constexpr const char* kStale99 =
    "<color=clRed><b>PIT-37, Poz.99. Kwota przeniesiona z innego formularza</b><br><color=clNavy>Kwota w poz.99 "
    "(%s) nie jest równa kwocie do przeniesienia.<br>Kwota wykazana w załączniku PIT/O poz.28 wynosi %s "
    "(<link=popraw#%s#PIT37b#P99>POPRAW</link>, <link=PIT37b#P99>POKAŻ >>></link>)<br><br>";
constexpr const char* kPending99 =
    "<color=clNavy><b>Uwaga: PIT-37, Poz.99. Kwota do przeniesienia</b><br><color=clNavy>Kwota wykazana w "
    "załączniku PIT/O poz.28 wynosi 760,00.<br>Kwota nie została przeniesiona do poz.99 "
    "(<link=popraw#760,00#PIT37b#P99>POPRAW</link>, <link=PIT37b#P99>POKAŻ >>></link>)<br><br>";

std::string Stale99(const std::string& inBox, const std::string& source) {
  std::string text = kStale99;
  for (const std::string* v : {&inBox, &source, &source}) text.replace(text.find("%s"), 2, *v);
  return text;
}

TEST_F(TransferCheckTest, CarriedAmountsAgainstTheirSources) {
  const std::string head = std::string(kPit37) + "p97=40000,00\n";
  const struct {
    const char* what;
    std::string boxes;  // PIT-37 boxes, then further sections
    std::vector<std::string> expected;
  } cases[] = {
      {"offered, never carried", "[PITOa]\np4=1\np28=760,00\n", {kPending99}},
      {"carried and still so", "p99=760,00\n[PITOa]\np4=1\np28=760,00\n[PRZENIESIONE]\nPIT37a.P99=760,00\n", {}},
      {"carried, attachment deleted", "p99=760,00\n[PRZENIESIONE]\nPIT37a.P99=760,00\n", {Stale99("760,00", "0,00")}},
      {"carried, attachment changed", "p99=760,00\n[PITOa]\np4=1\np28=500,00\n[PRZENIESIONE]\nPIT37a.P99=760,00\n",
       {Stale99("760,00", "500,00")}},
      {"one grosz off", "p99=760,01\n[PITOa]\np4=1\np28=760,00\n[PRZENIESIONE]\nPIT37a.P99=760,01\n",
       {Stale99("760,01", "760,00")}},
      {"changed by hand since the carry", "p99=700,00\n[PITOa]\np4=1\np28=500,00\n[PRZENIESIONE]\nPIT37a.P99=760,00\n",
       {}},
      {"entered by hand, never carried", "p99=760,00\n", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteSet(head + c.boxes);
    ASSERT_TRUE(solv::Recalculate("PIT37a"));
    EXPECT_EQ(TransferMessages(), c.expected);
  }
}

// The check compares forms once all are recalculated: a PIT/O total the
// attachment computes only in the check is still seen as waiting.
TEST_F(TransferCheckTest, TheCheckComparesFormsAfterAllAreRecalculated) {
  WriteSet(std::string(kPit37) + "p129=1\n[PITOa]\np4=1\np21=760,00\n");
  const solv::WholeReturnCheck check = solv::CheckWholeReturn();
  EXPECT_NE(check.text.find("<b>Uwaga: PIT-37, Poz.99. Kwota do przeniesienia</b>"), std::string::npos) << check.text;
  EXPECT_EQ(check.text.find("Poz.129."), std::string::npos) << check.text;  // the count is right
}

// A box the taxation method locks is offered nothing: filing alone, the
// spouse's deductions wait for no carry.
TEST_F(TransferCheckTest, LockedBoxesAreNotPending) {
  WriteSet("[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np6a=[X]\np10a=[X]\n[PITOa]\np4=1\np29=300,00\n");
  ASSERT_TRUE(solv::Recalculate("PIT37a"));
  EXPECT_TRUE(TransferMessages().empty());
  WriteSet("[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np6b=[X]\np10a=[X]\n[PITOa]\np4=1\np29=300,00\n");
  ASSERT_TRUE(solv::Recalculate("PIT37a"));
  EXPECT_EQ(TransferMessages().size(), 1u);
}

// 2010 limits the forms do not check, each at its boundary: equal passes,
// one grosz more is a remark.
class LimitTest : public AdviserTest {
 protected:
  static std::vector<std::string> Remarks() {
    std::vector<std::string> out;
    for (const std::string& m : MessageItems())
      if (m.starts_with("<color=clNavy><b>Uwaga: ") && m.find("Kwota do przeniesienia") == std::string::npos)
        out.push_back(solv::MarkupToPlain(m).substr(0, solv::MarkupToPlain(m).find('\n')));
    return out;
  }
};

TEST_F(LimitTest, HealthContributionsAndEmployeeCosts) {
  const std::string head = "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np10a=[X]\n";
  const std::string health = "Uwaga: PIT-37, Poz.110. Składki na ubezpieczenie zdrowotne";
  const std::string costs = "Uwaga: PIT-37, Poz.40. Koszty uzyskania przychodów ze stosunku pracy";
  const struct {
    const char* what;
    std::string boxes;
    std::vector<std::string> expected;
  } cases[] = {
      // 7,75% of 51774,06 is 4012,49.
      {"health at 7,75%", "p6a=[X]\np39=51774,06\np110=4012,49\n", {}},
      {"health one grosz above", "p6a=[X]\np39=51774,06\np110=4012,50\n", {health}},
      {"the base less social contributions", "p6a=[X]\np39=60000,00\np93=8225,94\np110=4012,50\n", {health}},
      {"pensions count", "p6a=[X]\np39=30000,00\np44=21774,06\np110=4012,49\n", {}},
      {"other revenue: the base is not in the return", "p6a=[X]\np39=51774,06\np47=1000,00\np110=4659,66\n", {}},
      {"costs at the highest lump sum", "p6a=[X]\np39=50000,00\np40=2502,56\n", {}},
      {"costs one grosz above", "p6a=[X]\np39=50000,00\np40=2502,57\n", {costs}},
      {"the spouse's health, joint", "p6b=[X]\np39=51774,06\np66=51774,06\np111=4012,50\n",
       {"Uwaga: PIT-37, Poz.111. Składki na ubezpieczenie zdrowotne"}},
      {"the spouse's boxes filing alone", "p6a=[X]\np39=51774,06\np66=51774,06\np111=4012,50\n", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteSet(head + c.boxes);
    ASSERT_TRUE(solv::Recalculate("PIT37a"));
    EXPECT_EQ(Remarks(), c.expected);
  }
}

TEST_F(LimitTest, ChildReliefAgainstTheMonthsMarked) {
  const std::string head = "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np6b=[X]\np10a=[X]\n[PITOa]\np4=1\np34=2\n";
  const std::string remark = "Uwaga: PIT/O, Poz.35 i 36. Ulga z tytułu wychowywania dzieci";
  const struct {
    const char* what;
    std::string boxes;
    bool fires;
  } cases[] = {
      {"a whole year", "p35=1112,04\np68a=[X]\n", false},
      {"a whole year and one grosz", "p35=1112,05\np68a=[X]\n", true},
      {"four months", "p35=370,68\np68b=[X]\np68c=[X]\np68d=[X]\np68e=[X]\n", false},
      {"four months, a year's relief", "p35=1112,04\np68b=[X]\np68c=[X]\np68d=[X]\np68e=[X]\n", true},
      {"months of either parent count once", "p35=185,34\np36=0,00\np68b=[X]\np69b=[X]\np69c=[X]\n", false},
      {"two children", "p35=1112,04\np36=1112,04\np68a=[X]\np75a=[X]\n", false},
      {"no months at all", "p35=92,67\n", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteSet(head + c.boxes);
    ASSERT_TRUE(solv::Recalculate("PITOa"));
    EXPECT_EQ(Remarks(), c.fires ? std::vector<std::string>{remark} : std::vector<std::string>{});
  }
}

// The faults a careful adviser finds, each through solvcalc check.
TEST_F(AdviserTest, TheAdvisersFindingsThroughSolvcalc) {
  const struct {
    const char* what;
    const char* set;
    const char* expected;
  } cases[] = {
      {"a relief kept after its PIT/O was deleted",
       "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np6a=[X]\np10a=[X]\np39=50000,00\np99=760,00\n"
       "[PRZENIESIONE]\nPIT37a.P99=760,00\n",
       "PIT-37, Poz.99. Kwota przeniesiona z innego formularza\nKwota w poz.99 (760,00) nie jest równa kwocie do "
       "przeniesienia.\nKwota wykazana w załączniku PIT/O poz.28 wynosi 0,00"},
      {"advances offered and never carried",
       "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\np6a=[X]\np10a=[X]\np45=60000,00\np49=10500,00\n",
       "Uwaga: PIT-36, Poz.192. Kwota do przeniesienia\nKwota wykazana w PIT-36 poz.189 wynosi 10500,00."},
      {"a health contribution of 9% deducted in full",
       "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np6a=[X]\np10a=[X]\np39=51774,06\np110=4659,66\n",
       "Uwaga: PIT-37, Poz.110. Składki na ubezpieczenie zdrowotne"},
      {"a child relief for a child raised four months",
       "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np6a=[X]\np10a=[X]\np39=51774,06\np129=1\n[PITOa]\np4=1\np34=1\n"
       "p35=1112,04\np68b=[X]\np68c=[X]\np68d=[X]\np68e=[X]\n",
       "miesiące zaznaczone w części E dają razem 370,68 zł, a w poz.35 i 36 wpisano razem 1112,04 zł"},
      {"attachment counts left at 0",
       "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np6a=[X]\np10a=[X]\np39=50000,00\n[PITOa]\np4=1\n",
       "Liczba załączników PIT/O w zestawie wynosi 1, a w poz.129 wpisano 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteSet(c.set);
    solv::Store() = solv::StoreState{};
    const ToolRun run = RunSolvcalc({"check", set_.string()}, dir_);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find(c.expected), std::string::npos) << run.out;
  }
}

}  // namespace
