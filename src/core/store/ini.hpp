// INI files: the format of return sets and every other settings file.
//
// Rules: Windows-1250 on disk with CRLF line ends, UTF-8 in memory. Section
// and key names match without regard to letter case; a value is what follows
// the first '=' with the surrounding blanks removed, and one pair of enclosing
// double quotes is dropped; reads return at most 2047 characters. An existing
// key is replaced in place, a new key goes to the end of its section, a new
// section to the end of the file; the file is created by its first write.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace solv {

// A write the file system refused. what() is "Unable to write to <file>".
class StoreError : public std::runtime_error {
 public:
  explicit StoreError(const std::string& file);
};

// The file changed on disk while an operation worked on its earlier text (an
// outside program saved it), or it is being written right now: the operation
// wrote nothing. what() says so in Polish.
class SetChangedError : public std::runtime_error {
 public:
  explicit SetChangedError(const std::string& file);
};

// What tells one version of a file from another: device, inode, size,
// modification and change times.
struct FileStamp {
  bool exists = false;
  unsigned long long dev = 0, ino = 0, size = 0;
  long long mtimeSec = 0, mtimeNsec = 0, ctimeSec = 0, ctimeNsec = 0;
  bool operator==(const FileStamp&) const = default;
  static FileStamp Of(const std::filesystem::path& path);
};

// A name folded for case-insensitive comparison (ASCII and the Latin letters
// of Windows-1250).
std::string FoldName(std::string_view name);
bool SameName(std::string_view a, std::string_view b);

using IniEntries = std::vector<std::pair<std::string, std::string>>;

// The parsed text of one INI file. Lines it does not understand are kept as
// they stand, so a rewrite changes only what was written.
class IniDocument {
 public:
  static IniDocument Parse(std::string_view utf8);
  std::string Serialize() const;  // UTF-8 with CRLF line ends

  // The value of key in section as a read returns it, or nullopt when absent.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  bool HasSection(std::string_view section) const;
  std::vector<std::string> SectionNames() const;  // in file order
  IniEntries Entries(std::string_view section) const;

  // Returns false when the file text would not change.
  bool Write(std::string_view section, std::string_view key, std::string_view value);
  bool EraseSection(std::string_view section);  // every section of that name
  bool EraseKey(std::string_view section, std::string_view key);  // every line of that key

  // True when the text has at least one section and every other non-blank
  // line is a section header, a key=value line or a comment (';' or '#').
  bool LooksLikeIni() const { return looksLikeIni_; }

 private:
  struct Item {
    std::string raw;  // the line as it stands in the file
    std::string key;  // empty for a line that is not key=value
    std::string value;  // stored form, trimmed, quotes kept
  };
  struct Section {
    std::string name;
    std::string header;
    std::vector<Item> items;
    std::unordered_map<std::string, size_t> index;  // folded key -> first item
  };
  void Reindex();
  Section* FindSection(std::string_view name);
  const Section* FindSection(std::string_view name) const;

  std::vector<std::string> preamble_;
  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> index_;  // folded name -> first section
  mutable size_t lastFound_ = static_cast<size_t>(-1);  // the section FindSection found last
  mutable std::string lastAsked_;                       // and the name it was asked by
  bool looksLikeIni_ = true;
};

// File access shared by the cached file and simple one-shot users.
std::optional<IniDocument> LoadIniDocument(const std::filesystem::path& path);
// Writes doc to a temporary file beside path, flushed to the disk, renames it
// over path and flushes the folder, so the file holds either the old or the
// new text whatever happens, power cuts included. Answers the stamp of the
// file it wrote (an empty stamp when another writer touched it at once).
// Throws StoreError.
FileStamp SaveIniDocument(const std::filesystem::path& path, const IniDocument& doc);
// The same for a text already serialised (UTF-8). With expected, the file is
// replaced only while it is still that version (one that does not exist:
// only created), and a save another program makes in place while this one
// replaces it stands; both throw SetChangedError and write nothing.
FileStamp SaveIniText(const std::filesystem::path& path, const std::string& utf8,
                      const FileStamp* expected = nullptr);

// How many files SaveIniDocument replaced in this process (benchmarks).
unsigned long long FileReplaceCount();

// What the store needs of one INI file.
class IniStore {
 public:
  virtual ~IniStore() = default;
  virtual std::optional<std::string> Read(std::string_view section, std::string_view key) = 0;
  virtual void Write(std::string_view section, std::string_view key, std::string_view value) = 0;
  // Several keys of one section in one file write.
  virtual void WriteMany(std::string_view section, const IniEntries& entries) = 0;
  virtual std::vector<std::string> Sections() = 0;
  virtual IniEntries Entries(std::string_view section) = 0;
  virtual void EraseSection(std::string_view section) = 0;
  virtual void EraseKey(std::string_view section, std::string_view key) = 0;
  // One operation: while held, reads trust the copy checked by the first
  // access and see the operation's own writes, and the writes reach the file
  // together when the outermost hold is released, or are dropped when it is
  // released as failed (an error ended the operation). Holds nest.
  virtual void Hold() {}
  virtual void Release(bool /*failed*/) {}
};

// An INI file with a parsed copy in memory. Calls first check the file
// (its stamp) and parse it again when it changed from outside. Outside a hold
// every write reaches the file before it returns; inside one the writes of
// the whole hold reach it as one replace. A write never goes over a change
// made from outside since the copy was read: it throws SetChangedError and
// the copy is read again. A read-only file never writes: its writes stay in
// the copy until the file changes.
class IniFile final : public IniStore {
 public:
  explicit IniFile(std::filesystem::path path);

  const std::filesystem::path& Path() const { return path_; }
  bool Exists();
  bool LooksLikeIni();

  std::optional<std::string> Read(std::string_view section, std::string_view key) override;
  void Write(std::string_view section, std::string_view key, std::string_view value) override;
  void WriteMany(std::string_view section, const IniEntries& entries) override;
  std::vector<std::string> Sections() override;
  IniEntries Entries(std::string_view section) override;
  void EraseSection(std::string_view section) override;
  void EraseKey(std::string_view section, std::string_view key) override;
  void Hold() override { ++holds_; }
  void Release(bool failed) override;
  // A file made writable again forgets the writes its copy held.
  void SetReadOnly(bool readOnly);
  bool ReadOnly() const { return readOnly_; }

 private:
  const IniDocument& Current();
  // Reads the file, again while it changes under the read.
  void Load(FileStamp now);
  // After a change of the copy: the file now, or at the end of the hold.
  void Changed();
  void Commit();
  void Drop();  // the copy is read again at the next access

  std::filesystem::path path_;
  bool loaded_ = false;
  int holds_ = 0;
  bool checkedWhileHeld_ = false;
  bool dirty_ = false;       // the copy holds writes the file does not
  bool unreadable_ = false;  // the file exists but could not be read
  bool readOnly_ = false;
  std::string text_;    // the copy's text as the file holds it
  FileStamp stamp_;     // of the file the copy was read from or written to
  FileStamp ownStamp_;  // of the file this process wrote last
  IniDocument doc_;
};

// The process-wide parsed copy of the file at path (one per path).
IniFile& OpenIni(const std::filesystem::path& path);

}  // namespace solv
