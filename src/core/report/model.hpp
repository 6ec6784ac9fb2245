// The report page model: the components every form page is built from (a
// report with the page settings, one band that is the sheet, and on it the
// labels, shapes, images and field cells) and how each of them paints on
// screen and draws for print.
//
// Geometry is in pixels of the 96 dpi design grid. Screen painting draws a
// control in its own client coordinates (the caller moves the canvas origin
// to the control); print drawing draws into a rectangle in device pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "report/canvas.hpp"
#include "report/component_node.hpp"

namespace solv {

// A misuse of the model (wrong parent, clashing name) or a component tree
// that cannot be built (unknown class or property, bad value).
class ReportComponentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TKVZBandType {
  kvz_Title, kvz_PageHeader, kvz_DetailHeader, kvz_Detail, kvz_DetailFooter,
  kvz_PageFooter, kvz_ReportFooter, kvz_NewPage, kvz_GroupHeader, kvz_GroupFooter
};
enum class TKVZRulerType { kvz_none, kvz_cmH, kvz_cmHV, kvz_cmV, kvz_5mmH, kvz_5mmHV, kvz_5mmV, kvz_mmHV, kvz_mmV, kvz_mmH };
enum class TClipMode { cm_Clip, cm_Expand, cm_Overwrite };
enum class TPapersize { kvz_A4, kvz_A5, kvz_Legal, kvz_Letter };
enum class TKVZSysDataType { kvz_Time, kvz_Date, kvz_DateTime, kvz_PageNum, kvz_Counter, kvz_Count, kvz_FormName };
enum class TKVZShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle, stLineH, stLineW };
enum class TPrinterOrientation { poPortrait, poLandscape };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Mouse pointers (the values of the Cursor property).
constexpr int crDefault = 0;
constexpr int crArrow = -2;
constexpr int crIBeam = -4;
constexpr int crNo = -18;
constexpr int crHandPoint = -21;

// Portrait width and height of a paper size in millimetres.
struct PaperSizeMM {
  int width = 0, height = 0;
};
PaperSizeMM PaperSize(TPapersize p);

// The clock of the system fields. An empty clock is the local time of the
// machine; tests set a fixed one.
struct LocalDateTime {
  int year = 2011, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
using ReportClock = std::function<LocalDateTime()>;
void SetReportClock(ReportClock clock);
LocalDateTime ReportNow();
std::string TimeText(const LocalDateTime& t);      // "09:05:03"
std::string DateText(const LocalDateTime& t);      // "28-04-2011"
std::string DateTimeText(const LocalDateTime& t);  // date, blank, time; the date alone at midnight

// What the printer object does when a report's Orientation or Papersize is set.
struct ReportPrinterHook {
  std::function<void(TPrinterOrientation)> orientation;
  std::function<void(TPapersize)> papersize;
};
void SetReportPrinterHook(ReportPrinterHook hook);

// Escapement in degrees brought into 0..360 (-30 gives 330, 725 gives 5,
// 360 stays 360).
int NormalizeEscapement(int degrees);

// Where rotated text starts relative to the top-left of its area, and the
// size of the turned text, for an angle 0 < a <= 360 and a text extent
// cx by cy (every product cut toward zero).
struct RotatedTextGeometry {
  int dx = 0, dy = 0, width = 0, height = 0;
};
RotatedTextGeometry RotatedText(int angle, int cx, int cy);

// A shape of type t in the area (x, y, w, h) with the canvas's pen and brush.
void DrawShape(Canvas& canvas, TKVZShapeType t, int x, int y, int w, int h);

class TKVZPage;
class TKVZBand;
class TKVZDetailLink;

// Anything a page owns: a name unique within the page (ignoring case) and a
// tag.
class TKVZComponent {
 public:
  virtual ~TKVZComponent();
  TKVZComponent(const TKVZComponent&) = delete;
  TKVZComponent& operator=(const TKVZComponent&) = delete;

