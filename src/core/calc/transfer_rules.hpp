// Transfer rules between forms: the rule table in its small notation, and
// what a rule's sources offer for its target, read from the open set.
//
// The rules are kept as texts and parsed at start-up:
//   KIND|TARGETPAGE#TARGETBOX#SOURCE#SOURCEBOX[#OP#SOURCE2#SOURCEBOX2]##MESSAGE[#MESSAGE2]
//   Informacja|TARGETPAGE#TARGETBOX#[CONDITION]##MESSAGE
// KIND is "Przeniesienie" (transfer) or "Informacja" (information). OP is
// "+" (sum of both sources) or "0<" (the second source when it is above 0).
// SOURCE "PITZGa" / "PITBa" stands for all PIT/ZG / PIT/B instances.
// A line break inside a message is "\n" (balloons show plain text).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solv {

enum class TransferKind { Transfer, Information };

struct TransferRule {
  std::string text;          // the rule as written
  int group = -1;            // form index of the pages it serves
  TransferKind kind = TransferKind::Transfer;
  std::string targetPage;    // "PIT37b", "PITZb_M"
  std::string targetBox;     // "P99"
  std::string source;        // "PITOa", "PITZGa", "PITBa", "PITMa_M"
  std::string sourceBox;     // "P28", "P10a"
  std::string operation;     // "", "+" or "0<"
  std::string secondSource;
  std::string secondSourceBox;
  std::string condition;     // information rules: "[P73*P51/100>P37]"
  std::string message;
  std::string secondMessage;
};

struct TransferRuleText {
  int group;
  const char* text;
};
// The 88 rules as texts, grouped by the form index of the page shown.
const std::vector<TransferRuleText>& TransferRuleTexts();

// Parses one rule; nullopt when the text does not follow the notation.
std::optional<TransferRule> ParseTransferRule(std::string_view text, int group);
// The rules parsed once, in table order (a rule that does not parse is left out).
const std::vector<TransferRule>& TransferRules();

// The instance a target page belongs to: the page letter (the last letter,
// or the letter before '_') replaced by 'a': "PIT37b" -> "PIT37a",
// "PITZb_M" -> "PITZa_M".
std::string TargetInstanceOf(std::string_view targetPage);

// "P10a" -> "10a": the box number a message names.
std::string BoxNumber(std::string_view box);

// A condition of an information rule: "[LEFT op RIGHT]", op the first of
// '<', '<=', '>', '>=', '=' from the left; LEFT and RIGHT are evaluated from
// left to right without precedence over box references ("P" and digits)
// and unsigned integers with '*', '+' and '/'; another operator character
// makes that step 0; the running value is rounded to grosz after every
// step. `value` is LEFT for '>', '>=', '=' and RIGHT for '<', '<=', as
// "%.2f" text. Anything malformed (no brackets, no operator, an empty side,
// a stray character, a division by 0, a value out of range) does not hold.
struct ConditionResult {
  bool holds = false;
  std::string value;
};
using BoxReader = std::function<double(std::string_view box)>;
ConditionResult EvaluateCondition(std::string_view condition, const BoxReader& readBox);
// The same with the boxes read from a section of the open set.
ConditionResult EvaluateCondition(std::string_view condition, std::string_view section);

// PIT/ZG sources. The owner is the "p1" of PIT38a, else of PIT39a, else of
// PIT36a for target boxes below 81 and 168, 173, nobody for 81..87 and the
// spouse ("p2" of PIT36a) otherwise; empty when there is none.
std::string PitZgOwner(int targetBoxNumber);
// Sum of box over the owner's PIT/ZG instances whose value is above 0.
double PitZgSum(std::string_view box, std::string_view owner);
// The sum as the balloon transfers it: "P33" limited by the PIT-38 foreign
// tax share, "P29" by the PIT-36 one; other boxes unchanged. A share whose
// denominator is not above 0 limits to the whole tax.
double PitZgLimited(std::string_view box, std::string_view owner, double sum);

// The PIT/B instance a PIT/Z box takes its amount from: the first in file
// order whose box is above 0 and whose "p1" is the PIT36a "p1" (taxpayer)
// or "p2" (spouse). Empty without PIT36a, without an identifier or match.
std::string PitBSource(std::string_view box, bool spouse);


// What a transfer rule's sources offer now: the text a carry puts into the
// target box, the balloon text (lines separated by "\n") and the marker's
// hint; nullopt when they hold nothing above 0 (for PIT/ZG and PIT/B also
// when there is no owner or no matching copy).
struct TransferOffer {
  std::string value;
  std::string text;
  std::string hint;
};
std::optional<TransferOffer> OfferOf(const TransferRule& rule);
// Carries made by a click on a transfer balloon are written down in the set
// (section "PRZENIESIONE", key "<instance>.<BOX>", the amount carried), so
// that a carried amount that its source no longer shows can be told from
// one entered by hand.
inline constexpr const char* kCarrySection = "PRZENIESIONE";
void RecordCarry(std::string_view instance, std::string_view box, std::string_view value);
// The amount last carried into the box, empty when none was.
std::string RecordedCarry(std::string_view instance, std::string_view box);

// A rule's message with its "%s" / "%.2f" placeholders filled in order.
std::string FillTransferText(std::string_view message, const std::vector<std::string>& args);
// The parts of a rule or pending-transfer text between its separators.
std::vector<std::string> SplitTransferText(std::string_view text, char separator);

// The balloon text of a rule whose sources hold nothing: its message with
// the amount 0,00.
std::string OfferTextWhenEmpty(const TransferRule& rule);

}  // namespace solv
