#include "store/set_list.hpp"

#include <charconv>
#include <optional>
#include <system_error>

#include "store/cp1250.hpp"
#include "store/forms.hpp"
#include "store/ini.hpp"
#include "store/opp.hpp"
#include "store/store.hpp"
#include "util/file_io.hpp"
#include "util/ascii.hpp"

namespace solv {
namespace {

constexpr int kMaxSetNumber = 3000;

std::string SetFileNameOf(int n) {
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, n);
  return std::string(buf, r.ptr) + ".i10";
}

struct LabelRule {
  const char* code;
  const char* section;
  const char* first;
  const char* second;  // nullptr: the form has one name box
  const char* tag;
};

constexpr LabelRule kLabelRules[] = {
    {"PIT28", "PIT28a", "P7", "P8", "(PIT-28)"},     {"PIT36", "PIT36a", "P11", "P12", "(PIT-36)"},
    {"PIT36L", "PIT36La", "P7", "P8", "(PIT-36L)"},  {"PIT37", "PIT37a", "P11", "P12", "(PIT-37)"},
    {"PIT38", "PIT38a", "P7", "P8", "(PIT-38)"},     {"PIT39", "PIT39a", "P7", "P8", "(PIT-39)"},
    {"PIT40", "PIT40a", "P8", nullptr, "(PIT-40)"},
};

const char* const kNoName = "bez nazwy ";

// Blanks as the INI reader trims them.
std::string_view TrimBlanks(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

// Names compared as the INI reader compares them; the names a label needs
// are ASCII, and a folded name with other letters never equals one of them.
bool SameAsciiName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool IsLabelSection(std::string_view name) {
  if (SameAsciiName(name, "MAIN")) return true;
  for (const LabelRule& r : kLabelRules)
    if (SameAsciiName(name, r.section)) return true;
  return false;
}

bool IsLabelKey(std::string_view key) {
  if (SameAsciiName(key, "PIT")) return true;
  for (const LabelRule& r : kLabelRules)
    if (SameAsciiName(key, r.first) || (r.second && SameAsciiName(key, r.second))) return true;
  return false;
}

// The lines of a set's text that its label reads, in file order: the headers
// of MAIN and of the main forms' first pages, each with its PIT and name-box
// lines. A read of those keys finds in them what it finds in the whole text,
// and a long file costs one pass over its text instead of a parse of every line.
std::string LabelLines(std::string_view text) {
  std::string out;
  bool keep = false;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    const std::string_view t = TrimBlanks(line);
    if (t.empty()) continue;
    if (t.front() == '[') {
      const size_t close = t.find(']');
      keep = IsLabelSection(TrimBlanks(t.substr(1, close == std::string_view::npos ? close : close - 1)));
    } else {
      const size_t eq = line.find('=');
      if (!keep || eq == std::string_view::npos || !IsLabelKey(TrimBlanks(line.substr(0, eq)))) continue;
    }
    if (keep) out.append(line).append("\r\n");
  }
  return out;
}

// The size of a regular file, or nullopt.
std::optional<std::uintmax_t> RegularFileSize(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec) return std::nullopt;
  return size;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code ec;
  if (std::filesystem::equivalent(a, b, ec) && !ec) return true;
  return a.lexically_normal() == b.lexically_normal();
}

}  // namespace

std::vector<int> SetNumbers(const std::filesystem::path& dataFolder) {
  std::vector<int> out;
  for (int n = 1; n <= kMaxSetNumber; ++n) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(dataFolder / SetFileNameOf(n), ec)) out.push_back(n);
  }
  return out;
}

std::string SetLabel(const std::filesystem::path& file) {
  const std::optional<std::uintmax_t> size = RegularFileSize(file);
  if (!size || *size > kMaxSetFileBytes) return kNoName;
  const std::optional<std::string> bytes = ReadWholeFile(file);
  if (!bytes) return kNoName;
  const IniDocument doc = IniDocument::Parse(LabelLines(DecodeFileText(*bytes)));
  const std::string code = doc.Read("MAIN", "PIT").value_or("");
  for (const LabelRule& r : kLabelRules) {
    if (code != r.code) continue;
    const std::string first(Trimmed(doc.Read(r.section, r.first).value_or("")));
    const std::string second = r.second ? std::string(Trimmed(doc.Read(r.section, r.second).value_or(""))) : "";
    if (first.empty() && second.empty()) return kNoName + std::string(r.tag);
    if (!r.second) return first + " " + r.tag;
    return first + " " + second + " " + r.tag;
  }
  return kNoName;
}

int NextSetNumber(const std::filesystem::path& dataFolder) {
  for (int n = 1;; ++n) {
    std::error_code ec;
    if (!std::filesystem::exists(dataFolder / SetFileNameOf(n), ec) && !ec) return n;
  }
}

