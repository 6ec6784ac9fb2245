#include "calc/dispatch.hpp"

#include <algorithm>
#include <charconv>
#include <utility>

#include "calc/adviser.hpp"
#include "calc/other/pitd.hpp"
#include "calc/other/pit28.hpp"
#include "calc/other/pit36l.hpp"
#include "calc/other/pit38.hpp"
#include "calc/other/pit39.hpp"
#include "calc/other/pito.hpp"
#include "calc/other/pitb.hpp"
#include "calc/other/pitm.hpp"
#include "calc/other/pitz.hpp"
#include "calc/rules.hpp"
#include "calc/scale/pit2k.hpp"
#include "calc/scale/pit36.hpp"
#include "calc/scale/pit37.hpp"
#include "calc/scale/pitzg.hpp"
#include "calc/scale/pit40.hpp"
#include "messages/messages.hpp"
#include "report/page_definition.hpp"
#include "store/store.hpp"
#include "util/debug_log.hpp"

namespace solv {
namespace {

struct Entry {
  const char* baseName;
  RecalcFn recalc;
};

// Forms whose recalculation exists; the others are added with their forms.
constexpr Entry kRecalculations[] = {
    {"PIT36a", &RecalcPIT36},
    {"PIT37a", &RecalcPIT37},
    {"PITZGa", &RecalcPITZG},
    {"PIT40a", &RecalcPIT40},
    {"PIT2Ka", &RecalcPIT2K},
    {"PITOa", &RecalcPITO},
    {"PIT28a", &RecalcPIT28},
    {"PIT28Aa", &RecalcPIT28A},
    {"PIT28Ba", &RecalcPIT28B},
    {"PITDa", &RecalcPITD},
    {"PITBa", &RecalcPITB},
    {"PIT36La", &RecalcPIT36L},
    {"PIT38a", &RecalcPIT38},
    {"PIT39a", &RecalcPIT39},
    {"PITMa", &RecalcPITM},
    {"PITZa", &RecalcPITZ},
};

constexpr const char* kCheckOrder[] = {"PIT28a", "PIT28Aa", "PIT28Ba", "PIT36a",  "PIT36La", "PIT37a",
                                       "PIT38a", "PIT39a",  "PIT40a",  "PITBa",   "PITDa",   "PITMa",
                                       "PITMa_M", "PITOa",  "PITZa",   "PITZa_M", "PIT2Ka",  "PITZGa"};

constexpr const char* kReturnCounted =
    "<color=clRed><b>W zeznaniu występują błędy</b> <color=clGreen><b>lub uwagi</b><color=clRed><b> - liczba "
    "komunikatów:</b> %d<br><color=clNavy>Uwaga: Program sprawdza obliczenia (np. zgodność z limitami). Program nie "
    "sprawdza wszystkich danych (np. poprawność daty).<br>";

constexpr const char* kReturnClean =
    "<color=clNavy><b>W wypełnionych formularzach (deklaracji głównej i załącznikach) nie występują błędy</b><br>"
    "<color=clNavy>Uwaga: Program sprawdza obliczenia (np. zgodność z limitami). Program nie sprawdza wszystkich "
    "danych (np. poprawność daty).";

// An amount box the recalculations could read only as 0: the form's symbol,
// the box number as printed, the text and the box's link.
constexpr const char* kUnreadableAmount =
    "<color=clRed><b>%s, Poz.%s.</b><br><color=clNavy>Wpisany tekst „%s” nie jest kwotą, więc obliczenia przyjęły "
    "0. Kwotę wpisuje się cyframi, z przecinkiem dziesiętnym, bez odstępów i kropek, np. 51234,56. "
    "<link=%s#%s>POKAŻ >>></link><br><br>";
constexpr const char* kTooLargeAmount =
    "<color=clRed><b>%s, Poz.%s.</b><br><color=clNavy>Kwota „%s” przekracza kwoty, jakie może zawierać zeznanie "
    "(10 000 000 000 000 zł), więc obliczenia przyjęły 0. <link=%s#%s>POKAŻ >>></link><br><br>";

// The form's symbol and the printed number of a box of a form instance
// ("PIT-37" and "39" for PIT37a, p39).
std::pair<std::string, std::string> PrintedBox(const std::string& section, const std::string& key) {
  const std::string base = InstanceBase(section);
  for (const PageDefinition& page : PageCatalogue()) {
    if (DefaultInstanceOf(page.info) != base) continue;
    for (const CellInfo& c : page.cells)
      if (SameName(c.name, key)) return {page.info.symbol, c.number.empty() ? key.substr(1) : c.number};
  }
  return {section, key.size() > 1 ? key.substr(1) : key};
}

// The text of a box as the message shows it: short (cut at a whole letter),
// and never markup.
std::string Shown(const std::string& text) {
  constexpr size_t kShown = 40;
  std::string out;
  size_t i = 0;
  for (; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (out.size() >= kShown && (c & 0xC0) != 0x80) break;
    if (c == '<') out += "‹";
    else if (c == '>') out += "›";
    else out += static_cast<char>(c);
  }
  if (i < text.size()) out += "…";
  return out;
}

std::string UnreadableAmountMessage(const UnreadableAmount& u) {
  const auto [form, number] = PrintedBox(u.section, u.key);
  const std::string shown = Shown(u.text);
  std::string upper = u.key;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  std::string text = u.tooLarge ? kTooLargeAmount : kUnreadableAmount;
  for (const std::string* part : {&form, &number, &shown, &u.section, static_cast<const std::string*>(&upper)}) {
    const size_t at = text.find("%s");
    text.replace(at, 2, *part);
  }
  return text;
}

// The printed name of a form whose copies the check runs one by one.
std::string_view CopiedFormName(std::string_view baseName) {
  if (baseName == "PITBa") return "PIT/B";
  if (baseName == "PITOa") return "PIT/O";
  if (baseName == "PITZGa") return "PIT/ZG";
  return {};
}

// 1 for "PITOa", k + 1 for "PITOa_k".
int CopyNumber(std::string_view instance) {
  const size_t bar = instance.find('_');
  if (bar == std::string_view::npos) return 1;
  int n = 0;
  std::from_chars(instance.data() + bar + 1, instance.data() + instance.size(), n);
  return n + 1;
}

// Every message title of a copy's messages names the copy:
// "<b>PIT/O, Poz.28." becomes "<b>PIT/O – kopia 2, Poz.28.".
std::string NamingCopy(std::string text, std::string_view form, int copy) {
  const std::string from = "<b>" + std::string(form) + ", ";
  const std::string to = "<b>" + std::string(form) + " – kopia " + std::to_string(copy) + ", ";
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) text.replace(at, from.size(), to);
  return text;
}

// Removes every "(<link" ... "</link>)" span.
std::string WithoutLinks(std::string text) {
  for (size_t at; (at = text.find("(<link")) != std::string::npos;) {
    const size_t end = text.find("</link>)", at);
    if (end == std::string::npos) break;
    text.erase(at, end + 8 - at);
  }
  return text;
}

}  // namespace

