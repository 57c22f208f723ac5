#pragma once

#include "platform/ui/app_context.h"

#include <QDialog>

namespace lumavo {

class Tsyschk : public QDialog {
    Q_OBJECT
public:
    explicit Tsyschk(AppContext& context, QWidget* parent = nullptr);

private:
    AppContext& context_;
};

} // namespace lumavo
