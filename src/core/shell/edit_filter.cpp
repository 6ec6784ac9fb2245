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

KeyResult Rejected(const EditorState& s, std::string why = {}) {
  KeyResult r;
  r.state = s;
  r.refusal = std::move(why);
  return r;
}

KeyResult Accepted(EditorState s) {
  KeyResult r;
  r.accepted = true;
  r.state = std::move(s);
  return r;
}

// Why keys and texts are refused.
constexpr const char* kAmountKeys = "W tę pozycję wpisuje się kwotę: cyfry i przecinek przed groszami.";
constexpr const char* kIntegerKeys = "W tę pozycję wpisuje się liczbę całkowitą: same cyfry.";
constexpr const char* kDateKeys = "W tę pozycję wpisuje się datę: dd-mm-rrrr.";
constexpr const char* kSecondSeparator =
    "Kwota ma już przecinek przed groszami. Separatora tysięcy nie trzeba wpisywać.";
constexpr const char* kNoMinus = "Kwota w tej pozycji nie może być ujemna.";
constexpr const char* kMinusAtStart = "Znak minus może stać tylko raz, na początku liczby.";
constexpr const char* kTooManyDecimals =
    "Kwota może mieć najwyżej dwa miejsca po przecinku (grosze). Jeśli kropka lub przecinek oddzielały "
    "tysiące, wpisz kwotę bez nich, np. 1234,56.";
constexpr const char* kAmbiguousSeparator =
    "Nie wiadomo, czy znak przed trzema ostatnimi cyframi oddziela tysiące, czy grosze. Wpisz kwotę bez "
    "separatora tysięcy, np. 1234 albo 1,23.";
constexpr const char* kTooLarge = "Liczba jest za duża: pozycja mieści najwyżej 2 000 000 000.";

// Digits grouped by sep in threes after a first group of one to three:
// "1.234.567".
bool IsGrouped(std::u32string_view s, char32_t sep) {
  size_t group = 0;
  bool first = true;
  for (char32_t c : s) {
    if (c == sep) {
      if (group == 0 || group > 3 || (!first && group != 3)) return false;
      first = false;
      group = 0;
    } else if (IsDigit(c)) {
      ++group;
    } else {
      return false;
    }
  }
  return !first && group == 3;
}

bool AllDigits(std::u32string_view s) {
  return std::all_of(s.begin(), s.end(), [](char32_t c) { return IsDigit(c); });
}

std::u32string WithoutChar(std::u32string_view s, char32_t drop) {
  std::u32string out;
  for (char32_t c : s)
    if (c != drop) out += c;
  return out;
}

