// Transfers between forms: the blue "i" markers next to main-form boxes
// whose amount waits on an attachment, the balloon each shows and the
// pending transfer a balloon click applies.
//
// The rules and what their sources offer are in calc/transfer_rules.hpp.
//
// Everything here is decided without windows. The GUI places the markers
// (tag 91, 20 x 20 pixels, 30 pixels right of the box's left edge and 20
// above its top), shows the balloons and applies the pending transfer; it
// also skips transfer markers whose target box is locked on the shown page
// (MarkersFor only knows the cells' static editability).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/transfer_rules.hpp"

namespace solv {

struct TransferMarker {
  std::string targetInstance;  // "PIT37a"
  std::string targetBox;       // box as the rule names it ("P99")
  std::string cellName;        // the cell on the page ("p99")
  bool information = false;    // only informs; a click shows the balloon
  std::string value;           // the text a balloon click puts into the box
  std::string title;           // "Przenieś (kliknij)" or "Informacja"
  std::string text;            // balloon text, lines separated by "\n"
  std::string hint;            // marker hint: the rule text, or "Informacja|" + text
};

// The markers to show on a page (class "TPIT37b") of a form instance
// ("PIT37a", "PITZa_M"), in rule order, read from the open set. Instances
// of forms without rules (and "PITBa_1"-style names) give none.
std::vector<TransferMarker> MarkersFor(std::string_view instanceName, std::string_view pageClassName);

// The pending transfer of a shown balloon: "INSTANCE#BOX#VALUE#".
std::string PendingTransferText(const TransferMarker& marker);
struct PendingTransfer {
  std::string instance, box, value;
};
std::optional<PendingTransfer> ParsePendingTransfer(std::string_view text);

}  // namespace solv
