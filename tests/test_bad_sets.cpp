// Bad files in the data folder beside a real set: random bytes, a file far
// longer than any set and a file of 100,000 sections. They list as
// "bez nazwy ", opening them neither crashes nor writes to them, a file over
// the size limit is refused unread, and the real set opens after each.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "services/message_service.hpp"
#include "set_fixture.hpp"
#include "store/ini.hpp"
#include "store/set_list.hpp"
#include "store/store.hpp"

namespace {

namespace fs = std::filesystem;
using solv::OpenSetResult;

const std::string kRealSet =
    "[MAIN]\r\nPIT=PIT37\r\nVER=10\r\n[PIT37a]\r\nP11=Kowalski\r\nP12=Jan\r\nP124=0000012345\r\n";
constexpr const char* kRealLabel = "Kowalski Jan (PIT-37)";
constexpr const char* kDefault = "<default>";

std::string RandomBytes(size_t n) {
  std::mt19937 rng(20100430);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng());
  return s;
}

std::string ManySections(int n) {
  std::string s;
  for (int i = 1; i <= n; ++i) s += "[S" + std::to_string(i) + "]\r\nK=" + std::to_string(i) + "\r\n";
  return s;
}

class BadSetTest : public SetFixture {
 protected:
  void SetUp() override {
    SetFixture::SetUp();
    data_ = solv::DataFolder();
    fs::create_directories(data_);
    PutBytes(data_ / "1.i10", kRealSet);
  }
  static std::string Label(int n) { return solv::SetLabel(solv::DataFolder() / (std::to_string(n) + ".i10")); }

  fs::path data_;
  solv::RecordingMessageProvider messages_;
  solv::ScopedMessageProvider scoped_{&messages_};
};

TEST_F(BadSetTest, BadFilesListAsNoNameOpenHarmlesslyAndTheRealSetOpensAfter) {
  // A real set at the head of 50 MB of zeros: a file it reads would be
  // labelled with its names, so "bez nazwy " shows it was not read.
  PutBytes(data_ / "3.i10", kRealSet);
  fs::resize_file(data_ / "3.i10", std::uintmax_t{50} << 20);
  PutBytes(data_ / "2.i10", RandomBytes(std::size_t{1} << 20));
  PutBytes(data_ / "4.i10", ManySections(100000));

  EXPECT_EQ(solv::SetNumbers(data_), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(Label(1), kRealLabel);
  for (int n : {2, 3, 4}) EXPECT_EQ(Label(n), "bez nazwy ") << n;

  const struct {
    const char* name;
    int number;
    OpenSetResult result;
  } cases[] = {
      {"random bytes", 2, OpenSetResult::Opened},
      {"50 MB", 3, OpenSetResult::Refused},
      {"100,000 sections", 4, OpenSetResult::Opened},
  };
  ASSERT_EQ(solv::OpenExistingSet(data_, 1, solv::AskThroughBoxes), OpenSetResult::Opened);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = data_ / (std::to_string(c.number) + ".i10");
    const std::uintmax_t size = fs::file_size(file);
    const std::string head = size <= solv::kMaxSetFileBytes ? Bytes(file) : std::string();
    messages_.calls.clear();

    EXPECT_EQ(solv::OpenExistingSet(data_, c.number, solv::AskThroughBoxes), c.result);
    if (c.result == OpenSetResult::Refused) {
      EXPECT_EQ(solv::SetFileName(), "1.i10");  // the open set stays open
      ASSERT_EQ(messages_.calls.size(), 1u);
      EXPECT_EQ(messages_.calls[0].title, "Informacja");
      EXPECT_EQ(messages_.calls[0].message,
                "Nie można otworzyć zestawu 3.i10: plik ma 50 MB, a zestaw zapisany przez program zajmuje "
                "najwyżej kilkadziesiąt kilobajtów. Plik jest uszkodzony albo nie jest zestawem danych programu.");
      EXPECT_EQ(solv::ReadField("p11", kDefault, "PIT37a"), "Kowalski");
    } else {
      EXPECT_EQ(solv::SetFileName(), file.filename().string());
      EXPECT_TRUE(messages_.calls.empty());
      EXPECT_EQ(solv::Store().allowed, (std::array<bool, solv::kFormCount>{}));  // no main form: no forms
      EXPECT_EQ(solv::ReadField("p11", kDefault, "PIT37a"), kDefault);
      EXPECT_EQ(solv::ReadField("PIT", kDefault, "MAIN"), kDefault);
      EXPECT_TRUE(solv::SectionsOfForm("PITBa").empty());
    }
    EXPECT_EQ(fs::file_size(file), size);  // nothing written to it
    if (!head.empty()) {
      EXPECT_EQ(Bytes(file), head);
    }

    // Back to the real set (still open after a refusal).
    EXPECT_EQ(solv::OpenExistingSet(data_, 1, solv::AskThroughBoxes),
              c.result == OpenSetResult::Refused ? OpenSetResult::AlreadyOpen : OpenSetResult::Opened);
    EXPECT_EQ(solv::SetFileName(), "1.i10");
    EXPECT_EQ(solv::ReadField("p11", kDefault, "PIT37a"), "Kowalski");
    EXPECT_EQ(Label(c.number), "bez nazwy ");
  }
}

