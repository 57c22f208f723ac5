#pragma once

#include "platform/ui/app_context.h"

#include <QDialog>

namespace lumavo {

class TbFontForm : public QDialog {
    Q_OBJECT
public:
    explicit TbFontForm(AppContext& context, QWidget* parent = nullptr);

private:
    AppContext& context_;
};

} // namespace lumavo
