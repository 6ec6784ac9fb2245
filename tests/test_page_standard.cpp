// The page language's furniture and tables, and the standard every form page
// keeps: numbered and captioned boxes, the header block and closing parts,
// the footer, nothing off the sheet.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "report/page_definition.hpp"
#include "report/page_standard.hpp"

namespace {

const std::string kHead = "page TX name=X tag=1 pages=1 form=X height=1121 report=x title=x click=p1Click\n";

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\n";
  return out;
}

TEST(PageStandard, EveryPageKeepsTheStructure) {
  for (const auto& page : solv::PageCatalogue()) {
    const auto problems = solv::PageStructureProblems(page);
    EXPECT_TRUE(problems.empty()) << page.info.className << ":\n" << Joined(problems);
  }
}

// Every page of a form prints the same symbol and variant in its footer.
TEST(PageStandard, PagesOfOneFormShareSymbolAndVariant) {
  const auto& pages = solv::PageCatalogue();
  for (const auto& a : pages)
    for (const auto& b : pages)
      if (a.info.form == b.info.form)
        EXPECT_EQ(a.info.FooterSymbol(), b.info.FooterSymbol()) << a.info.className << " " << b.info.className;
}

struct CaptionCase {
  const char* what;
  std::string body;
  const char* cell;
  const char* number;
  const char* caption;
};

// How a box comes by its printed number and caption.
TEST(PageLanguage, BoxesTakeNumberAndCaptionFromWhatIsPrinted) {
  const std::string columns =
      "colhead 100 0 80 20 \"Przychód\"\ncolhead 180 0 80 20 \"Koszty\"\n"
      "rowhead 0 20 100 30 \"1.\" \"Wynagrodzenia\"\n";
  const CaptionCase cases[] = {
      {"own caption", "box p5 text 0 0 100 40 \"Nazwisko\"\n", "p5", "5", "Nazwisko"},
      {"printed number differs from the key", "box p7 text 0 0 100 40 \"Urząd\" num=9\n", "p7", "9", "Urząd"},
      {"row and column of a table", columns + "box p39 money 100 20 80 30 \"\"\n", "p39", "39", "Wynagrodzenia / Przychód"},
      {"second column", columns + "box p40 money 180 20 80 30 \"\"\n", "p40", "40", "Wynagrodzenia / Koszty"},
      {"a box across both columns takes neither", columns + "box p41 money 100 20 160 30 \"\"\n", "p41", "41",
       "Wynagrodzenia"},
      {"a captioned box keeps its row but no implied column", columns + "box p42 money 100 20 80 30 \"Kwota\"\n", "p42",
       "42", "Wynagrodzenia / Kwota"},
      {"a bar ends the row", columns + "bar 0 50 260 20 \"C.2.\"\nbox p43 money 100 70 80 30 \"\"\n", "p43", "43",
       "Przychód"},
      {"an origin ends row and columns", columns + "origin 0 100\nbox p44 money 100 20 80 30 \"Inne\"\n", "p44", "44",
       "Inne"},
      {"labels named by id", "label 0 0 90 12 \"Składki\" id=r1\nlabel 100 0 80 12 \"Podatnik\" id=c1\n"
       "box p93 money 100 20 80 30 \"\" row=r1 col=c1\n", "p93", "93", "Składki / Podatnik"},
      {"row=none and col=none", columns + "box p45 money 100 20 80 30 \"\" row=none col=none\n", "p45", "45", ""},
      {"a new heading row replaces the columns",
       columns + "rect 0 0 1 1\ncolhead 100 60 160 20 \"Razem\"\nbox p46 money 100 80 80 30 \"\"\n", "p46", "46", "Razem"},
      {"an option under its choice", "choice 0 0 700 50 6 \"Wybór sposobu opodatkowania:\"\n"
       "option p6a 10 20 100 14 \"1. indywidualnie\"\n", "p6a", "6", "Wybór sposobu opodatkowania: / 1. indywidualnie"},
      {"a choice with its row", "label 0 0 300 14 \"w sposób z art. 29 ust. 4:\" id=a29\n"
       "choice 300 0 100 30 7 \"\" row=a29\noption p7a 310 5 60 14 \"podatnik\"\n", "p7a", "7",
       "w sposób z art. 29 ust. 4: / podatnik"},
      {"a box ends the choice", "choice 0 0 700 50 6 \"Wybór\"\nbox p9 text 0 60 100 40 \"Urząd\"\n"
       "option p10a 10 120 100 14 \"1. złożenie\"\n", "p10a", "", "1. złożenie"},
      {"an attachment count", "count p129 0 0 150 46 \"PIT/O\"\n", "p129", "129", "Liczba załączników PIT/O"},
      {"a count of other forms", "count p131 0 0 150 46 \"PIT-2K\" noun=formularzy\n", "p131", "131",
       "Liczba formularzy PIT-2K"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const solv::PageDefinition def = solv::ParsePageDefinition(kHead + c.body);
    const solv::CellInfo* cell = nullptr;
    for (const auto& i : def.cells)
      if (i.name == c.cell) cell = &i;
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->number, c.number);
    EXPECT_EQ(cell->caption, c.caption);
  }
  const solv::PageDefinition counts = solv::ParsePageDefinition(kHead + "count p129 0 0 150 46 \"PIT/O\"\n");
  EXPECT_EQ(counts.cells[0].countOf, "PIT/O");
  EXPECT_EQ(counts.cells[0].kind, solv::CellKind::Integer);
}