TEST_F(BadSetTest, SetsUpToTheSizeLimitLabelAndOpenOneByteMoreIsRefused) {
  // The real set padded with keys of a section of its own to the limit.
  std::string text = kRealSet + "[PAD]\r\n";
  for (int i = 0; text.size() < solv::kMaxSetFileBytes - 40; ++i) text += "K" + std::to_string(i) + "=wartość\r\n";
  text += "LAST=" + std::string(solv::kMaxSetFileBytes - text.size() - 7, 'x') + "\r\n";
  ASSERT_EQ(text.size(), solv::kMaxSetFileBytes);
  PutBytes(data_ / "2.i10", text);

  EXPECT_EQ(Label(2), kRealLabel);
  EXPECT_EQ(solv::OpenExistingSet(data_, 2, solv::AskThroughBoxes), OpenSetResult::Opened);
  EXPECT_EQ(solv::ReadField("p12", kDefault, "PIT37a"), "Jan");
  EXPECT_TRUE(messages_.calls.empty());

  ASSERT_EQ(solv::OpenExistingSet(data_, 1, solv::AskThroughBoxes), OpenSetResult::Opened);
  PutBytes(data_ / "2.i10", text + "\n");
  EXPECT_EQ(Label(2), "bez nazwy ");
  EXPECT_EQ(solv::OpenExistingSet(data_, 2, solv::AskThroughBoxes), OpenSetResult::Refused);
  EXPECT_EQ(solv::SetFileName(), "1.i10");
  ASSERT_EQ(messages_.calls.size(), 1u);
  EXPECT_NE(messages_.calls[0].message.find("zestawu 2.i10: plik ma 9 MB"), std::string::npos);
}

