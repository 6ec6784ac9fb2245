#include "calc/transfer_rules.hpp"

#include <algorithm>
#include <cmath>

#include "calc/rules.hpp"
#include "store/forms.hpp"
#include "store/store.hpp"
#include "util/ascii.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

const char* const kPitBMessage = "Kwota wykazana w załącznikach PIT/B poz.%s wynosi %s";
const char* const kPitBNote =
    "Uwaga: kwoty wynikające z poz. 53 do 56 załącznika PIT/B należy przenieść albo do części B.1 albo do "
    "części C.1 PIT/Z.";

std::vector<std::string> Split(std::string_view s, char sep) {
  std::vector<std::string> parts;
  size_t from = 0;
  for (;;) {
    const size_t at = s.find(sep, from);
    parts.emplace_back(s.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
    if (at == std::string_view::npos) return parts;
    from = at + 1;
  }
}

bool IsBoxName(std::string_view box) {
  if (box.size() < 2 || box[0] != 'P' || box[1] < '0' || box[1] > '9') return false;
  return std::all_of(box.begin() + 1, box.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); });
}

bool IsSectionName(std::string_view s) {
  return s.size() >= 4 && s.substr(0, 3) == "PIT" && std::all_of(s.begin(), s.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
         });
}

// Fills the "%s" / "%.2f" placeholders of a message in order.
std::string Fill(std::string_view message, const std::vector<std::string>& args) {
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < message.size();) {
    const std::string_view rest = message.substr(i);
    const size_t len = rest.starts_with("%s") ? 2 : rest.starts_with("%.2f") ? 4 : 0;
    if (len && next < args.size()) {
      out += args[next++];
      i += len;
    } else {
      out += message[i++];
    }
  }
  return out;
}

int BoxNumberValue(std::string_view box) {
  int n = 0;
  for (size_t i = 1; i < box.size() && box[i] >= '0' && box[i] <= '9' && n < 100000; ++i) n = n * 10 + (box[i] - '0');
  return n;
}

// Running values stay far inside the range that renders exactly.
constexpr long double kLimit = 1e15L;

long double Rounded(long double x) { return ParseAmount(FormatRounded("%.2f", x), 0); }

// One side of a condition; nullopt when malformed.
std::optional<long double> Evaluate(std::string_view expr, const BoxReader& readBox) {
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < expr.size() && expr[i] == ' ') ++i;
  };
  auto operand = [&]() -> std::optional<long double> {
    skipBlanks();
    const bool box = i < expr.size() && (expr[i] == 'P' || expr[i] == 'p');
    const size_t start = i;
    if (box) ++i;
    const size_t digits = i;
    while (i < expr.size() && expr[i] >= '0' && expr[i] <= '9' && i - digits < 15) ++i;
    if (i == digits || (i < expr.size() && expr[i] >= '0' && expr[i] <= '9')) return std::nullopt;
    const std::string_view token = expr.substr(start, i - start);
    const long double v =
        box ? static_cast<long double>(readBox ? readBox(token) : 0.0) : ParseAmount(token, 0);
    skipBlanks();
    if (!std::isfinite(v) || std::fabs(v) > kLimit) return std::nullopt;
    return v;
  };
  auto value = operand();
  if (!value) return std::nullopt;
  while (i < expr.size()) {
    const char op = expr[i++];
    if ((op >= '0' && op <= '9') || op == 'P' || op == 'p') return std::nullopt;
    const auto right = operand();
    if (!right) return std::nullopt;
    long double v = 0;
    switch (op) {
      case '*': v = *value * *right; break;
      case '+': v = *value + *right; break;
      case '/':
        if (*right == 0) return std::nullopt;
        v = *value / *right;
        break;
      default: v = 0;  // an unknown operator makes the step 0
    }
    if (!std::isfinite(v) || std::fabs(v) > kLimit) return std::nullopt;
    value = Rounded(v);
  }
  return value;
}

std::string Money(double x) { return Format("%.2f", static_cast<long double>(x)); }


}  // namespace

