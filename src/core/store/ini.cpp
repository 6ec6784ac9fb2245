#include "store/ini.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <thread>
#include <utility>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "store/cp1250.hpp"
#include "util/file_io.hpp"

namespace solv {
namespace {

constexpr size_t kMaxReadChars = 2047;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// A line break inside a name or value would split the line on disk and
// forge keys or sections; it is stored as a blank.
std::string OneLine(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

// A section or key name as the file can hold it: one line, no blanks at the
// ends (a read of the file trims them).
std::string NameOf(std::string_view name) { return std::string(Trim(OneLine(name))); }
std::string FoldedNameOf(std::string_view name) {
  const std::string_view t = Trim(name);
  return t.find_first_of("\r\n") == std::string_view::npos ? FoldName(t) : FoldName(NameOf(t));
}

// An item of blank lines only: one line, or a run of them kept as one item
// (joined by CRLF, so the text is written back as it stood). Only a run holds
// a line break, so its last line tells, and a long run is not scanned again.
bool BlankLines(std::string_view raw) {
  const size_t lastBreak = raw.rfind('\n');
  const std::string_view last = lastBreak == std::string_view::npos ? raw : raw.substr(lastBreak + 1);
  return last.find_first_not_of(" \t") == std::string_view::npos;
}

bool Quoted(std::string_view v) { return v.size() >= 2 && v.front() == '"' && v.back() == '"'; }

// The stored form of a value: a value that is itself enclosed in quotes gets
// one more pair, so that reading it back (which drops one pair) returns it.
std::string StoredValue(std::string_view value) {
  std::string v = OneLine(value);
  if (Quoted(Trim(v))) return '"' + v + '"';
  return v;
}

// What a read returns for a stored value.
std::string ReadValue(std::string_view stored) {
  std::string_view v = stored;
  if (Quoted(v)) v = v.substr(1, v.size() - 2);
  // At most 2047 characters, cut at a character boundary.
  size_t chars = 0, i = 0;
  for (; i < v.size(); ++i) {
    if ((static_cast<unsigned char>(v[i]) & 0xC0) == 0x80) continue;
    if (chars == kMaxReadChars) break;
    ++chars;
  }
  return std::string(v.substr(0, i));
}

// Appends the lower-case form of one code point (Latin-1 and Latin Extended-A).
void AppendFolded(std::string& out, char32_t cp) {
  if (cp >= 'A' && cp <= 'Z') cp += 32;
  else if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) cp += 0x20;
  else if ((cp >= 0x100 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177)) cp |= 1;
  else if (((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E)) && (cp & 1)) cp += 1;
  AppendUtf8(out, cp);
}

// The temporary files of a write of path beside it: ".<name>.tmp<pid>" for
// the new text and ".<name>.tmp<pid>.old" for a link to the text it replaces.
std::string TempPrefixOf(const std::filesystem::path& path) { return "." + path.filename().string() + ".tmp"; }

// A writer killed between creating its temporary file and renaming it leaves
// the file behind, one per killed process. The first write of path in this
// process removes those of path whose process no longer exists; the file of
// a live writer (or of a process we may not signal) is never touched.
void RemoveStaleTempFiles(const std::filesystem::path& path) {
  static std::mutex mutex;
  static std::set<std::string> swept;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (!swept.insert(path.string()).second) return;
  }
  const std::string prefix = TempPrefixOf(path);
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) continue;
    std::string_view digits = name.substr(prefix.size());
    // The kept link of a write ends in ".old".
    if (digits.size() > 4 && digits.substr(digits.size() - 4) == ".old") digits.remove_suffix(4);
    // A pid as getpid() prints it: 1 to 9 digits, no leading zero.
    if (digits.size() > 9 || digits[0] == '0' || digits.find_first_not_of("0123456789") != std::string_view::npos)
      continue;
    const pid_t pid = static_cast<pid_t>(std::stol(std::string(digits)));
    if (pid == ::getpid()) continue;
    if (::kill(pid, 0) == -1 && errno == ESRCH) ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

}  // namespace

StoreError::StoreError(const std::string& file) : std::runtime_error("Unable to write to " + file) {}

SetChangedError::SetChangedError(const std::string& file)
    : std::runtime_error("Plik " + file +
                         " został zmieniony przez inny program. Ostatnia zmiana nie została zapisana, a zestaw "
                         "danych wczytano ponownie z pliku.") {}