TEST(PageLanguage, RejectsBadFurniture) {
  const std::string cases[] = {
      kHead + "box p1 text 0 0 10 10 \"\" row=nowhere\n",                        // unknown heading
      kHead + "label 0 0 1 1 \"a\" id=r\nlabel 0 0 1 1 \"b\" id=r\n",            // an id twice
      kHead + "law 14 \"Podstawa prawna:\" \"Art. 45\"\n",                       // law outside a legal block
      kHead + "legal 0 0 700 20\nlaw 14 \"a\" \"b\"\nlaw 14 \"c\" \"d\"\n",       // law items overflow
      kHead + "count p129 0 0 150 46 \"\"\n",                                    // a count of nothing
      kHead + "option p6a 0 0 100\n",                                            // too few values
      kHead + "choice 0 0 100 20 6\n",                                           // a choice without caption
  };
  for (const auto& text : cases) EXPECT_THROW(solv::ParsePageDefinition(text), solv::PageDefinitionError) << text;
}

// The footer prints the symbol as the form prints it, the variant and the
// page; a hidden cell is kept and never shown.
TEST(PageLanguage, FooterAndHiddenCells) {
  const solv::PageDefinition def = solv::ParsePageDefinition(
      "page TPIT2Kb name=PIT2Kb tag=2 pages=2 form=PIT/2K height=1121 report=pit2K title=x click=p1Click "
      "symbol=PIT-2K variant=6\nfooter\ncell p10a money 0 0 10 10 calc hidden\n");
  EXPECT_EQ(def.info.FooterSymbol(), "PIT-2K(6)");
  EXPECT_EQ(def.info.PageNumber(), "2/2");
  EXPECT_EQ(def.info.Caption(), "Formularz (2/2): PIT/2K");
  std::vector<std::string> texts;
  std::string hiddenVisible;
  for (const auto& c : def.node.children[0].children)
    for (const auto& [k, v] : c.properties) {
      if (k == "Caption") texts.push_back(v);
      if (c.name == "p10a" && k == "Visible") hiddenVisible = v;
    }
  EXPECT_EQ(texts[0], "'PIT-2K(6)'");
  EXPECT_EQ(texts[1], "'2/2'");
  EXPECT_EQ(hiddenVisible, "False");
  EXPECT_TRUE(def.cells[0].hidden);
  EXPECT_TRUE(def.furniture.footer);
}

// An option's size= sets its text, not the check mark.
TEST(PageLanguage, OptionSizeSetsTheTextOnly) {
  const solv::PageDefinition def =
      solv::ParsePageDefinition(kHead + "choice 0 0 300 40 6 \"Wybór\"\noption p6a 10 10 100 14 \"1. tak\" size=8\n");
  std::map<std::string, std::string> heights;
  for (const auto& c : def.node.children[0].children)
    for (const auto& [k, v] : c.properties)
      if (k == "Font.Height") heights[c.className] = v;
  EXPECT_EQ(heights["TKVZEditField"], "-16");
  EXPECT_EQ(heights["TKVZLabel"], "-8");
}

bool Reports(const std::vector<std::string>& problems, const std::string& part) {
  for (const auto& p : problems)
    if (p.find(part) != std::string::npos) return true;
  return false;
}

