#pragma once

#include "platform/prompter.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

namespace lumavo::test {

// A Prompter whose answers a test lines up in advance. Every text shown is recorded; a dialog
// asked for without a scripted answer is cancelled.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        QString text;
        MessageIcon icon;
    };

    std::vector<Shown> messages;         // message boxes, in order
    QStringList confirmations;           // confirmation texts, in order
    std::vector<MessageIcon> confirmationIcons;
    std::deque<Answer> answers;          // for confirm(); Cancel (or No without Cancel) when empty
    std::deque<std::optional<QString>> openNames;
    std::deque<std::optional<QString>> saveNames;
    std::vector<FileDialogOptions> fileDialogs;
    std::deque<std::optional<Color>> colors;
    std::vector<Color> colorPresets;
    // Called for execModal: may work the window's controls; returns the result code.
    std::function<int(QWidget&)> onModal;
    int modalCount = 0;

    QStringList messageTexts() const
    {
        QStringList out;
        for (const auto& m : messages)
            out << m.text;
        return out;
    }

    void message(const QString& text, MessageIcon icon) override { messages.push_back({text, icon}); }
    Answer confirm(const QString& text, bool withCancel, MessageIcon icon) override
    {
        confirmations << text;
        confirmationIcons.push_back(icon);
        if (answers.empty())
            return withCancel ? Answer::Cancel : Answer::No;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<QString> openFileName(const FileDialogOptions& o) override { return next(openNames, o); }
    std::optional<QString> saveFileName(const FileDialogOptions& o) override { return next(saveNames, o); }
    std::optional<Color> chooseColor(Color initial) override
    {
        colorPresets.push_back(initial);
        if (colors.empty())
            return std::nullopt;
        const auto c = colors.front();
        colors.pop_front();
        return c;
    }
    int execModal(QWidget& window) override
    {
        ++modalCount;
        return onModal ? onModal(window) : 0;
    }

private:
    std::optional<QString> next(std::deque<std::optional<QString>>& q, const FileDialogOptions& o)
    {
        fileDialogs.push_back(o);
        if (q.empty())
            return std::nullopt;
        const auto v = q.front();
        q.pop_front();
        return v;
    }
};

} // namespace lumavo::test
