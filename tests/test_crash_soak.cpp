// Crash safety of set files: `solvcalc recalc` killed at random moments over
// and over, temporary files left by killed writers, and writes the file
// system refuses (a read-only data folder, a full disk).
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "form_test_support.hpp"
#include "store/ini.hpp"
#include "store/set_lock.hpp"
#include "store/set_list.hpp"
#include "store/store.hpp"
#include "temp_folder.hpp"

namespace {

namespace fs = std::filesystem;
using solv::test::TempFolder;

// "SOLV_SOAK_KILLS=2000" asks for a long run; the default keeps the test short.
constexpr int kDefaultKills = 400;

int KillsWanted() {
  const char* text = std::getenv("SOLV_SOAK_KILLS");
  if (!text) return kDefaultKills;
  const int n = std::atoi(text);
  return n > 0 ? n : kDefaultKills;
}

uint64_t SoakSeed() {
  if (const char* text = std::getenv("SOLV_SOAK_SEED")) return std::strtoull(text, nullptr, 10);
  return (static_cast<uint64_t>(std::random_device{}()) << 32) ^ std::random_device{}();
}

// Starts `solvcalc recalc set` with no input and its output thrown away.
pid_t StartRecalc(const fs::path& set) {
  const std::string file = set.string();  // built before the fork
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 0);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::execl(SOLVCALC_PATH, "solvcalc", "recalc", file.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return pid;
}

// Returns when the child ends or after delayUs microseconds, whichever comes first.
void WaitAtMost(pid_t pid, long delayUs) {
  const timespec pause{delayUs / 1000000, (delayUs % 1000000) * 1000};
  const int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  if (fd < 0) {
    ::nanosleep(&pause, nullptr);
    return;
  }
  pollfd ended{fd, POLLIN, 0};
  ::ppoll(&ended, 1, &pause, nullptr);
  ::close(fd);
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

// Every (section, key) of a set file.
using Keys = std::vector<std::pair<std::string, std::string>>;
Keys KeysOf(const solv::IniDocument& doc) {
  Keys keys;
  for (const auto& section : doc.SectionNames())
    for (const auto& [key, value] : doc.Entries(section)) keys.emplace_back(section, key);
  return keys;
}

// The lock file every writer of the set takes; it stays beside the set.
std::string LockFileName(const fs::path& set) { return solv::SetLock::LockFileOf(set).filename().string(); }

// The writer's pid of a temporary file of the set: ".<set>.tmp<pid>" (the new
// text) or ".<set>.tmp<pid>.old" (the kept link to the text it replaces);
// empty for any other name.
std::string TempWriterOf(const std::string& name, const std::string& setName) {
  const std::string prefix = "." + setName + ".tmp";
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return {};
  std::string pid = name.substr(prefix.size());
  if (pid.size() > 4 && pid.compare(pid.size() - 4, 4, ".old") == 0) pid.resize(pid.size() - 4);
  return pid.find_first_not_of("0123456789") == std::string::npos ? pid : std::string();
}

// What is wrong with the data folder after a run ended: the set file must be
// whole and hold every key it had, the set list must show the one set, and
// nothing but the set and the temporary files of at most one writer (the last
// killed one, removed by the next write) may be there.
std::vector<std::string> Problems(const fs::path& save, const fs::path& set, const Keys& keys) {
  std::vector<std::string> problems;
  const std::string bytes = Bytes(set);
  if (bytes.size() < 2 || bytes.compare(bytes.size() - 2, 2, "\r\n") != 0)
    problems.push_back("the set file is cut short (" + std::to_string(bytes.size()) + " bytes)");
  const std::optional<solv::IniDocument> doc = solv::LoadIniDocument(set);
  if (!doc || !doc->LooksLikeIni()) {
    problems.push_back("the set file does not read as an INI file");
  } else {
    int lost = 0;
    for (const auto& [section, key] : keys)
      if (!doc->Read(section, key) && ++lost <= 3) problems.push_back("lost [" + section + "] " + key);
    if (lost > 3) problems.push_back("... " + std::to_string(lost) + " keys lost in all");
  }
  const std::vector<int> sets = solv::SetNumbers(save);
  if (sets != std::vector<int>{1}) problems.push_back("the set list shows " + std::to_string(sets.size()) + " sets");
  std::set<std::string> writers;
  for (const auto& entry : fs::directory_iterator(save)) {
    const std::string name = entry.path().filename().string();
    if (const std::string pid = TempWriterOf(name, set.filename().string()); !pid.empty()) writers.insert(pid);
    else if (name != set.filename().string() && name != LockFileName(set)) problems.push_back("stray file " + name);
  }
  if (writers.size() > 1)
    problems.push_back("temporary files of " + std::to_string(writers.size()) + " writers pile up");
  return problems;
}

// Kills recalculations of a set with several attachments at random moments
// spread over a run; after every run the folder must pass Problems() and the
// set must be as before the run or wholly recalculated, never between. Half
// the runs start again from the set as it was at first, so that the heavy
// first recalculation is cut as often as the lighter later ones.
TEST(CrashSoak, KilledRecalcLeavesTheWholeSetAndNoSecondSet) {
  // In memory where the system has a shared-memory folder: each run rewrites
  // the set file up to 150 times, which on a busy disk takes ten times longer
  // and adds nothing a kill could reach (a killed process loses no write the
  // kernel has taken). An absolute prefix puts the folder there.
  const bool inMemory = ::access("/dev/shm", W_OK | X_OK) == 0;
  TempFolder folder(inMemory ? "/dev/shm/solvsoak" : "solvsoak");
  const fs::path save = folder.Path() / "SAVE";
  fs::create_directory(save);
  const fs::path set = CopyExample("pit36.i10", save / "1.i10");
  const std::string original = Bytes(set);
  const std::optional<solv::IniDocument> first = solv::LoadIniDocument(set);
  ASSERT_TRUE(first && first->LooksLikeIni());
  const Keys keys = KeysOf(*first);
  ASSERT_GT(keys.size(), 50u);
  ASSERT_GT(first->SectionNames().size(), 4u);

  const uint64_t seed = SoakSeed();
  std::mt19937_64 random(seed);
  const int wanted = KillsWanted();

  // The length of an uninterrupted run, from the set as it was, so that the
  // kills fall anywhere in a run.
  std::chrono::nanoseconds longest{0};
  std::string recalculated;
  for (int i = 0; i < 3; ++i) {
    PutBytes(set, original);
    const auto start = std::chrono::steady_clock::now();
    const int status = WaitFor(StartRecalc(set));
    longest = std::max(longest, std::chrono::steady_clock::now() - start);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "solvcalc recalc failed: status " << status;
    if (i > 0) ASSERT_EQ(Bytes(set), recalculated) << "the recalculation is not the same every time";
    recalculated = Bytes(set);
  }
  // Recalculating the recalculated set changes nothing: the two are the only
  // states a run may leave.
  ASSERT_EQ(WaitFor(StartRecalc(set)), 0);
  ASSERT_EQ(Bytes(set), recalculated);
  ASSERT_NE(recalculated, original);
  const long longestUs = std::max<long>(1000, std::chrono::duration_cast<std::chrono::microseconds>(longest).count());
  std::uniform_int_distribution<long> delayUs(0, longestUs);
  std::bernoulli_distribution restart(0.5);

  int kills = 0, completed = 0, killedMidWrite = 0, filesChecked = 0, failures = 0;
  // The bound on runs ends the loop should solvcalc stop running at all.
  for (int run = 0; kills < wanted && run < 20 * wanted; ++run) {
    if (restart(random)) PutBytes(set, original);
    const long delay = delayUs(random);
    const pid_t pid = StartRecalc(set);
    ASSERT_GT(pid, 0);
    WaitAtMost(pid, delay);
    ::kill(pid, SIGKILL);
    const int status = WaitFor(pid);

    std::vector<std::string> problems;
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) {
      ++kills;
      if (fs::exists(save / (".1.i10.tmp" + std::to_string(pid)))) ++killedMidWrite;
    } else if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
      ++completed;
    } else {
      problems.push_back("solvcalc ended with status " + std::to_string(status));
    }
    for (auto& p : Problems(save, set, keys)) problems.push_back(std::move(p));
    if (const std::string now = Bytes(set); now != original && now != recalculated)
      problems.push_back("a half-recalculated set: neither as before the run nor wholly recalculated");
    ++filesChecked;
    if (!problems.empty() && ++failures <= 5) {
      std::string all;
      for (const auto& p : problems) all += "\n  " + p;
      ADD_FAILURE() << "seed " << seed << " (SOLV_SOAK_SEED), run " << run << ", killed after " << delay << " us:"
                    << all;
    }
  }

