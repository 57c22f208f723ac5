#include "app/ui/application.h"

#include <QApplication>
#include <QMainWindow>

namespace lumavo {

int runApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Lumavo Pro"));
    window.resize(649, 492);
    window.show();
    return app.exec();
}

} // namespace lumavo
