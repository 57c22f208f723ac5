#pragma once

#include "platform/prompter.h"

#include <QColor>
#include <QString>

namespace lumavo {

// The real Prompter: Qt message boxes and the platform's file and colour dialogs, titled with the
// application's title. The colour chooser keeps the colour last chosen between uses.
class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QString boxTitle = QStringLiteral("Lumavo-32"));

    void message(const QString& text, MessageIcon icon = MessageIcon::Information) override;
    Answer confirm(const QString& text, bool withCancel, MessageIcon icon) override;
    std::optional<QString> openFileName(const FileDialogOptions& options) override;
    std::optional<QString> saveFileName(const FileDialogOptions& options) override;
    std::optional<Color> chooseColor(Color initial) override;
    int execModal(QWidget& window) override;

private:
    QString boxTitle_;
};

// Conversions between 0x00BBGGRR colours and QColor.
QColor toQColor(Color color);
Color fromQColor(const QColor& color);

} // namespace lumavo