  virtual const char* ClassName() const = 0;
  const std::string& Name() const { return name_; }
  // Throws when the name is not an identifier or another component of the
  // owner already has it.
  void SetName(const std::string& name);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  TKVZPage* Owner() const { return owner_; }

  // True while the component is being built from a component tree.
  bool Loading() const { return loading_; }
  void BeginLoading() { loading_ = true; }
  // Called once the whole tree has been read and references resolved.
  virtual void Loaded() { loading_ = false; }
  // Another component of the owner is going away: drop references to it.
  virtual void Notification(TKVZComponent&) {}

 protected:
  TKVZComponent() = default;
  bool OwnerDestroying() const;
  void Changed();  // asks the owner to repaint this component

 private:
  friend class TKVZPage;
  std::string name_;
  int tag_ = 0;
  TKVZPage* owner_ = nullptr;
  bool loading_ = false;
};

// Anything printable on a band. Geometry is relative to the band.
class TKVZControl : public TKVZComponent {
 public:
  ~TKVZControl() override;

  TKVZBand* Parent() const { return parent_; }
  // Puts the control on a band, at the end of its controls; nullptr takes it
  // off. Any other parent throws "This component must be placed on a
  // TKVZBand." and leaves the parent as it was.
  void SetParent(TKVZComponent* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  void SetBounds(int left, int top, int width, int height);
  Rect ClientRect() const { return {0, 0, width_, height_}; }
  Rect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }

  int Cursor() const { return cursor_; }
  void SetCursor(int c) { cursor_ = c; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& h) { hint_ = h; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v) { showHint_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout l);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& c);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  // The font in use: the band's while ParentFont is on.
  Font GetFont() const;
  // Sets the control's own font and turns ParentFont off.
  void SetFont(const Font& f);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);

  // PrintTo: when visible, DrawOnPrinter(r, GetPrintText()).
  virtual void PrintTo(Canvas& canvas, const Rect& r) const;
  virtual void DrawOnPrinter(Canvas& canvas, const Rect& r, const std::string& text) const = 0;
  // Moves to the next record; true while there is one.
  virtual bool NextRecord() { return false; }
  virtual std::string GetPrintText() const { return caption_; }
  // Screen painting in client coordinates.
  virtual void Paint(Canvas& canvas) = 0;

 protected:
  TKVZControl(int width, int height) : width_(width), height_(height) {}

 private:
  friend class TKVZBand;
  friend class TKVZPage;
  TKVZBand* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_, height_;
  int cursor_ = crDefault;
  std::string hint_;
  bool showHint_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  TTextLayout layout_ = TTextLayout::tlTop;
  std::string caption_;
  TColor color_ = clWindow;
  Font font_;
  bool parentFont_ = true;
};

// Static text, optionally rotated.
class TKVZLabel : public TKVZControl {
 public:
  TKVZLabel() : TKVZControl(65, 17) {}
  const char* ClassName() const override { return "TKVZLabel"; }

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v) { autoSize_ = v; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  int Escapement() const { return escapement_; }
  void SetEscapement(int degrees);  // normalised by NormalizeEscapement

  void Paint(Canvas& canvas) override;
  void DrawOnPrinter(Canvas& canvas, const Rect& r, const std::string& text) const override;
  // The print rectangle of an auto-sized, unrotated label: the scaled
  // rectangle r resized to the print text measured with the print font. A
  // right-aligned label keeps its right edge, others their left; the top
  // stays. Other labels answer r.
  Rect PrintAutoSize(Canvas& canvas, const Rect& r) const;

 protected:
  TKVZLabel(int width, int height) : TKVZControl(width, height) {}

 private:
  unsigned AlignmentFlags() const;
  unsigned DrawFlags() const;  // word break, tabs, alignment, layout, no prefix
  // Draws the text turned by Escapement from its start point in area; with
  // keepWidth the alignment does not move it. Answers the turned size.
  Size DrawRotated(Canvas& canvas, const Rect& area, const std::string& text, const Font& font, bool keepWidth) const;

  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool autoSize_ = true;
  bool transparent_ = true;
  bool wordWrap_ = false;
  int escapement_ = 0;
};

