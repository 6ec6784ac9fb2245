// The textual component format: value syntax, writer and reader.
//
// Grammar accepted by ReadComponentText (one item per line; blanks and tabs
// around items are ignored, so indentation carries no meaning; blank lines
// are skipped; lines end with LF, CRLF or CR):
//
//   file      = object                      nothing but blank lines after it
//   object    = "object" NAME ":" CLASS     then its properties, then its
//               { property } { object }     sub-objects, then a line "end"
//               "end"
//   property  = PROPNAME "=" value
//   value     = text | number | IDENT | set
//   text      = runs [ "+" ]                a trailing "+" continues the text
//                                           on the next line (runs again);
//                                           the joined value is kept as one
//                                           text in canonical form
//   runs      = run { run }                 no blanks between runs
//   run       = "'" { CHAR | "''" } "'"     CHAR: any character but a control
//             | "#" DIGITS                  character; #N: Unicode code point
//                                           0..1114111, no surrogates
//   number    = [ "-" ] DIGITS [ "." DIGITS ]
//   set       = "[" [ IDENT { "," IDENT } ] "]"
//   NAME, CLASS, IDENT = letter or "_", then letters, digits or "_"
//   PROPNAME  = IDENT { "." IDENT }
//
// The keywords "object" and "end" are lower case. Objects nest at most
// kMaxDepth deep. Item lists "( )" and binary data "{ }" are not part of the
// format. The writer emits this grammar with each text on one line and
// refuses a tree that would not read back.
#include "report/component_text.hpp"

#include <charconv>
#include <cstdint>