// A pasted text as one amount of the type: digits, '-' first when the type
// takes it, ',' before the decimals. Empty with why set when it is none.
std::u32string NormalisedAmount(std::u32string_view in, EditType type, int precision, std::string& why) {
  std::u32string s;
  for (char32_t c : in)
    if (!IsBlank(c) && c != 0x202F && c != U'\r' && c != U'\n') s += c;  // blanks group digits
  // A copied amount may carry its currency.
  for (std::u32string_view unit : {U"zł", U"ZŁ", U"Zł", U"PLN", U"pln"})
    if (s.size() > unit.size() && std::u32string_view(s).ends_with(unit)) {
      s.erase(s.size() - unit.size());
      break;
    }
  bool negative = false;
  if (!s.empty() && s[0] == U'-') {
    negative = true;
    s.erase(0, 1);
  }
  const bool isFloat = type != EditType::kvzInteger;
  if (negative && type != EditType::kvzFloatMinus && type != EditType::kvzInteger) {
    why = kNoMinus;
    return {};
  }
  std::u32string whole = s, decimals;
  bool haveDecimals = false;
  const size_t last = s.find_last_of(U",.");
  if (last != std::u32string::npos) {
    const char32_t sep = s[last];
    const char32_t other = sep == U',' ? U'.' : U',';
    const size_t count = static_cast<size_t>(std::count(s.begin(), s.end(), sep));
    const bool hasOther = s.find(other) != std::u32string::npos;
    if (!isFloat) {
      // An integer has no decimals: every separator groups thousands.
      if (hasOther || !IsGrouped(s, sep)) {
        why = kIntegerKeys;
        return {};
      }
      whole = WithoutChar(s, sep);
    } else if (hasOther) {
      // Both kinds: the last one is the decimal separator, the other groups.
      if (count > 1 || s.find(other) > last || !IsGrouped(s.substr(0, last), other)) {
        why = kAmountKeys;
        return {};
      }
      whole = WithoutChar(s.substr(0, last), other);
      decimals = s.substr(last + 1);
      haveDecimals = true;
    } else if (count > 1) {
      if (!IsGrouped(s, sep)) {
        why = kAmountKeys;
        return {};
      }
      whole = WithoutChar(s, sep);
    } else {
      decimals = s.substr(last + 1);
      whole = s.substr(0, last);
      if (decimals.size() == 3 && !whole.empty() && whole.size() <= 3 && AllDigits(whole) && AllDigits(decimals)) {
        why = kAmbiguousSeparator;
        return {};
      }
      haveDecimals = true;
    }
  }
  if (!AllDigits(whole) || !AllDigits(decimals) || (whole.empty() && decimals.empty())) {
    why = isFloat ? kAmountKeys : kIntegerKeys;
    return {};
  }
  if (haveDecimals && static_cast<int>(decimals.size()) > std::max(precision, 0)) {
    why = kTooManyDecimals;
    return {};
  }
  std::u32string out = negative ? U"-" : U"";
  out += whole.empty() ? U"0" : whole;
  if (haveDecimals && !decimals.empty()) out += U"," + decimals;
  return out;
}

// The "dd-mm-yyyy" pattern: overwrite at the caret, separators at 2 and 5.
KeyResult TypeDate(const EditorState& s, std::u32string text, char32_t key) {
  if (key == kKeyBackspace) return Accepted(Edited(s, std::move(text), true, 0));
  if (key == kKeyEnter) return Accepted(s);
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
      return Accepted(r);
    }
    if (!IsDigit(key)) return Rejected(s, kDateKeys);
    if (!put(pos, s.dateSeparator)) return Rejected(s);
    ++pos;
  } else if (!IsDigit(key)) {
    return Rejected(s, kDateKeys);
  }
  if (pos >= 10 || !put(pos, key)) return Rejected(s);
  EditorState r = s;
  r.text = Encode(text);
  r.caret = r.selStart = pos + 1;
  r.selLength = 0;
  return Accepted(r);
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

}  // namespace

