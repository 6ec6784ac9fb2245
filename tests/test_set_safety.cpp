// A return is never lost: one write per operation, nothing over a change made
// from outside, one writer per set, and no amount silently read as 0.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "calc/dispatch.hpp"
#include "form_test_support.hpp"
#include "messages/markup.hpp"
#include "store/ini.hpp"
#include "store/set_lock.hpp"
#include "store/store.hpp"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class SetSafety : public SetFixture {
 protected:
  ToolRun Solvcalc(const std::vector<std::string>& args) { return RunSolvcalc(args, dir_); }
  // The bytes an outside program writes in place, as cp or an editor does:
  // the same file, cut and written again.
  void WriteInPlace(const std::string& bytes, std::chrono::microseconds pause = 0us) {
    const int fd = ::open(set_.c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    const size_t half = bytes.size() / 2;
    ASSERT_EQ(::write(fd, bytes.data(), half), static_cast<ssize_t>(half));
    if (pause.count() > 0) std::this_thread::sleep_for(pause);
    ASSERT_EQ(::write(fd, bytes.data() + half, bytes.size() - half), static_cast<ssize_t>(bytes.size() - half));
    ::close(fd);
  }
};

constexpr const char* kSet = "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\nP6A=[X]\nP39=50000,00\nP40=1335,00\n";

// An operation's writes reach the file once, when it ends; an operation that
// fails writes nothing.
TEST_F(SetSafety, AHoldWritesOnceAndAFailedOneNotAtAll) {
  WriteSet(kSet);
  const std::string before = FileBytes();
  unsigned long long replaces = solv::FileReplaceCount();
  {
    const solv::SetHold hold;
    solv::Recalculate("PIT37a");
    solv::WriteField("P11", "Nowak", "PIT37a");
    EXPECT_EQ(FileBytes(), before);                          // nothing yet
    EXPECT_EQ(solv::ReadField("P11", "", "PIT37a"), "Nowak");  // but the operation sees its writes
  }
  EXPECT_EQ(solv::FileReplaceCount() - replaces, 1u);
  EXPECT_EQ(solv::ReadField("p41", "", "PIT37a"), "48665,00");

  const std::string done = FileBytes();
  replaces = solv::FileReplaceCount();
  try {
    const solv::SetHold hold;
    solv::WriteField("P11", "Kowalski", "PIT37a");
    throw std::runtime_error("the operation fails");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(solv::FileReplaceCount(), replaces);
  EXPECT_EQ(FileBytes(), done);
  EXPECT_EQ(solv::ReadField("P11", "", "PIT37a"), "Nowak");  // the copy is the file's again
}

// A change made from outside while an operation works on the earlier text
// is never written over: the operation writes nothing and says so.
TEST_F(SetSafety, AnOperationNeverWritesOverAnOutsideChange) {
  WriteSet(kSet);
  const std::string outside =
      solv::Utf8ToCp1250("[MAIN]\r\nPIT=PIT37\r\nVER=10\r\n[PIT37a]\r\nP11=Zewnętrzny\r\nP39=1,00\r\n");
  try {
    const solv::SetHold hold;
    solv::WriteField("P12", "Jan", "PIT37a");
    std::this_thread::sleep_for(30ms);  // the outside save is quiet by the time the operation ends
    WriteInPlace(outside);
  } catch (const solv::SetChangedError& e) {
    EXPECT_NE(std::string(e.what()).find("został zmieniony przez inny program"), std::string::npos);
  }
  EXPECT_EQ(FileBytes(), outside);
  EXPECT_EQ(solv::ReadField("P11", "", "PIT37a"), "Zewnętrzny");  // read again
  EXPECT_EQ(solv::ReadField("P12", "", "PIT37a"), "");
  solv::WriteField("P12", "Jan", "PIT37a");  // the next operation works on the new text
  EXPECT_EQ(solv::ReadField("P11", "", "PIT37a"), "Zewnętrzny");
}

// A set opened read-only shows what it holds and never writes.
TEST_F(SetSafety, AReadOnlySetIsNeverWritten) {
  WriteSet(kSet);
  const std::string before = FileBytes();
  solv::OpenSetReadOnly(set_);
  EXPECT_TRUE(solv::Store().readOnly);
  EXPECT_TRUE(solv::Recalculate("PIT37a"));
  EXPECT_EQ(solv::ReadField("p41", "", "PIT37a"), "48665,00");  // computed, in the copy only
  solv::WriteField("P11", "Nowak", "PIT37a");
  EXPECT_EQ(FileBytes(), before);
  // Opened for writing again, the copy forgets what it was never to write.
  ASSERT_TRUE(solv::OpenSetForWriting(set_));
  EXPECT_EQ(solv::ReadField("P11", "", "PIT37a"), "");
}

// One writer per set: a set another process holds is not opened for
// writing, and solvcalc waits briefly, then says so.
TEST_F(SetSafety, ASetInUseIsNotWritten) {
  WriteSet(kSet);
  const std::string before = FileBytes();
  // A lock of its own descriptor stands for another process here.
  std::unique_ptr<solv::SetLock> other = solv::SetLock::Acquire(set_);
  ASSERT_TRUE(other);
  solv::Store() = solv::StoreState{};
  EXPECT_FALSE(solv::OpenSetForWriting(set_, 50ms));
  EXPECT_TRUE(solv::Store().setFile.empty());

  const auto start = std::chrono::steady_clock::now();
  const ToolRun run = Solvcalc({"recalc", set_.string()});
  EXPECT_GE(std::chrono::steady_clock::now() - start, 4s);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "solvcalc: zestaw jest otwarty w innym programie (Solv2010 albo solvcalc) i nie można go "
                     "teraz zapisać: " + set_.string() + "\n");
  EXPECT_EQ(FileBytes(), before);

  other.reset();  // let go: now the set can be written
  EXPECT_EQ(Solvcalc({"recalc", set_.string()}).exitCode, 0);
  EXPECT_TRUE(solv::OpenSetForWriting(set_));
}

