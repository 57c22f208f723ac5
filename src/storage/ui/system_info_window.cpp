#include "storage/ui/system_info_window.h"

#include "storage/project.h"
#include "storage/ui/report_printing.h"

#include <QDateTime>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace lumavo {

namespace {

constexpr int kClientWidth = 582;
constexpr int kClientHeight = 348;
constexpr std::array<DeviceKind, 4> kTabKinds = {DeviceKind::WaveOut, DeviceKind::MidiOut, DeviceKind::WaveIn,
                                                 DeviceKind::MidiIn};

// Device texts break their lines with carriage returns; a label breaks at line feeds.
QString labelText(QString text) { return text.replace(QLatin1Char('\r'), QLatin1Char('\n')); }

QLabel* valueLabel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// Adds caption/value rows to grid columns (column, column + 1) from `row`; returns the labels.
std::vector<QLabel*> addRows(QWidget* parent, QGridLayout* grid, int row, int column,
                             const std::vector<CaptionedValue>& rows, const QString& prefix)
{
    std::vector<QLabel*> values;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        grid->addWidget(new QLabel(rows[i].caption, parent), row + static_cast<int>(i), column);
        values.push_back(valueLabel(parent, prefix + QString::number(i)));
        grid->addWidget(values.back(), row + static_cast<int>(i), column + 1);
    }
    return values;
}

void setValues(const std::vector<QLabel*>& labels, const std::vector<CaptionedValue>& rows)
{
    for (std::size_t i = 0; i < labels.size() && i < rows.size(); ++i)
        labels[i]->setText(rows[i].value);
}

} // namespace

