#pragma once

#include "platform/prompter.h"

#include <QStringList>
#include <cstdio>

namespace lumavo::cli {

// The prompter of commands without a window: nothing is ever asked (every question is answered
// No or Cancel, every dialog cancelled); message texts are kept, and written to stderr when asked.
class CliPrompter final : public Prompter {
public:
    explicit CliPrompter(bool echoToStderr) : echo_(echoToStderr) {}

    QStringList shown;

    void message(const QString& text, MessageIcon) override
    {
        shown << text;
        if (echo_)
            std::fprintf(stderr, "lumavo-cli: %s\n", text.toLocal8Bit().constData());
    }
    Answer confirm(const QString&, bool withCancel, MessageIcon) override
    {
        return withCancel ? Answer::Cancel : Answer::No;
    }
    std::optional<QString> openFileName(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> saveFileName(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<Color> chooseColor(Color) override { return std::nullopt; }
    int execModal(QWidget&) override { return 0; }

private:
    bool echo_;
};

} // namespace lumavo::cli