FileStamp FileStamp::Of(const std::filesystem::path& path) {
  struct stat st {};
  FileStamp s;
  if (::stat(path.c_str(), &st) != 0) return s;
  s.exists = true;
  s.dev = st.st_dev;
  s.ino = st.st_ino;
  s.size = static_cast<unsigned long long>(st.st_size);
  s.mtimeSec = st.st_mtim.tv_sec;
  s.mtimeNsec = st.st_mtim.tv_nsec;
  s.ctimeSec = st.st_ctim.tv_sec;
  s.ctimeNsec = st.st_ctim.tv_nsec;
  return s;
}

std::string FoldName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (c < 0x80) {
      out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    } else if ((c & 0xE0) == 0xC0 && i + 1 < name.size() &&
               (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80) {
      AppendFolded(out, (static_cast<char32_t>(c & 0x1F) << 6) | (name[i + 1] & 0x3F));
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool SameName(std::string_view a, std::string_view b) { return FoldName(a) == FoldName(b); }

// ---- IniDocument ----

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  bool anySection = false;
  bool stray = text.find('\0') != std::string_view::npos;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    else if (end < text.size() && text[end] == '\n') ++pos;

    const std::string_view t = Trim(line);
    if (!t.empty() && t.front() == '[') {
      Section s;
      const size_t close = t.find(']');
      s.name = std::string(Trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
      s.header = std::string(line);
      doc.sections_.push_back(std::move(s));
      anySection = true;
      continue;
    }
    Item item;
    item.raw = std::string(line);
    const size_t eq = line.find('=');
    if (eq != std::string_view::npos && !Trim(line.substr(0, eq)).empty()) {
      item.key = std::string(Trim(line.substr(0, eq)));
      item.value = std::string(Trim(line.substr(eq + 1)));
    } else if (!t.empty() && t.front() != ';' && t.front() != '#') {
      stray = true;
    }
    if (doc.sections_.empty()) {
      doc.preamble_.push_back(std::move(item.raw));
    } else {
      // A run of blank lines is one item, so that a key added before the
      // blank lines that end a section does not move each of them.
      std::vector<Item>& items = doc.sections_.back().items;
      if (t.empty() && !items.empty() && items.back().key.empty() && BlankLines(items.back().raw))
        items.back().raw.append("\r\n").append(line);
      else
        items.push_back(std::move(item));
    }
    if (doc.sections_.empty() && !t.empty() && t.front() != ';' && t.front() != '#') stray = true;
  }
  doc.looksLikeIni_ = anySection && !stray;
  doc.Reindex();
  return doc;
}

void IniDocument::Reindex() {
  lastFound_ = static_cast<size_t>(-1);
  index_.clear();
  for (size_t i = 0; i < sections_.size(); ++i) {
    Section& s = sections_[i];
    index_.try_emplace(FoldName(s.name), i);
    s.index.clear();
    for (size_t k = 0; k < s.items.size(); ++k)
      if (!s.items[k].key.empty()) s.index.try_emplace(FoldName(s.items[k].key), k);
  }
}

std::string IniDocument::Serialize() const {
  std::string out;
  for (const auto& line : preamble_) out += line + "\r\n";
  for (const auto& s : sections_) {
    out += s.header + "\r\n";
    for (const auto& item : s.items) out += item.raw + "\r\n";
  }
  return out;
}

IniDocument::Section* IniDocument::FindSection(std::string_view name) {
  return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

// A calculation asks for one section many times in a row: the last one found
// is looked at first, by its name as asked, before folding and hashing.
const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
  if (lastFound_ < sections_.size() && lastAsked_ == name) return &sections_[lastFound_];
  auto it = index_.find(FoldedNameOf(name));
  if (it == index_.end()) return nullptr;
  lastFound_ = it->second;
  lastAsked_.assign(name);
  return &sections_[it->second];
}

std::optional<std::string> IniDocument::Read(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (!s) return std::nullopt;
  auto it = s->index.find(FoldedNameOf(key));
  if (it == s->index.end()) return std::nullopt;
  return ReadValue(s->items[it->second].value);
}

bool IniDocument::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

std::vector<std::string> IniDocument::SectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const auto& s : sections_) names.push_back(s.name);
  return names;
}

IniEntries IniDocument::Entries(std::string_view section) const {
  IniEntries out;
  if (const Section* s = FindSection(section))
    for (const auto& item : s->items)
      if (!item.key.empty() && s->index.at(FoldName(item.key)) == static_cast<size_t>(&item - s->items.data()))
        out.emplace_back(item.key, ReadValue(item.value));
  return out;
}

