#pragma once

#include "platform/prompter.h"

#include <QStringList>
#include <cstdio>

namespace lumavo {

// A prompter for work without a window (command-line tools, benchmarks): nothing is ever shown.
// Every question gets `answer` (Cancel becomes No where there is no Cancel button), every dialog is
// cancelled; message texts are kept in `shown`, and written to stderr when asked.
class SilentPrompter final : public Prompter {
public:
    explicit SilentPrompter(Answer answer = Answer::Cancel, bool echoToStderr = false)
        : answer_(answer), echo_(echoToStderr)
    {
    }

    QStringList shown;

    void message(const QString& text, MessageIcon) override
    {
        shown << text;
        if (echo_)
            std::fprintf(stderr, "lumavo-cli: %s\n", text.toLocal8Bit().constData());
    }
    Answer confirm(const QString&, bool withCancel, MessageIcon) override
    {
        return answer_ == Answer::Cancel && !withCancel ? Answer::No : answer_;
    }
    std::optional<QString> openFileName(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> saveFileName(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<Color> chooseColor(Color) override { return std::nullopt; }
    int execModal(QWidget&) override { return 0; }

private:
    Answer answer_;
    bool echo_;
};

} // namespace lumavo
