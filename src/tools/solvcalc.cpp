// solvcalc: the calculations without windows, for scripts and tests.
//
//   solvcalc recalc SETFILE          recalculate every form of the set
//   solvcalc check [--markup] SETFILE  check the whole return
//   solvcalc set SETFILE SECTION BOX VALUE
//                                    enter one box and recalculate its form
//   solvcalc pages                   list the form pages
//   solvcalc cells CLASS             list the field cells of a page
//   solvcalc captions CLASS          the box number and caption of each cell
//   solvcalc lint [CLASS...]         what keeps pages from the form standard
//   solvcalc render SETFILE CLASS OUT.png [SECTION] [--scale N]
//                                    draw a page filled from the set
//   solvcalc pdf SETFILE OUT.pdf [--forms LIST]
//                                    write the printed forms to a PDF
//   solvcalc explain SETFILE SECTION BOX
//                                    where a box's value comes from (the set
//                                    is not written)
//
// CLASS is a page class (TPIT37b) or a definition file (forms/PIT37b.page);
// --pages DIR before the command reads every page definition from DIR.
#include <unistd.h>

#include <chrono>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <algorithm>
#include <string>
#include <vector>

#include "calc/dispatch.hpp"
#include "messages/messages.hpp"
#include "report/page_definition.hpp"
#include "shell/explain.hpp"
#include "shell/links.hpp"
#include "report/page_standard.hpp"
#include "report/print_page.hpp"
#include "report/print_selection.hpp"
#ifdef SOLVCALC_RENDER
#include "solvcalc_render.hpp"
#endif
#include "store/forms.hpp"
#include "store/set_list.hpp"
#include "store/store.hpp"
#include "util/debug_log.hpp"
#include "util/json.hpp"

namespace {

constexpr int kExitUsage = 2;

int Usage() {
  std::cerr << "użycie: solvcalc recalc [--json] [--debug] PLIK\n"
               "        solvcalc check [--markup | --json] [--debug] PLIK\n"
               "        solvcalc set PLIK SEKCJA POLE WARTOŚĆ\n"
               "        solvcalc pages\n"
               "        solvcalc cells [--json] KLASA\n"
               "        solvcalc captions [--json] KLASA\n"
               "        solvcalc lint [KLASA...]\n"
               "        solvcalc render PLIK KLASA WYJŚCIE.png [SEKCJA] [--scale N]\n"
               "        solvcalc pdf PLIK WYJŚCIE.pdf [--forms LISTA]\n"
               "        solvcalc explain PLIK SEKCJA POLE   (skąd wartość pola, np. PIT37a p41)\n"
               "KLASA: klasa strony (TPIT37b) albo plik definicji (forms/PIT37b.page);\n"
               "--pages KATALOG przed poleceniem: definicje stron z KATALOGU.\n"
               "--json: wynik jako JSON (UTF-8); --markup: komunikaty w znacznikach, z łączami.\n";
  return kExitUsage;
}

int Fail(const std::string& message) {
  std::cerr << "solvcalc: " << message << "\n";
  return kExitUsage;
}

// How long a command that writes waits for another program to let go of the
// set, and how often an operation runs again after an outside program
// changed the set under it.
constexpr auto kLockWait = std::chrono::seconds(5);
constexpr int kOperationAttempts = 3;

enum class Access { Read, Write };

// Opens the set after making sure it is a readable INI file of a set's size
// (for writing: with its lock); prints the error and returns false otherwise.
bool OpenChecked(const std::filesystem::path& path, Access access = Access::Read) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) {
    Fail("brak pliku: " + path.string());
    return false;
  }
  if (!std::filesystem::is_regular_file(status) || ::access(path.c_str(), R_OK) != 0) {
    Fail("nie można odczytać pliku: " + path.string());
    return false;
  }
  if (std::filesystem::file_size(path, ec) > solv::kMaxSetFileBytes && !ec) {
    Fail("plik jest większy niż " + std::to_string(solv::kMaxSetFileBytes >> 20) +
         " MB, a zestaw zapisany przez program zajmuje najwyżej kilkadziesiąt kilobajtów: " + path.string());
    return false;
  }
  if (!solv::OpenIni(path).LooksLikeIni()) {
    Fail("to nie jest plik zestawu (INI): " + path.string());
    return false;
  }
  if (access == Access::Read) {
    solv::OpenSetReadOnly(path);
  } else if (!solv::OpenSetForWriting(path, kLockWait)) {
    Fail("zestaw jest otwarty w innym programie (Solv2010 albo solvcalc) i nie można go teraz zapisać: " +
         path.string());
    return false;
  }
  return true;
}

