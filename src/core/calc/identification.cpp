#include "calc/identification.hpp"

#include <algorithm>
#include <string>

#include "calc/rules.hpp"
#include "store/store.hpp"

namespace solv {
namespace {

std::string P(int box) { return "p" + std::to_string(box); }

// Offset of the i-th box of a copied range on one side (PIT-28 skips box 11;
// PIT-2K keeps its boxes 3 and 4 in the other order).
int SideOffset(std::string_view section, int i) {
  if (SameName(section, "PIT28a") && i >= 4) return i + 1;
  if (SameName(section, "PIT2Ka") && i == 2) return 3;
  if (SameName(section, "PIT2Ka") && i == 3) return 2;
  return i;
}

}  // namespace

const std::array<IdRow, kFormCount> kIdentificationTable = {{
    {{{1, 1}, {7, 14}, {-1, 0}, {-1, 0}}},    // PIT28a
    {{{1, 1}, {11, 14}, {2, 1}, {25, 14}}},   // PIT36a
    {{{1, 1}, {7, 14}, {-1, 0}, {-1, 0}}},    // PIT36La
    {{{1, 1}, {11, 14}, {2, 1}, {25, 14}}},   // PIT37a
    {{{1, 1}, {7, 14}, {-1, 0}, {-1, 0}}},    // PIT38a
    {{{1, 1}, {7, 14}, {-1, 0}, {-1, 0}}},    // PIT39a
    {{{-1, 0}, {-1, 0}, {-1, 0}, {-1, 0}}},   // PIT40a
    {{{-1, 0}, {4, 4}, {-1, 0}, {-1, 0}}},    // PITBa
    {{{1, 1}, {4, 14}, {2, 1}, {18, 14}}},    // PITDa
    {{{1, 1}, {3, 4}, {-1, 0}, {-1, 0}}},     // PITMa
    {{{1, 1}, {5, 4}, {2, 1}, {9, 4}}},       // PITOa
    {{{1, 1}, {3, 4}, {-1, 0}, {-1, 0}}},     // PITZa
    {{{1, 1}, {3, 14}, {2, 1}, {17, 14}}},    // PIT2Ka
    {{{1, 1}, {3, 4}, {-1, 0}, {-1, 0}}},     // PIT28Aa
    {{{1, 1}, {3, 4}, {-1, 0}, {-1, 0}}},     // PIT28Ba
    {{{-1, 0}, {3, 4}, {-1, 0}, {-1, 0}}},    // PITZGa
    {{{-1, 0}, {-1, 0}, {1, 1}, {3, 4}}},     // PITMa_M
    {{{-1, 0}, {-1, 0}, {1, 1}, {3, 4}}},     // PITZa_M
}};

void CopyFieldRange(bool always, std::string_view sourceSection, int sourceFirst, int sourceCount,
                    std::string_view targetSection, int targetFirst, int targetCount) {
  if (!always && !SectionExists(targetSection)) return;
  const int n = std::min(sourceCount, targetCount);
  for (int i = 0; i < n; ++i) {
    const int from = SideOffset(sourceSection, i), to = SideOffset(targetSection, i);
    // PIT-28 skips its box 11, so the last box of a block would land past
    // the block, in PIT-28's first revenue box 21: never copy outside a block.
    if (from >= sourceCount || to >= targetCount) continue;
    const std::string value = ReadField(P(sourceFirst + from), {}, sourceSection);
    WriteField(P(targetFirst + to), value, targetSection);
  }
}

void CopyIdentification(int sourceForm, int targetForm, bool always, std::string_view sourceSection,
                        std::string_view targetSection) {
  if (sourceForm < 0) sourceForm = ActiveMainForm();
  if (targetForm < 0) targetForm = ActiveMainForm();
  if (sourceForm < 0 || sourceForm >= kFormCount || targetForm < 0 || targetForm >= kFormCount) return;

  const bool sourceGiven = !sourceSection.empty();
  const bool targetGiven = !targetSection.empty();
  const std::string source = sourceGiven ? std::string(sourceSection) : kFormBaseNames[sourceForm];
  const std::string target = targetGiven ? std::string(targetSection) : kFormBaseNames[targetForm];

  // Pair index where copying starts on the main side, and how far the
  // attachment side is shifted back (a spouse's attachment).
  int start = 0, sourceShift = 0, targetShift = 0;
  if (sourceGiven && targetGiven) {
    if (!ReadField("p1", {}, target).empty()) return;
  } else if (sourceGiven || targetGiven) {
    const std::string& attachment = sourceGiven ? source : target;
    const std::string& main = sourceGiven ? target : source;
    const std::string id = ReadField("p1", {}, attachment);
    if (id == ReadField("p1", {}, main)) {
      start = 0;
    } else if (id == ReadField("p2", {}, main)) {
      start = 2;
      (sourceGiven ? sourceShift : targetShift) = 2;
    } else {
      return;
    }
  }

  const bool stopsAfterTaxpayer = (sourceForm == kPITD || sourceForm == kPITO || targetForm == kPITD ||
                                   targetForm == kPITO) &&
                                  !((sourceForm == kPITD && targetForm == kPIT2K) ||
                                    (sourceForm == kPIT2K && targetForm == kPITD));
  const bool joint = TaxationMethod() == 2 || TaxationMethod() == 3;
  for (int pair = start; pair < 4; ++pair) {
    if (pair >= 2 && stopsAfterTaxpayer && !joint) break;
    const IdBlock s = kIdentificationTable[sourceForm][pair - sourceShift];
    const IdBlock t = kIdentificationTable[targetForm][pair - targetShift];
    if (s.first < 0 || t.first < 0) continue;
    CopyFieldRange(always, source, s.first, s.count, target, t.first, t.count);
  }
}

void PropagateIdentification(int editedForm, std::string_view editedSection) {
  const auto allowed = Store().allowed;
  for (int i = 0; i < kFormCount; ++i) {
    if (!allowed[i]) continue;
    if (i == editedForm && i != kPITB && i != kPITO && i != kPITZG) continue;
    if (i == kPITB || i == kPITZG) {
      for (const auto& section : SectionsOfForm(kFormBaseNames[i]))
        if (!SameName(section, editedSection)) CopyIdentification(editedForm, i, false, editedSection, section);
    } else if (i == kPITO) {
      if (editedForm < 0 || editedForm >= kFormCount) continue;
      const std::string from = kFormBaseNames[editedForm];
      const std::string p1 = ReadField("p1", {}, from), p2 = ReadField("p2", {}, from);
      for (const auto& section : SectionsOfForm(kFormBaseNames[kPITO])) {
        WriteField("p1", p1, section);
        WriteField("p2", p2, section);
      }
    } else {
      CopyIdentification(editedForm, i, false, editedSection, {});
    }
  }
  ReloadOpenPages();
}

}  // namespace solv
