#include "shell/explain.hpp"

#include <cctype>
#include <optional>
#include <utility>

#include "calc/dispatch.hpp"
#include "calc/trace.hpp"
#include "calc/transfer_rules.hpp"
#include "messages/markup.hpp"
#include "messages/messages.hpp"
#include "report/page_definition.hpp"
#include "shell/form_registry.hpp"
#include "store/forms.hpp"
#include "store/ini.hpp"
#include "store/store.hpp"
#include "util/ascii.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

// A copy of the open set in memory: the recalculation that traces a box
// writes here, so the set file is never touched.
class SetCopy final : public IniStore {
 public:
  explicit SetCopy(IniStore& from) {
    const std::vector<std::string> sections = from.Sections();
    std::string headers;
    for (const std::string& s : sections) headers += "[" + s + "]\n";
    doc_ = IniDocument::Parse(headers);
    for (const std::string& s : sections)
      for (const auto& [key, value] : from.Entries(s)) doc_.Write(s, key, value);
  }
  std::optional<std::string> Read(std::string_view section, std::string_view key) override {
    return doc_.Read(section, key);
  }
  void Write(std::string_view section, std::string_view key, std::string_view value) override {
    doc_.Write(section, key, value);
  }
  void WriteMany(std::string_view section, const IniEntries& entries) override {
    for (const auto& [key, value] : entries) doc_.Write(section, key, value);
  }
  std::vector<std::string> Sections() override { return doc_.SectionNames(); }
  IniEntries Entries(std::string_view section) override { return doc_.Entries(section); }
  void EraseSection(std::string_view section) override { doc_.EraseSection(section); }
  void EraseKey(std::string_view section, std::string_view key) override { doc_.EraseKey(section, key); }

 private:
  IniDocument doc_;
};

// What the recalculation leaves behind in the process comes back when the
// explanation is done: the store's backend, the current page, the messages.
struct KeepState {
  IniStore* backend = Store().backend;
  std::string page = Store().currentPage;
  MessageList messages = CopyMessages();
  ~KeepState() {
    Store().backend = backend;
    Store().currentPage = std::move(page);
    RestoreMessages(std::move(messages));
  }
};

struct FoundCell {
  const PageDefinition* page = nullptr;
  const CellInfo* cell = nullptr;
};

// The cell of the form of section named key, or printed with that number.
FoundCell FindCell(std::string_view section, std::string_view key) {
  const std::string base = InstanceBase(section);
  for (const bool byNumber : {false, true})
    for (const PageDefinition& page : PageCatalogue()) {
      if (!EqualsIgnoreAsciiCase(DefaultInstanceOf(page.info), base)) continue;
      for (const CellInfo& c : page.cells) {
        const bool match = byNumber ? !c.number.empty() && EqualsIgnoreAsciiCase(c.number, key)
                                    : SameName(c.name, key);
        if (match) return {&page, &c};
      }
    }
  return {};
}

