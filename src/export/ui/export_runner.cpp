#include "export/ui/export_runner.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cmath>

namespace lumavo {

QString exportProgressText(std::int64_t done, std::int64_t total, double secondsSoFar)
{
    const int percent = total > 0 ? static_cast<int>(100 * done / total) : 0;
    if (done <= 0 || secondsSoFar <= 0)
        return QStringLiteral("%1%").arg(percent);
    const double left = secondsSoFar * static_cast<double>(total - done) / static_cast<double>(done);
    return QStringLiteral("%1% - about %2 s left").arg(percent).arg(static_cast<long long>(std::ceil(left)));
}

ExportResult runExportWithProgress(QWidget* parent, const Workspace& ws, const ExportSettings& settings,
                                   const TitleComposer& composer)
{
    QProgressDialog progress(QStringLiteral("Exporting..."), QStringLiteral("Cancel"), 0, 1000, parent);
    progress.setWindowTitle(QStringLiteral("Export Video"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);

    std::atomic<bool> cancel{false};
    std::atomic<std::int64_t> done{0};
    std::atomic<std::int64_t> total{0};
    ExportResult result;
    const Workspace copy = ws;
    QElapsedTimer timer;
    timer.start();
    QThread* worker = QThread::create([&] {
        result = exportVideo(copy, settings, composer, [&](std::int64_t d, std::int64_t t) {
            done = d;
            total = t;
            return !cancel.load();
        });
    });
    QEventLoop loop;
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&] { cancel = true; });
    QTimer* tick = new QTimer(&progress);
    QObject::connect(tick, &QTimer::timeout, &progress, [&] {
        const std::int64_t t = total.load();
        if (t > 0)
            progress.setValue(static_cast<int>(1000 * done.load() / t));
        progress.setLabelText(exportProgressText(done.load(), t, timer.elapsed() / 1000.0));
    });
    tick->start(100);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    return result;
}

} // namespace lumavo
