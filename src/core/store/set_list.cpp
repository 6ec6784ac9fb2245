#include "store/set_list.hpp"

#include <charconv>
#include <optional>
#include <system_error>

#include "services/message_service.hpp"
#include "services/opp.hpp"
#include "store/forms.hpp"
#include "store/ini.hpp"
#include "store/store.hpp"

namespace solv {
namespace {

constexpr int kMaxSetNumber = 3000;

std::string SetFileNameOf(int n) {
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, n);
  return std::string(buf, r.ptr) + ".i10";
}

std::string_view Trimmed(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
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
  const std::optional<IniDocument> doc = LoadIniDocument(file);
  if (!doc) return kNoName;
  const std::string code = doc->Read("MAIN", "PIT").value_or("");
  for (const LabelRule& r : kLabelRules) {
    if (code != r.code) continue;
    const std::string first(Trimmed(doc->Read(r.section, r.first).value_or("")));
    const std::string second = r.second ? std::string(Trimmed(doc->Read(r.section, r.second).value_or(""))) : "";
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
    s.setFile = dataFolder / SetFileNameOf(n);
    s.currentPage.clear();
    SetAllowedForms(mainFormCode);
    WriteField("PIT", mainFormCode, "MAIN");
    if (main == kPIT36 || main == kPIT37) {
      const char* section = main == kPIT36 ? "PIT36a" : "PIT37a";
      const char* const keys[4] = {"P6a", "P6b", "P6c", "P6d"};
      SetHold hold;
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

OpenSetResult OpenExistingSet(const std::filesystem::path& dataFolder, int n) {
  if (n <= 0) return OpenSetResult::Nothing;
  const std::filesystem::path file = dataFolder / SetFileNameOf(n);
  if (SameFile(file, Store().setFile)) return OpenSetResult::AlreadyOpen;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return OpenSetResult::Nothing;
  OpenSet(file);
  if (const std::optional<int> opp = MainFormNumber(); opp && !OppKrsFilled(*opp)) FillOppBoxes(*opp);
  return OpenSetResult::Opened;
}

bool DeleteSet(const std::filesystem::path& dataFolder, int n) {
  if (n <= 0) return false;
  Store().setFile.clear();
  Store().currentPage.clear();
  const int answer = AskBox("Czy na pewno chcesz usunąć zestaw z wszystkimi zapisanymi formularzami?", "&TAK",
                            "&NIE", "Informacja");
  if (answer != 1) return false;
  std::error_code ec;
  return std::filesystem::remove(dataFolder / SetFileNameOf(n), ec) && !ec;
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
