#pragma once

#include "platform/ui/app_context.h"

#include <QDialog>

namespace lumavo {

class Tefxctr : public QDialog {
    Q_OBJECT
public:
    explicit Tefxctr(AppContext& context, QWidget* parent = nullptr);

private:
    AppContext& context_;
};

} // namespace lumavo
