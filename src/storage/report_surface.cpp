#include "storage/report_surface.h"

#include "platform/canvas.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace lumavo {

PainterReportSurface::PainterReportSurface(QPagedPaintDevice& device) : device_(device) {}

PainterReportSurface::~PainterReportSurface()
{
    if (painter_ && painter_->isActive())
        painter_->end();
}

bool PainterReportSurface::begin(const QString& jobTitle)
{
    if (auto* pdf = dynamic_cast<QPdfWriter*>(&device_))
        pdf->setTitle(jobTitle);
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(&device_)) {
        error_ = QStringLiteral("The printer could not be started.");
        painter_.reset();
        return false;
    }
    sheet_ = 1;
    font_ = painter_->font();
    return true;
}

void PainterReportSurface::newSheet()
{
    if (!painter_)
        return;
    device_.newPage();
    ++sheet_;
    painter_->setFont(font_);
}

bool PainterReportSurface::end()
{
    if (!painter_)
        return false;
    const bool ok = painter_->end();
    painter_.reset();
    if (!ok)
        error_ = QStringLiteral("The printed document could not be completed.");
    return ok;
}

void PainterReportSurface::setFontFace(const QString& face)
{
    font_.setFamily(face);
    if (painter_)
        painter_->setFont(font_);
}

void PainterReportSurface::setFontPointSize(int points)
{
    font_.setPointSize(points);
    if (painter_)
        painter_->setFont(font_);
}

QString PainterReportSurface::fontFace() const { return font_.family(); }

int PainterReportSurface::textHeight(const QString&) const
{
    // The cell height of the font, as the classic text-extent call gives it for any text.
    return QFontMetrics(font_, &device_).height();
}

void PainterReportSurface::writeText(int x, int y, const QString& text)
{
    if (!painter_)
        return;
    const QFontMetrics metrics(font_, &device_);
    painter_->setLayoutDirection(textDirection(text));
    painter_->drawText(x, y + metrics.ascent(), text);
}

int PainterReportSurface::pageWidth() const { return device_.width(); }
int PainterReportSurface::pageHeight() const { return device_.height(); }

RecordingReportSurface::RecordingReportSurface(int pageWidth, int pageHeight, int lineHeight,
                                               QString defaultFace)
    : width_(pageWidth), height_(pageHeight), lineHeight_(lineHeight), face_(std::move(defaultFace))
{
}

bool RecordingReportSurface::begin(const QString& jobTitle)
{
    begun_ = true;
    jobTitle_ = jobTitle;
    return true;
}

bool RecordingReportSurface::end()
{
    ended_ = true;
    return true;
}

void RecordingReportSurface::writeText(int x, int y, const QString& text)
{
    texts_.push_back({sheet_, x, y, text, face_, points_});
}

const RecordingReportSurface::Text* RecordingReportSurface::find(const QString& prefix) const
{
    for (const auto& t : texts_)
        if (t.text.startsWith(prefix))
            return &t;
    return nullptr;
}

} // namespace lumavo