bool IniDocument::Write(std::string_view section, std::string_view key, std::string_view value) {
  const std::string stored(Trim(StoredValue(value)));
  Section* s = FindSection(section);
  if (!s) {
    Section fresh;
    fresh.name = NameOf(section);
    fresh.header = "[" + fresh.name + "]";
    sections_.push_back(std::move(fresh));
    index_.try_emplace(FoldName(sections_.back().name), sections_.size() - 1);
    s = &sections_.back();
  }
  const std::string name = NameOf(key);
  auto it = s->index.find(FoldName(name));
  if (it != s->index.end()) {
    Item& item = s->items[it->second];
    // The same value (however the line is spelt) leaves the text alone.
    if (item.value == stored) return false;
    item.value = stored;
    item.raw = item.key + "=" + stored;
    return true;
  }
  Item item;
  item.key = name;
  item.value = stored;
  item.raw = item.key + "=" + stored;
  // After the last non-blank line of the section, so blank separators stay.
  size_t at = s->items.size();
  while (at > 0 && BlankLines(s->items[at - 1].raw)) --at;
  s->items.insert(s->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
  // Only blank lines follow the new item, so no indexed item moved: adding
  // keys to a long section must not index the whole section again.
  s->index.try_emplace(FoldName(name), at);
  return true;
}

bool IniDocument::EraseSection(std::string_view section) {
  const std::string folded = FoldedNameOf(section);
  const size_t before = sections_.size();
  std::erase_if(sections_, [&](const Section& s) { return FoldName(s.name) == folded; });
  if (sections_.size() == before) return false;
  Reindex();
  return true;
}

bool IniDocument::EraseKey(std::string_view section, std::string_view key) {
  Section* s = FindSection(section);
  if (!s) return false;
  const std::string folded = FoldedNameOf(key);
  const size_t before = s->items.size();
  std::erase_if(s->items, [&](const Item& item) { return !item.key.empty() && FoldName(item.key) == folded; });
  if (s->items.size() == before) return false;
  s->index.clear();
  for (size_t k = 0; k < s->items.size(); ++k)
    if (!s->items[k].key.empty()) s->index.try_emplace(FoldName(s->items[k].key), k);
  return true;
}

// ---- file access ----

std::optional<IniDocument> LoadIniDocument(const std::filesystem::path& path) {
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return IniDocument::Parse(DecodeFileText(*bytes));
}

namespace {

std::atomic<unsigned long long> replaceCount{0};

// The rename is durable once the folder that holds the name is on the disk
// too. File systems that cannot flush a folder (EINVAL) keep it anyway.
bool SyncFolderOf(const std::filesystem::path& path) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
  ::close(fd);
  return ok;
}

}  // namespace

FileStamp SaveIniDocument(const std::filesystem::path& path, const IniDocument& doc) {
  return SaveIniText(path, doc.Serialize());
}

namespace {

// The version of a file as a writer in place changes it: size and
// modification time (a link changes the change time, not these).
bool SameVersion(const struct stat& st, const FileStamp& s) {
  return s.exists && static_cast<unsigned long long>(st.st_dev) == s.dev &&
         static_cast<unsigned long long>(st.st_ino) == s.ino && static_cast<unsigned long long>(st.st_size) == s.size &&
         st.st_mtim.tv_sec == s.mtimeSec && st.st_mtim.tv_nsec == s.mtimeNsec;
}

bool LinksUnsupported(int error) { return error == EPERM || error == EXDEV || error == ENOTSUP || error == EMLINK; }

}  // namespace