// A data cell with a list of values, one per printed record.
class TKVZField : public TKVZLabel {
 public:
  const char* ClassName() const override { return "TKVZField"; }

  const std::string& NoValue() const { return noValue_; }
  void SetNoValue(const std::string& v) { noValue_ = v; }
  const std::string& ClearValue() const { return clearValue_; }
  void SetClearValue(const std::string& v) { clearValue_ = v; }

  const std::vector<std::string>& Values() const { return values_; }
  void AddValue(const std::string& v) { values_.push_back(v); }
  int RecordIndex() const { return recordIndex_; }

  // With values: the current record's, else the only one, else NoValue.
  // Without values and with a name ending in "_": the print text of the
  // field named without the trailing "_" (NoValue when there is none).
  std::string GetPrintText() const override;
  // Advances while there are at least two values; true while a record is left.
  bool NextRecord() override;
  virtual void ResetRecord() { recordIndex_ = 0; }
  // Caption := ClearValue, no values, first record.
  virtual void ClearValues();
  // The value of the following record (group changes).
  std::string NextValue() const;

 private:
  const TKVZField* Referenced() const;

  std::string noValue_;
  std::string clearValue_;
  std::vector<std::string> values_;
  int recordIndex_ = 0;
};

// The clickable field cell of a form page.
class TKVZEditField : public TKVZField {
 public:
  const char* ClassName() const override { return "TKVZEditField"; }
  const std::string& EditMask() const { return editMask_; }
  void SetEditMask(const std::string& v) { editMask_ = v; }
  int TagPop() const { return tagPop_; }
  void SetTagPop(int v) { tagPop_ = v; }
  int TagIndex() const { return tagIndex_; }
  void SetTagIndex(int v) { tagIndex_ = v; }
  // The name of the click handler, empty when none.
  const std::string& OnClick() const { return onClick_; }
  void SetOnClick(const std::string& v) { onClick_ = v; }

 private:
  std::string editMask_;
  int tagPop_ = 0, tagIndex_ = 0;
  std::string onClick_;
};

// System text: time, date, page number, record counter, form name.
class TKVZSysField : public TKVZLabel {
 public:
  TKVZSysField();
  const char* ClassName() const override { return "TKVZSysField"; }
  TKVZSysDataType DataType() const { return dataType_; }
  void SetDataType(TKVZSysDataType t);  // also sets the design caption
  std::string DesignCaption() const;    // "#hh:mm:ss#", "#Page#", ...
  // The number printed by kvz_PageNum; the page layout sets it per page.
  int PageNumber() const { return pageNumber_; }
  void SetPageNumber(int n) { pageNumber_ = n; }
  int Counter() const { return counter_; }

  std::string GetPrintText() const override;
  bool NextRecord() override;  // counts, answers false
  void Loaded() override;

 private:
  TKVZSysDataType dataType_ = TKVZSysDataType::kvz_Time;
  int counter_ = 0;
  int pageNumber_ = 1;
};

// Rectangle, square, rounded rectangle, ellipse, circle or line.
class TKVZShape : public TKVZControl {
 public:
  TKVZShape() : TKVZControl(65, 65) {}
  const char* ClassName() const override { return "TKVZShape"; }
  TKVZShapeType Shape() const { return shape_; }
  void SetShape(TKVZShapeType s);
  const Brush& GetBrush() const { return brush_; }
  void SetBrush(const Brush& b);
  const Pen& GetPen() const { return pen_; }
  void SetPen(const Pen& p);

  void Paint(Canvas& canvas) override;
  // The pen width is taken in device pixels, at least 1.
  void DrawOnPrinter(Canvas& canvas, const Rect& r, const std::string& text) const override;

 private:
  TKVZShapeType shape_ = TKVZShapeType::stRectangle;
  Brush brush_;
  Pen pen_;
};

