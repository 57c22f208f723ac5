#pragma once

#include <QDialog>

namespace lumavo {

// The About window: program icon, name and version, and an OK button. Created for each opening.
class TAnimateXAbout : public QDialog {
    Q_OBJECT
public:
    TAnimateXAbout(const QString& versionText, QWidget* parent = nullptr);
};

} // namespace lumavo
