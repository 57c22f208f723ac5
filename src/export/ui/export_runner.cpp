#include "export/ui/export_runner.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <cmath>

namespace lumavo {

int exportPercent(std::int64_t done, std::int64_t total)
{
    return total > 0 ? static_cast<int>(100 * done / total) : 0;
}

QString exportProgressText(std::int64_t done, std::int64_t total, double secondsSoFar)
{
    const int percent = exportPercent(done, total);
    if (done <= 0 || secondsSoFar <= 0)
        return QStringLiteral("%1%").arg(percent);
    const double left = secondsSoFar * static_cast<double>(total - done) / static_cast<double>(done);
    return QStringLiteral("%1% - about %2 s left").arg(percent).arg(static_cast<long long>(std::ceil(left)));
}

ExportRun::ExportRun(QWidget* parent, const Workspace& ws, const ExportSettings& settings,
                     const TitleComposer& composer)
    : settings_(settings), progress_(new QProgressDialog(QStringLiteral("Exporting..."), QStringLiteral("Cancel"), 0,
                                                         100, parent))
{
    progress_->setWindowTitle(QStringLiteral("Export Video: ") + QFileInfo(settings.destination).fileName());
    progress_->setWindowModality(Qt::NonModal);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setMinimumDuration(0);
    progress_->setMinimumWidth(360);
    progress_->setValue(0);
    progress_->show();
    connect(progress_, &QProgressDialog::canceled, this, [this] { cancel_ = true; });

    startedMs_ = QDateTime::currentMSecsSinceEpoch();
    worker_ = QThread::create([this, copy = ws, settings, composer] {
        result_ = exportVideo(copy, settings, composer, [this](std::int64_t d, std::int64_t t) {
            done_ = d;
            total_ = t;
            return !cancel_.load();
        });
    });
    connect(worker_, &QThread::finished, this, [this] {
        ticker_->stop();
        if (progress_ != nullptr)
            progress_->deleteLater();
        emit finished(result_);
    });
    ticker_ = new QTimer(this);
    connect(ticker_, &QTimer::timeout, this, &ExportRun::tick);
    ticker_->start(100);
    worker_->start();
}

ExportRun::~ExportRun()
{
    cancel_ = true;
    worker_->wait();
    delete worker_;
    delete progress_;
}

bool ExportRun::isRunning() const
{
    return worker_->isRunning();
}

void ExportRun::tick()
{
    if (progress_ == nullptr)
        return;
    const std::int64_t done = done_.load();
    const std::int64_t total = total_.load();
    progress_->setValue(exportPercent(done, total));
    const double seconds = static_cast<double>(QDateTime::currentMSecsSinceEpoch() - startedMs_) / 1000.0;
    progress_->setLabelText(exportProgressText(done, total, seconds));
}

ExportResult runExportWithProgress(QWidget* parent, const Workspace& ws, const ExportSettings& settings,
                                   const TitleComposer& composer)
{
    ExportResult result;
    QEventLoop loop;
    ExportRun run(parent, ws, settings, composer);
    QObject::connect(&run, &ExportRun::finished, &loop, [&](const ExportResult& r) {
        result = r;
        loop.quit();
    });
    loop.exec();
    return result;
}

QMessageBox* showExportFinished(QWidget* parent, const ExportSettings& settings, const ExportResult& result)
{
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Export Video"),
                                QStringLiteral("The export is done.\n%1").arg(exportSummary(settings, result)),
                                QMessageBox::Close, parent);
    box->setObjectName(QStringLiteral("ExportFinished"));
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* show = box->addButton(QStringLiteral("Show in Folder"), QMessageBox::ActionRole);
    const QUrl folder = QUrl::fromLocalFile(QFileInfo(settings.destination).absolutePath());
    // An action button would close the box; this one only opens the folder.
    show->disconnect();
    QObject::connect(show, &QPushButton::clicked, box, [folder] { QDesktopServices::openUrl(folder); });
    box->show();
    return box;
}

} // namespace lumavo