const std::vector<TransferRuleText>& TransferRuleTexts() {
  static const std::vector<TransferRuleText> kTexts{
    {0, "Przeniesienie|PIT28b#P66#PITOa#P28##Kwota wykazana w załączniku PIT/O poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28c#P102#PITOa#P42##Kwota wykazana w załączniku PIT/O poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28b#P68#PITDa#P33#0<#PITDa#P35##Kwota wykazana w załączniku PIT/D poz.%s wynosi %s"},
    {0, "Informacja|PIT28b#P74#[P73*P51/100>P37]##Wartość wynikająca z wyliczenia wynosi %.2f\nKwota wykazana na deklaracji została pomniejszona do wysokości wynikajacej z ograniczenia."},
    {0, "Informacja|PIT28b#P75#[P73*P52/100>P38]##Wartość wynikająca z wyliczenia wynosi %.2f\nKwota wykazana na deklaracji została pomniejszona do wysokości wynikajacej z ograniczenia."},
    {0, "Informacja|PIT28b#P76#[P73*P53/100>P39]##Wartość wynikająca z wyliczenia wynosi %.2f\nKwota wykazana na deklaracji została pomniejszona do wysokości wynikajacej z ograniczenia."},
    {0, "Informacja|PIT28b#P77#[P73*P54/100>P40]##Wartość wynikająca z wyliczenia wynosi %.2f\nKwota wykazana na deklaracji została pomniejszona do wysokości wynikajacej z ograniczenia."},
    {0, "Informacja|PIT28b#P78#[P73*P55/100>P41]##Wartość wynikająca z wyliczenia wynosi %.2f\nKwota wykazana na deklaracji została pomniejszona do wysokości wynikajacej z ograniczenia."},
    {0, "Informacja|PIT28b#P79#[P73*P56/100>P42]##Wartość wynikająca z wyliczenia wynosi %.2f\nKwota wykazana na deklaracji została pomniejszona do wysokości wynikajacej z ograniczenia."},
    {0, "Przeniesienie|PIT28b#P70#PITDa#P43#0<#PITDa#P45##Kwota wykazana w załączniku PIT/D poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28c#P103#PITDa#P52#0<#PITDa#P54##Kwota wykazana w załączniku PIT/D poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P21#PIT28Aa#P10##Kwota wykazana w załączniku PIT-28/A poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P22#PIT28Aa#P11##Kwota wykazana w załączniku PIT-28/A poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P23#PIT28Aa#P12##Kwota wykazana w załączniku PIT-28/A poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P24#PIT28Aa#P13##Kwota wykazana w załączniku PIT-28/A poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P25#PIT28Aa#P14##Kwota wykazana w załączniku PIT-28/A poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P26#PIT28Aa#P15##Kwota wykazana w załączniku PIT-28/A poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P28#PIT28Ba#P92##Kwota wykazana w załączniku PIT-28/B poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P29#PIT28Ba#P93##Kwota wykazana w załączniku PIT-28/B poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P30#PIT28Ba#P94##Kwota wykazana w załączniku PIT-28/B poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P31#PIT28Ba#P95##Kwota wykazana w załączniku PIT-28/B poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P32#PIT28Ba#P96##Kwota wykazana w załączniku PIT-28/B poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P33#PIT28Ba#P97##Kwota wykazana w załączniku PIT-28/B poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P35#PIT28Aa#P16##Kwota wykazana w załączniku PIT-28/A poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P44#PIT28Aa#P17#+#PIT28Ba#P98##Kwota wykazana w załączniku PIT-28/A poz.%s wynosi %s#Kwota wykazana w załączniku PIT-28/B poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P45#PIT28Aa#P18#+#PIT28Ba#P99##Kwota wykazana w załączniku PIT-28/A poz.%s wynosi %s#Kwota wykazana w załączniku PIT-28/B poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P46#PIT28Aa#P19#+#PIT28Ba#P100##Kwota wykazana w załączniku PIT-28/A poz.%s wynosi %s#Kwota wykazana w załączniku PIT-28/B poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P47#PIT28Aa#P20#+#PIT28Ba#P101##Kwota wykazana w załączniku PIT-28/A poz.%s wynosi %s#Kwota wykazana w załączniku PIT-28/B poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P48#PIT28Aa#P21#+#PIT28Ba#P102##Kwota wykazana w załączniku PIT-28/A poz.%s wynosi %s#Kwota wykazana w załączniku PIT-28/B poz.%s wynosi %s"},
    {0, "Przeniesienie|PIT28a#P49#PIT28Aa#P22#+#PIT28Ba#P103##Kwota wykazana w załączniku PIT-28/A poz.%s wynosi %s#Kwota wykazana w załączniku PIT-28/B poz.%s wynosi %s"},
    {3, "Przeniesienie|PIT37b#P99#PITOa#P28##Kwota wykazana w załączniku PIT/O poz.%s wynosi %s"},
    {3, "Przeniesienie|PIT37b#P100#PITOa#P29##Kwota wykazana w załączniku PIT/O poz.%s wynosi %s"},
    {3, "Przeniesienie|PIT37b#P101#PITDa#P34#0<#PITDa#P37##Kwota wykazana w załączniku PIT/D poz.%s wynosi %s"},
    {3, "Przeniesienie|PIT37b#P102#PITDa#P44#0<#PITDa#P47##Kwota wykazana w załączniku PIT/D poz.%s wynosi %s"},
    {3, "Przeniesienie|PIT37c#P114#PITOa#P42##Kwota wykazana w załączniku PIT/O poz.%s wynosi %s"},
    {3, "Przeniesienie|PIT37c#P115#PITOa#P43##Kwota wykazana w załączniku PIT/O poz.%s wynosi %s"},
    {3, "Przeniesienie|PIT37c#P117#PITDa#P53#0<#PITDa#P56##Kwota wykazana w załączniku PIT/D poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36c#P145#PITOa#P28##Kwota wykazana w załączniku PIT/O poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36c#P146#PITOa#P29##Kwota wykazana w załączniku PIT/O poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36c#P131#PITMa#P30##Kwota wykazana w załączniku PIT/M poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36c#P132#PITMa#P31##Kwota wykazana w załączniku PIT/M poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36c#P132#PITMa_M#P30##Kwota wykazana w załączniku PIT/M poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36c#P131#PITMa_M#P31##Kwota wykazana w załączniku PIT/M poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36c#P147#PITDa#P34#0<#PITDa#P37##Kwota wykazana w załączniku PIT/D poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36c#P150#PITDa#P44#0<#PITDa#P47##Kwota wykazana w załączniku PIT/D poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36d#P180#PITOa#P42##Kwota wykazana w załączniku PIT/O poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36d#P181#PITOa#P43##Kwota wykazana w załączniku PIT/O poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36d#P182#PITDa#P53#0<#PITDa#P56##Kwota wykazana w załączniku PIT/D poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36d#P192#PIT36a#P189##Kwota wykazana w PIT-36 poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P45#PITZGa#P10a##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P46#PITZGa#P10b##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P64#PITZGa#P16a##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P65#PITZGa#P16b##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P69#PITZGa#P19a##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P70#PITZGa#P19b##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P74#PITZGa#P22a##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P75#PITZGa#P22b##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P79#PITZGa#P25a##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P80#PITZGa#P25b##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36c#P168#PITZGa#P27##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36d#P173#PITZGa#P29##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P88#PITZGa#P10a##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P89#PITZGa#P10b##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P107#PITZGa#P16a##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P108#PITZGa#P16b##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P112#PITZGa#P19a##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P113#PITZGa#P19b##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P117#PITZGa#P22a##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P118#PITZGa#P22b##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P122#PITZGa#P25a##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36b#P123#PITZGa#P25b##Kwota wykazana w załącznikach podatnika PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36c#P169#PITZGa#P27##Kwota wykazana w załącznikach małżonka PIT/ZG poz.%s wynosi %s"},
    {1, "Przeniesienie|PIT36d#P174#PITZGa#P29##Kwota wykazana w załącznikach małżonka PIT/ZG poz.%s wynosi %s"},
    {2, "Przeniesienie|PIT36Lb#P59#PIT36La#P56##Kwota wykazana w PIT-36L poz.%s wynosi %s"},
    {4, "Przeniesienie|PIT38a#P23#PITZGa#P32a##Kwota wykazana w załącznikach PIT/ZG poz.%s wynosi %s"},
    {4, "Przeniesienie|PIT38a#P24#PITZGa#P32b##Kwota wykazana w załącznikach PIT/ZG poz.%s wynosi %s"},
    {4, "Przeniesienie|PIT38a#P33#PITZGa#P33##Kwota wykazana w załącznikach (po uwzględnieniu limitu) PIT/ZG poz.%s wynosi %s"},
    {5, "Przeniesienie|PIT39a#P21#PITZGa#P34a##Kwota wykazana w załącznikach PIT/ZG poz.%s wynosi %s"},
    {5, "Przeniesienie|PIT39a#P22#PITZGa#P34b##Kwota wykazana w załącznikach PIT/ZG poz.%s wynosi %s"},
    {5, "Przeniesienie|PIT39a#P29#PITZGa#P35##Kwota wykazana w załącznikach (po uwzględnieniu limitu) PIT/ZG poz.%s wynosi %s"},
    {11, "Przeniesienie|PITZa#P7#PITBa#P53##Kwota wykazana w załącznikach PIT/B poz.%s wynosi %s"},
    {11, "Przeniesienie|PITZa#P8#PITBa#P54##Kwota wykazana w załącznikach PIT/B poz.%s wynosi %s"},
    {11, "Przeniesienie|PITZb#P24#PITBa#P53##Kwota wykazana w załącznikach PIT/B poz.%s wynosi %s"},
    {11, "Przeniesienie|PITZb#P25#PITBa#P54##Kwota wykazana w załącznikach PIT/B poz.%s wynosi %s"},
    {17, "Przeniesienie|PITZa_M#P7#PITBa#P53##Kwota wykazana w załącznikach PIT/B poz.%s wynosi %s"},
    {17, "Przeniesienie|PITZa_M#P8#PITBa#P54##Kwota wykazana w załącznikach PIT/B poz.%s wynosi %s"},
    {17, "Przeniesienie|PITZb_M#P24#PITBa#P53##Kwota wykazana w załącznikach PIT/B poz.%s wynosi %s"},
    {17, "Przeniesienie|PITZb_M#P25#PITBa#P54##Kwota wykazana w załącznikach PIT/B poz.%s wynosi %s"},
  };
  return kTexts;
}