#include "store/cp1250.hpp"
namespace solv {
namespace {

constexpr int kMaxDepth = 64;
constexpr char32_t kReplacement = 0xFFFD;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// Length of the identifier at the start of s (0 when there is none).
size_t IdentLength(std::string_view s) {
  if (s.empty() || !IsIdentStart(s[0])) return 0;
  size_t n = 1;
  while (n < s.size() && IsIdentChar(s[n])) ++n;
  return n;
}

bool IsIdent(std::string_view s) { return !s.empty() && IdentLength(s) == s.size(); }

bool IsPropName(std::string_view s) {
  size_t pos = 0;
  while (true) {
    const size_t n = IdentLength(s.substr(pos));
    if (n == 0) return false;
    pos += n;
    if (pos == s.size()) return true;
    if (s[pos] != '.') return false;
    ++pos;
  }
}


// Decodes one UTF-8 sequence at s[i] and advances i past it. Malformed,
// overlong and surrogate sequences answer -1 and advance by one byte.
long DecodeUtf8(std::string_view s, size_t& i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) {
    ++i;
    return c;
  }
  int len;
  char32_t cp, min;
  if ((c & 0xE0) == 0xC0) len = 2, cp = c & 0x1F, min = 0x80;
  else if ((c & 0xF0) == 0xE0) len = 3, cp = c & 0x0F, min = 0x800;
  else if ((c & 0xF8) == 0xF0) len = 4, cp = c & 0x07, min = 0x10000;
  else {
    ++i;
    return -1;
  }
  if (i + len > s.size()) {
    ++i;
    return -1;
  }
  for (int k = 1; k < len; ++k) {
    const unsigned char t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) {
      ++i;
      return -1;
    }
    cp = (cp << 6) | (t & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return -1;
  }
  i += len;
  return static_cast<long>(cp);
}

// Reads the runs of a text value from s[pos] and appends their characters
// (UTF-8) to out; pos ends after the last run. Answers an error message, or
// empty on success. At least one run must be there.
std::string ScanRuns(std::string_view s, size_t& pos, std::string& out) {
  if (pos >= s.size() || (s[pos] != '\'' && s[pos] != '#')) return "text expected";
  while (pos < s.size() && (s[pos] == '\'' || s[pos] == '#')) {
    if (s[pos] == '\'') {
      ++pos;
      while (true) {
        if (pos >= s.size()) return "unterminated text";
        const unsigned char c = static_cast<unsigned char>(s[pos]);
        if (c == '\'') {
          if (pos + 1 < s.size() && s[pos + 1] == '\'') {
            out += '\'';
            pos += 2;
            continue;
          }
          ++pos;
          break;
        }
        if (c < 0x20 || c == 0x7F) return "control character in text";
        if (c < 0x80) {
          out += static_cast<char>(c);
          ++pos;
          continue;
        }
        const size_t start = pos;
        if (DecodeUtf8(s, pos) < 0) return "malformed UTF-8 in text";
        out.append(s.substr(start, pos - start));
      }
    } else {
      ++pos;
      const size_t start = pos;
      char32_t cp = 0;
      while (pos < s.size() && IsDigit(s[pos])) {
        cp = cp * 10 + static_cast<char32_t>(s[pos] - '0');
        if (cp > 0x10FFFF) return "character code out of range";
        ++pos;
      }
      if (pos == start) return "'#' without a character code";
      if (cp >= 0xD800 && cp <= 0xDFFF) return "character code is a surrogate";
      AppendUtf8(out, cp);
    }
  }
  return {};
}

bool IsNumber(std::string_view v) {
  size_t i = 0;
  if (i < v.size() && v[i] == '-') ++i;
  const size_t digits = i;
  while (i < v.size() && IsDigit(v[i])) ++i;
  if (i == digits) return false;
  if (i < v.size() && v[i] == '.') {
    const size_t frac = ++i;
    while (i < v.size() && IsDigit(v[i])) ++i;
    if (i == frac) return false;
  }
  return i == v.size();
}

bool IsSet(std::string_view v) {
  if (v.size() < 2 || v.front() != '[' || v.back() != ']') return false;
  std::string_view inner = Trim(v.substr(1, v.size() - 2));
  if (inner.empty()) return true;
  while (true) {
    const size_t comma = inner.find(',');
    if (!IsIdent(Trim(inner.substr(0, comma)))) return false;
    if (comma == std::string_view::npos) return true;
    inner = inner.substr(comma + 1);
  }
}

// Checks a value (already trimmed). For a text, decoded receives its
// characters and continues tells whether it ends with the continuation "+".
// Answers an error message, or empty when the value is well formed.
std::string CheckValue(std::string_view v, std::string* decoded, bool* continues) {
  if (continues) *continues = false;
  if (v.empty()) return "missing value";
  const char c = v.front();
  if (c == '\'' || c == '#') {
    std::string text;
    size_t pos = 0;
    std::string err = ScanRuns(v, pos, text);
    if (!err.empty()) return err;
    if (decoded) *decoded += text;
    const std::string_view rest = Trim(v.substr(pos));
    if (rest.empty()) return {};
    if (rest == "+" && continues) {
      *continues = true;
      return {};
    }
    return "unexpected characters after a text";
  }
  if (c == '-' || IsDigit(c)) return IsNumber(v) ? std::string() : "malformed number";
  if (c == '[') return IsSet(v) ? std::string() : "malformed set";
  if (IsIdentStart(c)) return IsIdent(v) ? std::string() : "malformed identifier";
  return "malformed value";
}

// An "object" line (first word "object", not a property called so).
bool IsObjectLine(std::string_view t) {
  if (t.size() < 7 || t.substr(0, 6) != "object" || !IsBlank(t[6])) return false;
  const std::string_view rest = Trim(t.substr(6));
  return rest.empty() || rest.front() != '=';
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  ComponentNode ReadRoot() {
    if (!NextLine()) throw ComponentTextError(line_ == 0 ? 1 : line_, "no object in the text");
    if (!IsObjectLine(cur_)) throw ComponentTextError(line_, "\"object\" line expected");
    ComponentNode root = ReadObject(1);
    if (NextLine()) throw ComponentTextError(line_, "text after the end of the root object");
    return root;
  }

 private:
  // Moves to the next line, blank or not; false at the end of the text.
  bool RawNextLine() {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) end = text_.size();
    cur_ = Trim(text_.substr(pos_, end - pos_));
    ++line_;
    pos_ = end;
    if (pos_ < text_.size()) {
      if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
      ++pos_;
    }
    return true;
  }
  // Moves to the next non-blank line.
  bool NextLine() {
    while (RawNextLine())
      if (!cur_.empty()) return true;
    return false;
  }

  // Reads the object whose "object" line is the current line.
  ComponentNode ReadObject(int depth) {
    const int start = line_;
    if (depth > kMaxDepth) throw ComponentTextError(line_, "objects nested too deep");
    ComponentNode node;
    std::string_view rest = Trim(cur_.substr(6));
    const size_t colon = rest.find(':');
    if (colon == std::string_view::npos) throw ComponentTextError(line_, "':' expected after the object name");
    const std::string_view name = Trim(rest.substr(0, colon));
    const std::string_view cls = Trim(rest.substr(colon + 1));
    if (!IsIdent(name)) throw ComponentTextError(line_, "malformed object name");
    if (!IsIdent(cls)) throw ComponentTextError(line_, "malformed class name");
    node.name = std::string(name);
    node.className = std::string(cls);

    while (true) {
      if (!NextLine())
        throw ComponentTextError(line_, "missing \"end\" of object " + node.name + " (line " +
                                            std::to_string(start) + ")");
      if (cur_ == "end") return node;
      if (IsObjectLine(cur_)) {
        node.children.push_back(ReadObject(depth + 1));
        continue;
      }
      if (!node.children.empty()) throw ComponentTextError(line_, "property after sub-objects");
      node.properties.push_back(ReadProperty());
    }
  }