// Runs an operation on the open set as one write; once more from the file
// when an outside program changed the set under it.
template <typename Operation>
auto Attempt(Operation operation) {
  for (int attempt = 1;; ++attempt) {
    try {
      return operation();
    } catch (const solv::SetChangedError&) {
      if (attempt >= kOperationAttempts) throw;
    }
  }
}

// Instances in the order in which each runs after the forms it reads.
std::vector<std::string> RecalcOrder() {
  using namespace solv;
  std::vector<std::string> order;
  auto all = [&](const char* base) {
    for (auto& s : SectionsOfForm(base)) order.push_back(std::move(s));
  };
  auto one = [&](const char* name) {
    for (auto& s : SetStore().Sections())
      if (SameName(s, name)) {
        order.push_back(s);
        return;
      }
  };
  all("PITBa");
  all("PITZGa");
  one("PITZa");
  one("PITZa_M");
  one("PITMa");
  one("PITMa_M");
  one("PITDa");
  one("PIT2Ka");
  one("PIT28Aa");
  one("PIT28Ba");
  for (int i = kPIT28; i <= kPIT40; ++i) one(kFormBaseNames[i]);
  all("PITOa");
  return order;
}

// One message as a JSON object: its form instance, the form and box its
// title names, colour, title, plain text, markup and links (a "popraw" link
// with the value it proposes).
std::string MessageJson(const std::string& section, const std::string& markup) {
  using solv::JsonString;
  const solv::MessageParts parts = solv::SplitMessage(markup);
  // "PIT-37, Poz.93. Składki …": the form before the comma, the box after "Poz.".
  std::string form, box;
  if (const size_t comma = parts.title.find(','); comma != std::string::npos) form = parts.title.substr(0, comma);
  if (const size_t poz = parts.title.find("Poz."); poz != std::string::npos) {
    size_t end = poz + 4;
    while (end < parts.title.size() && std::isalnum(static_cast<unsigned char>(parts.title[end]))) ++end;
    box = parts.title.substr(poz + 4, end - poz - 4);
  }
  std::string out = "{\"section\": " + JsonString(section) + ", \"form\": " + JsonString(form) +
                    ", \"box\": " + JsonString(box) + ", \"colour\": " + JsonString(parts.colour) +
                    ", \"title\": " + JsonString(parts.title) + ", \"text\": " + JsonString(parts.text) +
                    ", \"markup\": " + JsonString(markup) + ", \"links\": [";
  for (size_t i = 0; i < parts.links.size(); ++i) {
    const solv::LinkTarget link = solv::ParseLink(parts.links[i].param);
    out += (i ? ", " : "") + std::string("{\"text\": ") + JsonString(parts.links[i].text) +
           ", \"target\": " + JsonString(parts.links[i].param) + ", \"page\": " + JsonString(link.page) +
           ", \"box\": " + JsonString(link.box) + ", \"correct\": " + (link.correct ? "true" : "false");
    if (link.correct) out += ", \"value\": " + JsonString(link.value);
    out += "}";
  }
  return out + "]}";
}

int Recalc(const std::filesystem::path& path, bool json) {
  if (!OpenChecked(path, Access::Write)) return kExitUsage;
  const std::string lines = Attempt([json, &path] {
    std::string out;
    const solv::SetHold hold;  // every form, one write
    bool first = true;
    for (const auto& instance : RecalcOrder()) {
      if (!solv::Recalculate(instance)) continue;
      if (!json) {
        out += instance + '\t' + std::to_string(solv::Messages().counter) + '\n';
        continue;
      }
      const std::vector<std::string>& items = solv::Messages().items;
      out += std::string(first ? "" : ",\n") + "  {\"section\": " + solv::JsonString(instance) + ", \"messages\": [";
      for (size_t i = 1; i < items.size(); ++i) out += (i > 1 ? ", " : "") + MessageJson(instance, items[i]);
      out += "], \"values\": {";
      bool firstValue = true;
      for (const auto& [key, value] : solv::SetStore().Entries(instance)) {
        out += (firstValue ? "" : ", ") + solv::JsonString(key) + ": " + solv::JsonString(value);
        firstValue = false;
      }
      out += "}}";
      first = false;
    }
    if (json) out = "{\"set\": " + solv::JsonString(path.string()) + ", \"forms\": [\n" + out + "\n]}\n";
    return out;
  });
  std::cout << lines;
  return 0;
}

