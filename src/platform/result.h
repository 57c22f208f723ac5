#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace lumavo {

enum class MessageIcon { Information, Error, Warning, Question };

// The outcome of an engine operation that can fail: ok, or the reason it failed, a sentence the
// window or lumavo-cli shows as it is (it names the file and the cause), with the icon of its box.
struct Result {
    bool ok = true;
    QString error;
    MessageIcon icon = MessageIcon::Error;

    static Result success() { return {}; }
    static Result failure(const QString& why, MessageIcon icon = MessageIcon::Error) { return {false, why, icon}; }
};

// What a run of the engine has to tell the operator, in order. The engine never shows it: the
// window that started the run does (showNotices), or lumavo-cli prints it.
using Notices = std::vector<Result>;

// Adds a notice unless one with the same text is there: a run with the repeat loop meets the same
// fault on every pass, and the operator is told once.
inline void tellOnce(Notices& notices, Result notice)
{
    for (const Result& told : notices)
        if (told.error == notice.error)
            return;
    notices.push_back(std::move(notice));
}

// File operations report through the same type.
using IoResult = Result;

} // namespace lumavo
