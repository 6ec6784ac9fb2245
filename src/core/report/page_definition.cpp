#include "report/page_definition.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <optional>
#include <set>

#include "report/component_text.hpp"

namespace solv {

std::string PageInfo::Caption() const {
  return "Formularz (" + std::to_string(tag) + "/" + std::to_string(pages) + "): " + form;
}

std::string PageInfo::FooterSymbol() const { return variant.empty() ? symbol : symbol + "(" + variant + ")"; }

std::string PageInfo::PageNumber() const { return std::to_string(tag) + "/" + std::to_string(pages); }

std::string DefaultInstanceOf(const PageInfo& page) {
  std::string name = page.pageName;
  if (!name.empty()) name.back() = 'a';
  return name;
}

namespace {

constexpr int kShade = 14145495;  // the grey of the official forms
constexpr int kWhite = 0xFFFFFF;
// The sheet of every form: the printed area runs from x 28 to 766, and the
// footer stands at the foot of the A4 page.
constexpr int kSheetLeft = 28;
constexpr int kSheetWidth = 738;
constexpr int kFooterTop = 1092;
constexpr const char* kInstruction =
    "POLA JASNE WYPEŁNIA PODATNIK, POLA CIEMNE WYPEŁNIA URZĄD SKARBOWY. WYPEŁNIAĆ NA MASZYNIE, KOMPUTEROWO LUB "
    "RĘCZNIE, DUŻYMI, DRUKOWANYMI LITERAMI, CZARNYM LUB NIEBIESKIM KOLOREM.";

struct Statement {
  int line = 0;
  std::vector<std::string> words;               // positional words (quotes removed)
  std::map<std::string, std::string> options;   // key=value and bare flags ("" value)
  std::vector<bool> quoted;                     // per positional word
};

[[noreturn]] void Fail(int line, const std::string& what) {
  throw PageDefinitionError("line " + std::to_string(line) + ": " + what);
}

Statement Tokenize(std::string_view text, int line) {
  Statement st;
  st.line = line;
  size_t i = 0;
  auto readQuoted = [&](size_t& at) {
    std::string out;
    ++at;  // opening quote
    for (;;) {
      if (at >= text.size()) Fail(line, "unterminated text");
      if (text[at] == '"') {
        if (at + 1 < text.size() && text[at + 1] == '"') {
          out += '"';
          at += 2;
          continue;
        }
        ++at;
        return out;
      }
      out += text[at++];
    }
  };
  while (i < text.size()) {
    if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r') {
      ++i;
      continue;
    }
    if (text[i] == '#') break;
    if (text[i] == '"') {
      st.words.push_back(readQuoted(i));
      st.quoted.push_back(true);
      continue;
    }
    size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '=') ++i;
    std::string word(text.substr(start, i - start));
    if (i < text.size() && text[i] == '=') {
      ++i;
      std::string value;
      if (i < text.size() && text[i] == '"') {
        value = readQuoted(i);
      } else {
        size_t vs = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r') ++i;
        value = std::string(text.substr(vs, i - vs));
      }
      if (word.empty()) Fail(line, "option without a name");
      st.options[word] = value;
    } else if (st.words.empty()) {
      st.words.push_back(word);
      st.quoted.push_back(false);
    } else if (!word.empty() && (std::isdigit(static_cast<unsigned char>(word[0])) || word[0] == '-' ||
                                 st.words.size() < 3)) {
      st.words.push_back(word);
      st.quoted.push_back(false);
    } else {
      st.options[word] = "";  // a flag
    }
  }
  return st;
}

int ToInt(const std::string& s, int line, const char* what) {
  int v = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || p != s.data() + s.size()) Fail(line, std::string("bad number for ") + what + ": " + s);
  return v;
}

class Builder {
 public:
  PageDefinition Build(std::string_view text);

 private:
  void Apply(const Statement& st);  // one statement after the page line
  void Page(const Statement& st);
  void Label(int x, int y, int w, int h, const std::string& text, const Statement& st);
  void Rect(int x, int y, int w, int h, std::optional<int> fill, std::optional<int> pen, int penWidth);
  CellInfo& Cell(const std::string& name, const std::string& kind, int x, int y, int w, int h, const Statement& st);
  CellInfo& Box(const std::string& name, const std::string& kind, int x, int y, int w, int h,
                const std::string& caption, const Statement& st);
  // A numbered frame without a cell: its number and caption at the top.
  void Frame(int x, int y, int w, int h, const std::string& num, const std::string& caption, int fill, int line);
  void Choice(const Statement& st);
  void Option(const Statement& st);
  void RowHead(const Statement& st);
  void ColHead(const Statement& st);
  void FormTitle(const Statement& st);
  void Law(const Statement& st);
  void Notes(const Statement& st);
  void Instruction(const Statement& st);
  void Footer(const Statement& st);
  // The caption parts of a box: its row and column headings (implicit or
  // named by row= and col=) and its own caption.
  std::string JoinCaption(int x, int w, const std::string& own, const Statement& st) const;
  void NameHeading(const Statement& st, const std::string& text);
  const std::string& Heading(const Statement& st, const std::string& id) const;
  void EndGroup() { group_ = {}; }

