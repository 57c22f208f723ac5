#include "platform/ui/qt_prompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

namespace lumavo {

namespace {

QMessageBox::Icon boxIconFor(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Information: break;
    }
    return QMessageBox::Information;
}

QWidget* dialogParent()
{
    return QApplication::activeWindow();
}

std::optional<QString> runFileDialog(const FileDialogOptions& options, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(dialogParent(), options.title, options.directory, options.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    if (!options.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(options.defaultSuffix);
    if (!options.fileName.isEmpty())
        dialog.selectFile(options.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

QtPrompter::QtPrompter(QString boxTitle) : boxTitle_(std::move(boxTitle)) {}

void QtPrompter::message(const QString& text, MessageIcon icon)
{
    QMessageBox box(boxIconFor(icon), boxTitle_, text, QMessageBox::Ok, dialogParent());
    box.exec();
}

Answer QtPrompter::confirm(const QString& text, bool withCancel, MessageIcon icon)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(boxIconFor(icon), boxTitle_, text, buttons, dialogParent());
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return withCancel ? Answer::Cancel : Answer::No;
    }
}

std::optional<QString> QtPrompter::openFileName(const FileDialogOptions& options)
{
    return runFileDialog(options, QFileDialog::AcceptOpen);
}

std::optional<QString> QtPrompter::saveFileName(const FileDialogOptions& options)
{
    return runFileDialog(options, QFileDialog::AcceptSave);
}

std::optional<Color> QtPrompter::chooseColor(Color initial)
{
    const QColor chosen = QColorDialog::getColor(toQColor(initial), dialogParent());
    if (!chosen.isValid())
        return std::nullopt;
    return fromQColor(chosen);
}

int QtPrompter::execModal(QWidget& window)
{
    if (auto* dialog = qobject_cast<QDialog*>(&window))
        return dialog->exec();
    // A plain window runs modally until it is hidden.
    QPointer<QWidget> guard(&window);
    const Qt::WindowModality before = window.windowModality();
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    QEventLoop loop;
    while (guard && guard->isVisible())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    if (guard)
        guard->setWindowModality(before);
    return 1;
}

QColor toQColor(Color color)
{
    return QColor(redOf(color), greenOf(color), blueOf(color));
}

Color fromQColor(const QColor& color)
{
    return rgb(static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
               static_cast<std::uint8_t>(color.blue()));
}

} // namespace lumavo