  // A run to the end removes what the last killed writer left.
  PutBytes(set, original);
  const int status = WaitFor(StartRecalc(set));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "seed " << seed;
  ++filesChecked;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(save))
    if (entry.path().filename() != LockFileName(set)) names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"1.i10"}) << "seed " << seed;
  const std::vector<std::string> last = Problems(save, set, keys);
  EXPECT_TRUE(last.empty()) << "seed " << seed << ": " << (last.empty() ? "" : last.front());
  if (!last.empty() || names != std::vector<std::string>{"1.i10"}) ++failures;

  std::cout << "crash soak: seed " << seed << ", kills " << kills << " (" << killedMidWrite
            << " during a write), runs completed " << completed << ", files checked " << filesChecked
            << ", failures " << failures << std::endl;
  EXPECT_EQ(failures, 0) << "seed " << seed;
}

// A killed writer leaves ".1.i10.tmp<pid>". The next write of 1.i10 removes
// those whose process is gone and nothing else.
TEST(StaleTempFiles, AWriteRemovesThoseOfGoneWritersOnly) {
  TempFolder folder("solvstale");
  const fs::path set = folder / "1.i10";
  PutBytes(set, "[MAIN]\r\nPIT=PIT37\r\n");

  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ASSERT_GT(gone, 0);
  WaitFor(gone);
  const pid_t alive = ::fork();
  if (alive == 0) {
    ::pause();
    ::_exit(0);
  }
  ASSERT_GT(alive, 0);
  struct Reap {
    pid_t pid;
    ~Reap() {
      ::kill(pid, SIGKILL);
      WaitFor(pid);
    }
  } reap{alive};

  const std::string goneTemp = ".1.i10.tmp" + std::to_string(gone);
  const std::string aliveTemp = ".1.i10.tmp" + std::to_string(alive);
  const std::vector<std::string> kept = {
      aliveTemp,                                   // a writer still at work
      ".1.i10.tmp1",                               // a live process we may or may not signal
      ".2.i10.tmp" + std::to_string(gone),         // another set's
      ".1.i10.tmp",                                // no process number
      ".1.i10.tmp0" + std::to_string(gone),        // not as a process number is written
      ".1.i10.tmp" + std::to_string(gone) + "x",   // not a process number
      "1.i10.tmp" + std::to_string(gone),          // not a hidden temporary file
      ".1.i10.tmp" + std::to_string(gone) + ".i10" // not a temporary file at all
  };
  folder.Write(goneTemp, "[MAIN]\r\nPIT=PIT37\r\nVER=1");
  for (const auto& name : kept) folder.Write(name, "x");

  solv::IniFile file(set);
  file.Write("MAIN", "VER", "10");

  std::vector<std::string> expected = kept;
  expected.push_back("1.i10");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(folder.Names(), expected);
  EXPECT_EQ(Bytes(set), "[MAIN]\r\nPIT=PIT37\r\nVER=10\r\n");
}

