#include "shell/transfers.hpp"

#include "report/page_definition.hpp"
#include "store/forms.hpp"
#include "store/store.hpp"
#include "util/ascii.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

const char* const kTransferTitle = "Przenieś (kliknij)";

const CellInfo* FindCell(const PageDefinition& page, std::string_view box) {
  for (const CellInfo& c : page.cells)
    if (EqualsIgnoreAsciiCase(c.name, box)) return &c;
  return nullptr;
}

}  // namespace

std::vector<TransferMarker> MarkersFor(std::string_view instanceName, std::string_view pageClassName) {
  std::vector<TransferMarker> markers;
  const int group = FormIndex(instanceName);
  const PageDefinition* page = FindPage(pageClassName);
  if (group < 0 || !page) return markers;
  std::string shownPage = page->info.pageName;
  if (const size_t cut = instanceName.find('_'); cut != std::string_view::npos) shownPage += instanceName.substr(cut);
  const std::string instance(instanceName);

  SetHold hold;
  for (const TransferRule& rule : TransferRules()) {
    if (rule.group != group || rule.targetPage != shownPage) continue;
    const CellInfo* cell = FindCell(*page, rule.targetBox);
    if (!cell) continue;
    TransferMarker m;
    m.targetInstance = TargetInstanceOf(rule.targetPage);
    m.targetBox = rule.targetBox;
    m.cellName = cell->name;

    if (rule.kind == TransferKind::Information) {
      const ConditionResult c = EvaluateCondition(rule.condition, m.targetInstance);
      if (!c.holds) continue;
      m.information = true;
      m.title = "Informacja";
      m.text = FillTransferText(rule.message, {c.value});
      m.hint = "Informacja|" + m.text;
      markers.push_back(std::move(m));
      continue;
    }
    if (!cell->editable) continue;
    std::optional<TransferOffer> offer = OfferOf(rule);
    // An amount carried earlier that the source no longer shows: the marker
    // says so, and its balloon carries the amount the source shows now.
    const std::string inBox = ReadField(rule.targetBox, "0", m.targetInstance);
    const std::string carried = RecordedCarry(m.targetInstance, rule.targetBox);
    const bool stale = !carried.empty() && ToGrosz(ParseAmount(carried, 0)) == ToGrosz(ParseAmount(inBox, 0)) &&
                       ToGrosz(ParseAmount(inBox, 0)) != 0 &&
                       (!offer || ToGrosz(ParseAmount(offer->value, 0)) != ToGrosz(ParseAmount(inBox, 0)));
    if (!offer && stale) offer = TransferOffer{"0,00", OfferTextWhenEmpty(rule), rule.text};
    if (!offer) continue;
    m.title = kTransferTitle;
    m.hint = offer->hint;
    m.value = offer->value;
    m.text = offer->text;
    if (stale)
      m.text += "\nKwota przeniesiona wcześniej do poz." + BoxNumber(rule.targetBox) + " (" + inBox +
                ") nie jest już równa kwocie do przeniesienia.";
    markers.push_back(std::move(m));
  }
  return markers;
}

std::string PendingTransferText(const TransferMarker& marker) {
  return marker.targetInstance + "#" + marker.targetBox + "#" + marker.value + "#";
}

std::optional<PendingTransfer> ParsePendingTransfer(std::string_view text) {
  const std::vector<std::string> parts = SplitTransferText(text, '#');
  if (parts.size() < 3 || parts[0].empty() || parts[1].empty()) return std::nullopt;
  return PendingTransfer{parts[0], parts[1], parts[2]};
}

}  // namespace solv
