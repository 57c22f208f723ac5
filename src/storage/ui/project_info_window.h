#pragma once

#include "platform/ui/app_context.h"

#include <QDialog>

namespace lumavo {

class Tbdebug : public QDialog {
    Q_OBJECT
public:
    explicit Tbdebug(AppContext& context, QWidget* parent = nullptr);

private:
    AppContext& context_;
};

} // namespace lumavo
