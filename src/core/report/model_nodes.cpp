// Binding of the report components to the component tree: every component
// writes its published properties as property lines and is built back from
// them.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/component_text.hpp"
#include "report/model.hpp"
#include "util/ascii.hpp"

namespace solv {
namespace {

// ---------------------------------------------------------------------------
// Identifier tables

const char* const kBandTypes[] = {"kvz_Title",        "kvz_PageHeader",   "kvz_DetailHeader", "kvz_Detail",
                                  "kvz_DetailFooter", "kvz_PageFooter",   "kvz_ReportFooter", "kvz_NewPage",
                                  "kvz_GroupHeader",  "kvz_GroupFooter"};
const char* const kRulers[] = {"kvz_none", "kvz_cmH",   "kvz_cmHV", "kvz_cmV",  "kvz_5mmH",
                               "kvz_5mmHV", "kvz_5mmV", "kvz_mmHV", "kvz_mmV", "kvz_mmH"};
const char* const kClipModes[] = {"cm_Clip", "cm_Expand", "cm_Overwrite"};
const char* const kPapersizes[] = {"kvz_A4", "kvz_A5", "kvz_Legal", "kvz_Letter"};
const char* const kSysDataTypes[] = {"kvz_Time",    "kvz_Date",  "kvz_DateTime", "kvz_PageNum",
                                     "kvz_Counter", "kvz_Count", "kvz_FormName"};
const char* const kShapeTypes[] = {"stRectangle", "stSquare", "stRoundRect", "stRoundSquare",
                                   "stEllipse",   "stCircle", "stLineH",     "stLineW"};
const char* const kOrientations[] = {"poPortrait", "poLandscape"};
const char* const kAlignments[] = {"taLeftJustify", "taRightJustify", "taCenter"};
const char* const kLayouts[] = {"tlTop", "tlCenter", "tlBottom"};
const char* const kAligns[] = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};
const char* const kPenStyles[] = {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"};
const char* const kBrushStyles[] = {"bsSolid",     "bsClear",     "bsHorizontal", "bsVertical",
                                    "bsFDiagonal", "bsBDiagonal", "bsCross",      "bsDiagCross"};
const char* const kFormStyles[] = {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"};
const char* const kBorderStyles[] = {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"};
const char* const kBorderIcons[] = {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"};
const char* const kPositions[] = {"poDesigned",     "poDefault",       "poDefaultPosOnly", "poDefaultSizeOnly",
                                  "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"};
const char* const kFontStyles[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

struct NamedValue {
  const char* name;
  int value;
};

const NamedValue kColors[] = {
    {"clBlack", clBlack},   {"clMaroon", clMaroon},   {"clGreen", clGreen},        {"clOlive", clOlive},
    {"clNavy", clNavy},     {"clPurple", clPurple},   {"clTeal", clTeal},          {"clGray", clGray},
    {"clSilver", clSilver}, {"clRed", clRed},         {"clLime", clLime},          {"clYellow", clYellow},
    {"clBlue", clBlue},     {"clFuchsia", clFuchsia}, {"clAqua", clAqua},          {"clWhite", clWhite},
    {"clBtnFace", clBtnFace}, {"clWindow", clWindow}, {"clWindowText", clWindowText},
};

const NamedValue kCharsets[] = {
    {"ANSI_CHARSET", 0},         {"DEFAULT_CHARSET", 1},     {"SYMBOL_CHARSET", 2},     {"MAC_CHARSET", 77},
    {"SHIFTJIS_CHARSET", 128},   {"HANGEUL_CHARSET", 129},   {"JOHAB_CHARSET", 130},    {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161},    {"TURKISH_CHARSET", 162},  {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},     {"ARABIC_CHARSET", 178},    {"BALTIC_CHARSET", 186},   {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},       {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
};

const NamedValue kCursors[] = {
    {"crDefault", 0},       {"crNone", -1},       {"crArrow", -2},      {"crCross", -3},     {"crIBeam", -4},
    {"crSizeNESW", -6},     {"crSizeNS", -7},     {"crSizeNWSE", -8},   {"crSizeWE", -9},    {"crUpArrow", -10},
    {"crHourGlass", -11},   {"crDrag", -12},      {"crNoDrop", -13},    {"crHSplit", -14},   {"crVSplit", -15},
    {"crMultiDrag", -16},   {"crSQLWait", -17},   {"crNo", -18},        {"crAppStart", -19}, {"crHelp", -20},
    {"crHandPoint", -21},   {"crSizeAll", -22},
};

bool SameIdent(std::string_view a, std::string_view b) { return EqualsIgnoreAsciiCase(a, b); }

template <size_t N>
std::optional<int> IndexOf(std::string_view v, const char* const (&names)[N]) {
  for (size_t i = 0; i < N; ++i)
    if (SameIdent(v, names[i])) return static_cast<int>(i);
  return std::nullopt;
}

template <size_t N>
const char* NameOf(int value, const NamedValue (&table)[N]) {
  for (const NamedValue& nv : table)
    if (nv.value == value) return nv.name;
  return nullptr;
}

template <size_t N>
std::optional<int> ValueOf(std::string_view name, const NamedValue (&table)[N]) {
  for (const NamedValue& nv : table)
    if (SameIdent(name, nv.name)) return nv.value;
  return std::nullopt;
}

bool IsIdent(std::string_view s) {
  if (s.empty()) return false;
  auto start = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!start(s[0])) return false;
  return std::all_of(s.begin(), s.end(), [&](char c) { return start(c) || (c >= '0' && c <= '9'); });
}

// The identifiers of a set value "[a, b]"; nullopt when malformed.
std::optional<std::vector<std::string>> SetItems(std::string_view v) {
  if (v.size() < 2 || v.front() != '[' || v.back() != ']') return std::nullopt;
  std::vector<std::string> out;
  std::string_view inner = v.substr(1, v.size() - 2);
  auto trim = [](std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
  };
  if (trim(inner).empty()) return out;
  while (true) {
    const size_t comma = inner.find(',');
    const std::string_view item = trim(inner.substr(0, comma));
    if (!IsIdent(item)) return std::nullopt;
    out.emplace_back(item);
    if (comma == std::string_view::npos) return out;
    inner = inner.substr(comma + 1);
  }
}

std::string SetText(const std::vector<std::string>& items) {
  std::string s = "[";
  for (size_t i = 0; i < items.size(); ++i) s += (i ? ", " : "") + items[i];
  return s + "]";
}

std::string ColorText(TColor c) {
  if (const char* n = NameOf(c, kColors)) return n;
  return IntValue(c);
}

// ---------------------------------------------------------------------------
// Pictures: the graphic's class name as a short string, then its data; a
// bitmap's data is a 32-bit length and a BMP file. Stored as a hex text.

void PutU16(std::vector<std::uint8_t>& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v & 0xFF));
  b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void PutU32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  PutU16(b, v & 0xFFFF);
  PutU16(b, v >> 16);
}
std::uint32_t GetU32(const std::vector<std::uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
unsigned GetU16(const std::vector<std::uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }

std::vector<std::uint8_t> EncodeBmp(const Bitmap& bmp) {
  const std::uint32_t pixels = static_cast<std::uint32_t>(bmp.width) * bmp.height * 4;
  std::vector<std::uint8_t> b;
  b.push_back('B');
  b.push_back('M');
  PutU32(b, 14 + 40 + pixels);
  PutU32(b, 0);
  PutU32(b, 14 + 40);
  PutU32(b, 40);
  PutU32(b, static_cast<std::uint32_t>(bmp.width));
  PutU32(b, static_cast<std::uint32_t>(bmp.height));  // bottom-up
  PutU16(b, 1);
  PutU16(b, 32);
  PutU32(b, 0);  // uncompressed
  PutU32(b, pixels);
  PutU32(b, 3780);
  PutU32(b, 3780);
  PutU32(b, 0);
  PutU32(b, 0);
  for (int y = bmp.height - 1; y >= 0; --y)
    for (int x = 0; x < bmp.width; ++x) {
      const size_t i = (static_cast<size_t>(y) * bmp.width + x) * 4;
      b.push_back(bmp.rgba[i + 2]);
      b.push_back(bmp.rgba[i + 1]);
      b.push_back(bmp.rgba[i]);
      b.push_back(bmp.rgba[i + 3]);
    }
  return b;
}

// A 24- or 32-bit uncompressed BMP file; nullopt for anything else.
std::optional<Bitmap> DecodeBmp(const std::vector<std::uint8_t>& b) {
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  const std::uint32_t offset = GetU32(b, 10);
  const std::uint32_t header = GetU32(b, 14);
  if (header < 40) return std::nullopt;
  const std::int32_t width = static_cast<std::int32_t>(GetU32(b, 18));
  std::int32_t height = static_cast<std::int32_t>(GetU32(b, 22));
  const unsigned bpp = GetU16(b, 28);
  const std::uint32_t compression = GetU32(b, 30);
  if (width <= 0 || height == 0 || width > 32768 || height > 32768 || height < -32768) return std::nullopt;
  if ((bpp != 24 && bpp != 32) || compression != 0) return std::nullopt;
  const bool topDown = height < 0;
  if (topDown) height = -height;
  const size_t stride = ((static_cast<size_t>(width) * bpp / 8) + 3) / 4 * 4;
  if (offset > b.size() || b.size() - offset < stride * static_cast<size_t>(height)) return std::nullopt;
  Bitmap bmp(width, height);
  bool anyAlpha = false;
  for (int row = 0; row < height; ++row) {
    const int y = topDown ? row : height - 1 - row;
    const size_t base = offset + stride * static_cast<size_t>(row);
    for (int x = 0; x < width; ++x) {
      const size_t p = base + static_cast<size_t>(x) * (bpp / 8);
      const size_t i = (static_cast<size_t>(y) * width + x) * 4;
      bmp.rgba[i] = b[p + 2];
      bmp.rgba[i + 1] = b[p + 1];
      bmp.rgba[i + 2] = b[p];
      bmp.rgba[i + 3] = bpp == 32 ? b[p + 3] : 255;
      anyAlpha = anyAlpha || bmp.rgba[i + 3] != 0;
    }
  }
  // A 32-bit bitmap with no alpha at all is opaque.
  if (!anyAlpha)
    for (size_t i = 3; i < bmp.rgba.size(); i += 4) bmp.rgba[i] = 255;
  return bmp;
}

std::string PictureData(const Picture& p) {
  std::vector<std::uint8_t> b;
  b.push_back(static_cast<std::uint8_t>(p.graphicClass.size()));
  b.insert(b.end(), p.graphicClass.begin(), p.graphicClass.end());
  if (p.graphicClass == "TBitmap" && !p.bitmap.Empty()) {
    const std::vector<std::uint8_t> bmp = EncodeBmp(p.bitmap);
    PutU32(b, static_cast<std::uint32_t>(bmp.size()));
    b.insert(b.end(), bmp.begin(), bmp.end());
  } else {
    b.insert(b.end(), p.data.begin(), p.data.end());
  }
  static const char kHex[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(b.size() * 2);
  for (std::uint8_t v : b) {
    hex += kHex[v >> 4];
    hex += kHex[v & 15];
  }
  return hex;
}

std::optional<Picture> ParsePictureData(std::string_view hex) {
  std::vector<std::uint8_t> b;
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  int hi = -1;
  for (char c : hex) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    const int v = nibble(c);
    if (v < 0) return std::nullopt;
    if (hi < 0) {
      hi = v;
    } else {
      b.push_back(static_cast<std::uint8_t>(hi * 16 + v));
      hi = -1;
    }
  }
  if (hi >= 0) return std::nullopt;
  Picture p;
  if (b.empty()) return p;
  const size_t n = b[0];
  if (b.size() < 1 + n) return std::nullopt;
  p.graphicClass.assign(b.begin() + 1, b.begin() + 1 + static_cast<std::ptrdiff_t>(n));
  if (!IsIdent(p.graphicClass)) return std::nullopt;
  std::vector<std::uint8_t> rest(b.begin() + 1 + static_cast<std::ptrdiff_t>(n), b.end());
  if (p.graphicClass == "TBitmap") {
    if (rest.size() < 4) return std::nullopt;
    const std::uint32_t len = GetU32(rest, 0);
    if (rest.size() - 4 != len) return std::nullopt;
    std::optional<Bitmap> bmp = DecodeBmp(std::vector<std::uint8_t>(rest.begin() + 4, rest.end()));
    if (!bmp) return std::nullopt;
    p.bitmap = std::move(*bmp);
  } else {
    p.data = std::move(rest);
  }
  return p;
}

// ---------------------------------------------------------------------------
// Writing

class Out {
 public:
  explicit Out(ComponentNode& n) : n_(n) {}
  void Raw(const char* p, std::string v) { n_.properties.emplace_back(p, std::move(v)); }
  void Int(const char* p, long long v) { Raw(p, IntValue(v)); }
  void Bool(const char* p, bool v) { Raw(p, v ? "True" : "False"); }
  void Text(const char* p, const std::string& v) {
    if (!v.empty()) Raw(p, QuoteText(v));
  }
  void Color(const char* p, TColor c) { Raw(p, ColorText(c)); }
  void Font(const solv::Font& f) {
    const char* cs = NameOf(f.charset, kCharsets);
    Raw("Font.Charset", cs ? cs : IntValue(f.charset));
    Color("Font.Color", f.color);
    Int("Font.Height", f.height);
    Raw("Font.Name", QuoteText(f.name));
    std::vector<std::string> styles;
    for (int i = 0; i < 4; ++i)
      if (f.style & (1u << i)) styles.emplace_back(kFontStyles[i]);
    Raw("Font.Style", SetText(styles));
  }

 private:
  ComponentNode& n_;
};

void WriteControl(const TKVZControl& c, Out& o, int defaultWidth, int defaultHeight) {
  if (c.Tag() != 0) o.Int("Tag", c.Tag());
  o.Int("Left", c.Left());
  o.Int("Top", c.Top());
  if (c.Width() != defaultWidth || defaultWidth < 0) o.Int("Width", c.Width());
  if (c.Height() != defaultHeight || defaultHeight < 0) o.Int("Height", c.Height());
  if (c.Cursor() != crDefault) {
    const char* n = NameOf(c.Cursor(), kCursors);
    o.Raw("Cursor", n ? n : IntValue(c.Cursor()));
  }
  o.Text("Hint", c.Hint());
}

void WriteLabel(const TKVZLabel& l, Out& o) {
  WriteControl(l, o, -1, -1);
  if (l.Alignment() != TAlignment::taLeftJustify) o.Raw("Alignment", kAlignments[static_cast<int>(l.Alignment())]);
  if (!l.AutoSize()) o.Bool("AutoSize", false);
  o.Text("Caption", l.Caption());
  if (l.Color() != clWindow) o.Color("Color", l.Color());
  if (!l.ParentFont()) o.Font(l.GetFont());
  if (l.Layout() != TTextLayout::tlTop) o.Raw("Layout", kLayouts[static_cast<int>(l.Layout())]);
  if (!l.ParentFont()) o.Bool("ParentFont", false);
  if (!l.Transparent()) o.Bool("Transparent", false);
  if (!l.Visible()) o.Bool("Visible", false);
  if (l.WordWrap()) o.Bool("WordWrap", true);
  if (!l.Enabled()) o.Bool("Enabled", false);
  o.Int("Escapement", l.Escapement());
}

void WriteComponent(const TKVZComponent& c, ComponentNode& node) {
  node.name = c.Name();
  node.className = c.ClassName();
  Out o(node);
  if (auto* f = dynamic_cast<const TKVZEditField*>(&c)) {
    WriteLabel(*f, o);
    if (f->ShowHint()) o.Bool("ShowHint", true);
    if (!f->OnClick().empty()) o.Raw("OnClick", f->OnClick());  // a method name
    o.Text("NoValue", f->NoValue());
    o.Text("ClearValue", f->ClearValue());
    o.Int("TagPop", f->TagPop());
    o.Int("TagIndex", f->TagIndex());
    o.Text("EditMask", f->EditMask());
  } else if (auto* fl = dynamic_cast<const TKVZField*>(&c)) {
    WriteLabel(*fl, o);
    o.Text("NoValue", fl->NoValue());
    o.Text("ClearValue", fl->ClearValue());
  } else if (auto* s = dynamic_cast<const TKVZSysField*>(&c)) {
    WriteLabel(*s, o);
    o.Raw("DataType", kSysDataTypes[static_cast<int>(s->DataType())]);
  } else if (auto* l = dynamic_cast<const TKVZLabel*>(&c)) {
    WriteLabel(*l, o);
  } else if (auto* sh = dynamic_cast<const TKVZShape*>(&c)) {
    WriteControl(*sh, o, 65, 65);
    const Brush& b = sh->GetBrush();
    if (b.color != clWhite) o.Color("Brush.Color", b.color);
    if (b.style != TBrushStyle::bsSolid) o.Raw("Brush.Style", kBrushStyles[static_cast<int>(b.style)]);
    const Pen& p = sh->GetPen();
    if (p.color != clBlack) o.Color("Pen.Color", p.color);
    if (p.style != TPenStyle::psSolid) o.Raw("Pen.Style", kPenStyles[static_cast<int>(p.style)]);
    if (p.width != 1) o.Int("Pen.Width", p.width);
    o.Raw("Shape", kShapeTypes[static_cast<int>(sh->Shape())]);
    if (!sh->Visible()) o.Bool("Visible", false);
    if (sh->Layout() != TTextLayout::tlTop) o.Raw("Layout", kLayouts[static_cast<int>(sh->Layout())]);
  } else if (auto* im = dynamic_cast<const TKVZImage*>(&c)) {
    WriteControl(*im, o, 100, 100);
    o.Bool("Autosize", im->Autosize());
    if (!im->Center()) o.Bool("Center", false);
    if (!im->GetPicture().Empty()) o.Raw("Picture.Data", QuoteText(PictureData(im->GetPicture())));
    if (!im->Stretch()) o.Bool("Stretch", false);
    if (!im->Visible()) o.Bool("Visible", false);
    if (im->Layout() != TTextLayout::tlTop) o.Raw("Layout", kLayouts[static_cast<int>(im->Layout())]);
  } else if (auto* b = dynamic_cast<const TKVZBand*>(&c)) {
    if (b->Tag() != 0) o.Int("Tag", b->Tag());
    o.Int("Left", b->Left());
    o.Int("Top", b->Top());
    o.Int("Width", b->Width());
    o.Int("Height", b->Height());
    o.Raw("Align", kAligns[static_cast<int>(b->Align())]);
    if (b->AltColor()) o.Bool("AltColor", true);
    o.Raw("BandType", kBandTypes[static_cast<int>(b->BandType())]);
    if (b->ClipMode() != TClipMode::cm_Clip) o.Raw("ClipMode", kClipModes[static_cast<int>(b->ClipMode())]);
    o.Color("Color", b->Color());
    if (!b->Enabled()) o.Bool("Enabled", false);
    if (!b->ParentFont()) o.Font(b->GetFont());
    if (!b->ParentFont()) o.Bool("ParentFont", false);
    o.Raw("Ruler", kRulers[static_cast<int>(b->Ruler())]);
    if (b->SecondBandResize() != 0) o.Int("SecondBandResize", b->SecondBandResize());
    for (TKVZControl* child : b->ControlList()) {
      node.children.emplace_back();
      WriteComponent(*child, node.children.back());
    }
  } else if (auto* r = dynamic_cast<const TKVZReport*>(&c)) {
    if (r->Tag() != 0) o.Int("Tag", r->Tag());
    if (r->DesignLeft() != 0) o.Int("Left", r->DesignLeft());
    if (r->DesignTop() != 0) o.Int("Top", r->DesignTop());
    o.Raw("Orientation", kOrientations[static_cast<int>(r->Orientation())]);
    o.Raw("Papersize", kPapersizes[static_cast<int>(r->Papersize())]);
    o.Int("LeftMarginMM", r->LeftMarginMM());
    o.Int("RightMarginMM", r->RightMarginMM());
    o.Int("TopMarginMM", r->TopMarginMM());
    o.Text("ReportTitle", r->ReportTitle());
  } else if (auto* k = dynamic_cast<const TKVZDetailLink*>(&c)) {
    if (k->Tag() != 0) o.Int("Tag", k->Tag());
    if (k->DesignLeft() != 0) o.Int("Left", k->DesignLeft());
    if (k->DesignTop() != 0) o.Int("Top", k->DesignTop());
    if (k->DataSource()) o.Raw("DataSource", k->DataSource()->Name());
    if (k->GroupBand()) o.Raw("GroupBand", k->GroupBand()->Name());
    if (k->GroupFooter()) o.Raw("GroupFooter", k->GroupFooter()->Name());
    if (k->GroupHeader()) o.Raw("GroupHeader", k->GroupHeader()->Name());
  }
}

void WritePage(const TKVZPage& p, ComponentNode& node) {
  node.name = p.Name();
  node.className = p.ClassName();
  Out o(node);
  o.Int("Left", p.left);
  o.Int("Top", p.top);
  if (p.Tag() != 0) o.Int("Tag", p.Tag());
  if (p.borderIcons != std::vector<std::string>{"biSystemMenu", "biMinimize", "biMaximize"})
    o.Raw("BorderIcons", SetText(p.borderIcons));
  if (p.borderStyle != "bsSizeable") o.Raw("BorderStyle", p.borderStyle);
  o.Text("Caption", p.caption);
  o.Int("ClientHeight", p.clientHeight);
  o.Int("ClientWidth", p.clientWidth);
  if (p.color != clBtnFace) o.Color("Color", p.color);
  if (!(p.font == solv::Font{})) o.Font(p.font);
  if (p.formStyle != "fsNormal") o.Raw("FormStyle", p.formStyle);
  if (p.horzScrollRange != 0) o.Int("HorzScrollBar.Range", p.horzScrollRange);
  if (p.vertScrollRange != 0) o.Int("VertScrollBar.Range", p.vertScrollRange);
  if (p.position != "poDesigned") o.Raw("Position", p.position);
  if (p.visible) o.Bool("Visible", true);
  if (!p.onActivate.empty()) o.Raw("OnActivate", p.onActivate);
  if (!p.onClose.empty()) o.Raw("OnClose", p.onClose);
  if (!p.onCreate.empty()) o.Raw("OnCreate", p.onCreate);
  if (!p.onDeactivate.empty()) o.Raw("OnDeactivate", p.onDeactivate);
  if (!p.onShow.empty()) o.Raw("OnShow", p.onShow);
  o.Int("PixelsPerInch", p.pixelsPerInch);
  if (!p.scaled) o.Bool("Scaled", false);
  if (p.textHeight != 0) o.Int("TextHeight", p.textHeight);
}

// ---------------------------------------------------------------------------
// Reading

struct Fixup {
  TKVZDetailLink* link;
  std::string property;
  std::string target;
};

// One property line being read, with what an error message needs.
class In {
 public:
  In(const std::string& owner, const std::string& prop, const std::string& value)
      : owner_(owner), prop_(prop), value_(value) {}
  const std::string& Value() const { return value_; }

  [[noreturn]] void Bad(const std::string& why = {}) const {
    throw ReportComponentError("Error reading " + owner_ + "." + prop_ + ": invalid property value " + value_ +
                               (why.empty() ? std::string() : " (" + why + ")"));
  }
  std::string Text() const {
    auto t = UnquoteText(value_);
    if (!t) Bad("a text is expected");
    return *t;
  }
  long long Int(long long lo = INT32_MIN, long long hi = INT32_MAX) const {
    auto v = ParseIntValue(value_);
    if (!v) Bad("an integer is expected");
    if (*v < lo || *v > hi) Bad("out of range");
    return *v;
  }
  bool Bool() const {
    if (SameIdent(value_, "True")) return true;
    if (SameIdent(value_, "False")) return false;
    Bad("True or False is expected");
  }
  std::string Ident() const {
    if (!IsIdent(value_)) Bad("an identifier is expected");
    return value_;
  }
  template <class E, size_t N>
  E Enum(const char* const (&names)[N]) const {
    auto i = IndexOf(value_, names);
    if (!i) Bad();
    return static_cast<E>(*i);
  }
  template <size_t N>
  std::string OneOf(const char* const (&names)[N]) const {
    auto i = IndexOf(value_, names);
    if (!i) Bad();
    return names[*i];
  }
  TColor Color() const {
    if (auto c = ValueOf(value_, kColors)) return *c;
    if (SameIdent(value_, "clNone")) return 0x1FFFFFFF;
    if (SameIdent(value_, "clDefault")) return 0x20000000;
    if (auto v = ParseIntValue(value_); v && *v >= INT32_MIN && *v <= 0xFFFFFFFFLL)
      return static_cast<TColor>(static_cast<std::uint32_t>(*v));
    Bad("a colour is expected");
  }
  int Cursor() const {
    if (auto c = ValueOf(value_, kCursors)) return *c;
    return static_cast<int>(Int(-32768, 32767));
  }
  std::vector<std::string> Set() const {
    auto s = SetItems(value_);
    if (!s) Bad("a set is expected");
    return *s;
  }

 private:
  const std::string& owner_;
  const std::string& prop_;
  const std::string& value_;
};

// Font.Charset, Font.Color, Font.Height, Font.Name, Font.Style.
bool ReadFont(Font& f, std::string_view sub, const In& in) {
  if (SameIdent(sub, "Charset")) {
    if (auto v = ValueOf(in.Value(), kCharsets)) f.charset = *v;
    else f.charset = static_cast<int>(in.Int(0, 255));
  } else if (SameIdent(sub, "Color")) {
    f.color = in.Color();
  } else if (SameIdent(sub, "Height")) {
    f.height = static_cast<int>(in.Int(-10000, 10000));
  } else if (SameIdent(sub, "Size")) {
    f.height = -MulDiv(static_cast<int>(in.Int(-10000, 10000)), f.pixelsPerInch, 72);
  } else if (SameIdent(sub, "Name")) {
    f.name = in.Text();
  } else if (SameIdent(sub, "Style")) {
    unsigned style = 0;
    for (const std::string& s : in.Set()) {
      auto i = IndexOf(s, kFontStyles);
      if (!i) in.Bad("unknown font style " + s);
      style |= 1u << *i;
    }
    f.style = style;
  } else {
    return false;
  }
  return true;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && SameIdent(s.substr(0, prefix.size()), prefix);
}

bool ReadControl(TKVZControl& c, const std::string& p, const In& in) {
  if (SameIdent(p, "Tag")) c.SetTag(static_cast<int>(in.Int()));
  else if (SameIdent(p, "Left")) c.SetLeft(static_cast<int>(in.Int()));
  else if (SameIdent(p, "Top")) c.SetTop(static_cast<int>(in.Int()));
  else if (SameIdent(p, "Width")) c.SetWidth(static_cast<int>(in.Int()));
  else if (SameIdent(p, "Height")) c.SetHeight(static_cast<int>(in.Int()));
  else if (SameIdent(p, "Cursor")) c.SetCursor(in.Cursor());
  else if (SameIdent(p, "Hint")) c.SetHint(in.Text());
  else if (SameIdent(p, "Visible")) c.SetVisible(in.Bool());
  else if (SameIdent(p, "Layout")) c.SetLayout(in.Enum<TTextLayout>(kLayouts));
  else return false;
  return true;
}

bool ReadLabel(TKVZLabel& l, const std::string& p, const In& in) {
  if (ReadControl(l, p, in)) return true;
  if (SameIdent(p, "Caption")) l.SetCaption(in.Text());
  else if (SameIdent(p, "Alignment")) l.SetAlignment(in.Enum<TAlignment>(kAlignments));
  else if (SameIdent(p, "AutoSize")) l.SetAutoSize(in.Bool());
  else if (SameIdent(p, "Transparent")) l.SetTransparent(in.Bool());
  else if (SameIdent(p, "WordWrap")) l.SetWordWrap(in.Bool());
  else if (SameIdent(p, "Color")) l.SetColor(in.Color());
  else if (SameIdent(p, "ParentFont")) l.SetParentFont(in.Bool());
  else if (SameIdent(p, "Enabled")) l.SetEnabled(in.Bool());
  else if (SameIdent(p, "Escapement")) l.SetEscapement(static_cast<int>(in.Int()));
  else if (StartsWith(p, "Font.")) {
    Font f = l.GetFont();
    if (!ReadFont(f, std::string_view(p).substr(5), in)) return false;
    l.SetFont(f);
  } else {
    return false;
  }
  return true;
}

bool ReadBand(TKVZBand& b, const std::string& p, const In& in) {
  if (SameIdent(p, "Tag")) b.SetTag(static_cast<int>(in.Int()));
  else if (SameIdent(p, "Left")) b.SetLeft(static_cast<int>(in.Int()));
  else if (SameIdent(p, "Top")) b.SetTop(static_cast<int>(in.Int()));
  else if (SameIdent(p, "Width")) b.SetWidth(static_cast<int>(in.Int()));
  else if (SameIdent(p, "Height")) b.SetHeight(static_cast<int>(in.Int()));
  else if (SameIdent(p, "Align")) b.SetAlign(in.Enum<TAlign>(kAligns));
  else if (SameIdent(p, "AltColor")) b.SetAltColor(in.Bool());
  else if (SameIdent(p, "BandType")) b.SetBandType(in.Enum<TKVZBandType>(kBandTypes));
  else if (SameIdent(p, "ClipMode")) b.SetClipMode(in.Enum<TClipMode>(kClipModes));
  else if (SameIdent(p, "Color")) b.SetColor(in.Color());
  else if (SameIdent(p, "Enabled")) b.SetEnabled(in.Bool());
  else if (SameIdent(p, "ParentFont")) b.SetParentFont(in.Bool());
  else if (SameIdent(p, "Ruler")) b.SetRuler(in.Enum<TKVZRulerType>(kRulers));
  else if (SameIdent(p, "SecondBandResize")) b.SetSecondBandResize(static_cast<std::int16_t>(in.Int(-32768, 32767)));
  else if (StartsWith(p, "Font.")) {
    Font f = b.GetFont();
    if (!ReadFont(f, std::string_view(p).substr(5), in)) return false;
    b.SetFont(f);
  } else {
    return false;
  }
  return true;
}

bool ReadProperty(TKVZComponent& c, const std::string& p, const In& in, std::vector<Fixup>& fixups) {
  if (auto* e = dynamic_cast<TKVZEditField*>(&c)) {
    if (SameIdent(p, "EditMask")) return e->SetEditMask(in.Text()), true;
    if (SameIdent(p, "TagPop")) return e->SetTagPop(static_cast<int>(in.Int())), true;
    if (SameIdent(p, "TagIndex")) return e->SetTagIndex(static_cast<int>(in.Int())), true;
    if (SameIdent(p, "ShowHint")) return e->SetShowHint(in.Bool()), true;
    if (SameIdent(p, "OnClick")) return e->SetOnClick(in.Ident()), true;
  }
  if (auto* f = dynamic_cast<TKVZField*>(&c)) {
    if (SameIdent(p, "NoValue")) f->SetNoValue(in.Text());
    else if (SameIdent(p, "ClearValue")) f->SetClearValue(in.Text());
    else return ReadLabel(*f, p, in);
    return true;
  }
  if (auto* s = dynamic_cast<TKVZSysField*>(&c)) {
    if (SameIdent(p, "DataType")) s->SetDataType(in.Enum<TKVZSysDataType>(kSysDataTypes));
    else return ReadLabel(*s, p, in);
    return true;
  }
  if (auto* l = dynamic_cast<TKVZLabel*>(&c)) return ReadLabel(*l, p, in);
  if (auto* sh = dynamic_cast<TKVZShape*>(&c)) {
    Brush b = sh->GetBrush();
    Pen pen = sh->GetPen();
    if (SameIdent(p, "Shape")) sh->SetShape(in.Enum<TKVZShapeType>(kShapeTypes));
    else if (SameIdent(p, "Brush.Color")) b.color = in.Color(), sh->SetBrush(b);
    else if (SameIdent(p, "Brush.Style")) b.style = in.Enum<TBrushStyle>(kBrushStyles), sh->SetBrush(b);
    else if (SameIdent(p, "Pen.Color")) pen.color = in.Color(), sh->SetPen(pen);
    else if (SameIdent(p, "Pen.Style")) pen.style = in.Enum<TPenStyle>(kPenStyles), sh->SetPen(pen);
    else if (SameIdent(p, "Pen.Width")) pen.width = static_cast<int>(in.Int(0, 10000)), sh->SetPen(pen);
    else return ReadControl(*sh, p, in);
    return true;
  }
  if (auto* im = dynamic_cast<TKVZImage*>(&c)) {
    if (SameIdent(p, "Picture.Data")) {
      const std::string hex = in.Text();
      auto pic = ParsePictureData(hex);
      if (!pic) in.Bad("not a picture");
      im->SetPicture(*pic);
    } else if (SameIdent(p, "Center")) {
      im->SetCenter(in.Bool());
    } else if (SameIdent(p, "Stretch")) {
      im->SetStretch(in.Bool());
    } else if (SameIdent(p, "Autosize")) {
      im->SetAutosize(in.Bool());
    } else {
      return ReadControl(*im, p, in);
    }
    return true;
  }
  if (auto* b = dynamic_cast<TKVZBand*>(&c)) return ReadBand(*b, p, in);
  if (auto* r = dynamic_cast<TKVZReport*>(&c)) {
    if (SameIdent(p, "Tag")) r->SetTag(static_cast<int>(in.Int()));
    else if (SameIdent(p, "Left")) r->SetDesignPos(static_cast<int>(in.Int()), r->DesignTop());
    else if (SameIdent(p, "Top")) r->SetDesignPos(r->DesignLeft(), static_cast<int>(in.Int()));
    else if (SameIdent(p, "Orientation")) r->SetOrientation(in.Enum<TPrinterOrientation>(kOrientations));
    else if (SameIdent(p, "Papersize")) r->SetPapersize(in.Enum<TPapersize>(kPapersizes));
    else if (SameIdent(p, "LeftMarginMM")) r->SetLeftMarginMM(static_cast<int>(in.Int()));
    else if (SameIdent(p, "RightMarginMM")) r->SetRightMarginMM(static_cast<int>(in.Int()));
    else if (SameIdent(p, "TopMarginMM")) r->SetTopMarginMM(static_cast<int>(in.Int()));
    else if (SameIdent(p, "ReportTitle")) r->SetReportTitle(in.Text());
    else return false;
    return true;
  }
  if (auto* k = dynamic_cast<TKVZDetailLink*>(&c)) {
    if (SameIdent(p, "Tag")) k->SetTag(static_cast<int>(in.Int()));
    else if (SameIdent(p, "Left")) k->SetDesignPos(static_cast<int>(in.Int()), k->DesignTop());
    else if (SameIdent(p, "Top")) k->SetDesignPos(k->DesignLeft(), static_cast<int>(in.Int()));
    else if (SameIdent(p, "GroupHeader") || SameIdent(p, "GroupFooter") || SameIdent(p, "GroupBand") ||
             SameIdent(p, "DataSource"))
      fixups.push_back({k, p, in.Ident()});
    else return false;
    return true;
  }
  return false;
}

bool ReadPageProperty(TKVZPage& page, const std::string& p, const In& in) {
  if (SameIdent(p, "Tag")) page.SetTag(static_cast<int>(in.Int()));
  else if (SameIdent(p, "Left")) page.left = static_cast<int>(in.Int());
  else if (SameIdent(p, "Top")) page.top = static_cast<int>(in.Int());
  else if (SameIdent(p, "Caption")) page.caption = in.Text();
  else if (SameIdent(p, "ClientWidth") || SameIdent(p, "Width")) page.clientWidth = static_cast<int>(in.Int());
  else if (SameIdent(p, "ClientHeight") || SameIdent(p, "Height")) page.clientHeight = static_cast<int>(in.Int());
  else if (SameIdent(p, "Color")) page.color = in.Color();
  else if (SameIdent(p, "PixelsPerInch")) page.pixelsPerInch = static_cast<int>(in.Int(1, 10000));
  else if (SameIdent(p, "Scaled")) page.scaled = in.Bool();
  else if (SameIdent(p, "Visible")) page.visible = in.Bool();
  else if (SameIdent(p, "FormStyle")) page.formStyle = in.OneOf(kFormStyles);
  else if (SameIdent(p, "BorderStyle")) page.borderStyle = in.OneOf(kBorderStyles);
  else if (SameIdent(p, "Position")) page.position = in.OneOf(kPositions);
  else if (SameIdent(p, "BorderIcons")) {
    std::vector<std::string> icons;
    for (const std::string& s : in.Set()) {
      auto i = IndexOf(s, kBorderIcons);
      if (!i) in.Bad("unknown border icon " + s);
      icons.emplace_back(kBorderIcons[*i]);
    }
    page.borderIcons = icons;
  } else if (SameIdent(p, "HorzScrollBar.Range")) page.horzScrollRange = static_cast<int>(in.Int());
  else if (SameIdent(p, "VertScrollBar.Range")) page.vertScrollRange = static_cast<int>(in.Int());
  else if (SameIdent(p, "TextHeight")) page.textHeight = static_cast<int>(in.Int());
  else if (SameIdent(p, "OnActivate")) page.onActivate = in.Ident();
  else if (SameIdent(p, "OnClose")) page.onClose = in.Ident();
  else if (SameIdent(p, "OnDeactivate")) page.onDeactivate = in.Ident();
  else if (SameIdent(p, "OnCreate")) page.onCreate = in.Ident();
  else if (SameIdent(p, "OnShow")) page.onShow = in.Ident();
  else if (StartsWith(p, "Font.")) return ReadFont(page.font, std::string_view(p).substr(5), in);
  else return false;
  return true;
}

class PageReader {
 public:
  PageReader(std::vector<ComponentNode>* foreign) : foreign_(foreign) {}

  std::unique_ptr<TKVZPage> Read(const ComponentNode& root) {
    if (!IsIdent(root.className)) throw ReportComponentError("Invalid class name of the page: " + root.className);
    if (IsComponentClass(root.className))
      throw ReportComponentError(root.className + " cannot be the page window");
    auto page = std::make_unique<TKVZPage>(root.className);
    page->SetName(root.name);
    for (const auto& [prop, value] : root.properties) {
      In in(root.name, prop, value);
      if (!ReadPageProperty(*page, prop, in))
        throw ReportComponentError("Error reading " + root.name + "." + prop + ": property does not exist");
    }
    page_ = page.get();
    for (const ComponentNode& child : root.children) Build(child, page.get());
    ResolveFixups();
    for (int i = 0; i < page->ComponentCount(); ++i) page->Components(i)->Loaded();
    return page;
  }

 private:
  void Build(const ComponentNode& node, TKVZComponent* parent) {
    std::unique_ptr<TKVZComponent> made = CreateComponent(node.className);
    if (!made) {
      if (foreign_) {
        foreign_->push_back(node);
        return;
      }
      throw ReportComponentError("Class " + node.className + " not found (component " + node.name + ")");
    }
    made->SetName(node.name);
    made->BeginLoading();
    TKVZComponent& c = page_->InsertComponent(std::move(made));
    try {
      if (auto* band = dynamic_cast<TKVZBand*>(&c)) band->SetParent(parent);
      else if (auto* control = dynamic_cast<TKVZControl*>(&c)) control->SetParent(parent);
    } catch (const ReportComponentError& e) {
      throw ReportComponentError(node.name + ": " + e.what());
    }
    for (const auto& [prop, value] : node.properties) {
      In in(node.name, prop, value);
      if (!ReadProperty(c, prop, in, fixups_))
        throw ReportComponentError("Error reading " + node.name + "." + prop + ": property does not exist");
    }
    for (const ComponentNode& child : node.children) Build(child, &c);
  }

  void ResolveFixups() {
    for (const Fixup& f : fixups_) {
      TKVZComponent* target = page_->FindComponent(f.target);
      const std::string where = "Error reading " + f.link->Name() + "." + f.property + ": ";
      if (SameIdent(f.property, "DataSource")) {
        auto* field = dynamic_cast<TKVZField*>(target);
        if (!field) throw ReportComponentError(where + "no field named " + f.target);
        f.link->SetDataSource(field);
        continue;
      }
      auto* band = dynamic_cast<TKVZBand*>(target);
      if (!band) throw ReportComponentError(where + "no band named " + f.target);
      if (SameIdent(f.property, "GroupHeader")) f.link->SetGroupHeader(band);
      else if (SameIdent(f.property, "GroupFooter")) f.link->SetGroupFooter(band);
      else f.link->SetGroupBand(band);
    }
  }

  std::vector<ComponentNode>* foreign_;
  TKVZPage* page_ = nullptr;
  std::vector<Fixup> fixups_;
};

}  // namespace

ComponentNode ComponentToNode(const TKVZComponent& c) {
  ComponentNode node;
  if (auto* page = dynamic_cast<const TKVZPage*>(&c)) return PageToNode(*page);
  WriteComponent(c, node);
  return node;
}

ComponentNode PageToNode(const TKVZPage& page) {
  ComponentNode root;
  WritePage(page, root);
  for (TKVZBand* band : page.Bands()) {
    if (band->Owner() != &page) continue;
    root.children.emplace_back();
    WriteComponent(*band, root.children.back());
  }
  for (int i = 0; i < page.ComponentCount(); ++i) {
    const TKVZComponent* c = page.Components(i);
    if (dynamic_cast<const TKVZBand*>(c) || dynamic_cast<const TKVZControl*>(c)) continue;
    root.children.emplace_back();
    WriteComponent(*c, root.children.back());
  }
  return root;
}

std::unique_ptr<TKVZPage> PageFromNode(const ComponentNode& root, std::vector<ComponentNode>* foreign) {
  return PageReader(foreign).Read(root);
}

}  // namespace solv
