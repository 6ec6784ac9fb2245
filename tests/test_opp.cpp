// The 1% boxes of the public-benefit organisation: which main form a set has,
// filling its KRS and purpose boxes, and whether the KRS box is filled.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "set_fixture.hpp"
#include "store/opp.hpp"
#include "store/store.hpp"

namespace {

struct OppBoxes {
  const char* code;
  const char* section;
  const char* krs;
  const char* purpose;
};

constexpr OppBoxes kBoxes[] = {
    {"PIT28", "PIT28a", "P126", "P128"}, {"PIT36", "PIT36a", "P305", "P307"}, {"PIT36L", "PIT36La", "P105", "P107"},
    {"PIT37", "PIT37a", "P124", "P126"}, {"PIT38", "PIT38a", "P58", "P60"},   {"PIT39", "PIT39a", "P51", "P53"},
};

class OppTest : public SetFixture {
 protected:
  void WriteNextSet(const std::string& text) {
    set_ = dir_ / (std::to_string(++sets_) + ".i10");
    WriteSet(text);
  }
  int sets_ = 0;
};

TEST_F(OppTest, MainFormNumberComesFromTheMainFormCode) {
  const struct {
    const char* set;
    std::optional<int> expected;
  } cases[] = {
      {"[MAIN]\nPIT=PIT28\n", 0},  {"[MAIN]\nPIT=PIT36\n", 1},       {"[MAIN]\nPIT=PIT36L\n", 2},
      {"[MAIN]\nPIT=PIT37\n", 3},  {"[MAIN]\nPIT=PIT38\n", 4},       {"[MAIN]\nPIT=PIT39\n", 5},
      {"[main]\npit= PIT37 \n", 3}, {"[MAIN]\nPIT=PIT40\n", std::nullopt}, {"[MAIN]\nPIT=\n", std::nullopt},
      {"[MAIN]\nVER=10\n", std::nullopt}, {"[PIT37a]\nPIT=PIT37\n", std::nullopt}, {"[MAIN]\nPIT=PIT2K\n", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    WriteNextSet(c.set);
    EXPECT_EQ(solv::MainFormNumber(), c.expected) << c.set;
  }
}

TEST_F(OppTest, FillWritesKrsAndQuotedPurposeIntoTheFormsBoxes) {
  for (int n = 0; n < 6; ++n) {
    const OppBoxes& b = kBoxes[n];
    WriteNextSet(std::string("[MAIN]\nPIT=") + b.code + "\n");
    EXPECT_FALSE(solv::OppKrsFilled(n)) << b.code;
    solv::FillOppBoxes(n);
    EXPECT_EQ(solv::ReadField(b.krs, "", b.section), SOLV_TEST_OPP_KRS) << b.code;
    EXPECT_EQ(solv::ReadField(b.purpose, "", b.section), "\"pomagam podatkiem\"") << b.code;
    EXPECT_EQ(FileBytes(), std::string("[MAIN]\r\nPIT=") + b.code + "\r\n[" + b.section + "]\r\n" + b.krs + "=" +
                               SOLV_TEST_OPP_KRS + "\r\n" + b.purpose + "=\"\"pomagam podatkiem\"\"\r\n")
        << b.code;
    EXPECT_EQ(solv::OppKrsFilled(n), std::string(SOLV_TEST_OPP_KRS) != "") << b.code;
  }
}

TEST_F(OppTest, FillReplacesTheBoxesInPlace) {
  WriteSet("[MAIN]\nPIT=PIT36\n[PIT36a]\nP305=\nP306=12,00\nP307=\nP308=x\n");
  solv::FillOppBoxes(1);
  EXPECT_EQ(FileBytes(), std::string("[MAIN]\r\nPIT=PIT36\r\n[PIT36a]\r\nP305=") + SOLV_TEST_OPP_KRS +
                             "\r\nP306=12,00\r\nP307=\"\"pomagam podatkiem\"\"\r\nP308=x\r\n");
}

TEST_F(OppTest, NumbersOutsideTheSixFormsWriteNothing) {
  WriteSet("[MAIN]\nPIT=PIT40\n[PIT40a]\nP1=1\n");
  const std::string before = FileBytes();
  for (int n : {-1, 6, 7, 255}) {
    solv::FillOppBoxes(n);
    EXPECT_FALSE(solv::OppKrsFilled(n)) << n;
  }
  EXPECT_EQ(FileBytes(), before);
}

TEST_F(OppTest, KrsFilledLooksAtTheKrsBoxOfThatFormOnly) {
  const struct {
    const char* set;
    int n;
    bool filled;
  } cases[] = {
      {"[PIT36a]\nP305=0000099999\n", 1, true},
      {"[PIT36a]\nP305=\n", 1, false},
      {"[PIT36a]\nP305=   \n", 1, false},
      {"[PIT36a]\nP306=10,00\nP307=x\n", 1, false},
      {"[PIT37a]\nP305=0000099999\n", 1, false},  // another form's section
      {"[PIT37a]\np124=1\n", 3, true},
      {"[PIT28a]\nP124=1\n", 0, false},  // PIT-28 keeps its KRS in box 126
      {"[PIT28a]\nP126=1\n", 0, true},
      {"[PIT39a]\nP51=\"\"\n", 5, false},
  };
  for (const auto& c : cases) {
    WriteNextSet(std::string("[MAIN]\nPIT=PIT37\n") + c.set);
    EXPECT_EQ(solv::OppKrsFilled(c.n), c.filled) << c.set;
  }
}

}  // namespace
