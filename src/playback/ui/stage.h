#pragma once

#include "platform/ui/app_context.h"

#include <QWidget>
#include <QString>

namespace lumavo {

// The full-screen stage: plays pages and, while the editor's alignActive flag is set, serves as
// the alignment screen.
class TCan : public QWidget {
    Q_OBJECT
public:
    explicit TCan(AppContext& context, QWidget* parent = nullptr);

    // The editor's Play and P All commands.
    void playCurrentPage();
    void playAllPages();
    // The editor's Align command.
    void enterAlignment();
    // Clears a drawn path of line 1..3 as the alignment screen's path buttons do.
    void clearInPath(int line);
    void clearOutPath(int line);

private:
    AppContext& context_;
};

} // namespace lumavo
