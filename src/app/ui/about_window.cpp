#include "app/ui/about_window.h"

#include "app/app_shell.h"
#include "app/ui/pictures.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace lumavo {

TAnimateXAbout::TAnimateXAbout(const QString& versionText, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TAnimateXAbout"));
    setWindowTitle(QStringLiteral("About Lumavo-32"));
    setFixedSize(267, 141);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(programIcon().pixmap(32, 32));
    icon->setGeometry(8, 8, 33, 33);

    auto* name = new QLabel(kMainCaption + QLatin1Char(' ') + versionText, this);
    name->setObjectName(QStringLiteral("ProductName"));
    QFont font = name->font();
    font.setPixelSize(16);
    font.setBold(true);
    name->setFont(font);
    name->setStyleSheet(QStringLiteral("color: blue;"));
    name->setGeometry(56, 14, 200, 24);

    auto* note = new QLabel(QStringLiteral("Video titles for one operator."), this);
    note->setGeometry(56, 44, 200, 40);
    note->setWordWrap(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    ok->setGeometry(96, 104, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace lumavo