std::optional<TransferRule> ParseTransferRule(std::string_view text, int group) {
  const size_t bar = text.find('|');
  const size_t messages = text.find("##");
  if (bar == std::string_view::npos || messages == std::string_view::npos || messages < bar) return std::nullopt;
  TransferRule r;
  r.text = std::string(text);
  r.group = group;
  const std::string_view kind = text.substr(0, bar);
  if (kind == "Przeniesienie") r.kind = TransferKind::Transfer;
  else if (kind == "Informacja") r.kind = TransferKind::Information;
  else return std::nullopt;

  const std::vector<std::string> head = Split(text.substr(bar + 1, messages - bar - 1), '#');
  const std::vector<std::string> msgs = Split(text.substr(messages + 2), '#');
  if (msgs.size() > 2 || msgs[0].empty()) return std::nullopt;
  r.message = msgs[0];
  if (msgs.size() == 2) r.secondMessage = msgs[1];
  if (head.size() < 3 || !IsSectionName(head[0]) || !IsBoxName(head[1])) return std::nullopt;
  r.targetPage = head[0];
  r.targetBox = head[1];

  if (r.kind == TransferKind::Information) {
    if (head.size() != 3 || head[2].size() < 3 || head[2].front() != '[' || head[2].back() != ']') return std::nullopt;
    if (r.message.find("%.2f") == std::string::npos || msgs.size() != 1) return std::nullopt;
    r.condition = head[2];
    return r;
  }
  if (head.size() != 4 && head.size() != 7) return std::nullopt;
  if (!IsSectionName(head[2]) || !IsBoxName(head[3])) return std::nullopt;
  r.source = head[2];
  r.sourceBox = head[3];
  if (head.size() == 7) {
    if ((head[4] != "+" && head[4] != "0<") || !IsSectionName(head[5]) || !IsBoxName(head[6])) return std::nullopt;
    r.operation = head[4];
    r.secondSource = head[5];
    r.secondSourceBox = head[6];
    // A sum names each source in its own message.
    if (r.operation == "+" && r.secondMessage.empty()) return std::nullopt;
  }
  return r;
}

