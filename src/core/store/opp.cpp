#include "store/opp.hpp"

#include "store/forms.hpp"
#include "store/store.hpp"

#ifndef SOLV_OPP_KRS
#define SOLV_OPP_KRS ""
#endif
#ifndef SOLV_OPP_NAME
#define SOLV_OPP_NAME ""
#endif

namespace solv {
namespace {

struct OppBoxes {
  const char* section;
  const char* krs;
  const char* amount;
  const char* purpose;
};

constexpr OppBoxes kOppBoxes[6] = {
    {"PIT28a", "P126", "P127", "P128"},  {"PIT36a", "P305", "P306", "P307"}, {"PIT36La", "P105", "P106", "P107"},
    {"PIT37a", "P124", "P125", "P126"}, {"PIT38a", "P58", "P59", "P60"},     {"PIT39a", "P51", "P52", "P53"},
};

bool InRange(int n) { return n >= 0 && n < 6; }

}  // namespace

std::string OppNumberKrs() { return SOLV_OPP_KRS; }
std::string OppName() { return SOLV_OPP_NAME; }

std::optional<int> MainFormNumber() {
  const int i = MainFormCodeIndex(ReadField("PIT", {}, "MAIN"));
  if (i >= 0 && i <= 5) return i;
  return std::nullopt;
}

void FillOppBoxes(int n) {
  if (!InRange(n)) return;
  const OppBoxes& b = kOppBoxes[n];
  WriteField(b.krs, OppNumberKrs(), b.section);
  // Stored as ""pomagam podatkiem"": a read drops one pair of quotes.
  WriteField(b.purpose, "\"pomagam podatkiem\"", b.section);
}

bool OppKrsFilled(int n) { return InRange(n) && !ReadField(kOppBoxes[n].krs, {}, kOppBoxes[n].section).empty(); }

}  // namespace solv
