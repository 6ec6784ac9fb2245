#include "shell/form_registry.hpp"

#include <charconv>
#include <map>
#include <optional>

#include "calc/identification.hpp"
#include "calc/rules.hpp"
#include "store/forms.hpp"
#include "store/ini.hpp"
#include "store/set_list.hpp"
#include "store/store.hpp"
#include "report/page_definition.hpp"
#include "util/ascii.hpp"

namespace solv {
namespace {

// Page classes of the registry; each accepts its class name and the class
// name without the leading "T".
const char* const kPageClasses[] = {
    "TPIT28a",  "TPIT28b",  "TPIT28c",  "TPIT28d", "TPIT28Aa", "TPIT28Ba", "TPIT28Bb", "TPIT36a",
    "TPIT36b",  "TPIT36c",  "TPIT36d",  "TPIT36e", "TPIT36f",  "TPIT36La", "TPIT36Lb", "TPIT36Lc",
    "TPIT37a",  "TPIT37b",  "TPIT37c",  "TPIT38a", "TPIT38b",  "TPIT39a",  "TPIT39b",  "TPIT40a",
    "TPIT40b",  "TPIT40c",  "TPITBa",   "TPITBb",  "TPITDa",   "TPITDb",   "TPITMa",   "TPITOa",
    "TPITOb",   "TPITOc",   "TPITZa",   "TPITZb",  "TPIT2Ka",  "TPIT2Kb",  "TPITZGa",
};

// Names of the spouse's pages, served by the taxpayer's classes.
struct ExtraName {
  const char* name;
  const char* pageClass;
};
constexpr ExtraName kExtraNames[] = {{"PITMa_M", "TPITMa"}, {"PITZa_M", "TPITZa"}, {"PITZb_M", "TPITZb"}};

std::string IntText(long long n) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, n);
  return std::string(buf, r.ptr);
}

std::optional<long long> ParseInt(std::string_view s) {
  s = Trimmed(s);
  if (s.empty()) return std::nullopt;
  long long v = 0;
  const char* end = s.data() + s.size();
  const auto r = std::from_chars(s.data(), end, v);
  if (r.ec != std::errc() || r.ptr != end) return std::nullopt;
  return v;
}

bool HasWindow(const Desktop& desktop, std::string_view name) {
  for (const std::string& w : desktop.OpenWindowNames())
    if (SameName(w, name)) return true;
  return false;
}

bool Contains(const std::vector<std::string>& names, std::string_view name) {
  for (const std::string& n : names)
    if (SameName(n, name)) return true;
  return false;
}

const FormAction& ActionOfForm(int formIndex) {
  for (const FormAction& a : kFormActions)
    if (a.formIndex == formIndex) return a;
  return kFormActions[0];
}

bool IsPitMOrZ(int form) { return form == kPITM || form == kPITZ || form == kPITM_M || form == kPITZ_M; }

void PlaceHelp(Desktop& desktop) {
  if (desktop.HelpOnline()) desktop.PlaceHelpMarkers();
}

}  // namespace

const char* const kPitoGapMessage =
    "Usunięcie tego załącznika spowodowałoby powstanie luki w numeracji załączników.\r\n"
    "Możliwe jest usunięcie załącznika PIT/O, oznaczonego najwyższym numerem (usuwanie od końca).";
const char* const kDeleteFormQuestion = "Czy na pewno chcesz usunąć formularz z zestawu?";

std::string FurtherCopyQuestion(std::string_view formCaption) {
  const std::string f(formCaption);
  return "Dla bieżącego zeznania wypełniono już załącznik " + f + ".\r\nAby otworzyć wypełniony załącznik " + f +
         " wybierz Wczytaj.\r\nAby wypełnić kolejny załącznik " + f + " wybierz Nowy.";
}

std::string PageClassFor(std::string_view name) {
  for (const char* cls : kPageClasses) {
    const std::string_view c(cls);
    if (name == c || name == c.substr(1)) return cls;
  }
  for (const ExtraName& e : kExtraNames)
    if (name == e.name) return e.pageClass;
  return {};
}

const std::vector<std::string>& RegisteredPageClasses() {
  static const std::vector<std::string> classes(std::begin(kPageClasses), std::end(kPageClasses));
  return classes;
}