// ---- writes the file system refuses ----

enum class Refusal { ReadOnlyFolder, FullDisk };

constexpr int kCannotRefuse = 77;

bool WriteProcFile(const char* path, const std::string& text) {
  const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ::close(fd);
  return ok;
}

// Makes `folder` read-only for this process and its children alone: a
// read-only bind mount in a mount namespace of their own, with a user
// namespace where the process may not mount otherwise. False where the
// system allows neither.
bool MountReadOnly(const fs::path& folder) {
  const std::string uid = std::to_string(::geteuid()), gid = std::to_string(::getegid());
  if (::unshare(CLONE_NEWNS) != 0) {
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    WriteProcFile("/proc/self/setgroups", "deny");
    WriteProcFile("/proc/self/uid_map", "0 " + uid + " 1");
    WriteProcFile("/proc/self/gid_map", "0 " + gid + " 1");
  }
  // Nothing mounted from here on reaches the rest of the system.
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
  if (::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) return false;
  struct statvfs fsInfo {};
  if (::statvfs(folder.c_str(), &fsInfo) != 0) return false;
  // A remount in a user namespace must keep the flags the mount has.
  unsigned long flags = MS_REMOUNT | MS_BIND | MS_RDONLY;
  if (fsInfo.f_flag & ST_NOSUID) flags |= MS_NOSUID;
  if (fsInfo.f_flag & ST_NODEV) flags |= MS_NODEV;
  if (fsInfo.f_flag & ST_NOEXEC) flags |= MS_NOEXEC;
  if (fsInfo.f_flag & ST_NOATIME) flags |= MS_NOATIME;
  if (fsInfo.f_flag & ST_NODIRATIME) flags |= MS_NODIRATIME;
  if (fsInfo.f_flag & ST_RELATIME) flags |= MS_RELATIME;
  return ::mount(nullptr, folder.c_str(), nullptr, flags, nullptr) == 0;
}

