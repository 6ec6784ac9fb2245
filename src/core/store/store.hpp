// The return-set store: process-wide state of the open set and the box
// operations every calculation uses.
//
// A return set is one INI file in the data folder ("SAVE/" beside the
// program): section MAIN (keys PIT and VER) and one section per form
// instance, whose keys are box names ("p45"; pages save them as "P45").
#pragma once

#include <array>
#include <chrono>
#include <memory>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/ini.hpp"
#include "store/set_lock.hpp"

namespace solv {

constexpr int kFormCount = 18;

// Process-wide state of the store, used on the user-interface thread only.
struct StoreState {
  std::filesystem::path programFolder;  // the program's own files (help pages, version file)
  std::filesystem::path dataRoot;       // sets, dictionaries, settings; empty: the program folder
  bool installed = false;               // an installed copy: the package manager updates it
  std::filesystem::path setFile;        // full path of the open set; empty while none is open
  std::string currentPage;              // section used when no page is given
  std::array<bool, kFormCount> allowed{};  // forms the open set may hold
  IniStore* backend = nullptr;          // replaces the set file (benchmarks, tests)
  std::shared_ptr<SetLock> lock;        // held while this process may write the open set
  bool readOnly = false;                // the open set is shown but never written
};
StoreState& Store();

std::filesystem::path ProgramFolder();  // set, or the folder of the running executable
std::filesystem::path DataRoot();       // set, or ProgramFolder()
std::filesystem::path DataFolder();     // DataRoot() / "SAVE"

// The folder name of an installed copy's files under <prefix>/share.
inline constexpr const char* kShareFolderName = "solvenor-vandrel-2010";

// Where a copy of the program keeps its files. A portable copy (the build
// folder, a folder unpacked anywhere) has its files beside the executable
// and writes its sets, dictionaries and settings there too, unless that
// folder cannot be written. An installed copy (executable in <prefix>/bin,
// its files in <prefix>/share/solvenor-vandrel-2010) reads its files from
// there and writes in the user's data folder.
struct ProgramPlace {
  std::filesystem::path programFolder, dataRoot;
  bool installed = false;
};
// canWrite tells whether a folder can be written (a test may say no where
// the file system would say yes).
ProgramPlace LocateProgram(const std::filesystem::path& exeFolder, const std::filesystem::path& userDataFolder,
                           const std::function<bool(const std::filesystem::path&)>& canWrite);
// Whether a file can be made in folder: one is created and removed.
bool FolderWritable(const std::filesystem::path& folder);
std::string SetFileName();              // "7.i10", or empty
// Opens the set at path: remembers it, resets the current page and sets the
// allowed flags from its main form (section MAIN, key PIT). The lock of the
// set open before is let go.
void OpenSet(const std::filesystem::path& path);
// The same after taking the set's lock, waiting up to wait; false (and
// nothing opened) when another process holds the lock.
bool OpenSetForWriting(const std::filesystem::path& path, std::chrono::milliseconds wait = {});
// Opens the set so that nothing is ever written to it (another process
// holds it, or a command only reads).
void OpenSetReadOnly(const std::filesystem::path& path);
IniStore& SetStore();                   // the open set (or the backend that replaces it)

// Holds the open set for one operation (an entry with its recalculation, a
// recalculation, a page load): reads trust the copy checked by the first
// access and see the operation's own writes; the writes reach the file as one
// replace when the outermost hold ends, and none of them when it ends by an
// exception. Writing may then throw (StoreError, SetChangedError).
class SetHold {
 public:
  SetHold() : store_(SetStore()), exceptions_(std::uncaught_exceptions()) { store_.Hold(); }
  ~SetHold() noexcept(false) { store_.Release(std::uncaught_exceptions() > exceptions_); }
  SetHold(const SetHold&) = delete;
  SetHold& operator=(const SetHold&) = delete;