const std::array<FormAction, kToolbarActionCount + 4> kFormActions = {{
    {"ActionPIT28", "PIT-28", 1, kPIT28, "PIT28a", FormActionKind::SingleCopy, false},
    {"ActionPIT36", "PIT-36", 2, kPIT36, "PIT36a", FormActionKind::SingleCopy, false},
    {"ActionPIT36L", "PIT-36L", 3, kPIT36L, "PIT36La", FormActionKind::SingleCopy, false},
    {"ActionPIT37", "PIT-37", 4, kPIT37, "PIT37a", FormActionKind::SingleCopy, false},
    {"ActionPIT38", "PIT-38", 5, kPIT38, "PIT38a", FormActionKind::SingleCopy, false},
    {"ActionPIT39", "PIT-39", 6, kPIT39, "PIT39a", FormActionKind::SingleCopy, false},
    {"ActionPIT40", "PIT-40", 7, kPIT40, "PIT40a", FormActionKind::SingleCopy, false},
    {"ActionPITB", "PIT/B", 8, kPITB, "PITBa", FormActionKind::MultiCopy, false},
    {"ActionPITD", "PIT/D", 9, kPITD, "PITDa", FormActionKind::SingleCopy, true},
    {"ActionPITM", "PIT/M", 10, kPITM, "PITMa", FormActionKind::Variants, true},
    {"ActionPITO", "PIT/O", 11, kPITO, "PITOa", FormActionKind::MultiCopy, false},
    {"ActionPITZ", "PIT/Z", 12, kPITZ, "PITZa", FormActionKind::Variants, true},
    {"ActionPITZG", "PIT/ZG", 13, kPITZG, "PITZGa", FormActionKind::MultiCopy, false},
    {"ActionPIT28A", "PIT-28/A", 14, kPIT28A, "PIT28Aa", FormActionKind::SingleCopy, true},
    {"ActionPIT28B", "PIT-28/B", 15, kPIT28B, "PIT28Ba", FormActionKind::SingleCopy, true},
    {"ActionPIT2K", "PIT-2K", 16, kPIT2K, "PIT2Ka", FormActionKind::SingleCopy, true},
    {"ActionPITM_P", "PIT/M podatnik", 0, kPITM, "PITMa", FormActionKind::SingleCopy, true},
    {"ActionPITM_M", "PIT/M małżonek", 0, kPITM_M, "PITMa_M", FormActionKind::SingleCopy, true},
    {"ActionPITZ_P", "PIT/Z podatnik", 0, kPITZ, "PITZa", FormActionKind::SingleCopy, true},
    {"ActionPITZ_M", "PIT/Z małżonek", 0, kPITZ_M, "PITZa_M", FormActionKind::SingleCopy, true},
}};

const FormAction* FindFormAction(std::string_view action) {
  for (const FormAction& a : kFormActions)
    if (action == a.action) return &a;
  return nullptr;
}

std::string FormActionHint(const FormAction& a) { return std::string("Formularz ") + a.caption; }

std::string FormSymbolOf(std::string_view section) {
  const std::string base = InstanceBase(section);
  for (const PageDefinition& page : PageCatalogue())
    if (EqualsIgnoreAsciiCase(DefaultInstanceOf(page.info), base)) return page.info.symbol;
  return std::string(section);
}

std::string InstanceLabel(std::string_view instanceName) {
  const size_t bar = instanceName.find('_');
  if (bar == std::string_view::npos) return {};
  const std::string_view rest = instanceName.substr(bar + 1);
  if (rest == "M" || rest == "m") return " – małżonek";
  int n = 0;
  for (char c : rest) {
    if (c < '0' || c > '9' || n > 100000) return {};
    n = n * 10 + (c - '0');
  }
  return rest.empty() ? std::string() : " – kopia " + std::to_string(n + 1);
}

std::array<bool, kToolbarActionCount> FormActionsVisible() {
  std::array<bool, kToolbarActionCount> visible{};
  for (int i = 0; i < kToolbarActionCount; ++i) visible[i] = Store().allowed[kFormActions[i].formIndex];
  return visible;
}

ToolbarLayout LayOutToolbar(const std::array<bool, kToolbarActionCount>& visible) {
  ToolbarLayout layout;
  for (int i = 0; i < kToolbarActionCount; ++i) {
    layout.top[i] = visible[i] ? layout.panelHeight : -1;
    if (visible[i]) layout.panelHeight += 25;
  }
  return layout;
}