const std::vector<TransferRule>& TransferRules() {
  static const std::vector<TransferRule> kRules = [] {
    std::vector<TransferRule> rules;
    for (const TransferRuleText& t : TransferRuleTexts())
      if (auto r = ParseTransferRule(t.text, t.group)) rules.push_back(std::move(*r));
    return rules;
  }();
  return kRules;
}

std::string TargetInstanceOf(std::string_view targetPage) {
  std::string s(targetPage);
  const size_t cut = s.find('_');
  const size_t letter = cut == std::string::npos ? s.size() : cut;
  if (letter > 0) s[letter - 1] = 'a';
  return s;
}

std::string BoxNumber(std::string_view box) { return std::string(box.empty() ? box : box.substr(1)); }

ConditionResult EvaluateCondition(std::string_view condition, const BoxReader& readBox) {
  while (!condition.empty() && condition.front() == ' ') condition.remove_prefix(1);
  while (!condition.empty() && condition.back() == ' ') condition.remove_suffix(1);
  if (condition.size() < 2 || condition.front() != '[' || condition.back() != ']') return {};
  const std::string_view inner = condition.substr(1, condition.size() - 2);
  const size_t at = inner.find_first_of("<>=");
  if (at == std::string_view::npos) return {};
  const char op = inner[at];
  const bool orEqual = op != '=' && at + 1 < inner.size() && inner[at + 1] == '=';
  const auto left = Evaluate(inner.substr(0, at), readBox);
  const auto right = Evaluate(inner.substr(at + (orEqual ? 2 : 1)), readBox);
  if (!left || !right) return {};
  const long double l = ToGrosz(*left), r = ToGrosz(*right);
  ConditionResult result;
  switch (op) {
    case '<': result.holds = orEqual ? r >= l : r > l; break;
    case '>': result.holds = orEqual ? l >= r : l > r; break;
    default: result.holds = l == r;
  }
  if (result.holds) result.value = FormatRounded("%.2f", op == '<' ? *right : *left);
  return result;
}