// What the standard finds, each on a small page that lacks one thing.
TEST(PageStandard, FindsWhatAPageLacks) {
  // A complete first and last page of a main form (PIT-37's class, so the
  // form is known).
  const std::string head =
      "page TPIT37a name=PIT37a tag=1 pages=1 form=PIT-37 height=1121 report=p title=p click=p1Click variant=17\n";
  const std::string header =
      "instruction\nbox p1 text 28 46 200 44 \"Identyfikator podatkowy NIP podatnika\"\n"
      "office 228 46 100 44 3 \"Nr dokumentu\"\nformtitle 28 90 738 72 \"ZEZNANIE\"\n"
      "legal 28 162 738 92\nlaw 14 \"Podstawa prawna:\" \"Art. 45\"\nlaw 14 \"Składający:\" \"Podatnicy\"\n"
      "law 14 \"Termin składania:\" \"Do 30 kwietnia\"\nlaw 14 \"Miejsce składania:\" \"Urząd skarbowy\"\n";
  const std::string closing = "frame 28 900 300 50 137 \"Podpis podatnika\"\nnotes 28 960 \"M\" 140\nfooter\n";
  ASSERT_TRUE(solv::PageStructureProblems(solv::ParsePageDefinition(head + header + closing)).empty())
      << Joined(solv::PageStructureProblems(solv::ParsePageDefinition(head + header + closing)));

  const struct {
    const char* what;
    std::string text;
    const char* problem;
  } cases[] = {
      {"no footer", head + header + "frame 28 900 300 50 137 \"Podpis podatnika\"\nnotes 28 960 \"M\" 140\n",
       "brak stopki"},
      {"no variant", "page TPIT37a name=PIT37a tag=1 pages=1 form=PIT-37 height=1121 report=p title=p click=p1Click\n" +
                         header + closing, "bez wariantu"},
      {"no instruction line", head + header.substr(header.find('\n') + 1) + closing, "pouczenia"},
      {"no legal item", head + header.substr(0, header.find("law 14 \"Miejsce")) + closing, "Miejsce składania"},
      {"no signature", head + header + "notes 28 960 \"M\" 140\nfooter\n", "bez podpisu"},
      {"no office notes", head + header + "frame 28 900 300 50 137 \"Podpis podatnika\"\nfooter\n", "adnotacji"},
      {"a cell without number", head + header + closing + "cell p50 money 28 500 100 20\n", "p50: brak numeru"},
      {"a box without caption", head + header + closing + "box p51 money 28 500 100 40 \"\"\n", "p51: brak opisu"},
      {"an option outside a choice", head + header + closing + "option p52a 28 500 100 14 \"tak\"\n",
       "p52a: brak numeru"},
      {"a generic count", head + header + closing + "box p53 int 28 500 100 40 \"Liczba załączników\"\n",
       "nie mówi jakich"},
      {"a key letter as a number", head + header + closing + "label 28 500 30 12 \"6a.\"\n", "litera pola"},
      {"a generic page header", head + header + closing + "label 28 500 100 12 \"Strona 1/3\"\n", "ogólny nagłówek"},
      {"off the sheet", head + header + closing + "rect 700 500 100 10\n", "poza arkuszem"},
      {"into the footer", head + header + closing + "rect 28 1080 100 20\n", "sięga stopki"},
      {"below the A4 sheet",
       "page TPIT37a name=PIT37a tag=1 pages=1 form=PIT-37 height=1164 report=p title=p click=p1Click variant=17\n" +
           header + closing + "rect 28 1130 100 20\n", "kartki A4"},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(Reports(solv::PageStructureProblems(solv::ParsePageDefinition(c.text)), c.problem))
        << c.what << ":\n" << Joined(solv::PageStructureProblems(solv::ParsePageDefinition(c.text)));

  // A hidden helper cell needs neither number nor caption.
  EXPECT_TRUE(solv::PageStructureProblems(
                  solv::ParsePageDefinition(head + header + closing + "cell p10a money 0 0 10 10 calc hidden\n"))
                  .empty());
  // An attachment's first page needs its note instead of the four items,
  // and its last page closes without signatures; a statement of its own
  // (PIT-2K) needs a legal block, and an item without a head is none.
  auto firstPage = [](const char* cls, const char* form) {
    return std::string("page T") + cls + " name=" + cls + " tag=1 pages=1 form=" + form +
           " height=1121 report=p title=p click=p1Click variant=17\n"
           "instruction\nbox p1 text 28 46 200 44 \"Identyfikator podatkowy NIP podatnika\"\n"
           "office 228 46 100 44 3 \"Nr dokumentu\"\nformtitle 28 90 738 72 \"INFORMACJA\"\nfooter\n";
  };
  const std::string attachment = firstPage("PITOa", "PIT/O");
  EXPECT_TRUE(Reports(solv::PageStructureProblems(solv::ParsePageDefinition(attachment)), "(note)"));
  EXPECT_TRUE(Reports(solv::PageStructureProblems(solv::ParsePageDefinition(
                          attachment + "legal 28 162 738 30\nlaw 14 \"Podstawa prawna:\" \"Art. 45\"\n")),
                      "(note)"));
  EXPECT_TRUE(solv::PageStructureProblems(solv::ParsePageDefinition(
                  attachment + "note 28 170 738 14 \"Załącznik do zeznania PIT-37\"\n"))
                  .empty());
  std::string statement = firstPage("PIT2Ka", "PIT/2K");
  statement.replace(statement.find("pages=1"), 7, "pages=2");  // its last page needs signatures
  EXPECT_TRUE(Reports(solv::PageStructureProblems(solv::ParsePageDefinition(
                          statement + "legal 28 162 738 30\nlaw 14 \"\" \"Oświadczenie\"\n")),
                      "bez bloku prawnego"));
  EXPECT_TRUE(solv::PageStructureProblems(solv::ParsePageDefinition(
                  statement + "legal 28 162 738 30\nlaw 14 \"Podstawa prawna:\" \"Art. 26\"\n"))
                  .empty());
}

}  // namespace
