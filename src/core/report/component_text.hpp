// The textual component format:
//
//   object pit37a: TKVZReport
//     ReportTitle = 'pit37a'
//   end
//
// one "object NAME: CLASS" line per component, its "Property = Value" lines,
// its sub-objects, and a closing "end". Values are written in the format's
// own syntax: texts in single quotes ('' for a quote; characters outside
// printable ASCII as #NNN code points, so the file is pure ASCII), integers,
// identifiers (True, clRed, taLeftJustify), sets in brackets ([fsBold]).
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "report/component_node.hpp"

namespace solv {

// Malformed component text; what() says where.
class ComponentTextError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // what() is "line N: message"; line() is N (1-based).
  ComponentTextError(int line, const std::string& message)
      : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line) {}
  int line() const { return line_; }

 private:
  int line_ = 0;
};

// Value syntax.
std::string QuoteText(std::string_view utf8);                 // 'Kliknij', 'Zak'#322'ad'
std::optional<std::string> UnquoteText(std::string_view value);  // nullopt when not a text value
std::string IntValue(long long v);
std::optional<long long> ParseIntValue(std::string_view value);

// Writes a tree as text (two blanks of indentation per level, LF line ends).
std::string WriteComponentText(const ComponentNode& root);
// Reads one root object; throws ComponentTextError on anything malformed.
ComponentNode ReadComponentText(std::string_view text);

}  // namespace solv
