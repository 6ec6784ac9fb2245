// Box-level operations on the current page of a return set.
#include <gtest/gtest.h>

#include <string>

#include "calc/fields.hpp"
#include "set_fixture.hpp"
#include "store/ini.hpp"

namespace {

using solv::ReadField;

class FieldsTest : public SetFixture {
 protected:
  // A PIT-37 set whose section PIT37a holds `lines`; PIT37a is the current page.
  // Each call writes a new file, so no case sees what the previous one left.
  void Set(const std::string& lines) {
    set_ = dir_ / (std::to_string(++sets_) + ".i10");
    WriteSet("[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\n" + lines + "[PITOa]\np1=1,00\np2=2,00\n");
    solv::Store().currentPage = "PIT37a";
  }
  // The value as the file on disk holds it now.
  std::string OnDisk(const char* section, const char* key) {
    auto v = solv::IniDocument::Parse(solv::Cp1250ToUtf8(FileBytes())).Read(section, key);
    return v ? *v : "<absent>";
  }
  int sets_ = 0;
};

TEST_F(FieldsTest, SumSkipsEmptyAndUnreadableBoxesAndRoundsOnce) {
  Set("p1=1,10\np2=\np3=x\np4=2,205\n");
  solv::SumFieldsInto({"p1", "p2", "p3", "p4", "p99"}, "p10");
  EXPECT_EQ(OnDisk("PIT37a", "p10"), "3,31");  // 3,305 in the "0.00" form
  EXPECT_EQ(ReadField("p10"), "3,31");
}

TEST_F(FieldsTest, SumOfNothingIsZero) {
  Set("p10=99,00\n");
  solv::SumFieldsInto({"p1", "p2"}, "p10");
  EXPECT_EQ(ReadField("p10"), "0,00");
}

TEST_F(FieldsTest, SumValueReadsTheGivenPageUnrounded) {
  Set("p1=1,005\np2=2,00\n");
  EXPECT_DOUBLE_EQ(static_cast<double>(solv::SumFieldsValue({"p1", "p2"}, "PITOa")), 3.0);
  EXPECT_NEAR(static_cast<double>(solv::SumFieldsValue({"p1", "p2"}, "PIT37a")), 3.005, 1e-12);
}

TEST_F(FieldsTest, IncomeOrLossPutsTheDifferenceOnOneSide) {
  struct Case {
    const char* revenue;
    const char* cost;
    const char* income;
    const char* loss;
  };
  const Case cases[] = {
      {"100,00", "100,00", "0,00", "0,00"},
      {"50,00", "80,00", "0,00", "30,00"},
      {"80,00", "50,00", "30,00", "0,00"},
      {"", "", "0,00", "0,00"},
      {"abc", "10,00", "0,00", "10,00"},
      {"0,30", "0,10", "0,20", "0,00"},
      {"1234567,89", "0,00", "1234567,89", "0,00"},
  };
  for (const auto& c : cases) {
    // Stale results in both target boxes must be replaced.
    Set(std::string("p39=") + c.revenue + "\np40=" + c.cost + "\np41=999,00\np42=999,00\n");
    solv::IncomeOrLoss("p39", "p40", "p41", "p42");
    EXPECT_EQ(OnDisk("PIT37a", "p41"), c.income) << c.revenue << " - " << c.cost;
    EXPECT_EQ(OnDisk("PIT37a", "p42"), c.loss) << c.revenue << " - " << c.cost;
  }
}

TEST_F(FieldsTest, ClampedDifferenceNeverGoesBelowZero) {
  struct Case {
    const char* a;
    const char* b;
    const char* expected;
  };
  const Case cases[] = {
      {"10,00", "25,00", "0,00"}, {"25,00", "10,00", "15,00"}, {"", "", "0,00"},
      {"0,30", "0,10", "0,20"},   {"10,00", "10,00", "0,00"},  {"x", "-5,00", "5,00"},
  };
  for (const auto& c : cases) {
    Set(std::string("p1=") + c.a + "\np2=" + c.b + "\np3=7,00\n");
    solv::ClampedDifference("p1", "p2", "p3");
    EXPECT_EQ(OnDisk("PIT37a", "p3"), c.expected) << c.a << " - " << c.b;
  }
}

TEST_F(FieldsTest, FillWritesEveryBoxOfTheCurrentPageOnly) {
  Set("p1=1,00\np2=2,00\n");
  solv::FillFields({"p1", "p2", "p77"}, "[  ]");
  EXPECT_EQ(OnDisk("PIT37a", "p1"), "[  ]");
  EXPECT_EQ(OnDisk("PIT37a", "p2"), "[  ]");
  EXPECT_EQ(OnDisk("PIT37a", "p77"), "[  ]");  // a key no page shows becomes a new entry
  EXPECT_EQ(OnDisk("PITOa", "p1"), "1,00");
  EXPECT_EQ(OnDisk("PITOa", "p2"), "2,00");

  solv::FillFields({"p1", "p2"}, "");
  EXPECT_EQ(OnDisk("PIT37a", "p1"), "");
  EXPECT_EQ(ReadField("p2", "default"), "");  // present and empty, not absent
}

}  // namespace
