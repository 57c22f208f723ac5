#include "storage/report.h"

#include "platform/atomic_file.h"
#include "storage/page_commands.h"
#include "storage/page_file.h"
#include "storage/project.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPdfWriter>

namespace lumavo {

namespace {

constexpr int kHeaderX = 30;
constexpr int kHeaderY = 10;
constexpr int kFirstSheetTop = 40;
constexpr int kLaterSheetTop = 10;
constexpr int kBlockGap = 150;
constexpr int kBottomReserve = 200;
constexpr int kSheetNumberInset = 200;
constexpr int kSheetNumberRise = 100;
constexpr int kFooterX = 10;
const QString kReportFace = QStringLiteral("Arial");


void writeTitleColumn(ReportSurface& surface, const TitleLine& line, int n, int x, int r, int h)
{
    surface.writeText(x, r, QStringLiteral("----- %1 ----").arg(n));
    surface.setFontFace(line.fontName);
    surface.writeText(x, r + h, line.text);
    surface.setFontFace(kReportFace);
    surface.writeText(x, r + 2 * h, QStringLiteral("Font Size : ") + QString::number(line.fontSize));
    surface.writeText(x, r + 3 * h, line.shadowOn ? QStringLiteral("Shadow On") : QStringLiteral("Shadow Off"));
    surface.writeText(x, r + 4 * h, QStringLiteral("BM File: ") + line.bitmapFile);
}

} // namespace

int lastPageValue(const QString& lastPage)
{
    bool ok = false;
    const int value = lastPage.toInt(&ok);
    return ok && value >= 0 && value < kPageCount ? value : 0;
}

ReportOutcome writeProjectReport(Workspace& ws, Prompter& prompter, ReportSurface& surface)
{
    ReportOutcome outcome;
    SaveOffer offer = offerToSaveCurrentPage(ws, prompter, true);
    outcome.notices = std::move(offer.notices);
    if (!offer.goOn) {
        outcome.status = ReportStatus::Cancelled;
        return outcome;
    }

    const QString base = StripTLP(ws.project.projectName);
    QString lastPage = GetNumberOFPages(ws, base);
    const int last = lastPageValue(lastPage);

    if (!surface.begin(kReportJobTitle)) {
        outcome.status = ReportStatus::SurfaceFailed;
        outcome.detail = surface.error();
        return outcome;
    }
    surface.setFontPointSize(kReportFontPoints);
    const auto writeHeader = [&] {
        surface.writeText(kHeaderX, kHeaderY, ws.project.projectName + QStringLiteral(" Pages : ") + lastPage);
    };
    writeHeader();

    const int width = surface.pageWidth();
    const int height = surface.pageHeight();
    const int q = width / 4;
    const int h = surface.textHeight(QStringLiteral("Hg"));
    int y = kFirstSheetTop;
    QString pageNow;

    for (int i = 0; i <= last; ++i) {
        pageNow = pageNumberText(i);
        ws.project.pageNow = pageNow;
        ws.project.pageIndex = i;
        for (const Result& notice : LoadPage(ws, ws.project.projectName, pageNow).notices)
            tellOnce(outcome.notices, notice);

        surface.setFontFace(kReportFace);
        y += h;
        surface.writeText(q, y, QStringLiteral("Page: ") + pageNow);
        const int r = y + h;
        for (int n = 1; n <= kLineCount; ++n)
            writeTitleColumn(surface, ws.page.line(n), n, n * q, r, h);
        y = r + 4 * h + kBlockGap;

        if (y > height - kBottomReserve) {
            surface.writeText(width - kSheetNumberInset, height - kSheetNumberRise,
                              QString::number(surface.sheetNumber()));
            surface.newSheet();
            y = kLaterSheetTop;
            lastPage = GetNumberOFPages(ws, base);
            writeHeader();
        }
    }

    surface.writeText(kFooterX, height - 4 * h, QStringLiteral("Pixel Pg Height ") + QString::number(height));
    surface.writeText(kFooterX, height - 3 * h, QStringLiteral("Pixel Pg Width ") + QString::number(width));
    surface.writeText(kFooterX, height - 2 * h, QStringLiteral("fh ") + QString::number(h));
    surface.writeText(kFooterX, height - h, QStringLiteral("Total Pages: ") + pageNow);

    outcome.sheets = surface.sheetNumber();
    outcome.lastPrinted = pageNow;
    if (!surface.end()) {
        outcome.status = ReportStatus::SurfaceFailed;
        outcome.detail = surface.error();
    }
    return outcome;
}

IoResult writePdfDocument(const QString& path, const QPageSize& pageSize, const QString& creator,
                          const std::function<bool(ReportSurface&)>& write)
{
    // The document is made in memory and then written by the checked atomic writer.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool written = false;
    QString surfaceError;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kReportPdfDpi);
        writer.setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait,
                                         QMarginsF(kReportPdfMarginMm, kReportPdfMarginMm,
                                                   kReportPdfMarginMm, kReportPdfMarginMm),
                                         QPageLayout::Millimeter));
        writer.setCreator(creator);
        PainterReportSurface surface(writer);
        written = write(surface);
        surfaceError = surface.error();
    }
    if (!written)
        return surfaceError.isEmpty() ? IoResult{false, {}} : IoResult::failure(surfaceError);
    return writeFileAtomically(path, {bytes});
}

ReportOutcome writeProjectReportPdf(Workspace& ws, Prompter& prompter, const QString& path,
                                    const QPageSize& pageSize)
{
    ReportOutcome outcome;
    const IoResult result = writePdfDocument(path, pageSize, ws.applicationTitle, [&](ReportSurface& surface) {
        outcome = writeProjectReport(ws, prompter, surface);
        return outcome.status == ReportStatus::Printed;
    });
    if (!result.ok && outcome.status != ReportStatus::Cancelled) {
        outcome.status = ReportStatus::SurfaceFailed;
        outcome.detail = result.error;
    }
    return outcome;
}

QString defaultReportPdfPath(const Workspace& ws)
{
    QString dir = ws.project.projectDir;
    if (dir.isEmpty())
        dir = QDir::homePath() + QDir::separator();
    const QString base = StripTLP(ws.project.projectName);
    return dir + (base.isEmpty() ? QStringLiteral("LUMAVO") : base) + QStringLiteral(".pdf");
}

QString memoryPrintoutPdfPath(const QString& reportPdfPath)
{
    const QFileInfo info(reportPdfPath);
    const QString suffix = info.suffix().isEmpty() ? QStringLiteral("pdf") : info.suffix();
    return info.path() + QDir::separator() + info.completeBaseName() + QStringLiteral("-memory.") + suffix;
}

std::optional<QPageSize> reportPageSize(const QString& name)
{
    const QString wanted = name.trimmed();
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const auto sizeId = static_cast<QPageSize::PageSizeId>(id);
        if (sizeId == QPageSize::Custom)
            continue;
        if (QPageSize::key(sizeId).compare(wanted, Qt::CaseInsensitive) == 0
            || QPageSize::name(sizeId).compare(wanted, Qt::CaseInsensitive) == 0)
            return QPageSize(sizeId);
    }
    return std::nullopt;
}

} // namespace lumavo
