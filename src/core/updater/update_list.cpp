#include "updater/update_list.hpp"

#include <charconv>
#include <fstream>
#include <sstream>
#include <system_error>

#include "util/file_io.hpp"

namespace solv {

long long UpdateVersion(std::string_view text) {
  if (text.empty()) return -1;
  long long value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return -1;
  return value;
}

UpdateRecord ParseUpdateLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  std::string fields[6];
  std::size_t field = 0;
  for (char c : line) {
    if (c == ';' || c == '|') {
      if (++field >= 6) break;
      continue;
    }
    fields[field] += c;
  }
  UpdateRecord record;
  record.name = std::move(fields[0]);
  record.version = std::move(fields[1]);
  record.flag = fields[2].empty() ? 0 : fields[2][0];
  record.archive = std::move(fields[3]);
  record.size = std::move(fields[4]);
  record.sha256 = std::move(fields[5]);
  return record;
}

std::optional<std::uint64_t> UpdateSize(std::string_view text) {
  if (text.empty() || text.size() > 19) return std::nullopt;
  std::uint64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool IsSha256Text(std::string_view text) {
  return text.size() == 64 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

const UpdateRecord* UpdateList::At(std::size_t index) const {
  return index < items.size() ? &items[index] : nullptr;
}

UpdateRecord* UpdateList::Find(std::string_view name) {
  for (auto& item : items)
    if (item.name == name) return &item;
  return nullptr;
}

const UpdateRecord* UpdateList::Find(std::string_view name) const {
  return const_cast<UpdateList*>(this)->Find(name);
}

void UpdateList::ParseText(std::string_view text) {
  items.clear();
  std::size_t start = 0;
  // Lines end with LF, CRLF or a lone CR: a CR never belongs to a field.
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    UpdateRecord record = ParseUpdateLine(text.substr(start, end - start));
    if (!record.name.empty()) items.push_back(std::move(record));
    start = end + 1;
  }
}

std::string UpdateList::Text() const {
  std::string text;
  for (const auto& item : items) text += item.name + ";" + item.version + "\r\n";
  return text;
}

ListLoad LoadUpdateList(const std::filesystem::path& file, UpdateList& list) {
  list.items.clear();
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return ec ? ListLoad::Unreadable : ListLoad::Missing;
  if (!std::filesystem::is_regular_file(file, ec)) return ListLoad::Unreadable;
  std::ifstream in(file, std::ios::binary);
  if (!in) return ListLoad::Unreadable;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return ListLoad::Unreadable;
  list.ParseText(buffer.str());
  return ListLoad::Loaded;
}

bool SaveUpdateList(const std::filesystem::path& file, const UpdateList& list) {
  return ReplaceFile(file, list.Text());
}

bool IsSafeRelativeName(std::string_view name) {
  if (name.empty() || name.front() == '/' || name.front() == '\\') return false;
  for (char c : name)
    if (c == ':' || static_cast<unsigned char>(c) < 0x20) return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = name.size();
    std::string_view part = name.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

namespace {

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

bool IsProtectedName(std::string_view name) {
  const std::string lower = LowerAscii(name);
  std::vector<std::string_view> parts;
  std::string_view rest = lower;
  for (;;) {
    const std::size_t sep = rest.find_first_of("/\\");
    std::string_view part = rest.substr(0, sep);
    // Windows drops trailing dots and blanks: "SAVE." is "SAVE" there.
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.remove_suffix(1);
    if (!part.empty()) parts.push_back(part);
    if (sep == std::string_view::npos) break;
    rest = rest.substr(sep + 1);
  }
  if (parts.empty()) return false;
  const std::string_view first = parts.front(), last = parts.back();
  if (first == "save" || first == kStagingName) return true;
  if (EndsWith(last, ".i10")) return true;
  if (last == "gr.xml" || last == "slo.xml") return true;
  if (parts.size() == 1 && last == "solv2010.ini") return true;  // the user's settings
  return parts.size() == 1 && (last == kLocalListName || last == kServerListName || last == kSignatureName);
}

LocationReply ParseLocationReply(std::string_view reply, UpdateLocation& location) {
  if (reply == "ERROR" || reply.find("html") != std::string_view::npos) return LocationReply::NoAnswer;
  std::size_t marker = reply.find("KVZ");
  if (marker == std::string_view::npos) return LocationReply::Unchanged;
  std::size_t start = marker + 4;
  if (start > reply.size()) start = reply.size();
  std::string_view rest = reply.substr(start);
  std::size_t bar = rest.find('|');
  location.host = std::string(rest.substr(0, bar));
  if (bar == std::string_view::npos) {
    location.path.clear();
  } else {
    std::string_view after = rest.substr(bar + 1);
    location.path = std::string(after.substr(0, after.find('|')));
  }
  return LocationReply::Changed;
}

}  // namespace solv