  int Opt(const Statement& st, const char* key, int def) const {
    auto it = st.options.find(key);
    return it == st.options.end() ? def : ToInt(it->second, st.line, key);
  }
  // A colour option: a number (0x00BBGGRR as decimal) or "shade", the grey
  // of the official forms.
  int Color(const Statement& st, const char* key, int def) const {
    auto it = st.options.find(key);
    if (it == st.options.end()) return def;
    return it->second == "shade" ? kShade : ToInt(it->second, st.line, key);
  }
  static bool Has(const Statement& st, const char* key) { return st.options.count(key) > 0; }
  int Pos(const Statement& st, size_t i) const {
    if (i >= st.words.size()) Fail(st.line, "too few values");
    return ToInt(st.words[i], st.line, "geometry");
  }
  // Positions relative to the current origin.
  int X(const Statement& st, size_t i) const { return ox_ + Pos(st, i); }
  int Y(const Statement& st, size_t i) const { return oy_ + Pos(st, i); }
  const std::string& Word(const Statement& st, size_t i) const {
    if (i >= st.words.size()) Fail(st.line, "too few values");
    return st.words[i];
  }

  PageDefinition def_;
  bool havePage_ = false;
  ComponentNode band_;
  int labels_ = 0, shapes_ = 0;
  int ox_ = 0, oy_ = 0;  // origin of the positions
  // Flow grid.
  int gx_ = 0, gy_ = 0, gcols_ = 0, gcolw_ = 0, growh_ = 0, gpos_ = 0;
  // Tables: headings named by id, the column headings of the current
  // heading row and the current row heading.
  struct Column {
    int left, right;
    std::string text;
  };
  std::map<std::string, std::string> headings_;
  std::vector<Column> columns_;
  bool lastWasColHead_ = false;
  std::string row_;
  // The check-box group the options belong to.
  struct Group {
    bool open = false;
    std::string number, caption;
  } group_;
  // The legal block the law items stack in.
  bool legalOpen_ = false;
  int legalX_ = 0, legalW_ = 0, legalNext_ = 0, legalBottom_ = 0;
};

void Add(ComponentNode& n, const char* prop, std::string value) { n.properties.emplace_back(prop, std::move(value)); }
std::string Int(long long v) { return IntValue(v); }

// Options for a label drawn by a statement of its own: "size=9 bold" and so on.
Statement Style(int line, std::initializer_list<std::pair<const char*, const char*>> options) {
  Statement st;
  st.line = line;
  for (const auto& [k, v] : options) st.options[k] = v;
  return st;
}

// A control of the band with its name, class and geometry.
ComponentNode Control(std::string name, const char* className, int x, int y, int w, int h) {
  ComponentNode n;
  n.name = std::move(name);
  n.className = className;
  Add(n, "Left", Int(x));
  Add(n, "Top", Int(y));
  Add(n, "Width", Int(w));
  Add(n, "Height", Int(h));
  return n;
}

std::string Joined(std::initializer_list<const std::string*> parts) {
  std::string out;
  for (const std::string* p : parts) {
    if (p->empty()) continue;
    if (!out.empty()) out += " / ";
    out += *p;
  }
  return out;
}

