// Page definitions: the text files in forms/ that describe each page of a
// form (its header line, the printed labels and frames of the official form,
// and the field cells), compiled into the programs.
//
// Syntax, one statement a line ('#' starts a comment; texts in double quotes,
// "" for a quote inside; geometry in pixels of the 96 dpi sheet):
//
//   page CLASS name=PIT37b tag=2 pages=3 form=PIT-37 height=1164
//        report=pit37b title=pit37b click=p39Click [symbol=PIT-37] [variant=17]
//                                     symbol: as the form prints it (default
//                                     form); variant: the number the footer
//                                     prints in brackets after it
//   label X Y W H "text" [size=N] [bold] [italic] [align=left|center|right]
//        [valign=top|center|bottom] [wrap] [color=N] [fill=N] [id=ID]
//   rect X Y W H [fill=N] [pen=N|none] [penwidth=N]
//   hline X Y W [penwidth=N]          vline X Y H [penwidth=N]
//   cell NAME KIND X Y W H [calc] [novalue="..."] [clear="..."] [size=N]
//        [hidden]                     a bare cell; hidden: a helper cell of
//                                     the calculation that the form does not
//                                     print (kept, never shown)
//   box NAME KIND X Y W H "caption" [num=N] [calc] [novalue=...] [clear=...]
//        [size=N] [shade] [row=ID|none] [col=ID|none]
//                                     a white frame with the number and the
//                                     caption at its top and the cell along
//                                     its bottom
//   bar X Y W H "title" [size=N]       a shaded section bar with a bold title
//   grid X Y COLS COLW ROWH           following "flow" boxes fill this grid
//   flow NAME KIND "caption" [calc] [span=N] [novalue=...] [clear=...]
//   origin X Y                        positions of the following statements are
//                                     taken from this point (0 0 at the start)
//
// Tables. A box's printed caption is its row heading, its column heading and
// its own caption, those present, joined by " / ":
//   colhead X Y W H "text" [id=ID] [size=N]
//                                     a shaded column heading; a box that lies
//                                     within its width takes it as column
//                                     (the headings of one heading row are
//                                     replaced by the next heading row)
//   rowhead X Y W H "N." "text" [id=ID] [size=N] [bold] [noshade]
//                                     a row heading with its number; the row
//                                     of the boxes that follow, until the
//                                     next rowhead, bar or origin
//   row=ID, col=ID on a box name a label, rowhead or colhead by its id
//   instead; none leaves the row or column out.
//
// Check boxes:
//   choice X Y W H NUM "caption" [caph=N] [row=ID]
//                                     a white frame with the box number and
//                                     its caption; the options that follow
//                                     belong to it
//   option NAME X Y W H "text" [size=N] [calc] [num=N]
//                                     a check box at X Y (30 x 20) with its
//                                     option text in a W x H frame right of it
//
// The furniture every form repeats (positions relative to the origin, but
// instruction and footer, which stand at fixed places of the sheet):
//   instruction [Y] ["text"]          the instruction line above the header
//                                     ("POLA JASNE WYPEŁNIA PODATNIK, ...")
//   formtitle X Y W H "title" [size=N] [titleh=N] [symsize=N] [symw=N]
//                                     the shaded block with the form's symbol
//                                     and its title
//   office X Y W H NUM "caption"      a shaded box the office fills (no cell)
//   frame X Y W H NUM "caption" [shade]
//                                     a printed box that holds no value (a
//                                     signature; "Podpis ..." counts as one)
//   legal X Y W H                     the shaded legal block; the law items
//   law H "head" "text"               that follow stack in it, H high each
//   note X Y W H "text" [size=N]      an attachment's note ("Załącznik do
//                                     zeznania ..."), bold and centred
//   count NAME X Y W H "FORM" [noun=N] [calc]
//                                     an attachment count: an integer box
//                                     captioned "Liczba " + noun (default
//                                     "załączników") + " " + FORM
//   notes X Y "LETTER" NUM [w=N]      the part "ADNOTACJE URZĘDU SKARBOWEGO"
//                                     with the office's boxes NUM to NUM + 2
//   footer                            symbol(variant) and page number n/m
//
// Colours (fill, color, pen) are numbers 0x00BBGGRR written in decimal, or
// "shade" for the grey of the official forms (14145495).
//
// KIND is text, money, check or int (cell Tag 0, 1, 2, 3). A cell is editable
// unless marked calc. NoValue and ClearValue default by kind: money "0,00",
// check box "[  ]", integer "0", text empty.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "report/component_node.hpp"