Tsyschk::Tsyschk(AppContext& context, QWidget* parent) : QDialog(parent), context_(context)
{
    if (context_.systemProbe == nullptr)
        ownProbe_ = std::make_unique<LinuxSystemProbe>();
    setWindowTitle(QStringLiteral("Under Your Hood"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(kClientWidth, kClientHeight);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    const QStringList listNames = {"ListBox1", "ListBox2", "ListBox3", "ListBox4"};
    for (std::size_t i = 0; i < kTabKinds.size(); ++i) {
        deviceTabs_[i].kind = kTabKinds[i];
        pages_->addTab(buildDeviceTab(deviceTabs_[i], listNames[static_cast<qsizetype>(i)]),
                       deviceTabBaseCaption(kTabKinds[i]));
    }
    pages_->addTab(buildSystemTab(), QStringLiteral("System Info"));
    pages_->setCurrentIndex(kSystemInfoTab);
    outer->addWidget(pages_);

    auto* close = new QPushButton(QStringLiteral("Close the Hood"), this);
    close->setObjectName(QStringLiteral("BitBtn1"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    outer->addLayout(buttons);

    timer_ = new QTimer(this);
    timer_->setInterval(kRefreshMs);
    connect(timer_, &QTimer::timeout, this, &Tsyschk::Timer1Timer);
    connect(pages_, &QTabWidget::currentChanged, this, &Tsyschk::PageControl1Change);
    connect(close, &QPushButton::clicked, this, &Tsyschk::reject);
}

Tsyschk::~Tsyschk() = default;

const SystemProbe& Tsyschk::probe() const
{
    return context_.systemProbe != nullptr ? *context_.systemProbe : *ownProbe_;
}

QWidget* Tsyschk::buildDeviceTab(DeviceTab& tab, const QString& listName)
{
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    tab.list = new QListWidget(page);
    tab.list->setObjectName(listName);
    tab.list->setMaximumWidth(200);
    row->addWidget(tab.list);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    const QStringList captions = deviceFieldCaptions(tab.kind);
    for (qsizetype i = 0; i < captions.size(); ++i) {
        auto* caption = new QLabel(captions[i], page);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        grid->addWidget(caption, static_cast<int>(i), 0);
        tab.fields.push_back(valueLabel(page, listName + QStringLiteral("Field") + QString::number(i)));
        grid->addWidget(tab.fields.back(), static_cast<int>(i), 1);
    }
    grid->setRowStretch(static_cast<int>(captions.size()), 1);
    grid->setColumnStretch(1, 1);
    row->addLayout(grid, 1);

    const DeviceKind kind = tab.kind;
    QListWidget* list = tab.list;
    // The list is rebuilt when a device is shown, so the rebuild waits until the click is over.
    connect(list, &QListWidget::itemClicked, this, [this, kind, list](QListWidgetItem* item) {
        const int entry = list->row(item);
        QMetaObject::invokeMethod(this, [this, kind, entry] { showDevice(kind, entry - 1); }, Qt::QueuedConnection);
    });
    return page;
}

QWidget* Tsyschk::buildSystemTab()
{
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    auto* page = new QWidget(scroll);
    QFont small = page->font();
    small.setPointSize(std::max(7, small.pointSize() - 1));
    page->setFont(small);
    auto* grid = new QGridLayout(page);
    grid->setVerticalSpacing(1);
    grid->setHorizontalSpacing(8);

    std::vector<CaptionedValue> heapCaptions;
    for (const QString& name : heapRowNames())
        heapCaptions.push_back({name, {}});
    heapValues_ = addRows(page, grid, 0, 0, heapCaptions, QStringLiteral("heap"));
    const std::vector<CaptionedValue> memoryCaptions = memoryStatusRows({});
    memoryValues_ = addRows(page, grid, kHeapRowCount, 0, memoryCaptions, QStringLiteral("memory"));
    int row = kHeapRowCount + static_cast<int>(memoryCaptions.size());
    loadBar_ = new QProgressBar(page);
    loadBar_->setObjectName(QStringLiteral("ProgressBar1"));
    loadBar_->setRange(0, 100);
    loadBar_->setToolTip(QStringLiteral("Current CPU load"));
    grid->addWidget(loadBar_, row++, 0, 1, 2);
    clock_ = valueLabel(page, QStringLiteral("clock"));
    grid->addWidget(clock_, row++, 0, 1, 2);
    auto* print = new QPushButton(QStringLiteral("Print memory information"), page);
    print->setObjectName(QStringLiteral("SpeedButton1"));
    connect(print, &QPushButton::clicked, this, &Tsyschk::SpeedButton1Click);
    grid->addWidget(print, row, 0, 1, 2);

    const std::vector<CaptionedValue> display = displayRows({});
    constexpr std::size_t kShortDisplayRows = 10;
    const std::vector<CaptionedValue> shortRows(display.begin(), display.begin() + kShortDisplayRows);
    displayValues_ = addRows(page, grid, 0, 2, shortRows, QStringLiteral("display"));
    const std::vector<CaptionedValue> systemCaptions = systemRows({});
    systemValues_ = addRows(page, grid, static_cast<int>(kShortDisplayRows) + 1, 2, systemCaptions,
                            QStringLiteral("system"));
    // The explanatory captions are long: they run under both columns.
    ++row;
    for (std::size_t i = kShortDisplayRows; i < display.size(); ++i, ++row) {
        grid->addWidget(new QLabel(display[i].caption, page), row, 0, 1, 3);
        displayValues_.push_back(valueLabel(page, QStringLiteral("display") + QString::number(i)));
        grid->addWidget(displayValues_.back(), row, 3);
    }
    grid->setRowStretch(row + 1, 1);
    grid->setColumnStretch(4, 1);
    scroll->setWidget(page);
    return scroll;
}

void Tsyschk::ShowUndertheHood()
{
    setValues(heapValues_, heapRows(probe().heap()));
    setValues(displayValues_, displayRows(probe().display()));
    setValues(systemValues_, systemRows(probe().system()));
}

void Tsyschk::Timer1Timer()
{
    const MemoryStatus memory = probe().memoryStatus();
    setValues(memoryValues_, memoryStatusRows(memory));
    loadBar_->setValue(std::clamp(memory.loadPercent, 0, 100));
    clock_->setText(birthText(QDateTime::currentDateTime()));
    setValues(heapValues_, heapRows(probe().heap()));
}

void Tsyschk::showDevice(DeviceKind kind, int device)
{
    DeviceTab& tab = deviceTabs_[static_cast<std::size_t>(std::find(kTabKinds.begin(), kTabKinds.end(), kind)
                                                          - kTabKinds.begin())];
    for (QLabel* field : tab.fields)
        field->clear();
    tab.list->clear();
    const int count = probe().deviceCount(kind);
    if (count <= 0) {
        tab.fields[4]->setText(noDevicesText(kind));
        return;
    }
    for (int d = kMapperDevice; d < count; ++d) {
        const auto caps = probe().deviceCaps(kind, d);
        tab.list->addItem(caps ? caps->name : QString());
    }
    tab.list->setCurrentRow(-1);
    const auto caps = probe().deviceCaps(kind, device);
    if (!caps)
        return;
    const QStringList values = deviceFieldValues(kind, device, *caps);
    for (std::size_t i = 0; i < tab.fields.size() && static_cast<qsizetype>(i) < values.size(); ++i)
        tab.fields[i]->setText(labelText(values[static_cast<qsizetype>(i)]));
}

void Tsyschk::PageControl1Change(int index)
{
    if (index < 0 || index >= static_cast<int>(kTabKinds.size())) {
        ShowUndertheHood();
        return;
    }
    const DeviceKind kind = kTabKinds[static_cast<std::size_t>(index)];
    const int count = probe().deviceCount(kind);
    pages_->setTabText(index, deviceTabCaption(kind, count));
    // "Wave In" opens on its second device; a machine with fewer shows the mapper instead.
    int device = initialDevice(kind);
    if (device >= count)
        device = kMapperDevice;
    showDevice(kind, device);
}

MemoryPrintout Tsyschk::memoryPrintout() const
{
    MemoryPrintout printout;
    printout.applicationTitle = context_.workspace.applicationTitle;
    printout.dateTime = birthText(QDateTime::currentDateTime());
    printout.heap = probe().heap();
    for (std::size_t i = 0; i < printout.memoryTexts.size(); ++i)
        printout.memoryTexts[i] = memoryValues_[i + 1]->text();
    return printout;
}

void Tsyschk::SpeedButton1Click() { printMemoryInformation(context_, memoryPrintout()); }

bool Tsyschk::refreshRunning() const { return timer_->isActive(); }

void Tsyschk::showEvent(QShowEvent* event)
{
    ShowUndertheHood();
    Timer1Timer();
    timer_->start();
    if (!event->spontaneous()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

void Tsyschk::hideEvent(QHideEvent* event)
{
    timer_->stop();
    QDialog::hideEvent(event);
}

} // namespace lumavo
