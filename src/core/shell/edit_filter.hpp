// The input rules of the page editor (the one-line edit box moved over the
// clicked cell), as pure functions on the editor's state: which typed keys
// are accepted and what they do to the text, how the text is tidied when the
// editor is entered and left, and what a cell takes when the editor leaves it.
//
// Texts are UTF-8; caret and selection count characters (code points).
#pragma once

#include <string>
#include <string_view>

#include "report/page_definition.hpp"

namespace solv {

enum class EditType {
  kvzString = 0,
  kvzInteger,
  kvzFloat,
  kvzFloatMinus,
  kvzFloatORString,
  kvzFloatANDNull,
  kvzDate,
};

// Control keys as the editor receives them.
constexpr char32_t kKeyBackspace = 8;
constexpr char32_t kKeyTab = 9;
constexpr char32_t kKeyEnter = 13;
constexpr char32_t kKeyEscape = 27;

struct EditorState {
  std::string text;
  int caret = 0;           // insertion point, 0..length
  int selStart = 0;        // selection, empty when selLength is 0
  int selLength = 0;
  EditType type = EditType::kvzString;
  int precision = 2;       // decimals of the float types
  std::string admitKey;    // extra characters the numeric types accept
  bool firstUpp = false;   // string type: first character into an empty box upper-cased
  bool upperCase = false;  // typed letters are upper-cased
  char32_t keyByTab = kKeyTab;
  char32_t dateSeparator = U'-';
  std::string original;    // the box's text when the edit began (Escape restores it)
};

struct KeyResult {
  bool accepted = false;   // false: the key inserted nothing and the state is unchanged
  bool focusNext = false;  // the KeyByTab character: move to the next control
  EditorState state;
  bool cancel = false;     // Escape: the edit ends, the box keeps its value (the state's text)
  std::string refusal;     // why a refused key was refused, for the user; empty when
                           // there is nothing to say (a blank between digit groups)
};

// One typed character.
//
// Escape cancels the edit: the text becomes `original` again.
// In the float types a second ',' or '.' is taken for the decimal comma
// when the one the text holds is followed by exactly three digits that end
// the text at the caret: that one was a thousands separator and goes
// ("1.234" then ",56" gives "1234,56"). Otherwise it is refused.
KeyResult TypeKey(const EditorState& state, char32_t key);

// Pasted text (or text an input method commits). The numeric types take it
// as one amount, all or nothing: blanks between digit groups go; a '.' or
// ',' that groups thousands (groups of three digits, both kinds in one
// amount: the last one is the decimal separator) goes; the decimal
// separator becomes ','. Text that is no such amount, an ambiguous single
// separator before exactly three digits ("1.234"), a sign or more decimals
// than the type allows are refused with the reason and change nothing.
// The other types take it key by key (line breaks and tabs left out).
KeyResult InsertText(const EditorState& state, std::u32string_view text);

// Why a money or integer box refuses the editor's text when the editor is
// left (empty: the text is taken): a negative amount in a money box, more
// than two decimals, a number beyond the range the boxes hold. The text
// would otherwise be stored as another number (rounded, or the box's
// NoValue).
std::string EntryRefusal(CellKind kind, std::string_view editorText);

// The text when the editor is entered: trimmed.
std::string EnterText(std::string_view text);

// The numeric types whose leaving moves a '-' to the front.
bool IsNumericEditType(EditType type);

// The text when the editor is left: trimmed; for the numeric types a '-'
// standing after the first character moved to the front; kvzFloat and
// kvzFloatMinus with a precision above 0 rewritten with exactly that many
// decimals (empty or unparsable counts as 0); kvzFloatANDNull the same but an
// empty text stays empty.
std::string LeaveText(EditType type, int precision, std::string_view text);

// What a cell takes when the editor leaves it.
struct CellEditResult {
  bool valid = true;   // false: the text is not a number; the cell keeps its text, the editor stays
  std::string text;    // the cell's new text when valid
  std::string error;   // the conversion error message when not valid
};
// Text cells take the editor's text. Money and integer cells take it when it
// is not blank and its number lies strictly between -2000000000.1 and
// 2000000000.1, else their NoValue; a text that is not a number at all is a
// conversion error.
CellEditResult CellTextAfterEdit(CellKind kind, std::string_view editorText, std::string_view noValue);

// What the editor starts as over a cell of the kind (check boxes have none).
// Money boxes take a '-' at the start, so that a negative entry stays as
// typed and is refused when the editor is left, never turned into its
// opposite.
EditType EditTypeOf(CellKind kind);
int EditPrecisionOf(CellKind kind);

}  // namespace solv
