// File lists of the updater: the local list of installed files and the list
// published by the update server, plus the reply that names the download location.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace solv {

inline constexpr const char* kLocalListName = "data041.dat";
inline constexpr const char* kServerListName = "data41.dat";

// One line of a list: name;version;flag;archive;size;sha256 ("|" separates
// as well). The server list names the size and the SHA-256 of what is
// downloaded for the record: the archive when there is one, else the file.
struct UpdateRecord {
  std::string name;
  std::string version;  // as written; see UpdateVersion
  char flag = 0;        // first character of the third field, 0 when empty
  std::string archive;  // when not empty the file comes packed in this archive
  std::string size;     // decimal bytes, as written
  std::string sha256;   // 64 hex digits, as written
};

// The stated size, or nullopt when the field is not a plain decimal number.
std::optional<std::uint64_t> UpdateSize(std::string_view text);
// True for 64 hex digits.
bool IsSha256Text(std::string_view text);

// The version as a number; text that is not a decimal integer counts as -1.
long long UpdateVersion(std::string_view text);

// Splits one line; a trailing "\r" is ignored, missing fields are empty.
UpdateRecord ParseUpdateLine(std::string_view line);

class UpdateList {
 public:
  std::vector<UpdateRecord> items;

  // Nothing (nullptr) for an index out of range.
  const UpdateRecord* At(std::size_t index) const;
  UpdateRecord* Find(std::string_view name);
  const UpdateRecord* Find(std::string_view name) const;

  // Reads the list from text; lines without a name are dropped.
  void ParseText(std::string_view text);
  // name;version per line, in list order.
  std::string Text() const;
};

enum class ListLoad { Loaded, Missing, Unreadable };

// Empties the list and reads the file when it exists.
ListLoad LoadUpdateList(const std::filesystem::path& file, UpdateList& list);
// Writes name;version lines through a temporary file; false when it failed.
bool SaveUpdateList(const std::filesystem::path& file, const UpdateList& list);

// True for a plain relative name that stays inside the program folder: not
// empty, not absolute, no drive letter or other ":", no "." or ".." parts.
bool IsSafeRelativeName(std::string_view name);

// The folder in the program folder where an update run keeps what it
// downloaded and unpacked until everything is there and verified.
inline constexpr const char* kStagingName = ".renovo-staging";
inline constexpr const char* kSignatureName = "data41.sig";

// True for a name an update must never write, whatever sends it: the user's
// return sets and everything under "SAVE/", the dictionaries, the update
// lists and the staging folder (letter case does not matter).
bool IsProtectedName(std::string_view name);

// The reply to the update request.
struct UpdateLocation {
  std::string host;
  std::string path;
};
enum class LocationReply { NoAnswer, Unchanged, Changed };
// "ERROR" or an error page is no answer; "KVZ" + one character + host "|" path "|"
// changes the location; any other reply keeps it.
LocationReply ParseLocationReply(std::string_view reply, UpdateLocation& location);

}  // namespace solv