// One box entered as the program stores an entry: the value and the
// recalculation of its form instance reach the set in one write.
int Set(const std::vector<std::string>& args) {
  if (args.size() != 5) return Usage();
  if (!OpenChecked(args[1], Access::Write)) return kExitUsage;
  const std::string& section = args[2];
  const std::string& box = args[3];
  if (section.empty() || box.empty()) return Fail("sekcja i pole nie mogą być puste");
  Attempt([&] {
    const solv::SetHold hold;
    solv::WriteField(box, args[4], section);
    solv::Recalculate(section);
    return 0;
  });
  return 0;
}

enum class CheckOutput { Plain, Markup, Json };

int Check(const std::filesystem::path& path, CheckOutput output) {
  if (!OpenChecked(path, Access::Write)) return kExitUsage;
  const solv::WholeReturnCheck result = Attempt([] { return solv::CheckWholeReturn(); });
  switch (output) {
    case CheckOutput::Plain: std::cout << solv::MarkupToPlain(result.text) << '\n'; break;
    case CheckOutput::Markup:
      // Every message as its form gave it, with its links.
      std::cout << result.header;
      for (const solv::CheckedMessage& m : result.messages) std::cout << m.markup << '\n';
      if (result.messages.empty()) std::cout << '\n';
      break;
    case CheckOutput::Json: {
      std::cout << "{\"set\": " << solv::JsonString(path.string()) << ", \"total\": " << result.total
                << ", \"messages\": [";
      for (size_t i = 0; i < result.messages.size(); ++i)
        std::cout << (i ? ",\n  " : "\n  ") << MessageJson(result.messages[i].section, result.messages[i].markup);
      std::cout << "\n]}\n";
      break;
    }
  }
  return result.total > 0 ? 1 : 0;
}

// Where a box's value comes from, as text; the set is only read.
int Explain(const std::vector<std::string>& args) {
  if (args.size() != 4) return Usage();
  if (!OpenChecked(args[1])) return kExitUsage;
  const solv::Explanation e = solv::ExplainBox(args[2], args[3]);
  std::cout << solv::ExplanationText(e);
  return e.origin == solv::BoxOrigin::kUnknown ? 1 : 0;
}

int Pages() {
  for (const auto& p : solv::PageCatalogue())
    std::cout << p.info.className << '\t' << p.info.pageName << '\t' << p.info.height << '\t' << p.info.reportName
              << '\t' << p.info.reportTitle << '\n';
  return 0;
}

// A page named by its class, or read from a definition file (*.page), kept
// in holder.
const solv::PageDefinition* PageArgument(const std::string& arg, std::optional<solv::PageDefinition>& holder) {
  if (arg.size() > 5 && arg.compare(arg.size() - 5, 5, ".page") == 0) {
    holder = solv::ReadPageDefinitionFile(arg);
    return &*holder;
  }
  return solv::FindPage(arg);
}

// The cells of a page: name, kind, editability and the texts of no value
// and of a cleared box; or, as captions, name, printed number and caption.
// With json, every one of these for each cell.
int Cells(const std::string& className, bool captions, bool json) {
  using solv::JsonString;
  std::optional<solv::PageDefinition> holder;
  const solv::PageDefinition* page = PageArgument(className, holder);
  if (!page) return Fail("nie ma strony " + className);
  if (json) std::cout << "{\"page\": " << JsonString(page->info.className) << ", \"cells\": [";
  bool first = true;
  for (const auto& c : page->cells) {
    if (json) {
      std::cout << (first ? "\n  " : ",\n  ") << "{\"name\": " << JsonString(c.name)
                << ", \"kind\": " << static_cast<int>(c.kind) << ", \"editable\": " << (c.editable ? "true" : "false")
                << ", \"noValue\": " << JsonString(c.noValue) << ", \"clearValue\": " << JsonString(c.clearValue)
                << ", \"number\": " << JsonString(c.number) << ", \"caption\": " << JsonString(c.caption)
                << ", \"hidden\": " << (c.hidden ? "true" : "false") << "}";
    } else if (captions) {
      std::cout << c.name << '\t' << c.number << '\t' << c.caption << '\n';
    } else {
      std::cout << c.name << '\t' << static_cast<int>(c.kind) << '\t' << (c.editable ? 'e' : 'c') << '\t'
                << c.noValue << '\t' << c.clearValue << '\n';
    }
    first = false;
  }
  if (json) std::cout << "\n]}\n";
  return 0;
}

