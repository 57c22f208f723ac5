#include "compose/ui/font_form.h"

namespace lumavo {

TbFontForm::TbFontForm(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {}

} // namespace lumavo