void Builder::Page(const Statement& st) {
  if (havePage_) Fail(st.line, "a second page line");
  havePage_ = true;
  PageInfo& p = def_.info;
  p.className = Word(st, 1);
  auto need = [&](const char* key) -> std::string {
    auto it = st.options.find(key);
    if (it == st.options.end()) Fail(st.line, std::string("page needs ") + key);
    return it->second;
  };
  p.pageName = need("name");
  p.tag = ToInt(need("tag"), st.line, "tag");
  p.pages = ToInt(need("pages"), st.line, "pages");
  p.form = need("form");
  p.height = ToInt(need("height"), st.line, "height");
  p.reportName = need("report");
  p.reportTitle = need("title");
  p.clickHandler = need("click");
  p.symbol = Has(st, "symbol") ? st.options.at("symbol") : p.form;
  if (Has(st, "variant")) p.variant = st.options.at("variant");
  if (p.className != "T" + p.pageName) Fail(st.line, "class must be T + page name");

  band_.name = "KVZBand1";
  band_.className = "TKVZBand";
  Add(band_, "Left", Int(0));
  Add(band_, "Top", Int(0));
  Add(band_, "Width", Int(794));
  Add(band_, "Height", Int(p.height));
  Add(band_, "Align", "alTop");
  Add(band_, "BandType", "kvz_Detail");
  Add(band_, "Ruler", "kvz_cmHV");
  Add(band_, "Color", "clWhite");
  Add(band_, "Font.Charset", "EASTEUROPE_CHARSET");
  Add(band_, "Font.Color", "clBlack");
  Add(band_, "Font.Height", Int(-11));
  Add(band_, "Font.Name", QuoteText("Arial"));
  Add(band_, "Font.Style", "[]");
}

void Builder::Label(int x, int y, int w, int h, const std::string& text, const Statement& st) {
  ComponentNode n = Control("Label" + std::to_string(++labels_), "TKVZLabel", x, y, w, h);
  Add(n, "AutoSize", "False");
  Add(n, "Caption", QuoteText(text));
  const std::string align = st.options.count("align") ? st.options.at("align") : "left";
  if (align == "right") Add(n, "Alignment", "taRightJustify");
  else if (align == "center") Add(n, "Alignment", "taCenter");
  else if (align != "left") Fail(st.line, "align is left, center or right");
  if (auto it = st.options.find("valign"); it != st.options.end()) {
    if (it->second == "center") Add(n, "Layout", "tlCenter");
    else if (it->second == "bottom") Add(n, "Layout", "tlBottom");
    else if (it->second != "top") Fail(st.line, "valign is top, center or bottom");
  }
  if (Has(st, "fill")) {
    Add(n, "Color", Int(Color(st, "fill", 0)));
    Add(n, "Transparent", "False");
  }
  if (Has(st, "wrap")) Add(n, "WordWrap", "True");
  Add(n, "Font.Charset", "EASTEUROPE_CHARSET");
  Add(n, "Font.Color", Has(st, "color") ? Int(Color(st, "color", 0)) : "clBlack");
  Add(n, "Font.Height", Int(-Opt(st, "size", 11)));
  Add(n, "Font.Name", QuoteText("Arial"));
  std::string style = "[";
  if (Has(st, "bold")) style += "fsBold";
  if (Has(st, "italic")) style += std::string(style.size() > 1 ? ", " : "") + "fsItalic";
  Add(n, "Font.Style", style + "]");
  Add(n, "ParentFont", "False");
  band_.children.push_back(std::move(n));
}

void Builder::Rect(int x, int y, int w, int h, std::optional<int> fill, std::optional<int> pen, int penWidth) {
  ComponentNode n = Control("Shape" + std::to_string(++shapes_), "TKVZShape", x, y, w, h);
  if (fill) Add(n, "Brush.Color", Int(*fill));
  else Add(n, "Brush.Style", "bsClear");
  if (pen) Add(n, "Pen.Color", Int(*pen));
  else Add(n, "Pen.Style", "psClear");
  if (penWidth != 1) Add(n, "Pen.Width", Int(penWidth));
  Add(n, "Shape", "stRectangle");
  band_.children.push_back(std::move(n));
}

