#include "shell/go_to_box.hpp"

#include <cctype>
#include <vector>

#include "report/page_definition.hpp"
#include "shell/form_registry.hpp"
#include "shell/links.hpp"
#include "store/forms.hpp"
#include "store/store.hpp"
#include "util/ascii.hpp"

namespace solv {
namespace {

constexpr const char* kHowTo =
    "Wpisz symbol formularza i numer pozycji, np. „PIT-37 120”, albo sam numer pozycji bieżącego formularza.";

// A form's symbol for comparison: upper case, without "-", "/", "." and blanks
// ("PIT-28/A" and "pit28a" alike).
std::string SymbolKey(std::string_view s) {
  std::string out;
  for (const char c : s)
    if (c != '-' && c != '/' && c != '.' && static_cast<unsigned char>(c) > ' ')
      out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// The pages of the form whose default instance is base.
std::vector<const PageDefinition*> PagesOf(std::string_view base) {
  std::vector<const PageDefinition*> pages;
  for (const PageDefinition& p : PageCatalogue())
    if (EqualsIgnoreAsciiCase(DefaultInstanceOf(p.info), base)) pages.push_back(&p);
  return pages;
}

// The link names the page that holds the box ("PIT37b#p41"); a copy's link
// names the copy ("PITBa_1#p53"), as only its whole name finds its window.
std::string PageLinkOf(const PageDefinition& page, std::string_view instance, std::string_view cell) {
  const std::string name = instance.find('_') != std::string_view::npos ? std::string(instance) : page.info.pageName;
  return name + "#" + std::string(cell);
}

}  // namespace

BoxPlace PlaceOfBox(std::string_view instance, std::string_view key) {
  for (const PageDefinition* page : PagesOf(InstanceBase(instance)))
    for (const CellInfo& c : page->cells)
      if (!c.hidden && !c.number.empty() && EqualsIgnoreAsciiCase(c.name, key))
        return {"poz. " + c.number + " " + FormNameOf(instance),
                PageLinkOf(*page, instance, c.name), c.clearValue};
  return {};
}

BoxQueryResult FindBoxLink(std::string_view query, std::string_view activeInstance) {
  std::string_view q = Trimmed(query);
  // The box number: the last word, digits with an optional key letter ("6a").
  const size_t space = q.find_last_of(" \t");
  std::string number(space == std::string_view::npos ? q : q.substr(space + 1));
  std::string_view form = space == std::string_view::npos ? std::string_view() : Trimmed(q.substr(0, space));
  // "poz. 120", "poz.120", "Poz.120"
  for (std::string_view prefix : {"poz.", "poz"}) {
    if (form.size() >= prefix.size() && EqualsIgnoreAsciiCase(form.substr(form.size() - prefix.size()), prefix)) {
      form = Trimmed(form.substr(0, form.size() - prefix.size()));
      break;
    }
    if (number.size() > prefix.size() && EqualsIgnoreAsciiCase(std::string_view(number).substr(0, prefix.size()), prefix)) {
      number.erase(0, prefix.size());
      break;
    }
  }
  size_t digits = 0;
  while (digits < number.size() && std::isdigit(static_cast<unsigned char>(number[digits]))) ++digits;
  if (digits == 0 || digits > 4 || number.size() > digits + 1 ||
      (number.size() == digits + 1 && !std::isalpha(static_cast<unsigned char>(number.back()))))
    return {{}, {}, kHowTo};
  for (char& c : number) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

  // The form: named, or the active one.
  std::string instance;
  std::string symbol;
  if (form.empty()) {
    if (activeInstance.empty()) return {{}, {}, "Żaden formularz nie jest otwarty. " + std::string(kHowTo)};
    instance = std::string(activeInstance);
  } else {
    const std::string wanted = SymbolKey(form);
    for (const PageDefinition& p : PageCatalogue()) {
      if (SymbolKey(p.info.symbol) != wanted) continue;
      const std::string base = DefaultInstanceOf(p.info);
      // The active copy when it is of that form, else the form's first section.
      if (!activeInstance.empty() && EqualsIgnoreAsciiCase(InstanceBase(activeInstance), base)) instance = activeInstance;
      else if (SectionExists(base)) instance = base;
      else if (const auto copies = SectionsOfForm(base); !copies.empty()) instance = copies.front();
      symbol = p.info.symbol;
      if (instance.empty()) return {{}, {}, "Zestaw danych nie zawiera formularza " + symbol + "."};
      break;
    }
    if (symbol.empty()) return {{}, {}, "Nie ma formularza „" + std::string(form) + "”. " + kHowTo};
  }

  // The box: the first cell whose printed number it is (a check-box group:
  // its first option).
  for (const PageDefinition* page : PagesOf(InstanceBase(instance))) {
    if (symbol.empty()) symbol = page->info.symbol;
    for (const CellInfo& c : page->cells) {
      if (c.hidden || !EqualsIgnoreAsciiCase(c.number, number)) continue;
      return {PageLinkOf(*page, instance, c.name), instance, {}};
    }
  }
  return {{}, {}, "Formularz " + symbol + " nie ma poz. " + number + "."};
}

}  // namespace solv
