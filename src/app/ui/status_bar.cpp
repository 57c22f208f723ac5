#include "app/ui/status_bar.h"

#include <QLabel>

namespace lumavo {

EditorStatusBar::EditorStatusBar(QWidget* parent) : QStatusBar(parent)
{
    static const std::array<int, 5> kWidths{80, 80, 70, 40, 80};
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    for (std::size_t i = 0; i < kWidths.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Panel%1").arg(i));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        // The last panel holds the project name and takes what room there is.
        const bool last = i + 1 == kWidths.size();
        if (last)
            label->setMinimumWidth(kWidths[i]);
        else
            label->setFixedWidth(kWidths[i]);
        addWidget(label, last ? 1 : 0);
        panels_[i] = label;
    }
}

QLabel* EditorStatusBar::panel(int index) const
{
    return panels_.at(static_cast<std::size_t>(index));
}

void EditorStatusBar::showPanels(const StatusPanels& status)
{
    for (std::size_t i = 0; i < panels_.size(); ++i)
        panels_[i]->setText(status.panel[i]);
}

} // namespace lumavo