// A picture: a bitmap, or a graphic of another kind that is kept but not
// drawn (graphicClass names it). Stored as the property Picture.Data, a text
// of hex digits: the class name as a short string (length byte, letters),
// then the data; a bitmap's data is a 32-bit length and a BMP file.
struct Picture {
  std::string graphicClass;  // "TBitmap", another graphic class, or empty for none
  Bitmap bitmap;             // a TBitmap's pixels
  std::vector<std::uint8_t> data;  // another graphic's stored bytes
  bool Empty() const { return graphicClass.empty(); }
  bool IsBitmap() const { return graphicClass == "TBitmap" && !bitmap.Empty(); }
  int Width() const { return IsBitmap() ? bitmap.width : 0; }
  int Height() const { return IsBitmap() ? bitmap.height : 0; }
  bool operator==(const Picture&) const = default;
};

class TKVZImage : public TKVZControl {
 public:
  TKVZImage() : TKVZControl(100, 100) {}
  const char* ClassName() const override { return "TKVZImage"; }
  const solv::Picture& GetPicture() const { return picture_; }
  // Copies the picture; with Autosize on, the control takes its size.
  void SetPicture(const solv::Picture& p);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Autosize() const { return autosize_; }
  void SetAutosize(bool v);

  void Paint(Canvas& canvas) override;
  void DrawOnPrinter(Canvas& canvas, const Rect& r, const std::string& text) const override;

 private:
  void SizeToPicture();
  void DrawPlaceholder(Canvas& canvas, const Rect& r) const;

  solv::Picture picture_;
  bool center_ = true;
  bool stretch_ = true;
  bool autosize_ = false;
};

// A horizontal band of a report: the sheet of a form page. Its controls are
// kept in child order.
class TKVZBand : public TKVZComponent {
 public:
  TKVZBand() = default;
  ~TKVZBand() override;
  const char* ClassName() const override { return "TKVZBand"; }

  TKVZPage* Parent() const { return parent_; }
  // Puts the band on a page; nullptr takes it off. Any other parent throws
  // "This component must be placed on a TForm." and leaves the parent as it was.
  void SetParent(TKVZComponent* parent);

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TKVZControl* Controls(int i) const { return controls_.at(static_cast<size_t>(i)); }
  const std::vector<TKVZControl*>& ControlList() const { return controls_; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { left_ = v; }
  void SetTop(int v) { top_ = v; }
  void SetWidth(int v) { width_ = v; }
  void SetHeight(int v) { height_ = v; }
  void SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
  }
  Rect ClientRect() const { return {0, 0, width_, height_}; }

  TKVZBandType BandType() const { return bandType_; }
  void SetBandType(TKVZBandType t);
  TKVZRulerType Ruler() const { return ruler_; }
  void SetRuler(TKVZRulerType r);
  TClipMode ClipMode() const { return clipMode_; }
  void SetClipMode(TClipMode m) { clipMode_ = m; }
  bool AltColor() const { return altColor_; }
  void SetAltColor(bool v) { altColor_ = v; }
  std::int16_t SecondBandResize() const { return secondBandResize_; }
  void SetSecondBandResize(std::int16_t v) { secondBandResize_ = v; }
  TAlign Align() const { return align_; }
  void SetAlign(TAlign a) { align_ = a; }
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  // The font in use: the page's while ParentFont is on.
  Font GetFont() const;
  void SetFont(const Font& f);  // turns ParentFont off
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v) { parentFont_ = v; }

  // The detail link whose GroupBand this is (none at first).
  TKVZDetailLink* DetailLink() const { return detailLink_; }
  // The alternate-shading toggle: off at creation, never reset by a run.
  bool AltShade() const { return altShade_; }
  void FlipAltShade() { altShade_ = !altShade_; }

  // A flat panel in its colour; while designing, the ruler's guide lines.
  void Paint(Canvas& canvas, bool designing = false) const;
  // The band and then every visible control, each with the canvas origin
  // moved to it; the origin is left where it was.
  void PaintWithControls(Canvas& canvas, bool designing = false) const;

  void Notification(TKVZComponent& removed) override;

 private:
  friend class TKVZControl;
  friend class TKVZDetailLink;
  friend class TKVZPage;
  void PaintRuler(Canvas& canvas) const;

  TKVZPage* parent_ = nullptr;
  std::vector<TKVZControl*> controls_;
  int left_ = 0, top_ = 0, width_ = 185, height_ = 41;
  TKVZBandType bandType_ = TKVZBandType::kvz_Title;
  TKVZRulerType ruler_ = TKVZRulerType::kvz_cmHV;
  TClipMode clipMode_ = TClipMode::cm_Clip;
  bool altColor_ = false;
  std::int16_t secondBandResize_ = 0;
  TAlign align_ = TAlign::alTop;
  TColor color_ = clWhite;
  bool enabled_ = true;
  Font font_;
  bool parentFont_ = true;
  TKVZDetailLink* detailLink_ = nullptr;
  bool altShade_ = false;
};

