#pragma once

#include "remote/remote_api.h"

#include <QStringList>

namespace lumavo::test {

// A host that records what it was asked and answers as set up.
class FakeRemoteHost final : public RemoteHost {
public:
    RemoteStatus current;
    RemoteOutcome answer;
    QStringList calls;   // "play 007", "stop", "text 002 1 Hello", "row 3", "step 1", "thumb 000"

    RemoteStatus status() const override { return current; }
    QList<PageSummary> pages() const override { return {PageSummary{"000", {"One", "", "Three"}}}; }
    std::optional<QByteArray> thumbnailPng(const QString& number) override
    {
        calls << "thumb " + number;
        return number == "000" ? std::optional<QByteArray>("\x89PNG") : std::nullopt;
    }
    RemoteOutcome run(RemoteCommand command, const std::optional<QString>& page) override
    {
        static const char* names[] = {"play", "playall", "continue", "stop", "cut", "close"};
        calls << QString::fromLatin1(names[static_cast<int>(command)]) + (page ? " " + *page : QString());
        return answer;
    }
    RemoteOutcome setLineText(const QString& number, int line, const QString& text) override
    {
        calls << QStringLiteral("text %1 %2 %3").arg(number).arg(line).arg(text);
        return answer;
    }
    RemoteOutcome selectRow(int number) override
    {
        calls << QStringLiteral("row %1").arg(number);
        return answer;
    }
    RemoteOutcome stepRow(int delta) override
    {
        calls << QStringLiteral("step %1").arg(delta);
        return answer;
    }
};

} // namespace lumavo::test
