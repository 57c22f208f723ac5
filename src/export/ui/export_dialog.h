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

// The choices of an export: this page or all pages, format, size (with presets), frame rate,
// quality, passes, hold, key only and the destination (typed or chosen with a save dialog that
// opens in `folder`). The destination always carries the chosen format's extension. "Passes" is
// enabled only for all pages with the repeat loop on. OK is enabled when the choices make an export.
class ExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExportDialog(const ExportSettings& initial, QWidget* parent = nullptr, bool repeatLoop = true,
                          const QString& folder = {});

    ExportSettings settings() const;
    // Why the choices do not make an export; empty when they do.
    QString problem() const;

private:
    ExportFormat format() const;
    void chooseDestination();
    void formatChosen();
    void presetChosen();
    void refresh();

    bool repeatLoop_;
    QString folder_;
    QRadioButton* currentPage_;
    QRadioButton* allPages_;
    QComboBox* format_;
    QComboBox* preset_;
    QSpinBox* width_;
    QSpinBox* height_;
    QComboBox* rate_;
    QSpinBox* crf_;
    QComboBox* proRes_;
    QSpinBox* passes_;
    QDoubleSpinBox* hold_;
    QCheckBox* keyOnly_;
    QLineEdit* destination_;
    QPushButton* ok_;
    QLabel* message_;
};

} // namespace lumavo