KeyResult TypeKey(const EditorState& state, char32_t key) {
  if (key == state.keyByTab) {
    KeyResult r = Rejected(state);
    r.focusNext = true;
    return r;
  }
  if (key == kKeyEscape) {
    EditorState s = state;
    s.text = s.original;
    s.caret = s.selStart = static_cast<int>(Decode(s.text).size());
    s.selLength = 0;
    KeyResult r = Accepted(s);
    r.cancel = true;
    return r;
  }
  std::u32string text = Decode(state.text);

  EditType type = state.type;
  if (type == EditType::kvzFloatORString) {
    const bool keepsNumeric = IsDigit(key) || key == kKeyBackspace || key == kKeyEnter || key == U',' || key == U'.';
    if (!IsNumber(state.text) || text.find(U' ') != std::u32string::npos) type = EditType::kvzString;
    else if (keepsNumeric || InAdmitKey(state, key)) type = EditType::kvzFloat;
    else type = EditType::kvzString;
  }

  if (type != EditType::kvzString && IsBlank(key)) return Rejected(state);  // a blank between digit groups
  if (type == EditType::kvzDate) return TypeDate(state, std::move(text), key);
  if (key == kKeyBackspace) return Accepted(Edited(state, std::move(text), true, 0));
  if (key == kKeyEnter) return Accepted(state);

  char32_t insert = key;
  switch (type) {
    case EditType::kvzString:
      break;
    case EditType::kvzInteger:
      if (!IsDigit(key) && key != U'-' && key != U'#' && key != U'$' && key != U'%' && key != U'\'')
        return Rejected(state, kIntegerKeys);
      break;
    case EditType::kvzFloat:
    case EditType::kvzFloatMinus:
    case EditType::kvzFloatANDNull:
    case EditType::kvzFloatORString: {
      if (key == U',' || key == U'.') {
        const size_t held = text.find_first_of(U",.");
        if (held != std::u32string::npos) {
          // The separator held before exactly three digits that end the text
          // at the caret grouped thousands: it goes, this one is the comma.
          const bool atEnd = state.selLength == 0 && state.caret == static_cast<int>(text.size());
          const std::u32string_view after = std::u32string_view(text).substr(held + 1);
          const size_t lead = !text.empty() && text[0] == U'-' ? 1 : 0;  // the first digit; no group starts with 0
          const bool grouped = atEnd && held > lead && text[lead] != U'0' && IsDigit(text[held - 1]) &&
                               after.size() == 3 && AllDigits(after);
          if (!grouped) return Rejected(state, kSecondSeparator);
          text.erase(held, 1);
          EditorState moved = state;
          moved.caret = state.caret - 1;
          moved.selStart = moved.caret;
          return Accepted(Edited(moved, std::move(text), false, U','));
        }
        insert = U',';
      } else if (key == U'-' && type == EditType::kvzFloatMinus) {
        // Only at the start (caret at 0, or the whole text selected) and once.
        const int at = state.selLength > 0 ? state.selStart : state.caret;
        if (at != 0 || (!text.empty() && text[0] == U'-')) return Rejected(state, kMinusAtStart);
      } else if (!IsDigit(key) && !InAdmitKey(state, key)) {
        return Rejected(state, key == U'-' ? kNoMinus : kAmountKeys);
      }
      break;
    }
    case EditType::kvzDate:
      break;
  }

  if (state.upperCase) insert = ToUpper(insert);
  if (type == EditType::kvzString && state.firstUpp && text.empty()) insert = ToUpper(insert);
  return Accepted(Edited(state, std::move(text), false, insert));
}

KeyResult InsertText(const EditorState& state, std::u32string_view text) {
  const EditType type = state.type;
  const bool amount = type == EditType::kvzInteger || type == EditType::kvzFloat || type == EditType::kvzFloatMinus ||
                      type == EditType::kvzFloatANDNull;
  std::u32string keys;
  if (amount) {
    std::string why;
    keys = NormalisedAmount(text, type, state.precision, why);
    if (!why.empty()) return Rejected(state, why);
  } else {
    for (char32_t c : text)
      if (c != U'\r' && c != U'\n' && c != U'\t') keys += c;
  }
  KeyResult out = Rejected(state);
  for (char32_t k : keys) {
    KeyResult r = TypeKey(out.state, k);
    if (!r.accepted) {
      if (amount) return Rejected(state, r.refusal.empty() ? kAmountKeys : r.refusal);
      if (out.refusal.empty()) out.refusal = r.refusal;
      continue;
    }
    out.accepted = true;
    out.state = r.state;
  }
  return out;
}

std::string EntryRefusal(CellKind kind, std::string_view editorText) {
  if (kind != CellKind::Money && kind != CellKind::Integer) return {};
  const std::string t = Trim(editorText);
  const long double x = ParseAmount(t, std::numeric_limits<long double>::quiet_NaN());
  if (t.empty() || std::isnan(x)) return {};  // blank: the box's NoValue; no number: a conversion error
  if (!(x > -2000000000.1L && x < 2000000000.1L)) return kTooLarge;
  if (kind == CellKind::Integer) return {};
  if (x < 0) return kNoMinus;
  const size_t sep = t.find_first_of(",.");
  if (sep != std::string::npos && t.size() - sep - 1 > 2) return kTooManyDecimals;
  return {};
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
    case CellKind::Money: return EditType::kvzFloatMinus;
    case CellKind::Integer: return EditType::kvzInteger;
    default: return EditType::kvzString;
  }
}

int EditPrecisionOf(CellKind kind) { return kind == CellKind::Money ? 2 : 0; }

}  // namespace solv
