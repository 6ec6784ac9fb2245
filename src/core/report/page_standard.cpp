#include "report/page_standard.hpp"

#include <algorithm>
#include <regex>
#include <set>

#include "report/component_text.hpp"
#include "report/model.hpp"
#include "report/print_page.hpp"
#include "store/forms.hpp"

namespace solv {
namespace {

constexpr int kBandWidth = 794;
constexpr int kPrintedHeight = 1122;  // an A4 sheet at 96 dpi: nothing below prints

std::string Quoted(const std::string& text) {
  constexpr size_t kShown = 40;
  return "«" + (text.size() > kShown ? text.substr(0, kShown) + "…" : text) + "»";
}

bool IsMainForm(int form) { return form >= kPIT28 && form <= kPIT40; }
// The attachments filed only with a return; PIT-2K is a statement of its own.
bool IsAttachment(int form) { return form >= kPITB && form != kPIT2K; }

int FormOf(const PageInfo& info) { return FormIndex(DefaultInstanceOf(info)); }

void FirstPageProblems(const PageDefinition& page, std::vector<std::string>& out) {
  const PageFurniture& f = page.furniture;
  const int form = FormOf(page.info);
  if (!f.instruction) out.push_back("pierwsza strona bez wiersza pouczenia (instruction)");
  if (!f.title) out.push_back("pierwsza strona bez symbolu i tytułu formularza (formtitle)");
  if (f.officeBoxes == 0) out.push_back("pierwsza strona bez pól urzędu skarbowego (office)");
  const bool hasBox1 = std::any_of(page.cells.begin(), page.cells.end(),
                                   [](const CellInfo& c) { return c.name == "p1" && !c.hidden; });
  if (!hasBox1) out.push_back("pierwsza strona bez pola 1 (identyfikator)");
  if (IsMainForm(form)) {
    const bool payer = form == kPIT40;  // the payer files it and hands it out
    for (const char* head : {"Podstawa prawna:", "Składający:", "Termin składania:",
                             payer ? "Otrzymuje:" : "Miejsce składania:"})
      if (std::find(f.legalHeads.begin(), f.legalHeads.end(), head) == f.legalHeads.end())
        out.push_back(std::string("pierwsza strona bez części bloku prawnego ") + Quoted(head) + " (law)");
  } else if (IsAttachment(form)) {
    if (!f.attachmentNote) out.push_back("pierwsza strona załącznika bez adnotacji „Załącznik do ...” (note)");
  } else if (f.legalHeads.empty()) {
    out.push_back("pierwsza strona bez bloku prawnego (legal, law)");
  }
}

void LastPageProblems(const PageDefinition& page, std::vector<std::string>& out) {
  const int form = FormOf(page.info);
  if (!IsMainForm(form) && form != kPIT2K) return;  // the attachments close without signatures
  if (page.furniture.signatures == 0) out.push_back("ostatnia strona bez podpisu (frame \"Podpis ...\")");
  if (IsMainForm(form) && !page.furniture.notes)
    out.push_back("ostatnia strona bez adnotacji urzędu skarbowego (notes)");
}

int IntProp(const ComponentNode& n, const char* name) {
  for (const auto& [k, v] : n.properties)
    if (k == name) return std::stoi(v);
  return 0;
}

}  // namespace

std::vector<std::string> PageStructureProblems(const PageDefinition& page) {
  std::vector<std::string> out;
  for (const CellInfo& c : page.cells) {
    if (c.hidden) continue;
    if (c.number.empty()) out.push_back("pole " + c.name + ": brak numeru");
    if (c.caption.empty()) out.push_back("pole " + c.name + ": brak opisu");
    if (c.caption == "Liczba załączników") out.push_back("pole " + c.name + ": liczba załączników nie mówi jakich");
  }

  const PageFurniture& f = page.furniture;
  if (!f.footer) out.push_back("brak stopki (footer)");
  else if (page.info.variant.empty()) out.push_back("stopka bez wariantu formularza (variant= w wierszu page)");
  if (page.info.tag == 1) FirstPageProblems(page, out);
  if (page.info.tag == page.info.pages) LastPageProblems(page, out);

  static const std::regex keyLetter(R"(\d+[a-z]\.?)");
  static const std::regex pageHeader(R"(Strona \d+/\d+)");
  const std::set<std::string> footer(f.footerLabels.begin(), f.footerLabels.end());
  const ComponentNode& band = page.node.children.front();
  for (const ComponentNode& c : band.children) {
    const int left = IntProp(c, "Left"), top = IntProp(c, "Top");
    const int right = left + IntProp(c, "Width"), bottom = top + IntProp(c, "Height");
    const std::string where = c.name + " (" + std::to_string(left) + ", " + std::to_string(top) + ")";
    if (left < 0 || top < 0 || right > kBandWidth || bottom > page.info.height)
      out.push_back(where + ": poza arkuszem strony");
    else if (bottom > kPrintedHeight)
      out.push_back(where + ": poniżej krawędzi kartki A4 (" + std::to_string(kPrintedHeight) + ")");
    else if (f.footer && !footer.count(c.name) && bottom > f.footerTop - 2)
      out.push_back(where + ": sięga stopki (" + std::to_string(f.footerTop) + ")");
    if (c.className != "TKVZLabel") continue;
    std::string text;
    for (const auto& [k, v] : c.properties)
      if (k == "Caption") text = UnquoteText(v).value_or("");
    if (std::regex_match(text, keyLetter)) out.push_back(where + ": litera pola drukowana jako numer " + Quoted(text));
    if (std::regex_match(text, pageHeader)) out.push_back(where + ": ogólny nagłówek " + Quoted(text));
  }
  return out;
}

std::vector<std::string> LabelFitProblems(const PageDefinition& page, Canvas& screen, Canvas& print) {
  std::vector<std::string> out;
  const auto built = BuildPage(page);
  const TKVZBand* band = built->Band();
  if (!band) return out;
  for (const TKVZControl* c : band->ControlList()) {
    const auto* label = dynamic_cast<const TKVZLabel*>(c);
    if (!label || dynamic_cast<const TKVZField*>(c) || !label->Visible() || label->Caption().empty()) continue;
    for (Canvas* canvas : {&screen, &print}) {
      const int ppi = canvas->PixelsPerInchY();
      const double scale = ppi / 96.0;
      auto sx = [&](int v) { return static_cast<int>(scale * v); };
      const Rect r{sx(c->Left()), sx(c->Top()), sx(c->Left() + c->Width()), sx(c->Top() + c->Height())};
      Font font = FontForResolution(label->GetFont(), ppi);
      font.escapement = 0;
      canvas->SetFont(font);
      const unsigned flags = (label->WordWrap() ? tfWordBreak : 0u) | tfExpandTabs | tfNoPrefix;
      const Rect m = canvas->MeasureText(label->Caption(), r, flags);
      if (m.Width() <= r.Width() && m.Height() <= r.Height()) continue;
      out.push_back(c->Name() + " " + Quoted(label->Caption()) + " (" + std::to_string(c->Left()) + ", " +
                    std::to_string(c->Top()) + ") " + (canvas == &screen ? "na ekranie" : "w druku") +
                    ": potrzebuje " + std::to_string(m.Width()) + "×" + std::to_string(m.Height()) + " z " +
                    std::to_string(r.Width()) + "×" + std::to_string(r.Height()));
    }
  }
  return out;
}

}  // namespace solv