  std::pair<std::string, std::string> ReadProperty() {
    const size_t eq = cur_.find('=');
    if (eq == std::string_view::npos) throw ComponentTextError(line_, "property line expected");
    const std::string_view name = Trim(cur_.substr(0, eq));
    if (!IsPropName(name)) throw ComponentTextError(line_, "malformed property name");
    const std::string_view value = Trim(cur_.substr(eq + 1));
    std::string text;
    bool continues = false;
    std::string err = CheckValue(value, &text, &continues);
    if (!err.empty()) throw ComponentTextError(line_, err);
    if (!continues) return {std::string(name), std::string(value)};
    while (continues) {
      if (!RawNextLine()) throw ComponentTextError(line_, "text continuation expected");
      if (cur_.empty() || (cur_.front() != '\'' && cur_.front() != '#'))
        throw ComponentTextError(line_, "text continuation expected");
      err = CheckValue(cur_, &text, &continues);
      if (!err.empty()) throw ComponentTextError(line_, err);
    }
    return {std::string(name), QuoteText(text)};
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 0;
  std::string_view cur_;
};

void WriteObject(const ComponentNode& node, int depth, std::string& out, int& line) {
  ++line;
  if (depth > kMaxDepth) throw ComponentTextError(line, "objects nested too deep");
  if (!IsIdent(node.name)) throw ComponentTextError(line, "malformed object name \"" + node.name + "\"");
  if (!IsIdent(node.className))
    throw ComponentTextError(line, "malformed class name \"" + node.className + "\" of " + node.name);
  const std::string indent(static_cast<size_t>(depth - 1) * 2, ' ');
  out += indent + "object " + node.name + ": " + node.className + "\n";
  for (const auto& [prop, value] : node.properties) {
    ++line;
    if (!IsPropName(prop)) throw ComponentTextError(line, "malformed property name \"" + prop + "\" of " + node.name);
    const std::string err = CheckValue(value, nullptr, nullptr);
    // A value with blanks at its ends would not read back as written.
    if (!err.empty() || Trim(value).size() != value.size())
      throw ComponentTextError(line, "malformed value of " + node.name + "." + prop +
                                         (err.empty() ? std::string() : ": " + err));
    out += indent + "  " + prop + " = " + value + "\n";
  }
  for (const ComponentNode& child : node.children) WriteObject(child, depth + 1, out, line);
  ++line;
  out += indent + "end\n";
}

}  // namespace

std::string QuoteText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() + 2);
  bool open = false;
  for (size_t i = 0; i < utf8.size();) {
    long cp = DecodeUtf8(utf8, i);
    if (cp < 0) cp = kReplacement;
    if (cp >= 0x20 && cp <= 0x7E) {
      if (!open) out += '\'';
      open = true;
      out += static_cast<char>(cp);
      if (cp == '\'') out += '\'';
    } else {
      if (open) out += '\'';
      open = false;
      out += '#';
      out += std::to_string(cp);
    }
  }
  if (open) out += '\'';
  if (out.empty()) out = "''";
  return out;
}

std::optional<std::string> UnquoteText(std::string_view value) {
  std::string out;
  size_t pos = 0;
  if (!ScanRuns(value, pos, out).empty() || pos != value.size()) return std::nullopt;
  return out;
}

std::string IntValue(long long v) { return std::to_string(v); }

std::optional<long long> ParseIntValue(std::string_view value) {
  if (value.empty() || value.front() == '+') return std::nullopt;
  long long v = 0;
  const char* first = value.data();
  const char* last = value.data() + value.size();
  // from_chars takes "-0" and "-5" but not a lone "-" or blanks.
  const auto [ptr, ec] = std::from_chars(first, last, v);
  if (ec != std::errc() || ptr != last) return std::nullopt;
  return v;
}

std::string WriteComponentText(const ComponentNode& root) {
  std::string out;
  int line = 0;
  WriteObject(root, 1, out, line);
  return out;
}

ComponentNode ReadComponentText(std::string_view text) { return Reader(text).ReadRoot(); }

}  // namespace solv
