#pragma once

#include "platform/ui/app_context.h"

#include <QDialog>

namespace lumavo {

class TBconfig : public QDialog {
    Q_OBJECT
public:
    explicit TBconfig(AppContext& context, QWidget* parent = nullptr);

private:
    AppContext& context_;
};

} // namespace lumavo
