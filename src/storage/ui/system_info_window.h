#pragma once

#include "storage/ui/app_context.h"
#include "storage/system_probe.h"
#include "storage/system_probe_format.h"

#include <QDialog>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QTabWidget;
class QTimer;

namespace lumavo {

// "Under Your Hood": display, system, memory and sound-device figures of this machine, read
// through the context's SystemProbe (this machine's own when the context has none). Shown
// modally; the memory figures refresh every 1000 ms while it is shown.
// Children are named for tests: "PageControl1", the lists "ListBox1".."ListBox4" (Wave Out,
// Midi Out, Wave In, Midi In), a device field "<list>Field<k>" (k = caption index), memory
// rows "heap<k>", memory status "memory<k>", display rows "display<k>", system rows "system<k>".
class Tsyschk : public QDialog {
    Q_OBJECT
public:
    explicit Tsyschk(AppContext& context, QWidget* parent = nullptr);
    ~Tsyschk() override;

    static constexpr int kSystemInfoTab = 4;
    static constexpr int kRefreshMs = 1000;

    // Fills the "System Info" tab (ShowUndertheHood).
    void ShowUndertheHood();
    // One timer tick: memory status, load bar, clock and memory-manager figures.
    void Timer1Timer();
    // Device tab `kind` showing device `device` (-1 the mapper); rebuilds the list.
    void showDevice(DeviceKind kind, int device);
    // The printout of "Print memory information" from the figures shown now.
    MemoryPrintout memoryPrintout() const;
    bool refreshRunning() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct DeviceTab {
        DeviceKind kind;
        QListWidget* list = nullptr;
        std::vector<QLabel*> fields;
    };

    QWidget* buildDeviceTab(DeviceTab& tab, const QString& listName);
    QWidget* buildSystemTab();
    void PageControl1Change(int index);
    void SpeedButton1Click();
    const SystemProbe& probe() const;

    AppContext& context_;
    std::unique_ptr<SystemProbe> ownProbe_;
    QTabWidget* pages_ = nullptr;
    QTimer* timer_ = nullptr;
    std::array<DeviceTab, 4> deviceTabs_;
    std::vector<QLabel*> heapValues_;
    std::vector<QLabel*> memoryValues_;
    std::vector<QLabel*> displayValues_;
    std::vector<QLabel*> systemValues_;
    QProgressBar* loadBar_ = nullptr;
    QLabel* clock_ = nullptr;
};

} // namespace lumavo