// Two processes entering boxes of one set in turn lose nothing: each waits
// for the other's write, and each entry's recalculation works on the other's
// latest entry.
TEST_F(SetSafety, TwoWritersInTurnLoseNothing) {
  WriteSet(kSet);
  constexpr int kEdits = 120;
  const auto writer = [&](const char* box, int offset) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      for (int i = 1; i <= kEdits; ++i) {
        const std::string value = std::to_string(offset + i) + ",00";
        const std::string command = std::string("'") + SOLVCALC_PATH + "' set '" + set_.string() + "' PIT37a " +
                                    box + " " + value + " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) ::_exit(1);
      }
      ::_exit(0);
    }
    return pid;
  };
  const pid_t a = writer("P39", 50000), b = writer("P40", 1000);
  for (const pid_t pid : {a, b}) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "an entry was refused";
  }
  solv::OpenSet(set_);
  EXPECT_EQ(solv::ReadField("P39", "", "PIT37a"), std::to_string(50000 + kEdits) + ",00");
  EXPECT_EQ(solv::ReadField("P40", "", "PIT37a"), std::to_string(1000 + kEdits) + ",00");
  // The last recalculation saw both last entries.
  solv::Recalculate("PIT37a");
  const std::string recalculated = FileBytes();
  EXPECT_EQ(Solvcalc({"recalc", set_.string()}).exitCode, 0);
  EXPECT_EQ(FileBytes(), recalculated);
}

