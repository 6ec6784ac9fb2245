#include "shell/edit_filter.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "store/cp1250.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

std::u32string Decode(std::string_view s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + static_cast<size_t>(len) > s.size()) {
      out += U'\uFFFD';
      ++i;
      continue;
    }
    char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + static_cast<size_t>(k)]) & 0x3F);
    out += cp;
    i += static_cast<size_t>(len);
  }
  return out;
}

std::string Encode(std::u32string_view s) {
  std::string out;
  for (char32_t c : s) AppendUtf8(out, c);
  return out;
}

// Upper case of the letters the program's users type: ASCII, Latin-1 and
// Latin Extended-A (the Polish letters among them).
char32_t ToUpper(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c & ~char32_t{1};
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 0) ? c - 1 : c;
  return c;
}

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool IsBlank(char32_t c) { return c == U' ' || c == U'\t' || c == 0xA0; }

bool IsNumber(std::string_view text) {
  return !std::isnan(ParseAmount(text, std::numeric_limits<long double>::quiet_NaN()));
}

bool InAdmitKey(const EditorState& s, char32_t key) { return Decode(s.admitKey).find(key) != std::u32string::npos; }

// The state with the selection removed (or the character before the caret for
// a backspace without selection), or with `insert` put at the caret.
EditorState Edited(EditorState s, std::u32string text, bool backspace, char32_t insert) {
  int caret = std::clamp(s.caret, 0, static_cast<int>(text.size()));
  if (s.selLength > 0) {
    const int from = std::clamp(s.selStart, 0, static_cast<int>(text.size()));
    const int n = std::min(s.selLength, static_cast<int>(text.size()) - from);
    text.erase(static_cast<size_t>(from), static_cast<size_t>(n));
    caret = from;
  } else if (backspace && caret > 0) {
    text.erase(static_cast<size_t>(caret - 1), 1);
    --caret;
  }
  if (!backspace && insert != 0) {
    text.insert(static_cast<size_t>(caret), 1, insert);
    ++caret;
  }
  s.text = Encode(text);
  s.caret = caret;
  s.selStart = caret;
  s.selLength = 0;
  return s;
}

KeyResult Rejected(const EditorState& s) { return {false, false, s}; }

// The "dd-mm-yyyy" pattern: overwrite at the caret, separators at 2 and 5.
KeyResult TypeDate(const EditorState& s, std::u32string text, char32_t key) {
  if (key == kKeyBackspace) return {true, false, Edited(s, std::move(text), true, 0)};
  if (key == kKeyEnter) return {true, false, s};
  int pos = std::clamp(s.selLength > 0 ? s.selStart : s.caret, 0, static_cast<int>(text.size()));
  auto put = [&text](int at, char32_t c) {
    if (at < static_cast<int>(text.size())) {
      text[static_cast<size_t>(at)] = c;
      return true;
    }
    if (at == static_cast<int>(text.size()) && text.size() < 10) {
      text += c;
      return true;
    }
    return false;
  };
  if (pos == 2 || pos == 5) {
    if (key == s.dateSeparator) {
      if (!put(pos, key)) return Rejected(s);
      EditorState r = s;
      r.text = Encode(text);
      r.caret = r.selStart = pos + 1;
      r.selLength = 0;
      return {true, false, r};
    }
    if (!IsDigit(key)) return Rejected(s);
    if (!put(pos, s.dateSeparator)) return Rejected(s);
    ++pos;
  } else if (!IsDigit(key)) {
    return Rejected(s);
  }
  if (pos >= 10 || !put(pos, key)) return Rejected(s);
  EditorState r = s;
  r.text = Encode(text);
  r.caret = r.selStart = pos + 1;
  r.selLength = 0;
  return {true, false, r};
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

}  // namespace

