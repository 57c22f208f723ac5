#include "app/ui/data_box.h"

#include "remote/live_data_source.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace lumavo {

DataBox::DataBox(LiveDataSource& data, QWidget* parent) : QWidget(parent), data_(data)
{
    setObjectName(QStringLiteral("DataBox"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    file_ = new QLabel(this);
    file_->setObjectName(QStringLiteral("DataFileLabel"));
    previous_ = new QPushButton(QStringLiteral("<"), this);
    previous_->setToolTip(QStringLiteral("Previous row"));
    previous_->setObjectName(QStringLiteral("DataPreviousButton"));
    row_ = new QLabel(this);
    row_->setObjectName(QStringLiteral("DataRowLabel"));
    next_ = new QPushButton(QStringLiteral(">"), this);
    next_->setToolTip(QStringLiteral("Next row"));
    next_->setObjectName(QStringLiteral("DataNextButton"));
    values_ = new QLabel(this);
    values_->setObjectName(QStringLiteral("DataValuesLabel"));
    values_->setMinimumWidth(80);
    values_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    missing_ = new QLabel(this);
    missing_->setObjectName(QStringLiteral("DataMissingLabel"));
    missing_->setStyleSheet(QStringLiteral("QLabel { color: #c00000; }"));
    missing_->setMaximumWidth(160);
    auto* remove = new QPushButton(QStringLiteral("x"), this);
    remove->setObjectName(QStringLiteral("DataRemoveButton"));
    remove->setToolTip(QStringLiteral("The project no longer uses this data file"));
    for (QPushButton* button : {previous_, next_, remove}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("<<")) + 14);
    }
    layout->addWidget(file_);
    layout->addWidget(previous_);
    layout->addWidget(row_);
    layout->addWidget(next_);
    layout->addWidget(values_, 1);
    layout->addWidget(missing_);
    layout->addWidget(remove);
    connect(previous_, &QPushButton::clicked, this, [this] { data_.stepRow(-1); });
    connect(next_, &QPushButton::clicked, this, [this] { data_.stepRow(1); });
    connect(remove, &QPushButton::clicked, this, &DataBox::removeRequested);
    refresh({});
}

QString DataBox::rowText() const { return row_->text(); }
QString DataBox::valuesText() const { return values_->toolTip(); }

void DataBox::refresh(const QStringList& missing)
{
    file_->setText(QFileInfo(data_.path()).fileName());
    file_->setToolTip(data_.path());
    const int rows = data_.rowCount();
    row_->setText(rows == 0 ? QStringLiteral("no rows") : QStringLiteral("Row %1/%2").arg(data_.row()).arg(rows));
    previous_->setEnabled(data_.row() > 1);
    next_->setEnabled(data_.row() < rows);
    QStringList pairs;
    const DataTable& table = data_.table();
    if (data_.row() >= 1) {
        const QStringList& values = table.rows.at(data_.row() - 1);
        for (qsizetype c = 0; c < table.columns.size(); ++c)
            pairs << table.columns[c] + QStringLiteral(": ") + values.value(c);
    }
    const QString text = data_.error().isEmpty() ? pairs.join(QStringLiteral("  |  ")) : data_.error();
    values_->setToolTip(text);
    elideValues();
    const QString missingText = missing.isEmpty() ? QString() : QStringLiteral("Missing: ") + missing.join(QStringLiteral(", "));
    missing_->setToolTip(missingText);
    missing_->setText(missing_->fontMetrics().elidedText(missingText, Qt::ElideRight, missing_->maximumWidth()));
}

void DataBox::elideValues()
{
    values_->setText(values_->fontMetrics().elidedText(values_->toolTip(), Qt::ElideRight, std::max(80, values_->width())));
}

void DataBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    elideValues();
}

} // namespace lumavo
