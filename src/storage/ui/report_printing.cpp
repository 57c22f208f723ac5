#include "storage/ui/report_printing.h"

#include "storage/report.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace lumavo {

namespace {

// Owns the run's printer; a child of the main window so it lives as long as the program.
class ReportPrinterHolder final : public QObject {
public:
    explicit ReportPrinterHolder(QObject* parent) : QObject(parent)
    {
        setObjectName(QStringLiteral("lumavoReportPrinter"));
        if (QPrinterInfo::availablePrinters().isEmpty())
            printer.setOutputFormat(QPrinter::PdfFormat);
    }
    QPrinter printer{QPrinter::HighResolution};
};

QObject* holderParent(AppContext& context)
{
    if (context.mainWidget != nullptr)
        return context.mainWidget;
    return QCoreApplication::instance();
}

bool printsToPdf(const QPrinter& printer) { return printer.outputFormat() == QPrinter::PdfFormat; }

QString reportPdfPath(AppContext& context, const QPrinter& printer)
{
    return printer.outputFileName().isEmpty() ? defaultReportPdfPath(context.workspace) : printer.outputFileName();
}

} // namespace

QPrinter& currentPrinter(AppContext& context)
{
    QObject* parent = holderParent(context);
    auto* holder = parent->findChild<ReportPrinterHolder*>(QStringLiteral("lumavoReportPrinter"),
                                                           Qt::FindDirectChildrenOnly);
    if (holder == nullptr)
        holder = new ReportPrinterHolder(parent);
    return holder->printer;
}

EditorActions printProjectReport(AppContext& context)
{
    QPrinter& printer = currentPrinter(context);
    ReportOutcome outcome;
    if (printsToPdf(printer)) {
        outcome = writeProjectReportPdf(context.workspace, context.prompter, reportPdfPath(context, printer),
                                        printer.pageLayout().pageSize());
    } else {
        printer.setDocName(kReportJobTitle);
        PainterReportSurface surface(printer);
        outcome = writeProjectReport(context.workspace, context.prompter, surface);
    }
    EditorActions actions;
    actions.notices = std::move(outcome.notices);
    if (outcome.status == ReportStatus::SurfaceFailed)
        actions.notices.push_back(Result::failure(QStringLiteral("The report was not printed. ") + outcome.detail));
    if (!outcome.lastPrinted.isEmpty()) {
        actions.showPage = true;
        actions.showPageNumber = true;
    }
    return actions;
}

void runPrintSetup(AppContext& context)
{
    QPrinter& printer = currentPrinter(context);
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        FileDialogOptions options;
        options.title = QStringLiteral("Print Setup: PDF file");
        options.filter = QStringLiteral("PDF files (*.pdf)");
        options.defaultSuffix = QStringLiteral("pdf");
        const QString path = reportPdfPath(context, printer);
        options.directory = QFileInfo(path).path();
        options.fileName = path;
        if (const auto chosen = context.prompter.saveFileName(options)) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(*chosen);
        }
        return;
    }
    QPrintDialog dialog(&printer, context.mainWidget);
    context.prompter.execModal(dialog);
}

void printMemoryInformation(AppContext& context, const MemoryPrintout& printout)
{
    QPrinter& printer = currentPrinter(context);
    const auto write = [&](ReportSurface& surface) { return writeMemoryPrintout(surface, printout); };
    QString error;
    if (printsToPdf(printer)) {
        const IoResult result = writePdfDocument(memoryPrintoutPdfPath(reportPdfPath(context, printer)),
                                                 printer.pageLayout().pageSize(), printout.applicationTitle, write);
        error = result.ok ? QString() : result.error;
    } else {
        printer.setDocName(printout.applicationTitle);
        PainterReportSurface surface(printer);
        if (!write(surface))
            error = surface.error();
    }
    if (!error.isEmpty())
        context.prompter.message(QStringLiteral("The memory information was not printed. ") + error,
                                 MessageIcon::Error);
}

} // namespace lumavo