void RunFormAction(const FormAction& action, Desktop& desktop, const Asker& ask) {
  switch (action.kind) {
    case FormActionKind::MultiCopy:
      OpenForm(action.baseName, desktop, ask);
      return;
    case FormActionKind::Variants:
      if (IsJointMethod(TaxationMethod())) {
        desktop.ShowFormMenu(action.formIndex);
      } else {
        const FormAction* taxpayer = FindFormAction(action.formIndex == kPITM ? "ActionPITM_P" : "ActionPITZ_P");
        RunFormAction(*taxpayer, desktop, ask);
      }
      return;
    case FormActionKind::SingleCopy:
      break;
  }
  if (HasWindow(desktop, action.baseName)) {
    desktop.BringToFront(action.baseName);
    return;
  }
  const SetHold hold;  // what opening a form writes reaches the file in one replace
  if (action.copiesIdentification) CopyIdentification(-1, action.formIndex, true, {}, {});
  OpenForm(action.baseName, desktop, ask);
}

void OpenForm(const std::string& baseName, Desktop& desktop, const Asker& ask) {
  const std::string pageClass = PageClassFor(baseName);
  if (pageClass.empty()) return;
  const int form = FormIndex(baseName);
  const std::vector<std::string> sections = SectionsOfForm(baseName, '_');

  if (sections.empty()) {
    // A class name is not given to the window.
    const std::string name = baseName.starts_with('T') ? std::string() : baseName;
    if (!name.empty() && HasWindow(desktop, name)) {
      // Its window is open but nothing is stored yet: a second window of the
      // same name would edit the same section.
      desktop.BringToFront(name);
    } else {
      if (form == kPITO) {
        WriteField("p4", "1", "PITOa");
        CopyIdentification(-1, kPITO, true, {}, {});
      }
      desktop.CreatePage(pageClass, name);
    }
    PlaceHelp(desktop);
    return;
  }

  const bool multiCopy = form == kPITB || form == kPITO || form == kPITZG;
  int choice = 2;  // "Wczytaj"
  if (multiCopy)
    choice = Ask(ask, FurtherCopyQuestion(ActionOfForm(form).caption), "Informacja", {"Nowy", "Wczytaj", "Anuluj"});

  if (choice == 1) {
    const std::vector<std::string> windows = desktop.OpenWindowNames();
    std::string name = baseName;
    for (int i = 1; Contains(sections, name) || Contains(windows, name); ++i) name = baseName + "_" + IntText(i);
    if (form == kPITO) {
      SetHold hold;
      const std::string p1 = ReadField("p1", "", "PITOa");
      const std::string p2 = ReadField("p2", "", "PITOa");
      WriteField("p4", IntText(static_cast<long long>(sections.size()) + 1), name);
      WriteField("p1", p1, name);
      WriteField("p2", p2, name);
    }
    desktop.CreatePage(pageClass, name);
  } else if (choice == 2) {
    if ((form == kPITB || form == kPITZG) && sections.size() >= 2) {
      desktop.ShowSetList(SetListLines(sections, {"P4", "P5", "P1"}, "%s %s, %s"), sections, baseName);
    } else if (form == kPITO && sections.size() >= 2) {
      desktop.ShowSetList(SetListLines(sections, {"P4", "P5", "P6"}, "załącznik nr %s %s, %s"), sections, baseName);
    } else {
      for (const std::string& section : sections) {
        // The taxpayer's PIT/M or PIT/Z never opens the spouse's.
        if (IsPitMOrZ(form) && !SameName(section, baseName)) continue;
        if (!HasWindow(desktop, section)) desktop.CreatePage(pageClass, section);
        desktop.FocusPage(section);
      }
    }
  } else {
    return;  // "Anuluj", or no answer
  }
  PlaceHelp(desktop);
}

void OpenListedInstance(const std::string& section, const std::string& baseName, Desktop& desktop) {
  const std::string pageClass = PageClassFor(baseName);
  if (pageClass.empty() || section.empty()) return;
  if (!HasWindow(desktop, section)) desktop.CreatePage(pageClass, section);
  desktop.BringToFront(section);
  desktop.ReloadPage(section);
}

