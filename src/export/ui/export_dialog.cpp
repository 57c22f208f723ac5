#include "export/ui/export_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>
#include <iterator>

namespace lumavo {

namespace {

const char* const kRates[] = {"23.976", "24", "25", "29.97", "30", "50", "59.94", "60"};
const Point kPresets[] = {{1280, 720}, {1920, 1080}, {3840, 2160}};
// In the order of ExportFormat.
const char* const kFormats[] = {"MP4 (H.264)", "QuickTime MOV (ProRes, with alpha)", "WebM (VP9, with alpha)",
                                "PNG sequence (with sound.wav)"};
const char* const kProResNames[] = {"ProRes 4444", "ProRes 4444 XQ", "ProRes 422 HQ"};

} // namespace

ExportDialog::ExportDialog(const ExportSettings& initial, QWidget* parent, bool repeatLoop, const QString& folder)
    : QDialog(parent), repeatLoop_(repeatLoop), folder_(folder),
      currentPage_(new QRadioButton(QStringLiteral("This page"))),
      allPages_(new QRadioButton(QStringLiteral("All pages"))), format_(new QComboBox), preset_(new QComboBox),
      width_(new QSpinBox), height_(new QSpinBox), rate_(new QComboBox), crf_(new QSpinBox), proRes_(new QComboBox),
      passes_(new QSpinBox), hold_(new QDoubleSpinBox),
      keyOnly_(new QCheckBox(QStringLiteral("Key only (the matte, white on black)"))), destination_(new QLineEdit),
      ok_(nullptr), message_(new QLabel)
{
    setWindowTitle(QStringLiteral("Export Video"));
    setObjectName(QStringLiteral("ExportDialog"));
    (initial.allPages ? allPages_ : currentPage_)->setChecked(true);
    for (const char* name : kFormats)
        format_->addItem(QLatin1String(name));
    format_->setCurrentIndex(static_cast<int>(exportFormatFor(initial.destination).value_or(ExportFormat::Mp4)));
    format_->setObjectName(QStringLiteral("format"));
    for (const Point& p : kPresets)
        preset_->addItem(QStringLiteral("%1 x %2").arg(p.x).arg(p.y));
    preset_->addItem(QStringLiteral("Other size"));
    preset_->setObjectName(QStringLiteral("sizePreset"));
    for (QSpinBox* box : {width_, height_}) {
        box->setSingleStep(2);
        box->setSuffix(QStringLiteral(" px"));
    }
    width_->setRange(16, 7680);
    height_->setRange(16, 4320);
    width_->setValue(initial.size.x);
    height_->setValue(initial.size.y);
    for (const char* rate : kRates) {
        rate_->addItem(QLatin1String(rate));
        if (parseFrameRate(QLatin1String(rate)) == initial.rate)
            rate_->setCurrentIndex(rate_->count() - 1);
    }
    crf_->setRange(0, 51);
    crf_->setValue(initial.crf);
    crf_->setToolTip(QStringLiteral("Lower is better and larger; 18 looks lossless, 23 is FFmpeg's usual"));
    for (const char* name : kProResNames)
        proRes_->addItem(QLatin1String(name));
    proRes_->setCurrentIndex(static_cast<int>(initial.proRes));
    passes_->setRange(1, 1000);
    passes_->setValue(initial.passes);
    hold_->setRange(0, 3600);
    hold_->setDecimals(1);
    hold_->setSuffix(QStringLiteral(" s"));
    hold_->setValue(initial.holdSeconds);
    keyOnly_->setChecked(initial.keyOnly);
    destination_->setText(initial.destination);
    destination_->setObjectName(QStringLiteral("destination"));
    auto* browse = new QPushButton(QStringLiteral("Browse..."));
    // A long path or message wraps or scrolls inside the dialog instead of widening it.
    destination_->setMinimumWidth(320);
    destination_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    message_->setWordWrap(true);
    message_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* scope = new QHBoxLayout;
    scope->addWidget(currentPage_);
    scope->addWidget(allPages_);
    auto* size = new QHBoxLayout;
    size->addWidget(preset_);
    size->addWidget(width_);
    size->addWidget(new QLabel(QStringLiteral("x")));
    size->addWidget(height_);
    auto* where = new QHBoxLayout;
    where->addWidget(destination_, 1);
    where->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Export:"), scope);
    form->addRow(QStringLiteral("Format:"), format_);
    form->addRow(QStringLiteral("Frame size:"), size);
    form->addRow(QStringLiteral("Frames per second:"), rate_);
    form->addRow(QStringLiteral("Quality (CRF):"), crf_);
    form->addRow(QStringLiteral("ProRes:"), proRes_);
    form->addRow(QStringLiteral("Passes of the repeat loop:"), passes_);
    form->addRow(QStringLiteral("Hold at each space-bar wait:"), hold_);
    form->addRow(QString(), keyOnly_);
    form->addRow(QStringLiteral("File:"), where);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setText(QStringLiteral("Export"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(message_);
    layout->addWidget(buttons);

    connect(browse, &QPushButton::clicked, this, &ExportDialog::chooseDestination);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(format_, &QComboBox::currentIndexChanged, this, &ExportDialog::formatChosen);
    connect(preset_, &QComboBox::activated, this, &ExportDialog::presetChosen);
    connect(destination_, &QLineEdit::textChanged, this, [this](const QString& text) {
        // A typed extension chooses its format.
        if (const auto typed = exportFormatFor(text.trimmed())) {
            const QSignalBlocker quiet(format_);
            format_->setCurrentIndex(static_cast<int>(*typed));
        }
        refresh();
    });
    connect(width_, &QSpinBox::valueChanged, this, &ExportDialog::refresh);
    connect(height_, &QSpinBox::valueChanged, this, &ExportDialog::refresh);
    connect(allPages_, &QRadioButton::toggled, this, &ExportDialog::refresh);
    refresh();
}

ExportFormat ExportDialog::format() const
{
    return static_cast<ExportFormat>(format_->currentIndex());
}

ExportSettings ExportDialog::settings() const
{
    ExportSettings s;
    s.destination = destinationWithExtension(destination_->text().trimmed(), format());
    s.allPages = allPages_->isChecked();
    s.size = {width_->value(), height_->value()};
    s.rate = parseFrameRate(rate_->currentText()).value_or(FrameRate{});
    s.passes = passes_->isEnabled() ? passes_->value() : 1;
    s.holdSeconds = hold_->value();
    s.keyOnly = keyOnly_->isChecked();
    s.crf = crf_->value();
    s.proRes = static_cast<ProResProfile>(proRes_->currentIndex());
    return s;
}

QString ExportDialog::problem() const
{
    return validateExportSettings(settings());
}

void ExportDialog::chooseDestination()
{
    const QString start = destination_->text().trimmed().isEmpty() ? folder_ : destination_->text().trimmed();
    const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Export Video"), start,
                                                        QLatin1String(kFormats[format_->currentIndex()]));
    if (!chosen.isEmpty())
        destination_->setText(destinationWithExtension(chosen, format()));
}

void ExportDialog::formatChosen()
{
    const QString typed = destination_->text().trimmed();
    if (!typed.isEmpty())
        destination_->setText(destinationWithExtension(typed, format()));
    refresh();
}

void ExportDialog::presetChosen()
{
    const int i = preset_->currentIndex();
    if (i >= 0 && i < static_cast<int>(std::size(kPresets))) {
        width_->setValue(kPresets[i].x);
        height_->setValue(kPresets[i].y);
    }
}

void ExportDialog::refresh()
{
    const Point size{width_->value(), height_->value()};
    const auto* preset = std::find(std::begin(kPresets), std::end(kPresets), size);
    preset_->setCurrentIndex(static_cast<int>(preset - std::begin(kPresets)));
    const ExportFormat f = format();
    crf_->setEnabled(f == ExportFormat::Mp4 || f == ExportFormat::WebM);
    proRes_->setEnabled(f == ExportFormat::Mov);
    passes_->setEnabled(repeatLoop_ && allPages_->isChecked());
    const QString why = destination_->text().trimmed().isEmpty() ? QStringLiteral("Choose a file to export to.") : problem();
    message_->setText(why);
    ok_->setEnabled(why.isEmpty());
}

} // namespace lumavo
