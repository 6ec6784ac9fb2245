#include "store/store.hpp"

#include <unistd.h>

#include <cstdlib>

#include <algorithm>
#include <cmath>
#include <limits>

#include "store/forms.hpp"
#include "value/number.hpp"

namespace solv {

StoreState& Store() {
  static StoreState state;
  return state;
}

std::filesystem::path ProgramFolder() {
  StoreState& s = Store();
  if (s.programFolder.empty()) {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    s.programFolder = ec ? std::filesystem::current_path() : exe.parent_path();
  }
  return s.programFolder;
}

std::filesystem::path DataRoot() {
  const StoreState& s = Store();
  return s.dataRoot.empty() ? ProgramFolder() : s.dataRoot;
}

std::filesystem::path DataFolder() { return DataRoot() / "SAVE"; }

ProgramPlace LocateProgram(const std::filesystem::path& exeFolder, const std::filesystem::path& userDataFolder,
                           const std::function<bool(const std::filesystem::path&)>& canWrite) {
  std::error_code ec;
  const std::filesystem::path share = exeFolder.parent_path() / "share" / kShareFolderName;
  // The version file marks the program's files: beside the executable in a
  // portable copy, under share in an installed one.
  if (!std::filesystem::exists(exeFolder / "wersja.ini", ec) && exeFolder.filename() == "bin" &&
      std::filesystem::exists(share / "wersja.ini", ec))
    return {share, userDataFolder, true};
  const std::filesystem::path save = exeFolder / "SAVE";
  const bool writable = std::filesystem::is_directory(save, ec) ? canWrite(save) : canWrite(exeFolder);
  return {exeFolder, writable ? exeFolder : userDataFolder, false};
}

bool FolderWritable(const std::filesystem::path& folder) {
  std::string probe = (folder / ".zapis-XXXXXX").string();
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

std::string SetFileName() { return Store().setFile.filename().string(); }

namespace {

void OpenWith(const std::filesystem::path& path, std::shared_ptr<SetLock> lock, bool readOnly) {
  StoreState& s = Store();
  s.lock = std::move(lock);
  s.readOnly = readOnly;
  s.setFile = path;
  s.currentPage.clear();
  OpenIni(path).SetReadOnly(readOnly);
  SetAllowedForms(IniRead(path, "MAIN", "PIT", ""));
}

}  // namespace

void OpenSet(const std::filesystem::path& path) { OpenWith(path, nullptr, false); }

bool OpenSetForWriting(const std::filesystem::path& path, std::chrono::milliseconds wait) {
  StoreState& s = Store();
  std::shared_ptr<SetLock> lock;
  if (s.lock && s.lock->Set() == path) lock = s.lock;  // already held by this process
  else lock = SetLock::Acquire(path, wait);
  if (!lock) return false;
  OpenWith(path, std::move(lock), false);
  return true;
}

void OpenSetReadOnly(const std::filesystem::path& path) { OpenWith(path, nullptr, true); }

IniStore& SetStore() {
  StoreState& s = Store();
  if (s.backend) return *s.backend;
  // Every box operation comes here: the file of the last set asked for is
  // kept, as looking a path up normalises it.
  static std::string lastPath;
  static IniFile* lastFile = nullptr;
  if (!lastFile || s.setFile.native() != lastPath) {
    lastFile = &OpenIni(s.setFile);
    lastPath = s.setFile.native();
  }
  return *lastFile;
}

namespace {
std::string_view PageOrCurrent(std::string_view page) { return page.empty() ? Store().currentPage : page; }

std::vector<StoreObserver*>& Observers() {
  static std::vector<StoreObserver*> list;
  return list;
}

// Writes through write(store) and tells the observers each key's text
// before and after.
template <class Write>
void WriteObserved(std::string_view section, const std::vector<std::string_view>& keys, Write write) {
  IniStore& store = SetStore();
  if (Observers().empty()) {
    write(store);
    return;
  }
  std::vector<std::optional<std::string>> before;
  before.reserve(keys.size());
  for (std::string_view key : keys) before.push_back(store.Read(section, key));
  write(store);
  const std::vector<StoreObserver*> observers = Observers();
  for (size_t i = 0; i < keys.size(); ++i) {
    const std::optional<std::string> after = store.Read(section, keys[i]);
    for (StoreObserver* o : observers) o->Wrote(section, keys[i], before[i], after);
  }
}

}  // namespace

ObservedStore::ObservedStore(StoreObserver& observer) : observer_(observer) { Observers().push_back(&observer); }
ObservedStore::~ObservedStore() {
  auto& list = Observers();
  list.erase(std::remove(list.begin(), list.end(), &observer_), list.end());
}

std::string ReadField(std::string_view key, std::string_view defaultText, std::string_view page) {
  const std::string_view section = PageOrCurrent(page);
  auto v = SetStore().Read(section, key);
  if (!Observers().empty())
    for (StoreObserver* o : std::vector<StoreObserver*>(Observers())) o->Read(section, key, v);
  return v ? std::move(*v) : std::string(defaultText);
}

namespace {

std::vector<UnreadableAmount>& Unreadable() {
  static std::vector<UnreadableAmount> list;
  return list;
}

void NoteUnreadable(std::string_view page, std::string_view key, const std::string& text, bool tooLarge) {
  const std::string section(PageOrCurrent(page));
  for (const UnreadableAmount& u : Unreadable())
    if (SameName(u.section, section) && SameName(u.key, key)) return;
  Unreadable().push_back({section, std::string(key), text, tooLarge});
}

}  // namespace

long double ReadAmount(std::string_view key, std::string_view defaultText, std::string_view page) {
  const std::string text = ReadField(key, defaultText, page);
  const long double v = ParseAmount(text, std::numeric_limits<long double>::quiet_NaN());
  if (std::isnan(v)) {
    if (text.find_first_not_of(" \t\r\n") != std::string::npos) NoteUnreadable(page, key, text, false);
    return 0;  // an empty box is 0, as is one that cannot be read
  }
  if (std::fabs(v) >= kMaxAmount) {
    NoteUnreadable(page, key, text, true);
    return 0;
  }
  return v;
}

double ReadNumber(std::string_view key, std::string_view defaultText, std::string_view page) {
  return static_cast<double>(ReadAmount(key, defaultText, page));
}

const std::vector<UnreadableAmount>& UnreadableAmounts() { return Unreadable(); }
void ClearUnreadableAmounts() { Unreadable().clear(); }

bool IsChecked(std::string_view key, std::string_view page) { return ReadField(key, {}, page) == "[X]"; }

void WriteField(std::string_view key, std::string_view text, std::string_view page) {
  const std::string_view section = PageOrCurrent(page);
  WriteObserved(section, {key}, [&](IniStore& store) { store.Write(section, key, text); });
}

void WriteFields(std::string_view page, const IniEntries& entries) {
  const std::string section(PageOrCurrent(page));
  std::vector<std::string_view> keys;
  keys.reserve(entries.size());
  for (const auto& [key, text] : entries) keys.push_back(key);
  WriteObserved(section, keys, [&](IniStore& store) { store.WriteMany(section, entries); });
}

void EraseField(std::string_view key, std::string_view page) {
  const std::string_view section = PageOrCurrent(page);
  WriteObserved(section, {key}, [&](IniStore& store) { store.EraseKey(section, key); });
}

bool SectionExists(std::string_view section) {
  const auto names = SetStore().Sections();
  return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, section); });
}

