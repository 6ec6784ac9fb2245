#include "report/layout.hpp"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace solv {

namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

template <class F>
void ForEachField(const TKVZReport& report, F f) {
  const TKVZPage* page = report.Owner();
  if (!page) return;
  for (int i = 0; i < page->ComponentCount(); ++i)
    if (auto* field = dynamic_cast<TKVZField*>(page->Components(i))) {
      if (!f(*field)) return;
    }
}

// Round half to even of mm at res dots per inch, less an offset.
int MarginPx(int mm, int res, int offset) {
  if (mm <= 0) return 0;
  return static_cast<int>(std::nearbyint(res / 25.4 * mm + 0.5 - offset));
}

class LayoutRun {
 public:
  LayoutRun(TKVZReport& report, TKVZPrinter& printer)
      : report_(report), printer_(printer), margins_(MarginsOf(report, printer)) {}

  void Run() {
    const TKVZPage* page = report_.Owner();
    if (!page) return;
    Distribute(OrderedBands(*page));
    pageBottom_ = printer_.PageHeight();
    for (TKVZBand* b : pageFooter_) pageBottom_ -= printer_.ScaleYValue(b->Height());
    y_ = 99999;
    firstPage_ = true;
    for (TKVZBand* b : title_) PrintBand(*b);
    for (TKVZBand* b : detail_) {
      PrintTagged(detailHeader_, b->Tag());
      PrintBand(*b);
      PrintTagged(detailFooter_, b->Tag());
    }
    for (TKVZBand* b : reportFooter_) PrintBand(*b);
    EndPage();
  }

 private:
  void Distribute(const std::vector<TKVZBand*>& bands) {
    int group = 0;
    bool havePrevious = false;
    TKVZBandType previous = TKVZBandType::kvz_Title;
    for (size_t i = 0; i < bands.size(); ++i) {
      TKVZBand* b = bands[i];
      const int position = static_cast<int>(i) + 1;
      switch (b->BandType()) {
        case TKVZBandType::kvz_Title: title_.push_back(b); break;
        case TKVZBandType::kvz_PageHeader: pageHeader_.push_back(b); break;
        case TKVZBandType::kvz_PageFooter: pageFooter_.push_back(b); break;
        case TKVZBandType::kvz_ReportFooter: reportFooter_.push_back(b); break;
        case TKVZBandType::kvz_DetailHeader:
          b->SetTag(position);
          group = position;
          detailHeader_.push_back(b);
          break;
        case TKVZBandType::kvz_Detail:
          if (!(havePrevious && previous == TKVZBandType::kvz_DetailHeader)) group = position;
          b->SetTag(group);
          detail_.push_back(b);
          break;
        case TKVZBandType::kvz_NewPage: detail_.push_back(b); break;
        case TKVZBandType::kvz_DetailFooter:
          if (havePrevious && previous == TKVZBandType::kvz_Detail) b->SetTag(group);
          detailFooter_.push_back(b);
          break;
        case TKVZBandType::kvz_GroupHeader:
        case TKVZBandType::kvz_GroupFooter: break;
      }
      previous = b->BandType();
      havePrevious = true;
    }
  }

  void PrintTagged(const std::vector<TKVZBand*>& list, int tag) {
    if (tag == 0) return;
    for (TKVZBand* b : list)
      if (b->Tag() == tag) PrintBand(*b);
  }

  // The footers go on a page once, when it ends: a break before the first
  // page or right after a page-break band has no open page to close.
  void EndPage() {
    y_ = pageBottom_;
    if (!pageOpen_) return;
    pageOpen_ = false;
    for (TKVZBand* b : pageFooter_) PlaceBand(*b);
  }

  void StartPage() {
    if (!firstPage_) printer_.NewPage();
    firstPage_ = false;
    pageOpen_ = true;
    ++pageNumber_;
    ForEachSysField([this](TKVZSysField& f) { f.SetPageNumber(pageNumber_); });
    y_ = 0;
    for (TKVZBand* b : pageHeader_) PlaceBand(*b);
  }

  template <class F>
  void ForEachSysField(F f) {
    const TKVZPage* page = report_.Owner();
    for (int i = 0; i < page->ComponentCount(); ++i)
      if (auto* s = dynamic_cast<TKVZSysField*>(page->Components(i))) f(*s);
  }

  void PrintBand(TKVZBand& band) {
    if (band.BandType() == TKVZBandType::kvz_NewPage) {
      EndPage();
      return;
    }
    const bool isDetail = band.BandType() == TKVZBandType::kvz_Detail;
    TKVZDetailLink* link = band.DetailLink();
    for (;;) {
      if (y_ + printer_.ScaleYValue(band.Height()) > pageBottom_) {
        EndPage();
        StartPage();
        if (isDetail) {
          PrintTagged(detailHeader_, band.Tag());
          if (link) {
            link->GroupChangedBefore();
            if (link->GroupHeader()) PrintBand(*link->GroupHeader());
          }
        }
      }
      if (link && link->GroupChangedBefore() && link->GroupHeader()) PrintBand(*link->GroupHeader());
      PlaceBand(band);
      if (link && link->GroupChangedAfter() && link->GroupFooter()) PrintBand(*link->GroupFooter());
      if (!isDetail) return;
      bool more = false;
      for (TKVZControl* c : band.ControlList())
        if (c->NextRecord()) more = true;
      if (!more) return;
      band.SetHeight(band.Height() + band.SecondBandResize());
      band.SetSecondBandResize(0);
    }
  }

