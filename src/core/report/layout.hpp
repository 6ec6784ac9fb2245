// The band layout run of a report: the bands of the report's page are put
// on printer pages with page headers and footers, page breaks, detail
// headers and footers, group headers and footers and repeated records.
#pragma once

#include <string>
#include <vector>

#include "report/model.hpp"
#include "report/printer.hpp"

namespace solv {

// Device pixels of the report's margins on the printer's current metrics.
struct ReportMargins {
  int left = 0, top = 0, right = 0;
};
ReportMargins MarginsOf(const TKVZReport& report, const TKVZPrinter& printer);

// Prints the report as one job in printer mode.
void PrintReport(TKVZReport& report, TKVZPrinter& printer = KVZPrinter());

// Prints the reports, copies times over, as one job in printer mode titled
// with title: each report starts on a new page, as in the preview. A job per
// report would leave a printer that writes a file with the last one only.
void PrintReports(const std::vector<TKVZReport*>& reports, const std::string& title, int copies = 1,
                  TKVZPrinter& printer = KVZPrinter());

// How a report takes part in a run of Prepare calls filling one page list.
enum class PrepareMode {
  Only = 0,    // the only report: the list is emptied first and closed after
  First = 1,   // the first of several: the list is emptied first
  Middle = 2,  // starts on a new page
  Last = 3,    // starts on a new page; the list is closed after
};
// Records the report's pages at 96 dpi into pages.
void PrepareReport(TKVZReport& report, TPages& pages, PrepareMode mode, TKVZPrinter& printer = KVZPrinter());

// The operations on the fields of the page that owns the report.
void ResetFields(const TKVZReport& report);
void SetFieldsTransparent(const TKVZReport& report, bool on);
// Appends text to the value list of the first field named fieldName
// (ignoring case); nothing when there is none.
void AddValue(const TKVZReport& report, const std::string& fieldName, const std::string& text);

// The layout run itself, on the printer in whatever mode it is.
void RunLayout(TKVZReport& report, TKVZPrinter& printer);

// The bands of the page of exactly class TKVZBand ordered by Top; bands
// with equal Top keep their creation order.
std::vector<TKVZBand*> OrderedBands(const TKVZPage& page);

}  // namespace solv