KeyResult TypeKey(const EditorState& state, char32_t key) {
  if (key == state.keyByTab) return {false, true, state};
  if (key == kKeyEscape) {
    EditorState s = state;
    s.text.clear();
    s.caret = s.selStart = s.selLength = 0;
    return {true, false, s};
  }
  std::u32string text = Decode(state.text);

  EditType type = state.type;
  if (type == EditType::kvzFloatORString) {
    const bool keepsNumeric = IsDigit(key) || key == kKeyBackspace || key == kKeyEnter || key == U',' || key == U'.';
    if (!IsNumber(state.text) || text.find(U' ') != std::u32string::npos) type = EditType::kvzString;
    else if (keepsNumeric || InAdmitKey(state, key)) type = EditType::kvzFloat;
    else type = EditType::kvzString;
  }

  if (type != EditType::kvzString && IsBlank(key)) return Rejected(state);
  if (type == EditType::kvzDate) return TypeDate(state, std::move(text), key);
  if (key == kKeyBackspace) return {true, false, Edited(state, std::move(text), true, 0)};
  if (key == kKeyEnter) return {true, false, state};

  char32_t insert = key;
  switch (type) {
    case EditType::kvzString:
      break;
    case EditType::kvzInteger:
      if (!IsDigit(key) && key != U'-' && key != U'#' && key != U'$' && key != U'%' && key != U'\'')
        return Rejected(state);
      break;
    case EditType::kvzFloat:
    case EditType::kvzFloatMinus:
    case EditType::kvzFloatANDNull:
    case EditType::kvzFloatORString: {
      if (key == U',' || key == U'.') {
        if (text.find(U',') != std::u32string::npos || text.find(U'.') != std::u32string::npos)
          return Rejected(state);
        insert = U',';
      } else if (key == U'-' && type == EditType::kvzFloatMinus) {
        // Only at the start (caret at 0, or the whole text selected) and once.
        const int at = state.selLength > 0 ? state.selStart : state.caret;
        if (at != 0 || (!text.empty() && text[0] == U'-')) return Rejected(state);
      } else if (!IsDigit(key) && !InAdmitKey(state, key)) {
        return Rejected(state);
      }
      break;
    }
    case EditType::kvzDate:
      break;
  }

  if (state.upperCase) insert = ToUpper(insert);
  if (type == EditType::kvzString && state.firstUpp && text.empty()) insert = ToUpper(insert);
  return {true, false, Edited(state, std::move(text), false, insert)};
}

std::string EnterText(std::string_view text) { return Trim(text); }

bool IsNumericEditType(EditType type) {
  return type == EditType::kvzInteger || type == EditType::kvzFloat || type == EditType::kvzFloatMinus ||
         type == EditType::kvzFloatANDNull;
}

std::string LeaveText(EditType type, int precision, std::string_view text) {
  std::string t = Trim(text);
  if (IsNumericEditType(type)) {
    const size_t minus = t.find('-');
    if (minus != std::string::npos && minus > 0) {
      t.erase(minus, 1);
      t.insert(t.begin(), '-');
    }
  }
  const bool fixed = type == EditType::kvzFloat || type == EditType::kvzFloatMinus || type == EditType::kvzFloatANDNull;
  if (fixed && precision > 0) {
    if (type == EditType::kvzFloatANDNull && t.empty()) return t;
    const long double x = ParseAmount(t, 0);
    t = RenderFixed(x, precision);  // single rounding, as Format("%.Nf")
  }
  return t;
}

CellEditResult CellTextAfterEdit(CellKind kind, std::string_view editorText, std::string_view noValue) {
  if (kind == CellKind::Text || kind == CellKind::Check) return {true, std::string(editorText), {}};
  const std::string trimmed = Trim(editorText);
  if (trimmed.empty()) return {true, std::string(noValue), {}};
  const long double x = ParseAmount(trimmed, std::numeric_limits<long double>::quiet_NaN());
  if (std::isnan(x)) return {false, {}, "'" + trimmed + "' is not a valid floating point value"};
  if (x > -2000000000.1L && x < 2000000000.1L) return {true, std::string(editorText), {}};
  return {true, std::string(noValue), {}};
}

EditType EditTypeOf(CellKind kind) {
  switch (kind) {
    case CellKind::Money: return EditType::kvzFloat;
    case CellKind::Integer: return EditType::kvzInteger;
    default: return EditType::kvzString;
  }
}

int EditPrecisionOf(CellKind kind) { return kind == CellKind::Money ? 2 : 0; }

}  // namespace solv