CellInfo& Builder::Cell(const std::string& name, const std::string& kind, int x, int y, int w, int h,
                        const Statement& st) {
  CellInfo c;
  c.name = name;
  if (name.empty() || name[0] != 'p') Fail(st.line, "a cell name starts with p");
  if (kind == "text") c.kind = CellKind::Text;
  else if (kind == "money") c.kind = CellKind::Money, c.noValue = c.clearValue = "0,00";
  else if (kind == "check") c.kind = CellKind::Check, c.noValue = c.clearValue = "[  ]";
  else if (kind == "int") c.kind = CellKind::Integer, c.noValue = c.clearValue = "0";
  else Fail(st.line, "kind is text, money, check or int: " + kind);
  c.editable = !Has(st, "calc");
  c.hidden = Has(st, "hidden");
  c.rect = c.frame = {x, y, w, h};
  if (auto it = st.options.find("novalue"); it != st.options.end()) c.noValue = it->second;
  if (auto it = st.options.find("clear"); it != st.options.end()) c.clearValue = it->second;
  for (const auto& other : def_.cells)
    if (other.name == c.name) Fail(st.line, "cell " + c.name + " twice");

  ComponentNode n = Control(c.name, "TKVZEditField", x, y, w, h);
  Add(n, "Tag", Int(static_cast<int>(c.kind)));
  if (c.editable) {
    Add(n, "Cursor", "crHandPoint");
    Add(n, "Hint", QuoteText("Kliknij"));
  }
  Add(n, "Alignment", c.kind == CellKind::Money ? "taRightJustify" : "taCenter");
  Add(n, "AutoSize", "False");
  Add(n, "Caption", QuoteText(c.clearValue));
  Add(n, "Font.Charset", "EASTEUROPE_CHARSET");
  Add(n, "Font.Color", "clBlack");
  Add(n, "Font.Height", Int(-Opt(st, "size", 16)));
  Add(n, "Font.Name", QuoteText("Arial"));
  Add(n, "Font.Style", "[fsBold]");
  Add(n, "ParentFont", "False");
  Add(n, "ShowHint", c.editable ? "True" : "False");
  if (c.hidden) Add(n, "Visible", "False");
  if (c.editable) Add(n, "OnClick", def_.info.clickHandler);
  Add(n, "NoValue", QuoteText(c.noValue));
  Add(n, "ClearValue", QuoteText(c.clearValue));
  Add(n, "TagPop", Int(0));
  Add(n, "TagIndex", Int(0));
  Add(n, "EditMask", QuoteText(""));
  band_.children.push_back(std::move(n));
  def_.cells.push_back(std::move(c));
  return def_.cells.back();
}

const std::string& Builder::Heading(const Statement& st, const std::string& id) const {
  auto it = headings_.find(id);
  if (it == headings_.end()) Fail(st.line, "no heading with id " + id);
  return it->second;
}

void Builder::NameHeading(const Statement& st, const std::string& text) {
  auto it = st.options.find("id");
  if (it == st.options.end()) return;
  if (it->second.empty() || it->second == "none") Fail(st.line, "a heading id must be a name");
  if (!headings_.emplace(it->second, text).second) Fail(st.line, "heading id " + it->second + " twice");
}

std::string Builder::JoinCaption(int x, int w, const std::string& own, const Statement& st) const {
  std::string row, col;
  if (auto it = st.options.find("row"); it != st.options.end()) {
    if (it->second != "none") row = Heading(st, it->second);
  } else {
    row = row_;
  }
  if (auto it = st.options.find("col"); it != st.options.end()) {
    if (it->second != "none") col = Heading(st, it->second);
  } else if (own.empty()) {
    // The column heading whose width holds the box.
    for (const Column& c : columns_)
      if (x >= c.left - 2 && x + w <= c.right + 2) col = c.text;
  }
  return Joined({&row, &col, &own});
}

// A box of the form: a white frame, the box number and caption in small
// print at its top, and the value cell along its bottom (a check box sits at
// the left with the caption beside it).
CellInfo& Builder::Box(const std::string& name, const std::string& kind, int x, int y, int w, int h,
                       const std::string& caption, const Statement& st) {
  std::string num = st.options.count("num") ? st.options.at("num") : name.substr(1);
  const std::string full = JoinCaption(x, w, caption, st);
  Rect(x, y, w, h, Has(st, "shade") ? kShade : kWhite, 0, 1);
  if (kind == "check") {
    const int cy = y + (h - 20) / 2;
    CellInfo& c = Cell(name, kind, x + 2, cy, 30, 20, st);
    Label(x + 34, y + 2, w - 36, h - 4, (num.empty() ? "" : num + ". ") + caption,
          Style(st.line, {{"size", "9"}, {"wrap", ""}, {"valign", "center"}}));
    c.number = num;
    c.caption = full;
    c.frame = {x, y, w, h};
    return c;
  }
  if (!num.empty()) Label(x + 2, y + 1, 26, 12, num + ".", Style(st.line, {{"size", "9"}, {"bold", ""}}));
  if (!caption.empty())
    Label(x + (num.empty() ? 2 : 28), y + 1, w - (num.empty() ? 4 : 30), h - 24, caption,
          Style(st.line, {{"size", "9"}, {"wrap", ""}}));
  CellInfo& c = Cell(name, kind, x + 3, y + h - 21, w - 6, 19, st);
  c.number = num;
  c.caption = full;
  c.frame = {x, y, w, h};
  return c;
}

void Builder::Frame(int x, int y, int w, int h, const std::string& num, const std::string& caption, int fill,
                    int line) {
  Rect(x, y, w, h, fill, 0, 1);
  if (!num.empty()) Label(x + 2, y + 1, 26, 12, num + ".", Style(line, {{"size", "9"}, {"bold", ""}}));
  if (!caption.empty())
    Label(x + (num.empty() ? 2 : 28), y + 1, w - (num.empty() ? 4 : 30), h - 2, caption,
          Style(line, {{"size", "9"}, {"wrap", ""}}));
}

