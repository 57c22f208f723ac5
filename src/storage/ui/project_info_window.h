#pragma once

#include "storage/ui/app_context.h"

#include <QDialog>

class QLabel;

namespace lumavo {

// Read-only view of the current page as the editor holds it: the stored parameters of the three
// title lines, the rest positions, the drawn-path counts and the page record sizes. Opened
// without blocking (show()); every showing refills the values from the workspace.
// Value labels are named for their field and line, e.g. "fontSize2", "restLeft1", "pathIn3".
class Tbdebug : public QDialog {
    Q_OBJECT
public:
    explicit Tbdebug(AppContext& context, QWidget* parent = nullptr);

    // Fills every value label from the workspace (FormShow); changes nothing outside the window.
    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* addValue(const QString& name, const QString& placeholder);

    AppContext& context_;
};

} // namespace lumavo