  void PlaceBand(TKVZBand& band) {
    Canvas& canvas = printer_.GetCanvas();
    Rect br;
    br.left = printer_.ScaleXValue(band.Left()) + margins_.left;
    br.right = printer_.ScaleXValue(band.Width()) - margins_.right;
    const int h = printer_.ScaleYValue(band.Height());
    if (y_ == 0) {
      br.top = margins_.top;
      br.bottom = h + margins_.top;
    } else {
      br.top = y_;
      br.bottom = y_ + h;
    }
    if (band.AltColor()) {
      if (band.AltShade()) {
        canvas.SetBrush({ColorToRGB(band.Color()), TBrushStyle::bsSolid});
        canvas.FillRect(br);
      }
      band.FlipAltShade();
    }
    for (TKVZControl* c : band.ControlList()) {
      Rect r{printer_.ScaleXValue(c->Left()), printer_.ScaleYValue(c->Top()),
             printer_.ScaleXValue(c->Left() + c->Width()), printer_.ScaleYValue(c->Top() + c->Height())};
      if (auto* label = dynamic_cast<const TKVZLabel*>(c)) r = label->PrintAutoSize(canvas, r);
      r = {r.left + br.left, r.top + br.top, r.right + br.left, r.bottom + br.top};
      switch (band.ClipMode()) {
        case TClipMode::cm_Clip: {
          const Rect in{std::max(r.left, br.left), std::max(r.top, br.top), std::min(r.right, br.right),
                        std::min(r.bottom, br.bottom)};
          if (in.left < in.right && in.top < in.bottom) c->PrintTo(canvas, in);
          break;
        }
        case TClipMode::cm_Expand:
          br = {std::min(br.left, r.left), std::min(br.top, r.top), std::max(br.right, r.right),
                std::max(br.bottom, r.bottom)};
          c->PrintTo(canvas, r);
          break;
        case TClipMode::cm_Overwrite: c->PrintTo(canvas, r); break;
      }
    }
    y_ = br.bottom + 1;
  }

  TKVZReport& report_;
  TKVZPrinter& printer_;
  ReportMargins margins_;
  std::vector<TKVZBand*> title_, pageHeader_, detailHeader_, detail_, detailFooter_, pageFooter_, reportFooter_;
  int y_ = 0;
  int pageBottom_ = 0;
  bool firstPage_ = true;
  bool pageOpen_ = false;
  int pageNumber_ = 0;
};

}  // namespace

ReportMargins MarginsOf(const TKVZReport& report, const TKVZPrinter& printer) {
  return {MarginPx(report.LeftMarginMM(), printer.ResolutionX(), printer.OffsetX()),
          MarginPx(report.TopMarginMM(), printer.ResolutionY(), printer.OffsetY()),
          MarginPx(report.RightMarginMM(), printer.ResolutionX(), 0)};
}

std::vector<TKVZBand*> OrderedBands(const TKVZPage& page) {
  std::vector<TKVZBand*> out;
  for (int i = 0; i < page.ComponentCount(); ++i) {
    TKVZComponent* c = page.Components(i);
    if (std::string_view(c->ClassName()) != "TKVZBand") continue;
    auto* band = static_cast<TKVZBand*>(c);
    auto at = std::find_if(out.begin(), out.end(), [&](TKVZBand* b) { return b->Top() > band->Top(); });
    out.insert(at, band);
  }
  return out;
}

void ResetFields(const TKVZReport& report) {
  ForEachField(report, [](TKVZField& f) {
    f.ResetRecord();
    return true;
  });
}

void SetFieldsTransparent(const TKVZReport& report, bool on) {
  ForEachField(report, [on](TKVZField& f) {
    f.SetTransparent(on);
    return true;
  });
}

void AddValue(const TKVZReport& report, const std::string& fieldName, const std::string& text) {
  ForEachField(report, [&](TKVZField& f) {
    if (!SameNameIgnoringCase(f.Name(), fieldName)) return true;
    f.AddValue(text);
    return false;
  });
}

void RunLayout(TKVZReport& report, TKVZPrinter& printer) { LayoutRun(report, printer).Run(); }

void PrintReport(TKVZReport& report, TKVZPrinter& printer) {
  printer.SetMetafileMode(false);
  printer.SetPapersize(report.Papersize());
  printer.SetOrientation(report.Orientation());
  printer.SetTitle(report.ReportTitle());
  printer.BeginDoc();
  printer.UpdateMetrics();
  ResetFields(report);
  RunLayout(report, printer);
  printer.EndDoc();
}

void PrintReports(const std::vector<TKVZReport*>& reports, const std::string& title, int copies,
                  TKVZPrinter& printer) {
  std::vector<TKVZReport*> all;
  for (int i = 0; i < std::max(copies, 1); ++i)
    for (TKVZReport* r : reports)
      if (r) all.push_back(r);
  if (all.empty()) return;
  printer.SetMetafileMode(false);
  printer.SetPapersize(all.front()->Papersize());
  printer.SetOrientation(all.front()->Orientation());
  printer.SetTitle(title);
  printer.BeginDoc();
  for (size_t i = 0; i < all.size(); ++i) {
    TKVZReport& report = *all[i];
    if (i > 0) {
      printer.SetOrientation(report.Orientation());
      printer.NewPage();
    }
    printer.UpdateMetrics();
    ResetFields(report);
    RunLayout(report, printer);
  }
  printer.EndDoc();
}

void PrepareReport(TKVZReport& report, TPages& pages, PrepareMode mode, TKVZPrinter& printer) {
  printer.SetMetafileMode(true);
  printer.SetPapersize(report.Papersize());
  printer.SetOrientation(report.Orientation());
  printer.UpdateMetrics();
  printer.SetPages(&pages);
  if (mode == PrepareMode::Middle || mode == PrepareMode::Last) printer.NewPage();
  else printer.BeginDoc();
  ResetFields(report);
  RunLayout(report, printer);
  if (mode == PrepareMode::Only || mode == PrepareMode::Last) printer.EndDoc();
}

}  // namespace solv