ConditionResult EvaluateCondition(std::string_view condition, std::string_view section) {
  return EvaluateCondition(condition, [section](std::string_view box) { return ReadNumber(box, "0", section); });
}

std::string PitZgOwner(int targetBoxNumber) {
  if (SectionExists("PIT38a")) return ReadField("p1", "", "PIT38a");
  if (SectionExists("PIT39a")) return ReadField("p1", "", "PIT39a");
  if (!SectionExists("PIT36a")) return {};
  if (targetBoxNumber < 81 || targetBoxNumber == 168 || targetBoxNumber == 173) return ReadField("p1", "", "PIT36a");
  if (targetBoxNumber <= 87) return {};
  return ReadField("p2", "", "PIT36a");
}

namespace {
double SumOverOwner(std::string_view box, std::string_view owner, bool positiveOnly) {
  double sum = 0;
  if (owner.empty()) return 0;
  for (const std::string& inst : SectionsOfForm("PITZGa")) {
    if (ReadField("p1", "", inst) != owner) continue;
    const double v = ReadNumber(box, "0", inst);
    if (!positiveOnly || v > 0) sum += v;
  }
  return sum;
}

double Share(double sum, double tax, double part, double denominator) {
  const double limit = denominator > 0 ? std::min(tax, tax * part / denominator) : tax;
  return std::min(sum, limit);
}
}  // namespace

double PitZgSum(std::string_view box, std::string_view owner) { return SumOverOwner(box, owner, true); }

double PitZgLimited(std::string_view box, std::string_view owner, double sum) {
  if (EqualsIgnoreAsciiCase(box, "P33")) {
    // Art. 30b ust. 5a: the tax paid abroad counts up to the part of the
    // PIT-38 tax (box 32) that falls on the foreign income, in the share of
    // the foreign income (PIT/ZG box 32) in the whole income (box 27).
    const double s32 = SumOverOwner("p32", owner, false);
    return Share(sum, ReadNumber("p32", "0", "PIT38a"), s32, ReadNumber("p27", "0", "PIT38a"));
  }
  if (EqualsIgnoreAsciiCase(box, "P29")) {
    const double s28 = SumOverOwner("p28", owner, false);
    double p86 = ReadNumber("p86", "0", "PIT36a");
    const int method = TaxationMethodOf("PIT36a");
    if (method == 2 || method == 3) p86 += ReadNumber("p129", "0", "PIT36a");
    return Share(sum, ReadNumber("p171", "0", "PIT36a"), s28, s28 + p86);
  }
  return sum;
}