// "12345,00" as "12 345,00"; any other text as it stands.
std::string Grouped(const std::string& text) {
  const size_t sign = !text.empty() && text[0] == '-' ? 1 : 0;
  size_t end = sign;
  while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
  if (end == sign) return text;
  if (end < text.size() && text[end] != ',') return text;
  for (size_t i = end + (end < text.size() ? 1 : 0); i < text.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return text;
  std::string out = text.substr(0, sign);
  const size_t digits = end - sign;
  for (size_t i = 0; i < digits; ++i) {
    if (i > 0 && (digits - i) % 3 == 0) out += ' ';
    out += text[sign + i];
  }
  return out + text.substr(end);
}

// The box as store holds it (the set, or its copy after the recalculation).
ExplainedBox Describe(IniStore& store, std::string_view section, std::string_view key) {
  ExplainedBox b;
  b.section = std::string(section);
  b.key = std::string(key);
  b.form = FormNameOf(section);
  const FoundCell found = FindCell(section, key);
  const std::optional<std::string> stored = store.Read(section, key);
  if (!found.cell) {
    b.number = RuleNumber(key);
    b.value = stored.value_or("");
    return b;
  }
  const CellInfo& c = *found.cell;
  b.key = c.name;
  b.number = c.number;
  b.caption = c.caption;
  b.known = true;
  const std::string text = stored ? *stored : c.clearValue;
  b.value = c.kind == CellKind::Money || c.kind == CellKind::Integer ? Grouped(text) : text;
  // Named by its instance, as the messages' links are: the link finds the
  // page of the form that holds the box.
  if (!c.hidden) b.link = std::string(section) + "#" + c.name;
  return b;
}

int NumberOf(std::string_view box) {
  int n = 0;
  for (size_t i = 1; i < box.size() && box[i] >= '0' && box[i] <= '9' && n < 100000; ++i) n = n * 10 + (box[i] - '0');
  return n;
}

// The attachment boxes a transfer rule takes its amount from now.
std::vector<ExplainedBox> SourcesOf(const TransferRule& rule) {
  std::vector<ExplainedBox> out;
  const auto positive = [](std::string_view section, std::string_view box) {
    return ReadNumber(box, "0", section) > 0;
  };
  if (rule.source == "PITZGa") {
    const std::string owner = PitZgOwner(NumberOf(rule.targetBox));
    if (owner.empty()) return out;
    for (const std::string& zg : SectionsOfForm("PITZGa"))
      if (ReadField("p1", "", zg) == owner && positive(zg, rule.sourceBox)) out.push_back(Describe(SetStore(), zg, rule.sourceBox));
  } else if (rule.source == "PITBa") {
    const std::string source = PitBSource(rule.sourceBox, rule.group == kPITZ_M);
    if (!source.empty()) out.push_back(Describe(SetStore(), source, rule.sourceBox));
  } else if (rule.operation == "0<") {
    if (positive(rule.secondSource, rule.secondSourceBox)) out.push_back(Describe(SetStore(), rule.secondSource, rule.secondSourceBox));
    else if (positive(rule.source, rule.sourceBox)) out.push_back(Describe(SetStore(), rule.source, rule.sourceBox));
  } else {
    if (SectionExists(rule.source)) out.push_back(Describe(SetStore(), rule.source, rule.sourceBox));
    if (rule.operation == "+" && SectionExists(rule.secondSource))
      out.push_back(Describe(SetStore(), rule.secondSource, rule.secondSourceBox));
  }
  return out;
}

std::string Named(const ExplainedBox& b) {
  return (b.number.empty() ? b.key : "poz. " + b.number) + " " + b.form;
}

// A box the recalculation does not write: the user's, or offered or carried
// from an attachment by a transfer rule.
void ExplainTyped(Explanation& e) {
  for (const TransferRule& rule : TransferRules()) {
    if (rule.kind != TransferKind::Transfer || !SameName(TargetInstanceOf(rule.targetPage), e.box.section) ||
        !SameName(rule.targetBox, e.box.key))
      continue;
    e.inputs = SourcesOf(rule);
    const std::optional<TransferOffer> offer = OfferOf(rule);
    const std::string carried = RecordedCarry(e.box.section, rule.targetBox);
    std::string from;
    for (const ExplainedBox& s : e.inputs) from += (from.empty() ? "" : ", ") + Named(s);
    if (!carried.empty() && ParseAmount(carried, -1) == ParseAmount(SetStore().Read(e.box.section, e.box.key).value_or(""), -2)) {
      e.origin = BoxOrigin::kCarried;
      e.note = "Kwotę przeniesiono z załącznika" + (from.empty() ? std::string(".") : ": " + from + ".");
    } else if (offer) {
      e.origin = BoxOrigin::kOffered;
      e.note = "Kwota wpisana przez Ciebie. Załącznik podaje dla tej pozycji " + Grouped(offer->value) +
               (from.empty() ? "" : " (" + from + ")") + "; kliknij dymek przy pozycji, aby ją przenieść.";
    } else {
      e.origin = BoxOrigin::kEntered;
      e.note = "Kwota wpisana przez Ciebie. Program przenosi ją z załącznika (" +
               FormSymbolOf(rule.source) + " poz. " + RuleNumber(rule.sourceBox) + "), gdy ten ją wykaże.";
    }
    return;
  }
  e.origin = BoxOrigin::kEntered;
  const bool typed = SetStore().Read(e.box.section, e.box.key).has_value();
  e.note = typed ? "Wartość wpisana przez Ciebie." : "Pozycja do wypełnienia przez Ciebie; nic w niej nie wpisano.";
}

}  // namespace

