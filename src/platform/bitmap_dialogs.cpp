#include "platform/bitmap_dialogs.h"

namespace lumavo {

bool saveBitmapAs(const Bitmap& picture, Prompter& prompter)
{
    FileDialogOptions options;
    options.title = QStringLiteral("Save As A Bitmap File");
    options.filter = QStringLiteral("Bitmaps Only (*.bmp)");
    options.defaultSuffix = QStringLiteral("bmp");
    const std::optional<QString> name = prompter.saveFileName(options);
    if (!name)
        return false;
    QString error;
    if (picture.saveToFile(*name, &error))
        return true;
    prompter.message(QStringLiteral("Can not save ") + *name + QStringLiteral(": ") + error, MessageIcon::Error);
    return false;
}

} // namespace lumavo