 private:
  IniStore& store_;
  int exceptions_;
};

// Box access on the open set. An empty page means the current page.
std::string ReadField(std::string_view key, std::string_view defaultText = {}, std::string_view page = {});
// ReadField with kind 'I': the number ParseAmount(text, 0). A text that is
// no amount, or an amount beyond what a return can hold (kMaxAmount either
// way), counts as 0 and is noted among the unreadable amounts.
long double ReadAmount(std::string_view key, std::string_view defaultText = "0", std::string_view page = {});
// ReadAmount held as a double.
double ReadNumber(std::string_view key, std::string_view defaultText = "0", std::string_view page = {});
inline constexpr long double kMaxAmount = 1e13L;  // zł: no return holds amounts of 10^13 or more

// An amount box whose text a calculation could not read as an amount.
struct UnreadableAmount {
  std::string section, key, text;
  bool tooLarge = false;  // an amount, but kMaxAmount or more
};
// Every box found unreadable since the list was last cleared, once each, in
// the order they were found.
const std::vector<UnreadableAmount>& UnreadableAmounts();
void ClearUnreadableAmounts();
bool IsChecked(std::string_view key, std::string_view page = {});  // text equals "[X]"
void WriteField(std::string_view key, std::string_view text, std::string_view page = {});
// Several boxes of one section (empty: the current page) in one write of the set file.
void WriteFields(std::string_view page, const IniEntries& entries);
// Removes the box from its section: it reads as absent again.
void EraseField(std::string_view key, std::string_view page = {});
bool SectionExists(std::string_view section);
std::vector<std::string> SectionsOfForm(std::string_view baseName, char separator = '_');
int CountSectionsOfForm(std::string_view baseName, char separator = '_');
void EraseSection(std::string_view section);

// Sees the box operations on the open set while attached: every box read
// through ReadField (and what reads through it), every box written or
// erased with the text before and after (also when it stays the same), and
// every section erased. Observers are told in the order they were attached.
class StoreObserver {
 public:
  virtual ~StoreObserver() = default;
  virtual void Read(std::string_view /*section*/, std::string_view /*key*/,
                    const std::optional<std::string>& /*text*/) {}
  virtual void Wrote(std::string_view /*section*/, std::string_view /*key*/,
                     const std::optional<std::string>& /*before*/, const std::optional<std::string>& /*after*/) {}
  virtual void Erased(std::string_view /*section*/) {}
};
// Attaches an observer for the lifetime of this object.
class ObservedStore {
 public:
  explicit ObservedStore(StoreObserver& observer);
  ~ObservedStore();
  ObservedStore(const ObservedStore&) = delete;
  ObservedStore& operator=(const ObservedStore&) = delete;

 private:
  StoreObserver& observer_;
};

// Instance names: "PITBa_2" has base "PITBa" and suffix "2"; a name without
// '_' is its own base and suffix.
std::string InstanceBase(std::string_view instance);
std::string InstanceSuffix(std::string_view instance);

// Generic INI access to any file (settings, lists).
std::string IniRead(const std::filesystem::path& file, std::string_view section, std::string_view key,
                    std::string_view defaultText);
void IniWrite(const std::filesystem::path& file, std::string_view section, std::string_view key,
              std::string_view value);
std::vector<std::string> IniReadList(const std::filesystem::path& file, std::string_view section,
                                     const std::vector<std::string>& keys, std::string_view defaultText);

// The release date of the version file "wersja.ini" ([WERSJA] Data).
std::string VersionText();
// What "O programie" says: the version, where the sets are, where the
// program's files are, and who updates an installed copy.
std::string AboutText(bool installed, std::string_view version, std::string_view dataFolder,
                      std::string_view programFolder);

// A page window as the store sees it: an instance name and field cells.
class PageCells {
 public:
  virtual ~PageCells() = default;
  virtual std::string InstanceName() const = 0;
  virtual int CellCount() const = 0;
  virtual std::string CellName(int i) const = 0;
  virtual std::string CellClearValue(int i) const = 0;
  virtual std::string CellText(int i) const = 0;
  virtual void SetCellText(int i, const std::string& text) = 0;
};
void LoadPageCells(PageCells& page);
void SavePageCells(PageCells& page);  // one write of the set file for the whole page

}  // namespace solv