// Every problem of the pages named (all pages without names): one line each,
// the page class, a tab, the problem.
int Lint(const std::vector<std::string>& names) {
  std::vector<std::optional<solv::PageDefinition>> holders(names.size());
  std::vector<const solv::PageDefinition*> pages;
  for (size_t i = 0; i < names.size(); ++i) {
    const solv::PageDefinition* page = PageArgument(names[i], holders[i]);
    if (!page) return Fail("nie ma strony " + names[i]);
    pages.push_back(page);
  }
  if (names.empty())
    for (const auto& p : solv::PageCatalogue()) pages.push_back(&p);
  size_t problems = 0;
  for (const solv::PageDefinition* page : pages) {
    std::vector<std::string> found = solv::PageStructureProblems(*page);
#ifdef SOLVCALC_RENDER
    for (auto& p : solv::LabelFitProblemsOfPage(*page)) found.push_back(std::move(p));
#endif
    for (const auto& p : found) std::cout << page->info.className << '\t' << p << '\n';
    problems += found.size();
  }
  return problems ? 1 : 0;
}

int Render(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  double scale = 1;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--scale" && i + 1 < args.size()) {
      const std::string& s = args[++i];
      char* end = nullptr;
      scale = std::strtod(s.c_str(), &end);  // digits only: checked below
      if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos || scale < 1 || scale > 8)
        return Fail("--scale to liczba od 1 do 8");
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() < 3 || positional.size() > 4) return Usage();
  std::optional<solv::PageDefinition> holder;
  const solv::PageDefinition* page = PageArgument(positional[1], holder);
  if (!page) return Fail("nie ma strony " + positional[1]);
  if (!OpenChecked(positional[0])) return kExitUsage;
  const std::string section = positional.size() == 4 ? positional[3] : solv::DefaultInstanceOf(page->info);
#ifdef SOLVCALC_RENDER
  return solv::RenderPage(*page, section, positional[2], scale);
#else
  (void)section;
  return Fail("ta kompilacja nie rysuje stron (brak Qt)");
#endif
}

// LIST: row names of the print selection separated by commas ("PIT37,PITB").
std::vector<std::string> SplitList(const std::string& list) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = std::min(list.find(',', start), list.size());
    std::string name = list.substr(start, comma - start);
    while (!name.empty() && name.front() == ' ') name.erase(name.begin());
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (!name.empty()) names.push_back(std::move(name));
    start = comma + 1;
  }
  return names;
}

int Pdf(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  std::optional<std::vector<std::string>> forms;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--forms") {
      if (i + 1 >= args.size()) return Usage();
      forms = SplitList(args[++i]);
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2) return Usage();
  if (forms)
    for (const auto& name : *forms)
      if (solv::PrintRowIndex(name) < 0) return Fail("nieznany formularz: " + name);
  if (!OpenChecked(positional[0])) return kExitUsage;
#ifdef SOLVCALC_RENDER
  return solv::WritePdfOfSet(forms ? *forms : solv::PreCheckedRows(), positional[1]);
#else
  return Fail("ta kompilacja nie rysuje stron (brak Qt)");
#endif
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 2 && args[0] == "--pages") {
    solv::UsePageDefinitionFolder(args[1]);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return Usage();
  const std::string command = args[0];
  try {
    if (command == "pages" && args.size() == 1) return Pages();
    if (command == "cells" || command == "captions") {
      const bool json = args.size() == 3 && args[1] == "--json";
      if (args.size() == 2 || json) return Cells(args.back(), command == "captions", json);
    }
    if (command == "lint") return Lint({args.begin() + 1, args.end()});
    if (command == "set") return Set(args);
    if (command == "render") return Render(args);
    if (command == "pdf") return Pdf(args);
    if (command == "explain") return Explain(args);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  bool markup = false, json = false;
  std::string file;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--markup" && command == "check") markup = true;
    else if (args[i] == "--json") json = true;
    else if (args[i] == "--debug") solv::SetDebugLog([](std::string_view l) { std::cerr << "debug: " << l << '\n'; });
    else if (file.empty()) file = args[i];
    else return Usage();
  }
  if (file.empty() || (markup && json)) return Usage();
  try {
    if (command == "recalc") return Recalc(file, json);
    if (command == "check")
      return Check(file, json ? CheckOutput::Json : markup ? CheckOutput::Markup : CheckOutput::Plain);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return Usage();
}