namespace solv {

class PageDefinitionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class CellKind { Text = 0, Money = 1, Check = 2, Integer = 3 };

struct PageDefinition;

struct CellInfo {
  std::string name;
  CellKind kind;
  bool editable;
  std::string noValue;
  std::string clearValue;
  std::string number;   // the box number as printed ("39"); empty when none is printed
  std::string caption;  // as printed: row heading / column heading / own caption
  std::string countOf;  // an attachment count: the form it counts ("PIT/O")
  bool hidden = false;  // a helper cell the form does not print
  // Where the cell lies on the sheet, and the frame of its box: a click
  // anywhere in the frame (its number and caption too) is a click on the
  // cell. A bare cell's frame is the cell; an option's takes its text in.
  struct Area {
    int x = 0, y = 0, w = 0, h = 0;
    bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
  };
  Area rect;
  Area frame;
};

// The cell a click at (x, y) of the sheet falls on: a cell itself first (the
// last one defined when cells overlap, as the topmost is painted last), then
// the frame of a box; hidden cells never. nullptr for none.
const CellInfo* CellAtPoint(const PageDefinition& page, int x, int y);

// The blocks of the official forms a page carries, as its statements drew
// them (the page standard checks them).
struct PageFurniture {
  bool instruction = false;
  bool title = false;  // the symbol and title of a first page
  int officeBoxes = 0;
  std::vector<std::string> legalHeads;  // "Podstawa prawna:", ...
  bool attachmentNote = false;          // "Załącznik do zeznania ..."
  int signatures = 0;
  bool notes = false;  // ADNOTACJE URZĘDU SKARBOWEGO
  bool footer = false;
  int footerTop = 0;                      // where the footer starts (nothing else may reach it)
  std::vector<std::string> footerLabels;  // the footer's components by name
};

struct PageInfo {
  std::string className;   // TPIT37b
  std::string pageName;    // PIT37b
  int tag = 1;             // page number within the form
  int pages = 1;           // pages of the form
  std::string form;        // PIT-37
  int height = 1121;       // band height
  std::string reportName;  // pit37b
  std::string reportTitle;
  std::string clickHandler;  // p39Click
  std::string symbol;        // as printed: PIT-37, PIT-28/A, PIT-2K
  std::string variant;       // the form's variant: 17
  std::string Caption() const;  // "Formularz (2/3): PIT-37"
  std::string FooterSymbol() const;  // "PIT-37(17)"
  std::string PageNumber() const;    // "2/3"
};

// The instance section a page belongs to by default: the form's first page
// name ("PIT37a" for PIT37b, "PIT2Ka" for PIT2Kb).
std::string DefaultInstanceOf(const PageInfo& page);

// Parses a definition; throws PageDefinitionError with the line number.
struct PageDefinition {
  PageInfo info;
  std::vector<CellInfo> cells;  // in definition order
  PageFurniture furniture;
  ComponentNode node;           // the page window with band, cells, editor and report
};
PageDefinition ParsePageDefinition(std::string_view text);

// The compiled-in pages in form-table order.
const std::vector<PageDefinition>& PageCatalogue();
const PageDefinition* FindPage(std::string_view classOrPageName);  // "TPIT37b" or "PIT37b"

// Makes the catalogue read the definitions from the *.page files of folder
// instead of the compiled-in ones (for whoever edits pages: no rebuild).
// Takes effect only before the catalogue is first used; throws
// PageDefinitionError naming the file whose definition is wrong.
void UsePageDefinitionFolder(const std::string& folder);

// A definition read from a file; throws PageDefinitionError naming the file.
PageDefinition ReadPageDefinitionFile(const std::string& path);

}  // namespace solv
