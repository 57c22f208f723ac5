#pragma once

#include "export/export_settings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace lumavo {

// The choices of an export: this page or all pages, size, frame rate, passes, hold, key only and
// the destination (typed or chosen with a save dialog). OK is enabled when the choices make an export.
class ExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExportDialog(const ExportSettings& initial, QWidget* parent = nullptr);

    ExportSettings settings() const;
    // Why the choices do not make an export; empty when they do.
    QString problem() const;

private:
    void chooseDestination();
    void refresh();

    QRadioButton* currentPage_;
    QRadioButton* allPages_;
    QSpinBox* width_;
    QSpinBox* height_;
    QComboBox* rate_;
    QSpinBox* passes_;
    QDoubleSpinBox* hold_;
    QCheckBox* keyOnly_;
    QLineEdit* destination_;
    QPushButton* ok_;
    QLabel* message_;
};

} // namespace lumavo
