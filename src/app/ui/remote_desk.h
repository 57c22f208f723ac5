#pragma once

#include "remote/live_data_source.h"
#include "remote/remote_api.h"
#include "remote/remote_settings.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>

class QAction;
class QDockWidget;

namespace lumavo {

class DataBox;
class OutputControls;
class RemoteServer;
class TBitMovOptMain;
class TCan;
struct AppContext;

// The editor's side of remote control and live data: Configuration > Remote Control..., the
// server, File > Data File... and the Data box, and the program as a RemoteHost. Commands that
// start a run are taken at once and the run starts from the message loop, as a click on Play does.
class RemoteDesk : public QObject, public RemoteHost {
    Q_OBJECT
public:
    RemoteDesk(TBitMovOptMain& main, TCan& stage, OutputControls& outputs, AppContext& context,
               QString settingsPath);
    ~RemoteDesk() override;

    RemoteServer& server() { return *server_; }
    LiveDataSource& data() { return data_; }
    DataBox& dataBox() { return *dataBox_; }
    // Applies remote settings: writes them to the settings file and (re)starts or stops the
    // server. Returns why the server could not listen (empty when it listens or is off).
    QString apply(const RemoteSettings& settings);
    // Brings status, events, data row and the Data box up to date (the desk does it ten times a second).
    void poll();

    // RemoteHost
    RemoteStatus status() const override;
    QList<PageSummary> pages() const override;
    std::optional<QByteArray> thumbnailPng(const QString& number) override;
    RemoteOutcome run(RemoteCommand command, const std::optional<QString>& page) override;
    RemoteOutcome setLineText(const QString& number, int line, const QString& text) override;
    RemoteOutcome selectRow(int number) override;
    RemoteOutcome stepRow(int delta) override;

private:
    void addMenus();
    void openRemoteWindow();
    void chooseDataFile();
    void setDataFile(const QString& stored);
    void dataChanged();
    QString busyReason() const;
    RemoteOutcome cuePage(const QString& number);
    RemoteOutcome startLater(QAction* command);
    RemoteOutcome dataRefusal() const;

    TBitMovOptMain& main_;
    TCan& stage_;
    OutputControls& outputs_;
    AppContext& context_;
    QString settingsPath_;
    RemoteSettings settings_;
    QString problem_;
    LiveDataSource data_;
    std::unique_ptr<RemoteServer> server_;
    QDockWidget* dataDock_ = nullptr;
    DataBox* dataBox_ = nullptr;
    QPointer<QAction> pendingStart_;
    QStringList shownMissing_;
    QTimer poll_;
};

} // namespace lumavo