// In a forked child: refuses its writes into `folder`. False when it cannot.
bool Refuse(Refusal refusal, const fs::path& folder) {
  if (refusal == Refusal::FullDisk) {
    // Files may not grow past 64 bytes: writes fail with EFBIG, as on a full disk.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 64;
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  if (MountReadOnly(folder)) return true;
  // Without mounts, permissions serve where they bind (not for root).
  return ::geteuid() != 0 && ::chmod(folder.c_str(), 0555) == 0;
}

struct ChildRun {
  int exitCode = -1;  // kCannotRefuse: the refusal could not be made
  std::string err;
};

// Runs `body` in a forked child under the refusal; its standard error (where
// body writes what it reports) is captured, its standard output dropped.
ChildRun RunRefused(Refusal refusal, const fs::path& folder, const std::function<int()>& body) {
  int fds[2];
  if (::pipe(fds) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    ::dup2(fds[1], 2);
    ::close(fds[1]);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 0);
    ::dup2(null, 1);
    if (!Refuse(refusal, folder)) ::_exit(kCannotRefuse);
    ::_exit(body());
  }
  ::close(fds[1]);
  ChildRun run;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
    if (n > 0) run.err.append(buffer, static_cast<size_t>(n));
  ::close(fds[0]);
  const int status = WaitFor(pid);
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  ::chmod(folder.c_str(), 0755);
  return run;
}

class RefusedWriteTest : public ::testing::TestWithParam<Refusal> {};

// A recalculation (through solvcalc) and a single box write (through the
// store) into a set whose folder refuses writes: both report "Unable to
// write to <file>", the set file keeps every byte and no temporary file
// stays behind.
TEST_P(RefusedWriteTest, ReportsTheFileAndLeavesTheSetAsItWas) {
  TempFolder folder("solvrefused");
  const fs::path save = folder.Path() / "SAVE";
  fs::create_directory(save);
  const fs::path set = save / "1.i10";
  const std::string file = set.string();

  const struct {
    const char* name;
    std::function<int()> body;
    int exitCode;
    std::string err;
  } ways[] = {
      {"solvcalc recalc",
       [&] {
         ::execl(SOLVCALC_PATH, "solvcalc", "recalc", file.c_str(), static_cast<char*>(nullptr));
         return 127;
       },
       2, "solvcalc: Unable to write to " + file + "\n"},
      {"WriteField",
       [&] {
         try {
           solv::Store() = solv::StoreState{};
           solv::Store().programFolder = folder.Path();
           solv::OpenSet(set);
           solv::WriteField("P11", "Nowak", "PIT36a");
           return 0;
         } catch (const solv::StoreError& e) {
           std::cerr << e.what() << std::flush;
           return 1;
         } catch (...) {
           return 3;
         }
       },
       1, "Unable to write to " + file},
  };
  for (const auto& way : ways) {
    fs::remove(set);
    CopyExample("pit36.i10", set);
    const std::string before = Bytes(set);
    const ChildRun run = RunRefused(GetParam(), save, way.body);
    if (run.exitCode == kCannotRefuse) GTEST_SKIP() << "this system lets the test make no read-only folder";
    EXPECT_EQ(run.exitCode, way.exitCode) << way.name;
    EXPECT_EQ(run.err, way.err) << way.name;
    EXPECT_EQ(Bytes(set), before) << way.name;
    std::vector<std::string> names;  // the set, and the lock file where one could be made
    for (const auto& entry : fs::directory_iterator(save))
      if (entry.path().filename() != LockFileName(set)) names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"1.i10"}) << way.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusedWriteTest, ::testing::Values(Refusal::ReadOnlyFolder, Refusal::FullDisk),
                         [](const ::testing::TestParamInfo<Refusal>& info) {
                           return info.param == Refusal::ReadOnlyFolder ? "ReadOnlyFolder" : "FullDisk";
                         });

}  // namespace
