#pragma once

#include <QString>

namespace lumavo {

// The outcome of an engine operation that can fail: ok, or the reason it failed, a sentence the
// window or lumavo-cli shows as it is (it names the file and the cause).
struct Result {
    bool ok = true;
    QString error;

    static Result success() { return {}; }
    static Result failure(const QString& why) { return {false, why}; }
};

// File operations report through the same type.
using IoResult = Result;

} // namespace lumavo
