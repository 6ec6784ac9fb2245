// Page definitions: the text files in forms/ that describe each page of a
// form (its header line, the printed labels and frames of the official form,
// and the field cells), compiled into the programs.
//
// Syntax, one statement a line ('#' starts a comment; texts in double quotes,
// "" for a quote inside; geometry in pixels of the 96 dpi sheet):
//
//   page CLASS name=PIT37b tag=2 pages=3 form=PIT-37 height=1164
//        report=pit37b title=pit37b click=p39Click
//   label X Y W H "text" [size=N] [bold] [italic] [align=left|center|right]
//        [valign=top|center|bottom] [wrap] [color=N] [fill=N]
//   rect X Y W H [fill=N] [pen=N|none] [penwidth=N]
//   hline X Y W [penwidth=N]          vline X Y H [penwidth=N]
//   cell NAME KIND X Y W H [calc] [novalue="..."] [clear="..."] [size=N]
//   box NAME KIND X Y W H "caption" [num=N] [calc] [novalue=...] [clear=...]
//        [size=N] [shade]
//   bar X Y W H "title" [size=N]       a shaded section bar with a bold title
//   grid X Y COLS COLW ROWH           following "flow" boxes fill this grid
//   flow NAME KIND "caption" [calc] [span=N] [novalue=...] [clear=...]
//   origin X Y                        positions of the following statements are
//                                     taken from this point (0 0 at the start)
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

struct CellInfo {
  std::string name;
  CellKind kind;
  bool editable;
  std::string noValue;
  std::string clearValue;
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
  std::string Caption() const;  // "Formularz (2/3): PIT-37"
};

// Parses a definition; throws PageDefinitionError with the line number.
struct PageDefinition {
  PageInfo info;
  std::vector<CellInfo> cells;  // in definition order
  ComponentNode node;           // the page window with band, cells, editor and report
};
PageDefinition ParsePageDefinition(std::string_view text);

// The compiled-in pages in form-table order.
const std::vector<PageDefinition>& PageCatalogue();
const PageDefinition* FindPage(std::string_view classOrPageName);  // "TPIT37b" or "PIT37b"

}  // namespace solv
