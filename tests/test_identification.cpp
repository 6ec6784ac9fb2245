// Copying the taxpayer's and spouse's identification between the forms of a
// set: box ranges, the start by identifier, the stop for PIT/D and PIT/O, and
// the propagation after a page of any form was saved.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "calc/identification.hpp"
#include "set_fixture.hpp"
#include "store/forms.hpp"
#include "store/store.hpp"

namespace {

using namespace solv;

constexpr const char* kAbsent = "<absent>";

// "[name]" and the lines "P<n>=<prefix><n>" for n in [first, last].
std::string Section(const std::string& name, const std::string& prefix, int first, int last,
                    const std::string& extra = {}) {
  std::string s = "[" + name + "]\n";
  for (int n = first; n <= last; ++n) s += "P" + std::to_string(n) + "=" + prefix + std::to_string(n) + "\n";
  return s + extra;
}

std::string Box(const std::string& section, int n) { return ReadField("p" + std::to_string(n), kAbsent, section); }

struct BoxIs {
  const char* section;
  int box;
  std::string value;
};

class IdentificationTest : public SetFixture {
 protected:
  void TearDown() override {
    SetReloadOpenPages(nullptr);
    SetFixture::TearDown();
  }
  // Each case in a set file of its own (a same-size rewrite may keep the stamp).
  void WriteNextSet(const std::string& text) {
    set_ = dir_ / (std::to_string(++sets_) + ".i10");
    WriteSet(text);
  }
  void ExpectBoxes(const std::vector<BoxIs>& boxes, const std::string& label) {
    for (const auto& b : boxes) EXPECT_EQ(Box(b.section, b.box), b.value) << label << ": " << b.section << " p" << b.box;
  }
  int sets_ = 0;
};

// ---------------------------------------------------------------- CopyFieldRange

TEST_F(IdentificationTest, CopyFieldRangeMapsBoxesWithTheFormQuirks) {
  const std::string set = "[MAIN]\nPIT=PIT37\n" + Section("PIT37a", "a", 1, 40) + Section("PIT28a", "t", 1, 40) +
                          Section("PIT2Ka", "k", 1, 40) + Section("PITMa", "m", 1, 10);
  const struct {
    const char* name;
    const char* source;
    int sourceFirst, sourceCount;
    const char* target;
    int targetFirst, targetCount;
    std::vector<BoxIs> expected;
  } cases[] = {
      // The skip pushes the last box past PIT-28's block (7..20); box 21 is a
      // revenue box and is never written or read as identification.
      {"PIT28a target skips its box 11", "PIT37a", 11, 14, "PIT28a", 7, 14,
       {{"PIT28a", 6, "t6"}, {"PIT28a", 7, "a11"}, {"PIT28a", 10, "a14"}, {"PIT28a", 11, "t11"},
        {"PIT28a", 12, "a15"}, {"PIT28a", 20, "a23"}, {"PIT28a", 21, "t21"}, {"PIT28a", 22, "t22"}}},
      {"PIT28a source skips its box 11", "PIT28a", 7, 14, "PIT37a", 11, 14,
       {{"PIT37a", 14, "t10"}, {"PIT37a", 15, "t12"}, {"PIT37a", 23, "t20"}, {"PIT37a", 24, "a24"},
        {"PIT37a", 25, "a25"}}},
      {"PIT2Ka target swaps its 3rd and 4th box", "PIT37a", 11, 14, "PIT2Ka", 3, 14,
       {{"PIT2Ka", 3, "a11"}, {"PIT2Ka", 4, "a12"}, {"PIT2Ka", 5, "a14"}, {"PIT2Ka", 6, "a13"},
        {"PIT2Ka", 7, "a15"}, {"PIT2Ka", 16, "a24"}, {"PIT2Ka", 17, "k17"}}},
      {"PIT2Ka source swaps its 3rd and 4th box", "PIT2Ka", 17, 4, "PITMa", 3, 4,
       {{"PITMa", 3, "k17"}, {"PITMa", 4, "k18"}, {"PITMa", 5, "k20"}, {"PITMa", 6, "k19"}, {"PITMa", 7, "m7"}}},
      {"both quirks at once", "PIT2Ka", 3, 14, "PIT28a", 7, 14,
       {{"PIT28a", 8, "k4"}, {"PIT28a", 9, "k6"}, {"PIT28a", 10, "k5"}, {"PIT28a", 11, "t11"},
        {"PIT28a", 12, "k7"}, {"PIT28a", 20, "k15"}, {"PIT28a", 21, "t21"}}},
      {"the smaller count wins", "PIT37a", 11, 14, "PITMa", 3, 4,
       {{"PITMa", 3, "a11"}, {"PITMa", 6, "a14"}, {"PITMa", 7, "m7"}}},
      {"absent source boxes copy as empty", "PITMa", 9, 4, "PIT37a", 30, 4,
       {{"PIT37a", 30, "m9"}, {"PIT37a", 31, "m10"}, {"PIT37a", 32, ""}, {"PIT37a", 33, ""}, {"PIT37a", 34, "a34"}}},
      {"zero count copies nothing", "PIT37a", 11, 0, "PITMa", 3, 4, {{"PITMa", 3, "m3"}}},
      {"negative count copies nothing", "PIT37a", 11, 4, "PITMa", 3, -1, {{"PITMa", 3, "m3"}}},
  };
  for (const auto& c : cases) {
    WriteNextSet(set);
    CopyFieldRange(false, c.source, c.sourceFirst, c.sourceCount, c.target, c.targetFirst, c.targetCount);
    ExpectBoxes(c.expected, c.name);
  }
}

TEST_F(IdentificationTest, CopyFieldRangeIntoAnAbsentSectionOnlyWhenAlways) {
  WriteSet("[MAIN]\nPIT=PIT37\n" + Section("PIT37a", "a", 11, 24));
  const std::string before = FileBytes();
  CopyFieldRange(false, "PIT37a", 11, 14, "PITDa", 4, 14);
  EXPECT_EQ(FileBytes(), before);
  EXPECT_FALSE(SectionExists("PITDa"));

  CopyFieldRange(true, "PIT37a", 11, 14, "PITDa", 4, 14);
  EXPECT_EQ(Box("PITDa", 4), "a11");
  EXPECT_EQ(Box("PITDa", 17), "a24");
}

// ---------------------------------------------------------------- CopyIdentification

// A PIT-37 set: taxpayer 1111, spouse 2222, method box 6 given by the case.
std::string Pit37Set(const char* method, const std::string& attachments) {
  return "[MAIN]\nPIT=PIT37\n" + Section("PIT37a", "a", 11, 38, std::string("P1=1111\nP2=2222\n") + method + "\n") +
         attachments;
}
constexpr const char* kIndividual = "P6A=[X]";
constexpr const char* kJoint = "P6B=[X]";
constexpr const char* kJointWidowed = "P6C=[X]";
constexpr const char* kSingleParent = "P6D=[X]";

TEST_F(IdentificationTest, MainFormToAttachmentStopsAfterTaxpayerForPitDAndPitO) {
  const std::string pitD = "[PITDa]\nP1=\nP4=\nP18=\n";
  const std::string pitO = "[PITOa]\nP1=\nP5=\nP9=\n";
  const std::string pit2K = "[PIT2Ka]\nP1=\nP3=\n";
  const struct {
    const char* name;
    const char* method;
    int target;
    std::vector<BoxIs> expected;
  } cases[] = {
      {"PIT/D individual", kIndividual, kPITD,
       {{"PITDa", 1, "1111"}, {"PITDa", 4, "a11"}, {"PITDa", 17, "a24"}, {"PITDa", 2, kAbsent}, {"PITDa", 18, ""}}},
      {"PIT/D single parent", kSingleParent, kPITD, {{"PITDa", 17, "a24"}, {"PITDa", 2, kAbsent}, {"PITDa", 18, ""}}},
      {"PIT/D joint", kJoint, kPITD, {{"PITDa", 4, "a11"}, {"PITDa", 2, "2222"}, {"PITDa", 18, "a25"}, {"PITDa", 31, "a38"}}},
      {"PIT/D joint (widowed)", kJointWidowed, kPITD, {{"PITDa", 2, "2222"}, {"PITDa", 31, "a38"}}},
      {"PIT/O individual", kIndividual, kPITO,
       {{"PITOa", 1, "1111"}, {"PITOa", 5, "a11"}, {"PITOa", 8, "a14"}, {"PITOa", 2, kAbsent}, {"PITOa", 9, ""}}},
      {"PIT/O joint", kJoint, kPITO, {{"PITOa", 2, "2222"}, {"PITOa", 9, "a25"}, {"PITOa", 12, "a28"}, {"PITOa", 13, kAbsent}}},
      {"PIT-2K individual takes the spouse too", kIndividual, kPIT2K,
       {{"PIT2Ka", 1, "1111"}, {"PIT2Ka", 5, "a14"}, {"PIT2Ka", 6, "a13"}, {"PIT2Ka", 2, "2222"},
        {"PIT2Ka", 17, "a25"}, {"PIT2Ka", 19, "a28"}, {"PIT2Ka", 20, "a27"}, {"PIT2Ka", 30, "a38"}}},
  };
  for (const auto& c : cases) {
    WriteNextSet(Pit37Set(c.method, pitD + pitO + pit2K));
    CopyIdentification(kPIT37, c.target, false, "", "");
    ExpectBoxes(c.expected, c.name);
  }
}

TEST_F(IdentificationTest, PitDAndPit2KExchangeBothPersonsInEitherDirection) {
  const std::string pitD = Section("PITDa", "d", 1, 31);
  const std::string pit2K = Section("PIT2Ka", "k", 1, 30);
  WriteNextSet(Pit37Set(kIndividual, pitD + pit2K));
  CopyIdentification(kPITD, kPIT2K, false, "", "");
  ExpectBoxes({{"PIT2Ka", 1, "d1"}, {"PIT2Ka", 2, "d2"}, {"PIT2Ka", 5, "d7"}, {"PIT2Ka", 6, "d6"},
               {"PIT2Ka", 17, "d18"}, {"PIT2Ka", 30, "d31"}},
              "PIT/D to PIT-2K");

  WriteNextSet(Pit37Set(kIndividual, pitD + pit2K));
  CopyIdentification(kPIT2K, kPITD, false, "", "");
  ExpectBoxes({{"PITDa", 2, "k2"}, {"PITDa", 6, "k6"}, {"PITDa", 7, "k5"}, {"PITDa", 18, "k17"}, {"PITDa", 31, "k30"}},
              "PIT-2K to PIT/D");

  // An attachment's data also reach the main form, without the spouse.
  WriteNextSet(Pit37Set(kIndividual, pitD + pit2K));
  CopyIdentification(kPITD, kPIT37, false, "", "");
  ExpectBoxes({{"PIT37a", 1, "d1"}, {"PIT37a", 11, "d4"}, {"PIT37a", 24, "d17"}, {"PIT37a", 2, "2222"},
               {"PIT37a", 25, "a25"}},
              "PIT/D to PIT-37");
}

TEST_F(IdentificationTest, FormMinusOneIsTheMainFormOfTheSet) {
  WriteSet(Pit37Set(kIndividual, ""));
  CopyIdentification(-1, kPITD, true, "", "");
  EXPECT_EQ(Box("PITDa", 1), "1111");
  EXPECT_EQ(Box("PITDa", 4), "a11");
  EXPECT_FALSE(SectionExists("PITOa"));
}

TEST_F(IdentificationTest, NotAlwaysLeavesAbsentFormsAbsent) {
  WriteSet(Pit37Set(kJoint, ""));
  const std::string before = FileBytes();
  CopyIdentification(kPIT37, kPIT2K, false, "", "");
  EXPECT_EQ(FileBytes(), before);
}

// A PIT-36 set with copies of PIT/B: which copy belongs to whom is told by
// the copy's own "p1".
std::string Pit36Set(const char* method, const std::string& attachments) {
  return "[MAIN]\nPIT=PIT36\n" + Section("PIT36a", "a", 11, 38, std::string("P1=1111\nP2=2222\n") + method + "\n") +
         attachments;
}

TEST_F(IdentificationTest, OneGivenSectionStartsByItsIdentifier) {
  const struct {
    const char* name;
    const char* method;
    std::string attachment;  // PITBa_1
    int source, target;
    const char* sourceSection;
    const char* targetSection;
    std::vector<BoxIs> expected;
  } cases[] = {
      {"taxpayer's copy receives taxpayer data", kIndividual, "[PITBa_1]\nP1=1111\n", kPIT36, kPITB, "", "PITBa_1",
       {{"PITBa_1", 4, "a11"}, {"PITBa_1", 7, "a14"}, {"PITBa_1", 8, kAbsent}, {"PITBa_1", 1, "1111"}}},
      {"spouse's copy receives spouse data", kIndividual, "[PITBa_1]\nP1=2222\n", kPIT36, kPITB, "", "PITBa_1",
       {{"PITBa_1", 4, "a25"}, {"PITBa_1", 7, "a28"}, {"PITBa_1", 8, kAbsent}, {"PITBa_1", 1, "2222"}}},
      {"stranger's copy receives nothing", kIndividual, "[PITBa_1]\nP1=3333\n", kPIT36, kPITB, "", "PITBa_1",
       {{"PITBa_1", 4, kAbsent}}},
      {"spouse's copy feeds the main form's spouse", kIndividual, Section("PITBa_1", "b", 4, 7, "P1=2222\n"), kPITB,
       kPIT36, "PITBa_1", "",
       {{"PIT36a", 25, "b4"}, {"PIT36a", 28, "b7"}, {"PIT36a", 29, "a29"}, {"PIT36a", 11, "a11"}, {"PIT36a", 2, "2222"}}},
      {"taxpayer's copy feeds the main form's taxpayer", kIndividual, Section("PITBa_1", "b", 4, 7, "P1=1111\n"), kPITB,
       kPIT36, "PITBa_1", "",
       {{"PIT36a", 11, "b4"}, {"PIT36a", 14, "b7"}, {"PIT36a", 15, "a15"}, {"PIT36a", 25, "a25"}}},
  };
  for (const auto& c : cases) {
    WriteNextSet(Pit36Set(c.method, c.attachment));
    CopyIdentification(c.source, c.target, false, c.sourceSection, c.targetSection);
    ExpectBoxes(c.expected, c.name);
  }
}

TEST_F(IdentificationTest, SpousesPitOCopyReceivesSpouseDataOnlyUnderJointTaxation) {
  const struct {
    const char* method;
    std::vector<BoxIs> expected;
  } cases[] = {
      {kIndividual, {{"PITOa_1", 5, ""}, {"PITOa_1", 8, ""}}},
      {kJoint, {{"PITOa_1", 1, "2222"}, {"PITOa_1", 5, "a25"}, {"PITOa_1", 8, "a28"}, {"PITOa_1", 9, ""}}},
  };
  for (const auto& c : cases) {
    WriteNextSet(Pit37Set(c.method, "[PITOa_1]\nP1=2222\nP5=\nP8=\nP9=\n"));
    CopyIdentification(kPIT37, kPITO, false, "", "PITOa_1");
    ExpectBoxes(c.expected, c.method);
  }
}

TEST_F(IdentificationTest, TwoGivenSectionsCopyOnlyIntoACopyWithoutIdentifier) {
  const std::string copies = Section("PITBa", "b", 4, 7, "P1=1111\n") + "[PITBa_1]\nP1=\n" + "[PITBa_2]\nP1=2222\n";
  WriteSet(Pit36Set(kIndividual, copies));
  CopyIdentification(kPITB, kPITB, false, "PITBa", "PITBa_1");
  CopyIdentification(kPITB, kPITB, false, "PITBa", "PITBa_2");
  ExpectBoxes({{"PITBa_1", 4, "b4"}, {"PITBa_1", 7, "b7"}, {"PITBa_1", 1, ""}, {"PITBa_2", 4, kAbsent}}, "PIT/B copies");
}

// ---------------------------------------------------------------- PropagateIdentification

TEST_F(IdentificationTest, PropagationFromTheMainFormVisitsAllowedFormsOnly) {
  int reloads = 0;
  SetReloadOpenPages([&] { ++reloads; });
  const std::string attachments = std::string("[PITDa]\nP1=\nP2=\nP4=\nP18=\n") + "[PITOa]\nP1=\nP5=\n" +
                                  "[PITOa_1]\nP1=x\nP2=y\n" + "[PIT2Ka]\nP1=\n" + "[PIT36a]\nP1=\nP11=\n" +
                                  "[PITMa]\nP1=\nP3=\n";
  WriteSet(Pit37Set(kIndividual, attachments));
  PropagateIdentification(kPIT37, "");
  ExpectBoxes(
      {
          {"PITDa", 1, "1111"}, {"PITDa", 4, "a11"}, {"PITDa", 17, "a24"}, {"PITDa", 2, ""}, {"PITDa", 18, ""},
          {"PIT2Ka", 2, "2222"}, {"PIT2Ka", 17, "a25"},
          // PIT/O copies take both identifiers and nothing else.
          {"PITOa", 1, "1111"}, {"PITOa", 2, "2222"}, {"PITOa", 5, ""}, {"PITOa_1", 1, "1111"}, {"PITOa_1", 2, "2222"},
          {"PITOa_1", 5, kAbsent},
          // Not allowed in a PIT-37 set.
          {"PIT36a", 1, ""}, {"PIT36a", 11, ""}, {"PITMa", 1, ""}, {"PITMa", 3, ""},
      },
      "from PIT-37");
  EXPECT_FALSE(SectionExists("PIT28Aa"));
  EXPECT_EQ(reloads, 1);
}

TEST_F(IdentificationTest, PropagationFromAnAttachmentReachesTheMainForm) {
  const std::string attachments = Section("PITDa", "d", 1, 31) + "[PIT2Ka]\nP1=\n" + "[PITOa]\nP1=\n";
  WriteSet(Pit37Set(kIndividual, attachments));
  PropagateIdentification(kPITD, "");
  ExpectBoxes({{"PIT37a", 1, "d1"}, {"PIT37a", 11, "d4"}, {"PIT37a", 24, "d17"}, {"PIT37a", 2, "2222"},
               {"PIT37a", 25, "a25"}, {"PIT2Ka", 2, "d2"}, {"PIT2Ka", 17, "d18"}, {"PITOa", 1, "d1"},
               {"PITOa", 2, "d2"}, {"PITDa", 1, "d1"}},
              "from PIT/D");
}

TEST_F(IdentificationTest, PropagationFromAPitBCopyReachesTheOtherCopies) {
  int reloads = 0;
  SetReloadOpenPages([&] { ++reloads; });
  const std::string copies = "[PITBa]\nP1=\n" + Section("PITBa_1", "b", 4, 7, "P1=1111\n") + "[PITBa_2]\nP1=\n" +
                             "[PITBa_3]\nP1=2222\nP4=keep\n" + "[PITZGa]\nP1=\n" + "[PITZGa_1]\nP1=9\n";
  WriteSet(Pit36Set(kIndividual, copies));
  PropagateIdentification(kPITB, "PITBa_1");
  ExpectBoxes(
      {
          {"PITBa", 4, "b4"}, {"PITBa", 7, "b7"}, {"PITBa_2", 4, "b4"}, {"PITBa_3", 4, "keep"},
          {"PITBa_1", 4, "b4"}, {"PITBa_1", 8, kAbsent},
          // PIT/ZG copies without an identifier take the data too (boxes 3..6).
          {"PITZGa", 3, "b4"}, {"PITZGa", 6, "b7"}, {"PITZGa_1", 3, kAbsent},
          // The copy's identifier is the taxpayer's: the main form takes its data.
          {"PIT36a", 11, "b4"}, {"PIT36a", 14, "b7"}, {"PIT36a", 15, "a15"},
      },
      "from PITBa_1");
  EXPECT_EQ(reloads, 1);
}

TEST_F(IdentificationTest, PropagationFromAPitZGCopy) {
  const std::string copies = "[PITZGa]\nP1=\n" + Section("PITZGa_1", "z", 3, 6, "P1=1111\n") + "[PITZGa_2]\nP1=\n";
  WriteSet(Pit36Set(kIndividual, copies));
  PropagateIdentification(kPITZG, "PITZGa_1");
  ExpectBoxes({{"PITZGa", 3, "z3"}, {"PITZGa", 6, "z6"}, {"PITZGa_2", 3, "z3"}, {"PIT36a", 11, "z3"},
               {"PIT36a", 14, "z6"}, {"PIT36a", 15, "a15"}},
              "from PITZGa_1");
}

}  // namespace
