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
#include <QSpinBox>

namespace lumavo {

namespace {

const char* const kRates[] = {"23.976", "24", "25", "29.97", "30", "50", "59.94", "60"};

} // namespace

ExportDialog::ExportDialog(const ExportSettings& initial, QWidget* parent)
    : QDialog(parent), currentPage_(new QRadioButton(QStringLiteral("This page"))),
      allPages_(new QRadioButton(QStringLiteral("All pages"))), width_(new QSpinBox), height_(new QSpinBox),
      rate_(new QComboBox), passes_(new QSpinBox), hold_(new QDoubleSpinBox), keyOnly_(new QCheckBox(QStringLiteral("Key only (the matte, white on black)"))),
      destination_(new QLineEdit), ok_(nullptr), message_(new QLabel)
{
    setWindowTitle(QStringLiteral("Export Video"));
    setObjectName(QStringLiteral("ExportDialog"));
    (initial.allPages ? allPages_ : currentPage_)->setChecked(true);
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

    auto* scope = new QHBoxLayout;
    scope->addWidget(currentPage_);
    scope->addWidget(allPages_);
    auto* size = new QHBoxLayout;
    size->addWidget(width_);
    size->addWidget(new QLabel(QStringLiteral("x")));
    size->addWidget(height_);
    auto* where = new QHBoxLayout;
    where->addWidget(destination_, 1);
    where->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Export:"), scope);
    form->addRow(QStringLiteral("Frame size:"), size);
    form->addRow(QStringLiteral("Frames per second:"), rate_);
    form->addRow(QStringLiteral("Passes of the repeat loop:"), passes_);
    form->addRow(QStringLiteral("Hold at each space-bar wait:"), hold_);
    form->addRow(QString(), keyOnly_);
    form->addRow(QStringLiteral("File (.mp4, .mov, .webm, or frames/%05d.png):"), where);
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
    connect(destination_, &QLineEdit::textChanged, this, &ExportDialog::refresh);
    connect(width_, &QSpinBox::valueChanged, this, &ExportDialog::refresh);
    connect(height_, &QSpinBox::valueChanged, this, &ExportDialog::refresh);
    refresh();
}

ExportSettings ExportDialog::settings() const
{
    ExportSettings s;
    s.destination = destination_->text().trimmed();
    s.allPages = allPages_->isChecked();
    s.size = {width_->value(), height_->value()};
    s.rate = parseFrameRate(rate_->currentText()).value_or(FrameRate{});
    s.passes = passes_->value();
    s.holdSeconds = hold_->value();
    s.keyOnly = keyOnly_->isChecked();
    return s;
}

QString ExportDialog::problem() const
{
    return validateExportSettings(settings());
}

void ExportDialog::chooseDestination()
{
    const QString chosen = QFileDialog::getSaveFileName(
        this, QStringLiteral("Export Video"), destination_->text(),
        QStringLiteral("MP4 video (*.mp4);;QuickTime with alpha (*.mov);;WebM with alpha (*.webm)"));
    if (!chosen.isEmpty())
        destination_->setText(chosen);
}

void ExportDialog::refresh()
{
    const QString why = destination_->text().trimmed().isEmpty() ? QStringLiteral("Choose a file to export to.") : problem();
    message_->setText(why);
    ok_->setEnabled(why.isEmpty());
}

} // namespace lumavo