std::string SwitchPageClass(std::string_view activeClass, char letter) {
  if (activeClass.empty()) return {};
  std::string target(activeClass);
  target.back() = letter;
  if (target == activeClass || PageClassFor(target) != target) return {};
  return target;
}

std::string PageLetters(std::string_view pageClass) {
  std::string letters;
  if (pageClass.empty() || PageClassFor(pageClass) != pageClass) return letters;
  for (char c = 'a'; c <= 'f'; ++c) {
    std::string candidate(pageClass);
    candidate.back() = c;
    if (PageClassFor(candidate) == candidate) letters += c;
  }
  return letters;
}

bool DeleteFormInstance(const std::string& instanceName, Desktop& desktop, const Asker& ask) {
  if (instanceName.empty()) return false;
  const int form = FormIndex(InstanceBase(instanceName));
  if (form == kPITO) {
    const std::optional<long long> number = ParseInt(ReadField("p4", "", instanceName));
    if (!number || *number != CountSectionsOfForm("PITOa")) {
      Tell(ask, kPitoGapMessage, "Informacja");
      return false;
    }
  }
  if (Ask(ask, kDeleteFormQuestion, "Informacja", {"&TAK", "&NIE"}) != 1) return false;

  // The window goes first: closing stores its editor, which must not bring
  // the erased section back.
  desktop.ClosePage(instanceName);
  const SetHold hold;  // the deletion and the renumbered copies: one replace
  const std::string owner = form == kPITB ? ReadField("p1", "", instanceName) : std::string();
  EraseSection(instanceName);
  if (form == kPITB) {
    std::vector<std::string> same;
    for (const std::string& s : SectionsOfForm("PITBa", '_'))
      if (ReadField("p1", "", s) == owner) same.push_back(s);
    const std::string count = IntText(static_cast<long long>(same.size()));
    for (const std::string& s : same) WriteField("p3", count, s);
  }
  return true;
}

std::vector<HelpMarker> HelpMarkers(const std::filesystem::path& programFolder, std::string_view instanceName,
                                    int pageTag) {
  std::vector<HelpMarker> markers;
  const std::optional<IniDocument> doc = LoadIniDocument(programFolder / "in.r76");
  if (!doc) return markers;
  // Every page of a form, and every copy, shares the help of the form's
  // first page ("PITBa_2" and "PITMa_M" read "PITBa" and "PITMa").
  const std::string section = InstanceBase(instanceName);
  const long long count = ParseInt(doc->Read(section, "ILE").value_or("")).value_or(0);
  if (count <= 0) return markers;

  // Lines L1..Ln in number order; absent ones are empty and give nothing.
  std::map<long long, std::string> lines;
  for (const auto& [key, value] : doc->Entries(section)) {
    if (key.size() < 2 || (key[0] != 'L' && key[0] != 'l')) continue;
    const std::optional<long long> k = ParseInt(std::string_view(key).substr(1));
    if (k && *k >= 1 && *k <= count && Trimmed(key.substr(1)) == key.substr(1) && !lines.contains(*k))
      lines.emplace(*k, doc->Read(section, key).value_or(""));
  }

  for (const auto& [k, line] : lines) {
    // TEXT|PAGE#X#Y#TOPIC##rest
    const size_t bar = line.find('|');
    if (bar == std::string::npos) continue;
    const std::string_view rest = std::string_view(line).substr(bar + 1);
    std::optional<long long> numbers[3];
    size_t pos = 0;
    bool ok = true;
    for (auto& n : numbers) {
      const size_t hash = rest.find('#', pos);
      if (hash == std::string_view::npos) {
        ok = false;
        break;
      }
      n = ParseInt(rest.substr(pos, hash - pos));
      if (!n || *n < INT32_MIN || *n > INT32_MAX) ok = false;
      pos = hash + 1;
    }
    if (!ok || *numbers[0] != pageTag) continue;
    const size_t end = rest.find("##", pos);
    HelpMarker m;
    m.text = line.substr(0, bar);
    m.x = static_cast<int>(*numbers[1]);
    m.y = static_cast<int>(*numbers[2]);
    m.topic = std::string(Trimmed(rest.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos)));
    if (m.topic.empty()) continue;
    markers.push_back(std::move(m));
  }
  return markers;
}

}  // namespace solv
