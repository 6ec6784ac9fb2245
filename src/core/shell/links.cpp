#include "shell/links.hpp"

#include "report/page_definition.hpp"
#include "shell/page_behaviour.hpp"
#include "util/ascii.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// The text before the first '#' (all of it when there is none); `rest` gets
// what follows it.
std::string_view Head(std::string_view s, std::string_view& rest) {
  const size_t hash = s.find('#');
  if (hash == std::string_view::npos) {
    rest = {};
    return s;
  }
  rest = s.substr(hash + 1);
  return s.substr(0, hash);
}

}  // namespace

LinkTarget ParseLink(std::string_view param) {
  LinkTarget t;
  std::string_view rest;
  std::string_view first = Head(param, rest);
  if (EqualsIgnoreAsciiCase(first, "popraw")) {
    t.correct = true;
    std::string_view value = Head(rest, rest);
    // Anything that is not a number, or is negative, proposes zero.
    t.value = ParseAmount(value, -1) < 0 ? "0" : std::string(value);
    first = Head(rest, rest);
  }
  t.page = std::string(first);
  std::string_view after;
  t.box = std::string(Trim(Head(rest, after)));
  return t;
}

bool LinkPageMatches(std::string_view page, std::string_view instance) {
  if (page.empty() || instance.empty()) return false;
  if (page.find('_') != std::string_view::npos) return EqualsIgnoreAsciiCase(page, instance);
  return EqualsIgnoreAsciiCase(page.substr(0, page.size() - 1), instance.substr(0, instance.size() - 1));
}

char LinkPageLetter(std::string_view page) {
  const std::string_view base = page.substr(0, page.find('_'));
  return base.empty() ? 0 : base.back();
}

std::string LinkCell(std::string_view page, std::string_view box) {
  const PageDefinition* definition = FindPage(page);
  if (!definition || box.empty()) return {};
  for (const CellInfo& c : definition->cells)
    if (EqualsIgnoreAsciiCase(c.name, box)) return c.name;
  if (const PageFamily* family = FindPageFamily(definition->info.className))
    for (const CheckGroup& g : family->groups)
      if (EqualsIgnoreAsciiCase(g.prefix, box) && *g.letters) return std::string(g.prefix) + g.letters[0];
  return {};
}

std::string LinkPage(std::string_view page, std::string_view box) {
  const size_t cut = page.find('_');
  const std::string_view base = page.substr(0, cut);
  const std::string_view suffix = cut == std::string_view::npos ? std::string_view() : page.substr(cut);
  if (base.empty() || !LinkCell(base, box).empty()) return std::string(page);
  const std::string_view form = base.substr(0, base.size() - 1);
  for (const PageDefinition& p : PageCatalogue()) {
    const std::string& name = p.info.pageName;
    if (name.size() == base.size() && EqualsIgnoreAsciiCase(std::string_view(name).substr(0, form.size()), form) &&
        !LinkCell(p.info.className, box).empty())
      return name + std::string(suffix);
  }
  return std::string(page);
}

std::vector<std::string> WarningBoxes(std::string_view text) {
  std::vector<std::string> boxes;
  constexpr std::string_view kOpen = "<link=PIT";
  for (size_t at = text.find(kOpen); at != std::string_view::npos; at = text.find(kOpen, at + 1)) {
    const size_t start = at + 6;  // after "<link="
    const size_t close = text.find('>', start);
    const std::string_view param = text.substr(start, close == std::string_view::npos ? close : close - start);
    const size_t hash = param.find('#');
    if (hash == std::string_view::npos) continue;
    std::string box(Trim(param.substr(hash + 1)));
    if (EqualsIgnoreAsciiCase(box, "P6") || EqualsIgnoreAsciiCase(box, "P10")) box += 'a';
    if (!box.empty()) boxes.push_back(std::move(box));
  }
  return boxes;
}

}  // namespace solv
