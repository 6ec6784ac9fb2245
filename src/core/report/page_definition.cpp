#include "report/page_definition.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <optional>

#include "report/component_text.hpp"

namespace solv {

std::string PageInfo::Caption() const {
  return "Formularz (" + std::to_string(tag) + "/" + std::to_string(pages) + "): " + form;
}

namespace {

constexpr int kShade = 14145495;  // the grey of the official forms

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
  void Page(const Statement& st);
  void Label(int x, int y, int w, int h, const std::string& text, const Statement& st);
  void Rect(int x, int y, int w, int h, std::optional<int> fill, std::optional<int> pen, int penWidth);
  void Cell(const std::string& name, const std::string& kind, int x, int y, int w, int h, const Statement& st);
  void Box(const std::string& name, const std::string& kind, int x, int y, int w, int h, const std::string& caption,
           const Statement& st);
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
};

void Add(ComponentNode& n, const char* prop, std::string value) { n.properties.emplace_back(prop, std::move(value)); }
std::string Int(long long v) { return IntValue(v); }

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

void Builder::Cell(const std::string& name, const std::string& kind, int x, int y, int w, int h, const Statement& st) {
  CellInfo c;
  c.name = name;
  if (name.empty() || name[0] != 'p') Fail(st.line, "a cell name starts with p");
  if (kind == "text") c.kind = CellKind::Text;
  else if (kind == "money") c.kind = CellKind::Money, c.noValue = c.clearValue = "0,00";
  else if (kind == "check") c.kind = CellKind::Check, c.noValue = c.clearValue = "[  ]";
  else if (kind == "int") c.kind = CellKind::Integer, c.noValue = c.clearValue = "0";
  else Fail(st.line, "kind is text, money, check or int: " + kind);
  c.editable = !Has(st, "calc");
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
  if (c.editable) Add(n, "OnClick", def_.info.clickHandler);
  Add(n, "NoValue", QuoteText(c.noValue));
  Add(n, "ClearValue", QuoteText(c.clearValue));
  Add(n, "TagPop", Int(0));
  Add(n, "TagIndex", Int(0));
  Add(n, "EditMask", QuoteText(""));
  band_.children.push_back(std::move(n));
  def_.cells.push_back(std::move(c));
}

// A box of the form: a white frame, the box number and caption in small
// print at its top, and the value cell along its bottom (a check box sits at
// the left with the caption beside it).
void Builder::Box(const std::string& name, const std::string& kind, int x, int y, int w, int h,
                  const std::string& caption, const Statement& st) {
  std::string num = st.options.count("num") ? st.options.at("num") : name.substr(1);
  Rect(x, y, w, h, Has(st, "shade") ? kShade : 0xFFFFFF, 0, 1);
  Statement small;
  small.line = st.line;
  small.options["size"] = "9";
  if (kind == "check") {
    const int cy = y + (h - 20) / 2;
    Cell(name, kind, x + 2, cy, 30, 20, st);
    Label(x + 34, y + 2, w - 36, h - 4, (num.empty() ? "" : num + ". ") + caption,
          [&] { Statement s = small; s.options["wrap"]; s.options["valign"] = "center"; return s; }());
    return;
  }
  Statement numStyle = small;
  numStyle.options["bold"];
  if (!num.empty()) Label(x + 2, y + 1, 26, 12, num + ".", numStyle);
  if (!caption.empty()) {
    Statement cap = small;
    cap.options["wrap"];
    Label(x + (num.empty() ? 2 : 28), y + 1, w - (num.empty() ? 4 : 30), h - 24, caption, cap);
  }
  Cell(name, kind, x + 3, y + h - 21, w - 6, 19, st);
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
    const std::string& what = st.words[0];
    if (what == "page") {
      Page(st);
      continue;
    }
    if (!havePage_) Fail(lineNo, "the first statement must be page");
    if (what == "label") {
      Label(X(st, 1), Y(st, 2), Pos(st, 3), Pos(st, 4), Word(st, 5), st);
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
      if (pw < 1) Fail(lineNo, "penwidth must be positive");
      if (what == "hline") Rect(x, y, len + 1, pw + 1, 0, std::nullopt, 1);
      else Rect(x, y, pw + 1, len + 1, 0, std::nullopt, 1);
    } else if (what == "cell") {
      Cell(Word(st, 1), Word(st, 2), X(st, 3), Y(st, 4), Pos(st, 5), Pos(st, 6), st);
    } else if (what == "box") {
      Box(Word(st, 1), Word(st, 2), X(st, 3), Y(st, 4), Pos(st, 5), Pos(st, 6), Word(st, 7), st);
    } else if (what == "bar") {
      const int x = X(st, 1), y = Y(st, 2), w = Pos(st, 3), h = Pos(st, 4);
      Rect(x, y, w, h, kShade, 0, 1);
      Statement t;
      t.line = lineNo;
      t.options["bold"];
      t.options["valign"] = "center";
      t.options["size"] = std::to_string(Opt(st, "size", 12));
      Label(x + 4, y, w - 8, h, Word(st, 5), t);
    } else if (what == "origin") {
      if (st.words.size() != 3) Fail(lineNo, "origin takes X and Y");
      ox_ = Pos(st, 1), oy_ = Pos(st, 2);
    } else if (what == "grid") {
      gx_ = X(st, 1), gy_ = Y(st, 2), gcols_ = Pos(st, 3), gcolw_ = Pos(st, 4), growh_ = Pos(st, 5), gpos_ = 0;
      if (gcols_ <= 0 || gcolw_ <= 0 || growh_ <= 0) Fail(lineNo, "grid needs positive sizes");
    } else if (what == "flow") {
      if (gcols_ == 0) Fail(lineNo, "flow before grid");
      const int span = std::max(1, std::min(gcols_, Opt(st, "span", 1)));
      if (gpos_ % gcols_ + span > gcols_) gpos_ += gcols_ - gpos_ % gcols_;  // to the next row
      const int col = gpos_ % gcols_, row = gpos_ / gcols_;
      Box(Word(st, 1), Word(st, 2), gx_ + col * gcolw_, gy_ + row * growh_, span * gcolw_, growh_,
          st.words.size() > 3 ? st.words[3] : std::string(), st);
      gpos_ += span;
    } else {
      Fail(lineNo, "unknown statement: " + what);
    }
  }
  if (!havePage_) Fail(lineNo, "no page line");

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