void Builder::Choice(const Statement& st) {
  const int x = X(st, 1), y = Y(st, 2), w = Pos(st, 3), h = Pos(st, 4);
  const std::string& num = Word(st, 5);
  const std::string& caption = Word(st, 6);
  Rect(x, y, w, h, kWhite, 0, 1);
  if (!num.empty()) Label(x + 2, y + 1, 26, 12, num + ".", Style(st.line, {{"size", "9"}, {"bold", ""}}));
  if (!caption.empty())
    Label(x + 28, y + 1, w - 30, Opt(st, "caph", 12), caption, Style(st.line, {{"size", "9"}, {"wrap", ""}}));
  group_.open = true;
  group_.number = num;
  Statement rowOnly = st;  // a choice takes a row heading but no column
  rowOnly.options["col"] = "none";
  group_.caption = JoinCaption(x, w, caption, rowOnly);
}

void Builder::Option(const Statement& st) {
  const int x = X(st, 2), y = Y(st, 3), w = Pos(st, 4), h = Pos(st, 5);
  const std::string& text = Word(st, 6);
  const std::string size = std::to_string(Opt(st, "size", 10));
  Statement cellStyle = st;  // size= is the option text's; the check mark keeps the cells' size
  cellStyle.options.erase("size");
  CellInfo& c = Cell(Word(st, 1), "check", x, y, 30, 20, cellStyle);
  const int textTop = y + (21 - h) / 2 + 1;
  Label(x + 32, textTop, w, h, text, Style(st.line, {{"size", size.c_str()}, {"wrap", ""}}));
  c.number = Has(st, "num") ? st.options.at("num") : group_.number;
  c.caption = Joined({&group_.caption, &text});
  const int top = std::min(y, textTop), bottom = std::max(y + 20, textTop + h);
  c.frame = {x, top, 32 + w, bottom - top};
}

void Builder::RowHead(const Statement& st) {
  const int x = X(st, 1), y = Y(st, 2), w = Pos(st, 3), h = Pos(st, 4);
  const std::string& num = Word(st, 5);
  const std::string& text = Word(st, 6);
  if (!Has(st, "noshade")) Rect(x, y, w, h, kShade, 0, 1);
  if (!num.empty()) Label(x + 3, y + 2, 16, 12, num, Style(st.line, {{"size", "9"}, {"bold", ""}}));
  const std::string size = std::to_string(Opt(st, "size", 9));
  Statement style = Style(st.line, {{"size", size.c_str()}, {"wrap", ""}});
  if (Has(st, "bold")) style.options["bold"];
  Label(x + 18, y + 2, w - 21, h - 4, text, style);
  NameHeading(st, text);
  row_ = text;
}

void Builder::ColHead(const Statement& st) {
  const int x = X(st, 1), y = Y(st, 2), w = Pos(st, 3), h = Pos(st, 4);
  const std::string& text = Word(st, 5);
  if (!lastWasColHead_) columns_.clear();
  Rect(x, y, w, h, kShade, 0, 1);
  const std::string size = std::to_string(Opt(st, "size", 9));
  Label(x + 2, y + 2, w - 4, h - 4, text,
        Style(st.line, {{"size", size.c_str()}, {"bold", ""}, {"align", "center"}, {"valign", "center"}, {"wrap", ""}}));
  NameHeading(st, text);
  columns_.push_back({x, x + w, text});
  row_.clear();
}

void Builder::FormTitle(const Statement& st) {
  const int x = X(st, 1), y = Y(st, 2), w = Pos(st, 3), h = Pos(st, 4);
  const int symw = Opt(st, "symw", 170);
  const std::string symsize = std::to_string(Opt(st, "symsize", 38));
  const std::string size = std::to_string(Opt(st, "size", 14));
  Rect(x, y, w, h, kShade, 0, 1);
  Label(x + 8, y + (h - 48) / 2 - 2, symw, 48, def_.info.symbol,
        Style(st.line, {{"size", symsize.c_str()}, {"bold", ""}, {"valign", "center"}}));
  Label(x + symw + 10, y + 10, w - symw - 16, Opt(st, "titleh", 20), Word(st, 5),
        Style(st.line, {{"size", size.c_str()}, {"bold", ""}, {"align", "center"}, {"wrap", ""}}));
  def_.furniture.title = true;
}