FileStamp SaveIniText(const std::filesystem::path& path, const std::string& utf8, const FileStamp* expected) {
  const std::string bytes = Utf8ToCp1250(utf8);
  const std::string file = path.string();
  struct stat old {};
  const bool existed = ::stat(file.c_str(), &old) == 0;
  if (existed && (!S_ISREG(old.st_mode) || ::access(file.c_str(), W_OK) != 0)) throw StoreError(file);

  RemoveStaleTempFiles(path);
  std::filesystem::path tmp = path;
  tmp.replace_filename(TempPrefixOf(path) + std::to_string(::getpid()));
  const std::string tmpName = tmp.string();
  const std::string keptName = tmpName + ".old";
  const int fd = ::open(tmpName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) throw StoreError(file);
  bool ok = true;
  if (existed) ok = ::fchmod(fd, old.st_mode & 07777) == 0;
  ok = ok && WriteAll(fd, bytes);
  ok = ok && ::fsync(fd) == 0;  // the text is on the disk before the name moves to it
  struct stat written {};
  ok = ok && ::fstat(fd, &written) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok) {
    ::unlink(tmpName.c_str());
    throw StoreError(file);
  }
  const auto changed = [&] {
    ::unlink(tmpName.c_str());
    throw SetChangedError(file);
  };

  // With an expected version, a program that writes the file in place (its
  // own open file, cut and written again) must not lose its text to the
  // rename: a link keeps the replaced file, and when it changed before the
  // new name took its place, it is put back and the write is refused.
  bool kept = false, placed = false;
  if (expected && expected->exists) {
    ::unlink(keptName.c_str());
    struct stat st {};
    if (::link(file.c_str(), keptName.c_str()) == 0) {
      kept = true;
      if (::stat(keptName.c_str(), &st) != 0 || !SameVersion(st, *expected)) {
        ::unlink(keptName.c_str());
        changed();
      }
    } else if (errno == ENOENT) {
      changed();  // removed or renamed since it was read
    } else if (!LinksUnsupported(errno)) {
      ::unlink(tmpName.c_str());
      throw StoreError(file);
    } else if (::stat(file.c_str(), &st) != 0 || !SameVersion(st, *expected)) {
      changed();  // no links on this file system: the check just before the rename
    }
  } else if (expected) {
    // Expected not to exist: created only if nobody created it meanwhile.
    if (::link(tmpName.c_str(), file.c_str()) == 0) {
      ::unlink(tmpName.c_str());
      placed = true;
    } else if (errno == EEXIST) {
      changed();
    } else if (!LinksUnsupported(errno)) {
      ::unlink(tmpName.c_str());
      throw StoreError(file);
    } else if (::access(file.c_str(), F_OK) == 0) {
      changed();
    }
  }
  if (!placed && ::rename(tmpName.c_str(), file.c_str()) != 0) {
    ::unlink(tmpName.c_str());
    if (kept) ::unlink(keptName.c_str());
    throw StoreError(file);
  }
  if (kept) {
    struct stat st {};
    if (::stat(keptName.c_str(), &st) == 0 && !SameVersion(st, *expected)) {
      // Written in place between the check and the rename: its text stands.
      if (::rename(keptName.c_str(), file.c_str()) != 0) ::unlink(keptName.c_str());
      SyncFolderOf(path);
      throw SetChangedError(file);
    }
    ::unlink(keptName.c_str());
  }
  ++replaceCount;
  if (!SyncFolderOf(path)) throw StoreError(file);
  // The stamp of the file written here: a change that landed after the
  // rename must not pass for this process's own.
  const FileStamp now = FileStamp::Of(path);
  const bool own = now.exists && now.dev == static_cast<unsigned long long>(written.st_dev) &&
                   now.ino == static_cast<unsigned long long>(written.st_ino) &&
                   now.size == static_cast<unsigned long long>(written.st_size) &&
                   now.mtimeSec == written.st_mtim.tv_sec && now.mtimeNsec == written.st_mtim.tv_nsec;
  return own ? now : FileStamp{};
}

unsigned long long FileReplaceCount() { return replaceCount.load(); }

// ---- IniFile ----

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

namespace {

constexpr int kStableReadAttempts = 40;
constexpr auto kRetryPause = std::chrono::milliseconds(5);
// A file another program changed so recently may still be being written in
// place (a copy in progress, paused between two writes): it is read, and
// written over, only once it has been quiet this long (at most kQuietLimit).
constexpr auto kQuietTime = std::chrono::milliseconds(10);
constexpr auto kQuietLimit = std::chrono::milliseconds(1000);

std::chrono::nanoseconds AgeOf(const FileStamp& s) {
  timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return std::chrono::seconds(now.tv_sec - s.mtimeSec) + std::chrono::nanoseconds(now.tv_nsec - s.mtimeNsec);
}

// The stamp of path once the file has been quiet for kQuietTime.
FileStamp QuietStampOf(const std::filesystem::path& path, FileStamp now) {
  const auto start = std::chrono::steady_clock::now();
  while (now.exists && AgeOf(now) < kQuietTime && std::chrono::steady_clock::now() - start < kQuietLimit) {
    std::this_thread::sleep_for(kQuietTime - std::max(AgeOf(now), std::chrono::nanoseconds(0)));
    now = FileStamp::Of(path);
  }
  return now;
}

}  // namespace