// An outside program saving the set in place while recalculations run: the
// set it saved is never cut, and never replaced by the older text.
TEST_F(SetSafety, AnOutsideSaveDuringRecalculationsIsNeverCutOrLost) {
  WriteSet(kSet);
  constexpr int kRounds = 60;
  for (int round = 0; round < kRounds; ++round) {
    const std::string marker = "ZAPIS" + std::to_string(round);
    const std::string outside = solv::Utf8ToCp1250("[MAIN]\r\nPIT=PIT37\r\nVER=10\r\n[PIT37a]\r\nP6A=[X]\r\nP11=" +
                                                   marker + "\r\nP39=50000,00\r\nP40=1335,00\r\n[PITDa]\r\nP4=" +
                                                   marker + "\r\n");
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      const int quiet = ::open("/dev/null", O_WRONLY);
      ::dup2(quiet, 1);
      ::execl(SOLVCALC_PATH, "solvcalc", "recalc", set_.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(300 * (round % 7)));
    WriteInPlace(outside, std::chrono::microseconds(500 * (round % 3)));
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_TRUE(WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 2) << "round " << round;

    // Whole: both sections and the marker in both; the outside save stands.
    const std::optional<solv::IniDocument> doc = solv::LoadIniDocument(set_);
    ASSERT_TRUE(doc) << "round " << round;
    EXPECT_EQ(doc->Read("PIT37a", "P11").value_or("<none>"), marker) << "round " << round;
    EXPECT_EQ(doc->Read("PITDa", "P4").value_or("<none>"), marker) << "round " << round;
  }
}

// No silent zeros: an amount box that holds no amount, or one no return can
// hold, is an error of the whole-return check with a link to the box, and
// the calculation goes on with 0.
TEST_F(SetSafety, UnreadableAmountsAreErrorsOfTheCheck) {
  const struct {
    const char* text;
    bool error;
  } cases[] = {
      {"51.234,56", true}, {"1e309", true},  {"NaN", true},        {"  12 , 5 ", true}, {"1e308", true},
      {"12a", true},       {"1 000", true},  {"1234,56", false},   {"-5", false},       {"", false},
      {"  7,5  ", false},  {"9999999999999,99", false},            {"10000000000000", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    set_ = dir_ / (std::to_string(&c - cases) + ".i10");
    WriteSet(std::string("[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\nP6A=[X]\nP10A=[X]\nP39=") + c.text +
             "\nP40=0,00\n");
    const solv::WholeReturnCheck check = solv::CheckWholeReturn();
    const bool linked = check.text.find("<link=PIT37a#P39>POKAŻ >>></link>") != std::string::npos;
    EXPECT_EQ(linked, c.error) << check.text;
    if (c.error) {
      EXPECT_NE(check.text.find("<b>PIT-37, Poz.39.</b>"), std::string::npos);
      EXPECT_EQ(solv::ReadField("p41", "", "PIT37a"), "0,00");  // computed with 0
    }
  }
  // A box's text is shown, never taken as markup.
  WriteSet("[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\nP6A=[X]\nP39=<link=PIT37a#P1>x</link>\n");
  const std::string text = solv::CheckWholeReturn().text;
  EXPECT_EQ(text.find("<link=PIT37a#P1>"), std::string::npos);
  EXPECT_NE(text.find("‹link=PIT37a#P1›x‹/link›"), std::string::npos);
}

TEST_F(SetSafety, SolvcalcCheckListsAnUnreadableAmount) {
  WriteSet("[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\nP6A=[X]\nP10A=[X]\nP39=51.234,56\n");
  const ToolRun run = Solvcalc({"check", set_.string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("PIT-37, Poz.39.\nWpisany tekst „51.234,56” nie jest kwotą"), std::string::npos) << run.out;
}

// solvcalc refuses a set file beyond the size a set can have, as the set
// dialog does, before it reads it.
TEST_F(SetSafety, SolvcalcRefusesASetBeyondTheSizeLimit) {
  WriteSet(kSet);
  std::string big = FileBytes();
  big.resize(std::size_t{9} << 20, ' ');
  PutBytes(set_, big);
  for (const char* command : {"recalc", "check"}) {
    const ToolRun run = Solvcalc({command, set_.string()});
    EXPECT_EQ(run.exitCode, 2) << command;
    EXPECT_NE(run.err.find("większy niż 8 MB"), std::string::npos) << run.err;
  }
  EXPECT_EQ(FileBytes().size(), std::size_t{9} << 20);
}

}  // namespace