void Builder::Law(const Statement& st) {
  if (!legalOpen_) Fail(st.line, "law outside a legal block");
  const int h = Pos(st, 1);
  const std::string& head = Word(st, 2);
  Label(legalX_ + 6, legalNext_, 116, 14, head, Style(st.line, {{"size", "10"}, {"bold", ""}}));
  Label(legalX_ + 124, legalNext_, legalW_ - 130, h, Word(st, 3), Style(st.line, {{"size", "10"}, {"wrap", ""}}));
  legalNext_ += h + 1;
  if (legalNext_ > legalBottom_ + 2) Fail(st.line, "the law items overflow their legal block");
  if (!head.empty()) def_.furniture.legalHeads.push_back(head);
}

// The office's notes: the part's bar and three shaded boxes, the remarks
// wider than the receiver's identifier and signature.
void Builder::Notes(const Statement& st) {
  const int x = X(st, 1), y = Y(st, 2), w = Opt(st, "w", kSheetWidth);
  const std::string& letter = Word(st, 3);
  const std::string& first = Word(st, 4);
  auto num = [&](int k) { return first.empty() ? std::string() : std::to_string(ToInt(first, st.line, "NUM") + k); };
  Rect(x, y, w, 22, kShade, 0, 1);
  Label(x + 4, y, w - 8, 22, (letter.empty() ? "" : letter + ". ") + "ADNOTACJE URZĘDU SKARBOWEGO",
        Style(st.line, {{"size", "11"}, {"bold", ""}, {"valign", "center"}}));
  Rect(x, y + 22, w, 58, kShade, 0, 1);
  const int inner = w - 22, wide = inner * 300 / 716, narrow = (inner - wide) / 2;
  Frame(x + 18, y + 26, wide, 50, num(0), "Uwagi urzędu skarbowego", kShade, st.line);
  Frame(x + 18 + wide, y + 26, narrow, 50, num(1), "Identyfikator przyjmującego formularz", kShade, st.line);
  Frame(x + 18 + wide + narrow, y + 26, inner - wide - narrow, 50, num(2), "Podpis przyjmującego formularz", kShade,
        st.line);
  def_.furniture.notes = true;
  def_.furniture.officeBoxes += 3;
}

void Builder::Instruction(const Statement& st) {
  int y = 20;
  std::string text = kInstruction;
  for (size_t i = 1; i < st.words.size(); ++i) {
    if (st.quoted[i]) text = st.words[i];
    else y = ToInt(st.words[i], st.line, "Y");
  }
  Rect(kSheetLeft, y, kSheetWidth, 26, kShade, 0, 1);
  Label(kSheetLeft + 6, y + 2, kSheetWidth - 12, 24, text,
        Style(st.line, {{"size", "9"}, {"bold", ""}, {"wrap", ""}, {"valign", "center"}}));
  def_.furniture.instruction = true;
}

void Builder::Footer(const Statement& st) {
  const PageInfo& p = def_.info;
  const Statement bold = Style(st.line, {{"size", "14"}, {"bold", ""}});
  Label(kSheetLeft, kFooterTop, 300, 20, p.FooterSymbol(), bold);
  Label(kSheetLeft + kSheetWidth - 300, kFooterTop, 300, 20, p.PageNumber(),
        Style(st.line, {{"size", "14"}, {"bold", ""}, {"align", "right"}}));
  def_.furniture.footer = true;
  def_.furniture.footerTop = kFooterTop;
  def_.furniture.footerLabels = {"Label" + std::to_string(labels_ - 1), "Label" + std::to_string(labels_)};
}

