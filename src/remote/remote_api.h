#pragma once

#include "remote/http_request.h"
#include "remote/osc.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace lumavo {

// What a show controller sees of the program (GET /api/status, the events, the OSC feedback).
struct RemoteStatus {
    bool onAir = false;
    QString page = QStringLiteral("000");
    int line = 0;            // the title line up on the stage, 0..3
    bool waiting = false;    // a run waits for Continue (the space bar)
    QString project;
    int pages = 0;           // pages 000..pages-1 exist
    int row = 0;             // the selected data row, 0 = none
    friend bool operator==(const RemoteStatus&, const RemoteStatus&) = default;
};
QJsonObject statusJson(const RemoteStatus& status);

// One stored page as GET /api/pages lists it.
struct PageSummary {
    QString number;
    std::array<QString, 3> texts;
};

// The commands a show controller gives.
enum class RemoteCommand { Play, PlayAll, Continue, Stop, Cut, Close };

// What a command did: done (200, with a warning in reason when there is one to pass on), or refused
// with the status to answer and the reason.
struct RemoteOutcome {
    int status = 200;
    QString reason;
    bool ok() const { return status == 200; }
    static RemoteOutcome done() { return {}; }
    static RemoteOutcome refused(int status, const QString& reason) { return {status, reason}; }
};

// The program as the remote interface drives it. Every call runs on the interface thread, at a
// point where the stage's keys are handled too; none of them may open a window or ask a question.
class RemoteHost {
public:
    virtual RemoteStatus status() const = 0;
    virtual QList<PageSummary> pages() const = 0;
    // A small PNG of stored page `number` at rest; nullopt when there is no such page.
    virtual std::optional<QByteArray> thumbnailPng(const QString& number) = 0;
    // page: the page to cue for Play ("NNN"); nullopt plays the editor's current page.
    virtual RemoteOutcome run(RemoteCommand command, const std::optional<QString>& page) = 0;
    // Sets the text of line 1..3 of stored page `number` and saves it.
    virtual RemoteOutcome setLineText(const QString& number, int line, const QString& text) = 0;
    // Selects data row `number` (1-based), or steps by `delta` rows from the selected one.
    virtual RemoteOutcome selectRow(int number) = 0;
    virtual RemoteOutcome stepRow(int delta) = 0;

protected:
    ~RemoteHost() = default;
};

// True when the request carries the token (Authorization: Bearer TOKEN, or ?token=TOKEN), or when
// no token is required (an empty token).
bool carriesToken(const HttpRequest& request, const QString& token);
// The reply to one HTTP request (every path under /api; see the README for the list).
HttpReply handleRemoteRequest(const HttpRequest& request, RemoteHost& host, const QString& token);
// A JSON error reply {"ok": false, "error": reason}.
HttpReply errorReply(int status, const QString& reason);

// Runs one OSC message (/lumavo/play [page], /lumavo/playall, /lumavo/continue, /lumavo/stop,
// /lumavo/cut, /lumavo/close, /lumavo/row N, /lumavo/next, /lumavo/previous). With a token required,
// the message's last argument must be that token (a string).
RemoteOutcome handleOscMessage(const OscMessage& message, RemoteHost& host, const QString& token);
// The feedback message: /lumavo/onair with 1 or 0.
OscMessage onAirMessage(bool onAir);

} // namespace lumavo
