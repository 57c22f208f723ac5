#pragma once

#include "platform/ini.h"
#include "platform/prompter.h"
#include "storage/report_surface.h"
#include "storage/workspace.h"

#include <QPageSize>
#include <QString>
#include <functional>
#include <optional>

namespace lumavo {

inline const QString kReportJobTitle = QStringLiteral("TLP PROJECT");
constexpr int kReportFontPoints = 10;
constexpr int kReportPdfDpi = 300;          // device units per inch of a report written as PDF
constexpr double kReportPdfMarginMm = 10.0; // unprintable border of a report written as PDF

enum class ReportStatus {
    Printed,
    Cancelled,      // the operator cancelled the save question, or the page save failed
    SurfaceFailed,  // the printer or output file refused; detail says why, nothing was left behind
};

struct ReportOutcome {
    ReportStatus status = ReportStatus::Printed;
    QString detail;          // SurfaceFailed: what went wrong
    QString lastPrinted;     // page number of the last block printed ("000".."999")
    int sheets = 0;          // sheets written
    Notices notices;         // the page save's failure and pages that could not be read, for the window
};

// Prints the report of the open project on `surface`: the header, one block per page from 000 to
// the last page of the unbroken run (each loaded into the workspace with LoadPage, whose notices
// come back in the outcome), sheet numbers on every sheet but the last, and the footer. Unsaved edits of
// the current page are offered for saving first ("Save current page?", Yes/No/Cancel; Cancel
// prints nothing). Afterwards the workspace holds the last page printed.
ReportOutcome writeProjectReport(Workspace& ws, Prompter& prompter, ReportSurface& surface);

// The same report as a PDF file of `pageSize` at kReportPdfDpi, written to a temporary file and
// renamed over `path` only when complete; a failure leaves any existing file untouched.
ReportOutcome writeProjectReportPdf(Workspace& ws, Prompter& prompter, const QString& path,
                                    const QPageSize& pageSize);

// Runs `write` on a PDF surface of `pageSize` at kReportPdfDpi with kReportPdfMarginMm margins,
// written to a temporary file and renamed over `path` only when `write` returns true and the file
// is complete. `write` returning false leaves any existing file untouched and reports no error
// unless the surface has one.
IoResult writePdfDocument(const QString& path, const QPageSize& pageSize, const QString& creator,
                          const std::function<bool(ReportSurface&)>& write);

// Where a report goes as PDF when the operator has named no file: the project's directory (the
// home directory without one) + the project's base name ("LUMAVO" without one) + ".pdf".
QString defaultReportPdfPath(const Workspace& ws);
// The same path with "-memory" before the extension, for the memory printout.
QString memoryPrintoutPdfPath(const QString& reportPdfPath);

// A page size named as Qt names it, without regard to case ("A4", "letter", "A3", "Legal");
// nullopt for an unknown name.
std::optional<QPageSize> reportPageSize(const QString& name);

// The numeric value of a last-page text: "000".."999" as numbers, "NEW" (or anything else) as 0.
int lastPageValue(const QString& lastPage);

} // namespace lumavo
