#pragma once

#include "platform/color.h"
#include "platform/result.h"

#include <QString>
#include <optional>

class QWidget;

namespace lumavo {

enum class Answer { Yes, No, Cancel };

struct FileDialogOptions {
    QString title;            // empty: the platform's default title
    QString filter;           // Qt form, e.g. "Bitmaps (*.bmp)"
    QString defaultSuffix;    // without the dot, e.g. "bmp"
    QString directory;        // where the dialog starts; empty: the current directory
    QString fileName;         // preset file name
    bool confirmOverwrite = true;
};

// Every message box, confirmation, file, colour and print dialog and modal window goes through
// this seam, so that tests can script the answers and read back the exact texts shown.
class Prompter {
public:
    virtual ~Prompter() = default;

    // A message box with one OK button.
    virtual void message(const QString& text, MessageIcon icon = MessageIcon::Information) = 0;
    // Yes/No (withCancel false) or Yes/No/Cancel confirmation, with a question mark unless told.
    virtual Answer confirm(const QString& text, bool withCancel, MessageIcon icon = MessageIcon::Question) = 0;
    // A file name chosen to open or to save; nullopt when cancelled.
    virtual std::optional<QString> openFileName(const FileDialogOptions& options) = 0;
    virtual std::optional<QString> saveFileName(const FileDialogOptions& options) = 0;
    // The colour chooser preset to initial; nullopt when cancelled.
    virtual std::optional<Color> chooseColor(Color initial) = 0;
    // Runs a window modally; the result is the dialog's result code (1 accepted, 0 rejected).
    virtual int execModal(QWidget& window) = 0;
};

// Shows each notice in its own message box, in order: the one way a window reports what the
// engine returned.
inline void showNotices(Prompter& prompter, const Notices& notices)
{
    for (const Result& notice : notices)
        prompter.message(notice.error, notice.icon);
}

} // namespace lumavo