void Builder::Apply(const Statement& st) {
  const std::string& what = st.words[0];
  // What ends a check-box group and the implicit row and column headings.
  static const std::set<std::string> kEndsGroup = {"choice", "box",  "flow",      "frame", "office", "count",
                                                    "bar",    "rowhead", "colhead", "origin", "legal", "formtitle",
                                                    "notes"};
  if (kEndsGroup.count(what)) EndGroup();
  if (what == "bar" || what == "origin") row_.clear();
  if (what == "origin") columns_.clear();
  if (what != "colhead") lastWasColHead_ = false;
  if (what != "law" && what != "label" && what != "rect" && what != "hline" && what != "vline") legalOpen_ = false;

  if (what == "label") {
    Label(X(st, 1), Y(st, 2), Pos(st, 3), Pos(st, 4), Word(st, 5), st);
    NameHeading(st, Word(st, 5));
  } else if (what == "rect") {
    std::optional<int> pen = 0;
    if (auto it = st.options.find("pen"); it != st.options.end())
      pen = it->second == "none" ? std::nullopt : std::optional<int>(Color(st, "pen", 0));
    std::optional<int> fill;
    if (Has(st, "fill")) fill = Color(st, "fill", 0);
    Rect(X(st, 1), Y(st, 2), Pos(st, 3), Pos(st, 4), fill, pen, Opt(st, "penwidth", 1));
  } else if (what == "hline" || what == "vline") {
    const int x = X(st, 1), y = Y(st, 2), len = Pos(st, 3), pw = Opt(st, "penwidth", 1);
    // A filled strip, so the thickness scales with the device. A shape
    // without a pen fills one pixel less than its size.
    if (pw < 1) Fail(st.line, "penwidth must be positive");
    if (what == "hline") Rect(x, y, len + 1, pw + 1, 0, std::nullopt, 1);
    else Rect(x, y, pw + 1, len + 1, 0, std::nullopt, 1);
  } else if (what == "cell") {
    Cell(Word(st, 1), Word(st, 2), X(st, 3), Y(st, 4), Pos(st, 5), Pos(st, 6), st);
  } else if (what == "box") {
    Box(Word(st, 1), Word(st, 2), X(st, 3), Y(st, 4), Pos(st, 5), Pos(st, 6), Word(st, 7), st);
  } else if (what == "count") {
    const std::string noun = Has(st, "noun") ? st.options.at("noun") : "załączników";
    const std::string& form = Word(st, 6);
    if (form.empty()) Fail(st.line, "count names the form it counts");
    CellInfo& c = Box(Word(st, 1), "int", X(st, 2), Y(st, 3), Pos(st, 4), Pos(st, 5), "Liczba " + noun + " " + form, st);
    c.countOf = form;
  } else if (what == "bar") {
    const int x = X(st, 1), y = Y(st, 2), w = Pos(st, 3), h = Pos(st, 4);
    Rect(x, y, w, h, kShade, 0, 1);
    const std::string size = std::to_string(Opt(st, "size", 12));
    Label(x + 4, y, w - 8, h, Word(st, 5), Style(st.line, {{"bold", ""}, {"valign", "center"}, {"size", size.c_str()}}));
  } else if (what == "origin") {
    if (st.words.size() != 3) Fail(st.line, "origin takes X and Y");
    ox_ = Pos(st, 1), oy_ = Pos(st, 2);
  } else if (what == "grid") {
    gx_ = X(st, 1), gy_ = Y(st, 2), gcols_ = Pos(st, 3), gcolw_ = Pos(st, 4), growh_ = Pos(st, 5), gpos_ = 0;
    if (gcols_ <= 0 || gcolw_ <= 0 || growh_ <= 0) Fail(st.line, "grid needs positive sizes");
  } else if (what == "flow") {
    if (gcols_ == 0) Fail(st.line, "flow before grid");
    const int span = std::max(1, std::min(gcols_, Opt(st, "span", 1)));
    if (gpos_ % gcols_ + span > gcols_) gpos_ += gcols_ - gpos_ % gcols_;  // to the next row
    const int col = gpos_ % gcols_, row = gpos_ / gcols_;
    Box(Word(st, 1), Word(st, 2), gx_ + col * gcolw_, gy_ + row * growh_, span * gcolw_, growh_,
        st.words.size() > 3 ? st.words[3] : std::string(), st);
    gpos_ += span;
  } else if (what == "colhead") {
    ColHead(st);
    lastWasColHead_ = true;
  } else if (what == "rowhead") {
    RowHead(st);
  } else if (what == "choice") {
    Choice(st);
  } else if (what == "option") {
    Option(st);
  } else if (what == "frame" || what == "office") {
    const bool office = what == "office";
    const std::string& caption = Word(st, 6);
    Frame(X(st, 1), Y(st, 2), Pos(st, 3), Pos(st, 4), Word(st, 5), caption,
          office || Has(st, "shade") ? kShade : kWhite, st.line);
    if (office) ++def_.furniture.officeBoxes;
    else if (caption.rfind("Podpis", 0) == 0) ++def_.furniture.signatures;
  } else if (what == "legal") {
    const int x = X(st, 1), y = Y(st, 2), w = Pos(st, 3), h = Pos(st, 4);
    Rect(x, y, w, h, kShade, 0, 1);
    legalOpen_ = true;
    legalX_ = x, legalW_ = w, legalNext_ = y + 4, legalBottom_ = y + h;
  } else if (what == "law") {
    Law(st);
  } else if (what == "note") {
    const std::string size = std::to_string(Opt(st, "size", 10));
    Label(X(st, 1), Y(st, 2), Pos(st, 3), Pos(st, 4), Word(st, 5),
          Style(st.line, {{"size", size.c_str()}, {"bold", ""}, {"align", "center"}, {"wrap", ""}}));
    def_.furniture.attachmentNote = true;
  } else if (what == "formtitle") {
    FormTitle(st);
  } else if (what == "notes") {
    Notes(st);
  } else if (what == "instruction") {
    Instruction(st);
  } else if (what == "footer") {
    Footer(st);
  } else {
    Fail(st.line, "unknown statement: " + what);
  }
}