std::vector<std::string> SectionsOfForm(std::string_view baseName, char separator) {
  std::vector<std::string> out;
  for (auto& name : SetStore().Sections()) {
    const size_t cut = name.find(separator);
    if (SameName(std::string_view(name).substr(0, cut), baseName)) out.push_back(std::move(name));
  }
  return out;
}

int CountSectionsOfForm(std::string_view baseName, char separator) {
  return static_cast<int>(SectionsOfForm(baseName, separator).size());
}

void EraseSection(std::string_view section) {
  SetStore().EraseSection(section);
  for (StoreObserver* o : std::vector<StoreObserver*>(Observers())) o->Erased(section);
}

std::string InstanceBase(std::string_view instance) { return std::string(instance.substr(0, instance.find('_'))); }

std::string InstanceSuffix(std::string_view instance) {
  const size_t cut = instance.find('_');
  return std::string(cut == std::string_view::npos ? instance : instance.substr(cut + 1));
}

std::string IniRead(const std::filesystem::path& file, std::string_view section, std::string_view key,
                    std::string_view defaultText) {
  auto v = OpenIni(file).Read(section, key);
  return v ? std::move(*v) : std::string(defaultText);
}

void IniWrite(const std::filesystem::path& file, std::string_view section, std::string_view key,
              std::string_view value) {
  OpenIni(file).Write(section, key, value);
}

std::vector<std::string> IniReadList(const std::filesystem::path& file, std::string_view section,
                                     const std::vector<std::string>& keys, std::string_view defaultText) {
  std::vector<std::string> out;
  out.reserve(keys.size());
  for (const auto& k : keys) out.push_back(IniRead(file, section, k, defaultText));
  return out;
}

std::string AboutText(bool installed, std::string_view version, std::string_view dataFolder,
                      std::string_view programFolder) {
  std::string text = "Solvenor Vandrel 2010 – zeznania podatkowe za rok 2010\nWersja z dnia " + std::string(version) +
                     "\n\nZestawy danych: " + std::string(dataFolder) + "\nPliki programu: " + std::string(programFolder);
  if (installed)
    text += "\n\nProgram jest zainstalowany w systemie: aktualizuje go systemowy menedżer pakietów.";
  return text;
}

std::string VersionText() { return IniRead(ProgramFolder() / "wersja.ini", "WERSJA", "Data", "brak danych"); }

namespace {
std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return s;
}
}  // namespace

void LoadPageCells(PageCells& page) {
  SetHold hold;
  IniStore& store = SetStore();
  const std::string section = page.InstanceName();
  for (int i = 0; i < page.CellCount(); ++i) {
    auto v = store.Read(section, Upper(page.CellName(i)));
    page.SetCellText(i, v ? *v : page.CellClearValue(i));
  }
}

void SavePageCells(PageCells& page) {
  IniEntries entries;
  entries.reserve(static_cast<size_t>(page.CellCount()));
  for (int i = 0; i < page.CellCount(); ++i) entries.emplace_back(Upper(page.CellName(i)), page.CellText(i));
  WriteFields(page.InstanceName(), entries);
}

}  // namespace solv