std::string PitBSource(std::string_view box, bool spouse) {
  if (!SectionExists("PIT36a")) return {};
  const std::string id = ReadField(spouse ? "p2" : "p1", "", "PIT36a");
  if (id.empty()) return {};
  for (const std::string& inst : SectionsOfForm("PITBa"))
    if (ReadNumber(box, "0", inst) > 0 && ReadField("p1", "", inst) == id) return inst;
  return {};
}


std::optional<TransferOffer> OfferOf(const TransferRule& rule) {
  if (rule.kind != TransferKind::Transfer) return std::nullopt;
  TransferOffer o;
  o.hint = rule.text;
  if (rule.source == "PITZGa") {
    const std::string owner = PitZgOwner(BoxNumberValue(rule.targetBox));
    if (owner.empty()) return std::nullopt;
    const double sum = PitZgSum(rule.sourceBox, owner);
    if (!(sum > 0)) return std::nullopt;
    o.value = Money(PitZgLimited(rule.sourceBox, owner, sum));
    o.text = Fill(rule.message, {BoxNumber(rule.sourceBox), o.value});
  } else if (rule.source == "PITBa") {
    const std::string source = PitBSource(rule.sourceBox, rule.group == kPITZ_M);
    if (source.empty()) return std::nullopt;
    const std::string message = std::string(kPitBMessage) + "\n" + kPitBNote;
    o.hint = "Przeniesienie|" + rule.targetPage + "#" + rule.targetBox + "#" + source + "#" + rule.sourceBox + "##" +
             message;
    o.value = ReadField(rule.sourceBox, "0", source);
    o.text = Fill(message, {BoxNumber(rule.sourceBox), o.value});
  } else if (rule.operation == "+") {
    const double a = ReadNumber(rule.sourceBox, "0", rule.source);
    const double b = ReadNumber(rule.secondSourceBox, "0", rule.secondSource);
    if (!(a > 0) && !(b > 0)) return std::nullopt;
    std::vector<std::string> lines;
    if (a > 0) lines.push_back(Fill(rule.message, {BoxNumber(rule.sourceBox), Money(a)}));
    if (b > 0) lines.push_back(Fill(rule.secondMessage, {BoxNumber(rule.secondSourceBox), Money(b)}));
    if (a > 0 && b > 0) lines.push_back("Suma kwot wynosi " + Money(a + b));
    for (size_t i = 0; i < lines.size(); ++i) o.text += (i ? "\n" : "") + lines[i];
    o.value = Money(a + b);
  } else if (rule.operation == "0<") {
    const double a = ReadNumber(rule.sourceBox, "0", rule.source);
    const double b = ReadNumber(rule.secondSourceBox, "0", rule.secondSource);
    if (!(a > 0) && !(b > 0)) return std::nullopt;
    const bool second = b > 0;
    const std::string& section = second ? rule.secondSource : rule.source;
    const std::string& box = second ? rule.secondSourceBox : rule.sourceBox;
    o.value = ReadField(box, "0", section);
    o.text = Fill(rule.message, {BoxNumber(box), o.value});
  } else {
    if (!(ReadNumber(rule.sourceBox, "0", rule.source) > 0)) return std::nullopt;
    o.value = ReadField(rule.sourceBox, "0", rule.source);
    o.text = Fill(rule.message, {BoxNumber(rule.sourceBox), o.value});
  }
  return o;
}

namespace {
std::string CarryKey(std::string_view instance, std::string_view box) {
  std::string key = std::string(instance) + ".";
  for (char c : box) key += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return key;
}
}  // namespace

void RecordCarry(std::string_view instance, std::string_view box, std::string_view value) {
  WriteField(CarryKey(instance, box), value, kCarrySection);
}

std::string RecordedCarry(std::string_view instance, std::string_view box) {
  return SectionExists(kCarrySection) ? ReadField(CarryKey(instance, box), "", kCarrySection) : std::string();
}

std::string OfferTextWhenEmpty(const TransferRule& rule) {
  const std::string message = rule.source == "PITBa" ? std::string(kPitBMessage) : rule.message;
  return Fill(message, {BoxNumber(rule.sourceBox), "0,00"});
}

std::string FillTransferText(std::string_view message, const std::vector<std::string>& args) {
  return Fill(message, args);
}

std::vector<std::string> SplitTransferText(std::string_view text, char separator) { return Split(text, separator); }

}  // namespace solv
