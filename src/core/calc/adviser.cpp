#include "calc/adviser.hpp"

#include <charconv>
#include <string>
#include <vector>

#include "calc/adviser_messages.hpp"
#include "calc/rules.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"

namespace solv {

namespace {

// A box of a main form that counts the copies of one attachment.
struct CountBox {
  const char* section;  // the main form
  const char* page;     // the page the box is on, for the links
  const char* box;      // its number
  const char* attachment;
  const char* base;     // the attachment's section
  bool spouseCopy;      // "<base>_M" (the spouse's) counts too under joint taxation
};

// The attachment counts of part "Informacja o załącznikach" of each main form.
constexpr CountBox kCountBoxes[] = {
    {"PIT37a", "PIT37c", "129", "PIT/O", "PITOa", false},
    {"PIT37a", "PIT37c", "130", "PIT/D", "PITDa", false},
    {"PIT37a", "PIT37c", "131", "PIT-2K", "PIT2Ka", false},
    {"PIT28a", "PIT28d", "131", "PIT-28/A", "PIT28Aa", false},
    {"PIT28a", "PIT28d", "132", "PIT-28/B", "PIT28Ba", false},
    {"PIT28a", "PIT28d", "133", "PIT/O", "PITOa", false},
    {"PIT28a", "PIT28d", "134", "PIT/D", "PITDa", false},
    {"PIT28a", "PIT28d", "135", "PIT-2K", "PIT2Ka", false},
    {"PIT36a", "PIT36f", "310", "PIT/B", "PITBa", false},
    {"PIT36a", "PIT36f", "311", "PIT/D", "PITDa", false},
    {"PIT36a", "PIT36f", "312", "PIT/M", "PITMa", true},
    {"PIT36a", "PIT36f", "313", "PIT/O", "PITOa", false},
    {"PIT36a", "PIT36f", "314", "PIT/Z", "PITZa", true},
    {"PIT36a", "PIT36f", "315", "PIT/ZG", "PITZGa", false},
    {"PIT36a", "PIT36f", "316", "PIT-2K", "PIT2Ka", false},
    {"PIT36La", "PIT36Lc", "110", "PIT/B", "PITBa", false},
    {"PIT36La", "PIT36Lc", "111", "PIT/Z", "PITZa", false},
    {"PIT36La", "PIT36Lc", "112", "PIT/ZG", "PITZGa", false},
    {"PIT38a", "PIT38b", "63", "PIT/ZG", "PITZGa", false},
    {"PIT39a", "PIT39b", "56", "PIT/ZG", "PITZGa", false},
};

const char* FormName(std::string_view section) {
  if (section == "PIT28a") return "PIT-28";
  if (section == "PIT36a") return "PIT-36";
  if (section == "PIT36La") return "PIT-36L";
  if (section == "PIT37a") return "PIT-37";
  if (section == "PIT38a") return "PIT-38";
  return "PIT-39";
}

// Replaces each "%s" in turn.
std::string Filled(std::string text, const std::vector<std::string>& values) {
  size_t at = 0;
  for (const std::string& v : values) {
    at = text.find("%s", at);
    if (at == std::string::npos) break;
    text.replace(at, 2, v);
    at += v.size();
  }
  return text;
}

// The copies of an attachment in the set: every instance of a form with
// copies; the spouse's copy only where it counts.
int CopiesInSet(const CountBox& c) {
  int n = 0;
  for (const std::string& section : SectionsOfForm(c.base)) {
    const bool spouse = section == std::string(c.base) + "_M";
    if (spouse && !(c.spouseCopy && IsJointMethod(TaxationMethod()))) continue;
    ++n;
  }
  return n;
}

// The number entered in a count box; an empty box counts 0, text that is no
// whole number -1 (never equal to a count).
int EnteredCount(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return 0;
  const size_t last = text.find_last_not_of(' ');
  int n = 0;
  const char* begin = text.data() + first;
  const char* end = text.data() + last + 1;
  auto [stop, ec] = std::from_chars(begin, end, n);
  return ec == std::errc() && stop == end && n >= 0 ? n : -1;
}

void CheckAttachmentCounts(std::string_view section) {
  for (const CountBox& c : kCountBoxes) {
    if (section != c.section) continue;
    const int inSet = CopiesInSet(c);
    const int entered = EnteredCount(ReadField(std::string("p") + c.box, "", section));
    if (entered == inSet) continue;
    const std::string count = std::to_string(inSet);
    // The box's text is never shown as it stands (it could hold markup).
    const std::string shown = entered >= 0 ? std::to_string(entered) : "tekst, który nie jest liczbą";
    AddMessage(Filled(adviser::kAttachmentCount, {FormName(section), c.box, c.attachment, c.attachment, count, c.box,
                                                  shown, count, c.page, c.box, c.page, c.box}));
  }
}

}  // namespace

void AdviserChecks(std::string_view mainSection) {
  if (mainSection != "PIT28a" && mainSection != "PIT36a" && mainSection != "PIT36La" && mainSection != "PIT37a" &&
      mainSection != "PIT38a" && mainSection != "PIT39a")
    return;
  CheckAttachmentCounts(mainSection);
}

}  // namespace solv
