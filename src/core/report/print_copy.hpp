// The print copy of a page: the page's component text is edited into a
// print-only definition (no events, no editor, no popup menu, plain fields,
// a name of its own), passed through a private file and read back.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "report/component_node.hpp"

namespace solv {

// The copy could not be written, read back or read as a page. what() is
// "Błąd: Plik jest uszkodzony " + the file's path; detail() is the reading
// error's own message, empty when there was none (a file that could not be
// written or is missing, a definition without a report).
class PrintCopyError : public std::runtime_error {
 public:
  PrintCopyError(const std::filesystem::path& file, std::string detail);
  const std::string& detail() const { return detail_; }

 private:
  std::string detail_;
};

// The text edits, in the order MakePrintCopyText applies them. Each works on
// lines (LF, CRLF or CR) and keeps the line ends it finds.
//
// Removes property lines that begin (after indentation) with an event
// handler, a hint, visibility, child-window style, TagPop or TagIndex prefix,
// with the continuation lines of a removed text.
std::string DeletePrintCopyLines(std::string_view text);
// Removes the blocks "object Ed1: TKVZEdit" and "object PopupMenu1: TPopupMenu"
// up to their own "end" (nested objects included).
std::string DeletePrintCopyBlocks(std::string_view text);
// Turns every TKVZEditField into TKVZField and adds "Scaled = FALSE" after a
// "PixelsPerInch = 96" line.
std::string ReplacePrintCopyClasses(std::string_view text);
// Replaces every occurrence of pageName, ignoring letter case, by pageName +
// "bak"; the keywords "object" and "end" are left alone.
std::string ReplacePageName(std::string_view text, std::string_view pageName);
// All of the above.
std::string MakePrintCopyText(std::string_view text, std::string_view pageName);

// Where print copies pass: the system's temporary folder (TMPDIR), each in a
// file of its own named kPrintCopyPrefix and six random characters, made
// for this process only and deleted once read.
std::filesystem::path PrintCopyFolder();
inline constexpr const char* kPrintCopyPrefix = "solv-all.r76-";

// Reads the print-copy file as a page definition and deletes it, whatever
// the outcome. Throws PrintCopyError when it is missing, unreadable,
// malformed or holds no TKVZReport.
ComponentNode LoadPrintCopyFile(const std::filesystem::path& file);

// Writes page as text, edits it, writes it to a new private print-copy file
// (Windows-1250, CRLF), reads it back and deletes it. Leaves no file behind.
ComponentNode MakePrintCopyNode(const ComponentNode& page, const std::string& pageName);

}  // namespace solv