// A label reads only MAIN and the main form's first page; what it finds
// there must be what a read of the whole file finds.
TEST_F(BadSetTest, LabelsFindWhatAReadOfTheWholeFileFinds) {
  const struct {
    const char* text;
    const char* label;
  } cases[] = {
      {"[main]\r\npit=PIT37\r\n[pit37a]\r\np11=ABC\r\np12=DEF\r\n", "ABC DEF (PIT-37)"},
      {"[ MAIN ]\r\n PIT = PIT39 \r\n[\tPIT39a\t]\r\n P7 =  \"A=B\" \r\nP8=C\r\n", "A=B C (PIT-39)"},
      {"P11=X\r\n[S1]\r\nPIT=PIT28\r\n[MAIN]\r\nPIT=PIT37\r\n[PIT37a]\r\nP11=ABC\r\n", "ABC  (PIT-37)"},
      {"[MAIN]\r\nPIT=PIT37\r\n[PIT37a]\r\nP12=\r\n[PIT37a]\r\nP11=ABC\r\n", "bez nazwy (PIT-37)"},
      {"[MAIN]\r\nPIT=PIT37\r\nPIT=PIT28\r\n[PIT37a]\r\nP11=A\r\nP11=B\r\n", "A  (PIT-37)"},
      {"[MAIN]\r\nPIT=PIT36L\r\n[PIT36La]\r\nP7=A\r\n[X]\r\nP8=B\r\n", "A  (PIT-36L)"},
      {"[MAIN]\nPIT=PIT40\n[PIT40a\nP8=ZAKŁAD\n", "ZAKŁAD (PIT-40)"},
      {"[MAIN]\rPIT=PIT37\r[PIT37a]\rP11=Łukasz\rP12=Żak\r", "Łukasz Żak (PIT-37)"},
  };
  int n = 10;
  for (const auto& c : cases) {
    PutBytes(data_ / (std::to_string(++n) + ".i10"), solv::Utf8ToCp1250(c.text));
    EXPECT_EQ(Label(n), c.label) << c.text;
  }
}

// A page save into a set whose section holds many keys adds each new key
// without indexing the section again; every key must still be found.
TEST(IniLongSection, KeysAddedToALongSectionReadBackAndKeepTheLayout) {
  solv::IniDocument doc = solv::IniDocument::Parse(
      "[MAIN]\r\nPIT=PIT37\r\n[PIT37a]\r\nP11=Kowalski\r\nP11=duplikat\r\n\r\n\r\n[B]\r\nK=1\r\n");
  constexpr int kKeys = 5000;
  for (int i = 0; i < kKeys; ++i) ASSERT_TRUE(doc.Write("PIT37a", "N" + std::to_string(i), std::to_string(i)));
  EXPECT_TRUE(doc.Write("pit37a", "n0", "zero"));  // in place, whatever the letter case
  EXPECT_TRUE(doc.Write("PIT37a", "P11", "Nowak"));  // the first of the duplicates
  EXPECT_FALSE(doc.Write("PIT37a", "N4999", "4999"));

  const std::string text = doc.Serialize();
  EXPECT_NE(text.find("[PIT37a]\r\nP11=Nowak\r\nP11=duplikat\r\nN0=zero\r\nN1=1\r\n"), std::string::npos);
  EXPECT_NE(text.find("N4999=4999\r\n\r\n\r\n[B]\r\nK=1\r\n"), std::string::npos);
  const solv::IniDocument again = solv::IniDocument::Parse(text);
  for (const solv::IniDocument* d : {static_cast<const solv::IniDocument*>(&doc), &again}) {
    EXPECT_EQ(d->Read("PIT37a", "P11"), "Nowak");
    EXPECT_EQ(d->Read("PIT37a", "n0"), "zero");
    for (int i = 1; i < kKeys; ++i) ASSERT_EQ(d->Read("PIT37a", "N" + std::to_string(i)), std::to_string(i)) << i;
    EXPECT_EQ(d->Entries("PIT37a").size(), static_cast<size_t>(kKeys + 1));
    EXPECT_EQ(d->Read("B", "K"), "1");
  }

  // Blank lines that end a section, however spelt, stay as they stood after
  // the keys added before them.
  std::string blanks = "[A]\r\nK=1\r\n \r\n\t\r\n";
  for (int i = 0; i < 10000; ++i) blanks += "\r\n";
  solv::IniDocument tail = solv::IniDocument::Parse(blanks + "[B]\r\n");
  EXPECT_EQ(tail.Serialize(), blanks + "[B]\r\n");
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(tail.Write("A", "N" + std::to_string(i), "x"));
  std::string added;
  for (int i = 0; i < 1000; ++i) added += "N" + std::to_string(i) + "=x\r\n";
  EXPECT_EQ(tail.Serialize(), "[A]\r\nK=1\r\n" + added + blanks.substr(10) + "[B]\r\n");
}

}  // namespace