// The page settings of a report. Invalid margins are ignored: negative, or
// not less than the portrait paper width (left, right) or height (top).
class TKVZReport : public TKVZComponent {
 public:
  const char* ClassName() const override { return "TKVZReport"; }
  TPrinterOrientation Orientation() const { return orientation_; }
  void SetOrientation(TPrinterOrientation o);
  TPapersize Papersize() const { return papersize_; }
  void SetPapersize(TPapersize p);
  int LeftMarginMM() const { return leftMarginMM_; }
  void SetLeftMarginMM(int mm);
  int RightMarginMM() const { return rightMarginMM_; }
  void SetRightMarginMM(int mm);
  int TopMarginMM() const { return topMarginMM_; }
  void SetTopMarginMM(int mm);
  const std::string& ReportTitle() const { return reportTitle_; }
  void SetReportTitle(const std::string& t) { reportTitle_ = t; }
  // Position of the non-visual component on the designer's form.
  int DesignLeft() const { return designLeft_; }
  int DesignTop() const { return designTop_; }
  void SetDesignPos(int left, int top) {
    designLeft_ = left;
    designTop_ = top;
  }

 private:
  TPrinterOrientation orientation_ = TPrinterOrientation::poPortrait;
  TPapersize papersize_ = TPapersize::kvz_A4;
  int leftMarginMM_ = 0, rightMarginMM_ = 0, topMarginMM_ = 0;
  std::string reportTitle_;
  int designLeft_ = 0, designTop_ = 0;
};

// Ties a band to a group header, a group footer and the field whose value
// changes start a new group.
class TKVZDetailLink : public TKVZComponent {
 public:
  ~TKVZDetailLink() override;
  const char* ClassName() const override { return "TKVZDetailLink"; }
  TKVZBand* GroupHeader() const { return groupHeader_; }
  void SetGroupHeader(TKVZBand* b) { groupHeader_ = b; }
  TKVZBand* GroupFooter() const { return groupFooter_; }
  void SetGroupFooter(TKVZBand* b) { groupFooter_ = b; }
  TKVZBand* GroupBand() const { return groupBand_; }
  // Records this link in the band. The previous band keeps its reference
  // (as at run time).
  void SetGroupBand(TKVZBand* b);
  TKVZField* DataSource() const { return dataSource_; }
  void SetDataSource(TKVZField* f) { dataSource_ = f; }
  const std::string& LastValue() const { return lastValue_; }
  void SetLastValue(const std::string& v) { lastValue_ = v; }

  // Group-change tests. Before: true when no value was seen yet or the data
  // source's print text differs from the last one, which it then becomes.
  // After: false when no value was seen yet, else whether the next value
  // differs. Without a data source both are false.
  bool GroupChangedBefore();
  bool GroupChangedAfter() const;

  int DesignLeft() const { return designLeft_; }
  int DesignTop() const { return designTop_; }
  void SetDesignPos(int left, int top) {
    designLeft_ = left;
    designTop_ = top;
  }

  void Notification(TKVZComponent& removed) override;