const IniDocument& IniFile::Current() {
  // Inside a hold one check serves the whole operation, writes included, so
  // the operation's own writes are never read over.
  if (holds_ > 0 && checkedWhileHeld_ && loaded_) return doc_;
  checkedWhileHeld_ = holds_ > 0;
  const FileStamp now = FileStamp::Of(path_);
  if (!loaded_ || !(now == stamp_)) Load(now);
  return doc_;
}

void IniFile::Load(FileStamp now) {
  // Changed a moment ago, from outside or before this process began: wait
  // until the other program is done writing, so a save in progress is not
  // read half-written.
  now = QuietStampOf(path_, now);
  std::optional<IniDocument> doc;
  for (int attempt = 0;; ++attempt) {
    doc = now.exists ? LoadIniDocument(path_) : std::nullopt;
    const FileStamp after = FileStamp::Of(path_);
    if (after == now) break;
    // Written while it was read: the text may be cut. Read it again.
    if (attempt + 1 >= kStableReadAttempts) {
      Drop();
      throw SetChangedError(path_.string());
    }
    std::this_thread::sleep_for(kRetryPause);
    now = after;
  }
  doc_ = doc ? std::move(*doc) : IniDocument{};
  text_ = doc_.Serialize();
  // A file that could not be read is read again next time, and never
  // written over.
  unreadable_ = !doc && now.exists;
  stamp_ = unreadable_ ? FileStamp{} : now;
  loaded_ = true;
  dirty_ = false;
}

void IniFile::Changed() {
  dirty_ = true;
  if (holds_ == 0) Commit();
}

void IniFile::Commit() {
  if (readOnly_) return;  // the writes stay in the copy
  if (unreadable_) {
    Drop();
    throw StoreError(path_.string());
  }
  // Never over a change made from outside since the copy was read: a text
  // another program wrote a moment ago may have been read before that
  // program was done with it, so the check waits until it is quiet.
  FileStamp now = FileStamp::Of(path_);
  if (now == stamp_ && !(stamp_ == ownStamp_)) now = QuietStampOf(path_, now);
  if (!(now == stamp_)) {
    Drop();
    throw SetChangedError(path_.string());
  }
  // Writes that ended where they began (a box cleared and filled again) leave
  // the file alone.
  std::string text = doc_.Serialize();
  if (text == text_ && now.exists) {
    dirty_ = false;
    return;
  }
  try {
    stamp_ = ownStamp_ = SaveIniText(path_, text, &now);
    text_ = std::move(text);
  } catch (...) {
    Drop();  // the copy is ahead of the file: read the file again
    throw;
  }
  dirty_ = false;
}

void IniFile::SetReadOnly(bool readOnly) {
  if (readOnly_ && !readOnly && dirty_) Drop();
  readOnly_ = readOnly;
}

void IniFile::Drop() {
  loaded_ = false;
  dirty_ = false;
}

void IniFile::Release(bool failed) {
  if (holds_ == 0 || --holds_ > 0) return;
  checkedWhileHeld_ = false;
  if (!dirty_) return;
  if (failed) Drop();  // an operation that failed writes nothing
  else Commit();
}

bool IniFile::Exists() { return FileStamp::Of(path_).exists; }
bool IniFile::LooksLikeIni() { return Current().LooksLikeIni(); }

std::optional<std::string> IniFile::Read(std::string_view section, std::string_view key) {
  return Current().Read(section, key);
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  Current();
  if (doc_.Write(section, key, value)) Changed();
}

void IniFile::WriteMany(std::string_view section, const IniEntries& entries) {
  Current();
  bool changed = false;
  for (const auto& [key, value] : entries) changed = doc_.Write(section, key, value) || changed;
  if (changed) Changed();
}

std::vector<std::string> IniFile::Sections() { return Current().SectionNames(); }
IniEntries IniFile::Entries(std::string_view section) { return Current().Entries(section); }

void IniFile::EraseSection(std::string_view section) {
  Current();
  if (doc_.EraseSection(section)) Changed();
}

void IniFile::EraseKey(std::string_view section, std::string_view key) {
  Current();
  if (doc_.EraseKey(section, key)) Changed();
}

IniFile& OpenIni(const std::filesystem::path& path) {
  static std::map<std::filesystem::path, std::unique_ptr<IniFile>> files;
  auto& slot = files[path.lexically_normal()];
  if (!slot) slot = std::make_unique<IniFile>(path.lexically_normal());
  return *slot;
}

}  // namespace solv