Explanation ExplainBox(std::string_view section, std::string_view key) {
  Explanation e;
  e.box.section = std::string(section);
  e.box.key = std::string(key);
  e.box.form = FormNameOf(section);
  if (Store().setFile.empty() && !Store().backend) {
    e.note = "Żaden zestaw danych nie jest otwarty.";
    return e;
  }
  if (!SectionExists(section)) {
    e.note = "Zestaw danych nie zawiera formularza " + e.box.form + ".";
    return e;
  }
  const FoundCell found = FindCell(section, key);
  if (!found.cell) {
    e.note = "Formularz " + e.box.form + " nie ma poz. " + RuleNumber(key) + ".";
    return e;
  }
  e.box = Describe(SetStore(), section, found.cell->name);

  // The form recalculated on a copy of the set, under the trace; the values
  // shown are the copy's, as the recalculation leaves them.
  SetCopy copy(SetStore());
  std::optional<TracedWrite> written;
  {
    const KeepState keep;
    Store().backend = &copy;
    CalcTrace trace;
    if (Recalculate(section, false))
      if (const TracedWrite* w = trace.LastWrite(section, found.cell->name)) written = *w;
  }
  if (!written || (written->inputs.empty() && written->fromItself)) {
    ExplainTyped(e);
    if (written && e.origin == BoxOrigin::kEntered)
      e.note += " Program zapisuje ją tylko w jednolitej postaci.";
    return e;
  }
  e.origin = BoxOrigin::kComputed;
  e.rule = written->rule;
  const std::string stored = e.box.value;
  e.box = Describe(copy, section, found.cell->name);
  for (const TracedBox& b : written->inputs) e.inputs.push_back(Describe(copy, b.section, b.key));
  if (e.inputs.empty())
    e.note = "Wartość ustala program: przy tych danych nie zależy od innych pozycji.";
  else
    e.note = "Kwotę oblicza program.";
  if (stored != e.box.value)
    e.note += " W zestawie zapisano jeszcze " + (stored.empty() ? std::string("pustą pozycję") : stored) +
              ": formularz nie był przeliczony po ostatniej zmianie.";
  return e;
}

namespace {
// The value kept on one line where the window wraps: no-break spaces.
ExplainedBox Unbroken(ExplainedBox b) {
  std::string value;
  for (const char c : b.value) value += c == ' ' ? std::string("\u00a0") : std::string(1, c);
  b.value = std::move(value);
  return b;
}
}  // namespace

std::string BoxLine(const ExplainedBox& b) {
  std::string line = Named(b);
  if (!b.caption.empty()) line += " — " + b.caption;
  return line + ": " + (b.value.empty() ? "(pusta)" : b.value);
}

std::string ExplanationText(const Explanation& e) {
  if (e.origin == BoxOrigin::kUnknown) return "Skąd ta kwota? " + e.note + "\n";
  std::string out = "Skąd ta kwota? " + BoxLine(e.box) + "\n";
  if (!e.note.empty()) out += e.note + "\n";
  if (!e.rule.empty()) out += "Zasada: " + e.rule + "\n";
  if (!e.inputs.empty()) {
    out += e.origin == BoxOrigin::kComputed ? "Obliczona z pozycji:\n" : "Z załącznika:\n";
    for (const ExplainedBox& b : e.inputs) out += "  " + BoxLine(b) + "\n";
  }
  return out;
}

std::string ExplanationMarkup(const Explanation& e) {
  if (e.origin == BoxOrigin::kUnknown) return "<color=clNavy>" + EscapeForMessage(e.note);
  std::string out = "<color=clNavy><b>" + EscapeForMessage(BoxLine(Unbroken(e.box))) + "</b><br>";
  if (!e.note.empty()) out += EscapeForMessage(e.note) + "<br>";
  if (!e.rule.empty()) out += "<b>Zasada:</b> " + EscapeForMessage(e.rule) + "<br>";
  if (!e.inputs.empty()) {
    out += e.origin == BoxOrigin::kComputed ? "<b>Obliczona z pozycji:</b><br>" : "<b>Z załącznika:</b><br>";
    for (const ExplainedBox& b : e.inputs) {
      const std::string line = EscapeForMessage(BoxLine(Unbroken(b)));
      out += b.link.empty() ? line : "<link=" + b.link + ">" + line + "</link>";
      out += "<br>";
    }
  }
  return out;
}

}  // namespace solv