PageDefinition Builder::Build(std::string_view text) {
  int lineNo = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    Statement st = Tokenize(line, lineNo);
    if (st.words.empty()) {
      if (!st.options.empty()) Fail(lineNo, "options without a statement");
      continue;
    }
    if (st.words[0] == "page") {
      Page(st);
      continue;
    }
    if (!havePage_) Fail(lineNo, "the first statement must be page");
    Apply(st);
  }
  if (!havePage_) Fail(lineNo, "no page line");

  // A frame ends where another cell begins (an option's text may be drawn
  // wider than the room before the next option).
  for (CellInfo& c : def_.cells)
    for (const CellInfo& o : def_.cells) {
      if (&o == &c || o.hidden) continue;
      const bool sameRows = o.rect.y < c.frame.y + c.frame.h && c.frame.y < o.rect.y + o.rect.h;
      if (sameRows && o.rect.x > c.rect.x && o.rect.x < c.frame.x + c.frame.w) c.frame.w = o.rect.x - c.frame.x;
    }

  // The page window: band, editor and report.
  const PageInfo& p = def_.info;
  ComponentNode& root = def_.node;
  root.name = p.pageName;
  root.className = p.className;
  Add(root, "Left", Int(0));
  Add(root, "Top", Int(0));
  Add(root, "Tag", Int(p.tag));
  Add(root, "BorderIcons", "[biMinimize]");
  Add(root, "Caption", QuoteText(p.Caption()));
  Add(root, "ClientHeight", Int(p.height));
  Add(root, "ClientWidth", Int(817));
  Add(root, "Color", "clWhite");
  Add(root, "FormStyle", "fsMDIChild");
  Add(root, "Visible", "True");
  Add(root, "OnActivate", "FormActivate");
  Add(root, "OnClose", "FormClose");
  Add(root, "OnDeactivate", "FormDeactivate");
  if (p.className == "TPIT37c") Add(root, "OnCreate", "FormCreate");
  Add(root, "PixelsPerInch", Int(96));
  root.children.push_back(std::move(band_));

  ComponentNode ed;
  ed.name = "Ed1";
  ed.className = "TKVZEdit";
  Add(ed, "Left", Int(0));
  Add(ed, "Top", Int(0));
  Add(ed, "Width", Int(121));
  Add(ed, "Height", Int(21));
  Add(ed, "BorderStyle", "bsNone");
  Add(ed, "CharCase", "ecUpperCase");
  Add(ed, "Color", "clSilver");
  Add(ed, "Font.Height", Int(-16));
  Add(ed, "Font.Name", QuoteText("Arial"));
  Add(ed, "Text", QuoteText("000-000-00-00"));
  Add(ed, "Visible", "False");
  Add(ed, "OnExit", "Ed1Exit");
  Add(ed, "OnKeyDown", "Ed1KeyDown");
  Add(ed, "OnKeyPress", "Ed1KeyPress");
  root.children.push_back(std::move(ed));

  ComponentNode report;
  report.name = p.reportName;
  report.className = "TKVZReport";
  Add(report, "Orientation", "poPortrait");
  Add(report, "Papersize", "kvz_A4");
  Add(report, "LeftMarginMM", Int(0));
  Add(report, "RightMarginMM", Int(0));
  Add(report, "TopMarginMM", Int(0));
  Add(report, "ReportTitle", QuoteText(p.reportTitle));
  root.children.push_back(std::move(report));
  return std::move(def_);
}

}  // namespace

PageDefinition ParsePageDefinition(std::string_view text) { return Builder().Build(text); }

}  // namespace solv

namespace solv {

const CellInfo* CellAtPoint(const PageDefinition& page, int x, int y) {
  for (auto it = page.cells.rbegin(); it != page.cells.rend(); ++it)
    if (!it->hidden && it->rect.Contains(x, y)) return &*it;
  for (auto it = page.cells.rbegin(); it != page.cells.rend(); ++it)
    if (!it->hidden && it->frame.Contains(x, y)) return &*it;
  return nullptr;
}

}  // namespace solv