RecalcFn RecalculationFor(std::string_view baseName) {
  for (const auto& e : kRecalculations)
    if (baseName == e.baseName) return e.recalc;
  return nullptr;
}

bool Recalculate(std::string_view instanceName) { return Recalculate(instanceName, true); }

bool Recalculate(std::string_view instanceName, bool adviserChecks) {
  const std::string base = InstanceBase(instanceName);
  RecalcFn recalc = RecalculationFor(base);
  if (!recalc) {
    DebugLog("no recalculation for " + std::string(instanceName));
    return false;
  }
  if (DebugLogEnabled()) DebugLog("recalculate " + std::string(instanceName));
  const SetHold hold;  // every box it writes reaches the file in one replace
  recalc(instanceName);
  if (adviserChecks) AdviserChecks(instanceName);
  return true;
}

WholeReturnCheck CheckWholeReturn() {
  // The list and the current page come back even when a write fails midway.
  struct Keep {
    MessageList messages = CopyMessages();
    std::string page = Store().currentPage;
    ~Keep() {
      RestoreMessages(std::move(messages));
      Store().currentPage = std::move(page);
    }
  } keep;
  const SetHold hold;
  ClearUnreadableAmounts();
  const bool joint = IsJointMethod(TaxationMethod());

  WholeReturnCheck result;
  std::string gathered;
  // Adds the messages of the list to the gathered text, without links; with
  // several copies each names its copy.
  const auto gather = [&](const std::string& instance, std::string_view copiedForm, size_t copies) {
    const MessageList& list = Messages();
    if (list.items.empty() || list.items[0] == kHeaderEmpty) return;
    result.total += HeaderCount(list.items[0]);
    const bool named = copies > 1 && !copiedForm.empty();
    std::string joined;
    for (size_t i = 1; i < list.items.size(); ++i) {
      if (i > 1) joined += '\n';
      joined += list.items[i];
      result.messages.push_back(
          {instance, named ? NamingCopy(list.items[i], copiedForm, CopyNumber(instance)) : list.items[i]});
    }
    joined = WithoutLinks(std::move(joined));
    if (named) joined = NamingCopy(std::move(joined), copiedForm, CopyNumber(instance));
    gathered += joined;
  };
  for (const char* name : kCheckOrder) {
    const std::string_view n = name;
    if ((n == "PITMa_M" || n == "PITZa_M") && !joint) continue;
    // Attachments with copies run every copy, in the order of their numbers;
    // with more than one, each message names its copy.
    std::vector<std::string> instances;
    if (const std::string_view shown = CopiedFormName(n); !shown.empty()) {
      instances = SectionsOfForm(n);
      std::stable_sort(instances.begin(), instances.end(),
                       [](const std::string& a, const std::string& b) { return CopyNumber(a) < CopyNumber(b); });
    } else if (SectionExists(n)) {
      instances.emplace_back(n);
    }
    for (const std::string& instance : instances) {
      // The adviser's checks compare forms with each other: they run once
      // every form is recalculated.
      if (!Recalculate(instance, false)) continue;
      gather(instance, CopiedFormName(n), instances.size());
    }
  }
  for (const char* name : kCheckOrder) {
    std::vector<std::string> instances = CopiedFormName(name).empty() ? std::vector<std::string>{}
                                                                       : SectionsOfForm(name);
    if (instances.empty() && SectionExists(name)) instances.emplace_back(name);
    std::stable_sort(instances.begin(), instances.end(),
                     [](const std::string& a, const std::string& b) { return CopyNumber(a) < CopyNumber(b); });
    for (const std::string& instance : instances) {
      ClearMessages();
      AdviserChecks(instance);
      gather(instance, CopiedFormName(name), instances.size());
    }
  }
  // Amounts no recalculation could read: each its own error, with its link.
  for (const UnreadableAmount& u : UnreadableAmounts()) {
    if (!gathered.empty() && gathered.back() != '\n') gathered += '\n';
    gathered += UnreadableAmountMessage(u);
    result.messages.push_back({u.section, UnreadableAmountMessage(u)});
    ++result.total;
  }
  if (result.total > 0) {
    std::string header = kReturnCounted;
    header.replace(header.find("%d"), 2, std::to_string(result.total));
    result.header = header;
    result.text = header + gathered;
  } else {
    result.header = result.text = kReturnClean;
  }
  return result;
}

}  // namespace solv