int CreateSet(const std::filesystem::path& dataFolder, std::string_view mainFormCode, int taxationOption) {
  const int main = MainFormCodeIndex(mainFormCode);
  if (main < 0) return 0;
  std::error_code ec;
  std::filesystem::create_directories(dataFolder, ec);
  const int n = NextSetNumber(dataFolder);

  StoreState& s = Store();
  const StoreState previous = s;
  try {
    const std::filesystem::path file = dataFolder / SetFileNameOf(n);
    s.lock = SetLock::Acquire(file);  // a new number: nobody else holds it
    s.readOnly = false;
    OpenIni(file).SetReadOnly(false);
    s.setFile = file;
    s.currentPage.clear();
    SetAllowedForms(mainFormCode);
    const SetHold hold;  // the new set appears whole, in one write
    WriteField("PIT", mainFormCode, "MAIN");
    if (main == kPIT36 || main == kPIT37) {
      const char* section = main == kPIT36 ? "PIT36a" : "PIT37a";
      const char* const keys[4] = {"P6a", "P6b", "P6c", "P6d"};
      for (int i = 0; i < 4; ++i) WriteField(keys[i], taxationOption == i + 1 ? "[X]" : "[  ]", section);
    }
    WriteField("VER", "10", "MAIN");
    if (const std::optional<int> opp = MainFormNumber()) FillOppBoxes(*opp);
  } catch (...) {
    s = previous;
    throw;
  }
  return n;
}

OpenSetResult OpenExistingSet(const std::filesystem::path& dataFolder, int n, const Asker& ask) {
  if (n <= 0) return OpenSetResult::Nothing;
  const std::filesystem::path file = dataFolder / SetFileNameOf(n);
  if (SameFile(file, Store().setFile)) return OpenSetResult::AlreadyOpen;
  const std::optional<std::uintmax_t> size = RegularFileSize(file);
  if (!size) return OpenSetResult::Nothing;
  if (*size > kMaxSetFileBytes) {
    const std::uintmax_t megabytes = (*size + (std::uintmax_t{1} << 20) - 1) >> 20;
    Tell(ask,
         "Nie można otworzyć zestawu " + file.filename().string() + ": plik ma " + std::to_string(megabytes) +
             " MB, a zestaw zapisany przez program zajmuje najwyżej kilkadziesiąt kilobajtów. Plik jest "
             "uszkodzony albo nie jest zestawem danych programu.",
         "Informacja");
    return OpenSetResult::Refused;
  }
  if (!OpenSetForWriting(file)) {
    if (Ask(ask, kSetInUseQuestion, "Informacja", {"&TAK", "&NIE"}) != 1) return OpenSetResult::Refused;
    OpenSetReadOnly(file);
    return OpenSetResult::Opened;
  }
  if (const std::optional<int> opp = MainFormNumber(); opp && !OppKrsFilled(*opp)) FillOppBoxes(*opp);
  return OpenSetResult::Opened;
}

bool DeleteSet(const std::filesystem::path& dataFolder, int n, const Asker& ask) {
  if (n <= 0) return false;
  const std::filesystem::path file = dataFolder / SetFileNameOf(n);
  StoreState& s = Store();
  s.setFile.clear();
  s.currentPage.clear();
  s.readOnly = false;
  // This process's own lock, or a fresh one: nobody else may be working on it.
  std::shared_ptr<SetLock> lock = s.lock && s.lock->Set() == file ? s.lock : SetLock::Acquire(file);
  s.lock.reset();
  if (!lock) {
    Tell(ask, kSetInUseDeleteMessage, "Informacja");
    return false;
  }
  const int answer = Ask(ask, "Czy na pewno chcesz usunąć zestaw z wszystkimi zapisanymi formularzami?",
                         "Informacja", {"&TAK", "&NIE"});
  if (answer != 1) return false;
  std::error_code ec;
  const bool removed = std::filesystem::remove(file, ec) && !ec;
  if (removed) std::filesystem::remove(SetLock::LockFileOf(file), ec);
  return removed;
}

std::vector<std::string> SetListLines(const std::vector<std::string>& sections, const std::vector<std::string>& keys,
                                      std::string_view pattern) {
  std::vector<std::string> lines;
  lines.reserve(sections.size());
  SetHold hold;
  for (const std::string& section : sections) {
    std::string line;
    size_t next = 0;
    for (size_t i = 0; i < pattern.size();) {
      if (pattern.compare(i, 2, "%s") == 0) {
        if (next < keys.size()) line += ReadField(keys[next], "", section);
        ++next;
        i += 2;
      } else {
        line += pattern[i++];
      }
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace solv