 private:
  TKVZBand* groupHeader_ = nullptr;
  TKVZBand* groupFooter_ = nullptr;
  TKVZBand* groupBand_ = nullptr;
  TKVZField* dataSource_ = nullptr;
  std::string lastValue_;
  int designLeft_ = 0, designTop_ = 0;
};

// One page window: the owner of the band, the report and every control.
// Its window properties are plain members.
class TKVZPage : public TKVZComponent {
 public:
  explicit TKVZPage(std::string className = "TForm");
  ~TKVZPage() override;
  const char* ClassName() const override { return className_.c_str(); }
  void SetClassName(std::string c) { className_ = std::move(c); }

  // Window properties.
  std::string caption;
  int left = 0, top = 0;
  int clientWidth = 817, clientHeight = 1121;
  TColor color = clBtnFace;
  Font font;
  int pixelsPerInch = 96;
  bool scaled = true;
  bool visible = false;
  std::string formStyle = "fsNormal";
  std::string borderStyle = "bsSizeable";
  std::vector<std::string> borderIcons = {"biSystemMenu", "biMinimize", "biMaximize"};
  std::string position = "poDesigned";
  int horzScrollRange = 0, vertScrollRange = 0;
  int textHeight = 0;  // 0: not stored
  // Event handler names, empty when none.
  std::string onActivate, onClose, onDeactivate, onCreate, onShow;

  // Called when a component asks to be repainted (not while loading).
  std::function<void(TKVZComponent&)> onInvalidate;

  // Owned components in creation order.
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TKVZComponent* Components(int i) const { return components_.at(static_cast<size_t>(i)).get(); }
  // By name ignoring case; nullptr for none or an empty name.
  TKVZComponent* FindComponent(std::string_view name) const;
  template <class T>
  T* Find(std::string_view name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }
  // Takes ownership; throws when the name is taken.
  TKVZComponent& InsertComponent(std::unique_ptr<TKVZComponent> c);
  template <class T>
  T& Add(const std::string& name = {}) {
    auto c = std::make_unique<T>();
    c->SetName(name);
    return static_cast<T&>(InsertComponent(std::move(c)));
  }
  // Gives the component up: off its parent, its controls off it, and every
  // reference to it dropped.
  std::unique_ptr<TKVZComponent> RemoveComponent(TKVZComponent& c);

  // Bands placed on the page, in child order.
  const std::vector<TKVZBand*>& Bands() const { return bands_; }
  TKVZBand* Band() const { return bands_.empty() ? nullptr : bands_.front(); }
  // The last report in component order.
  TKVZReport* Report() const;

  bool Destroying() const { return destroying_; }

 private:
  friend class TKVZComponent;
  friend class TKVZBand;
  std::string className_;
  std::vector<std::unique_ptr<TKVZComponent>> components_;
  std::vector<TKVZBand*> bands_;
  bool destroying_ = false;
};

// The component classes by name: TKVZReport, TKVZBand, TKVZDetailLink,
// TKVZLabel, TKVZField, TKVZEditField, TKVZSysField, TKVZShape, TKVZImage.
// nullptr for any other name.
std::unique_ptr<TKVZComponent> CreateComponent(std::string_view className);
bool IsComponentClass(std::string_view className);

// Binding to the component tree. A component writes every published property
// that differs from its default and those without a default always; a text
// is written only when it is not empty (reading gives the same empty text).
// Identifiers and property names are read ignoring letter case.
ComponentNode ComponentToNode(const TKVZComponent& c);
// The page window with, as children, its bands (each with its controls),
// then every other component that has no parent, in creation order.
ComponentNode PageToNode(const TKVZPage& page);
// Builds a page from a tree. Throws ReportComponentError on an unknown class
// or property, a bad value, a clashing name, a control off a band or a band
// off the page, or a reference to a missing component. When foreign is
// given, sub-trees of other classes are handed back there instead of
// failing (the page's editor, menus).
std::unique_ptr<TKVZPage> PageFromNode(const ComponentNode& root, std::vector<ComponentNode>* foreign = nullptr);

}  // namespace solv
