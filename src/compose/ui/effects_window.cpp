#include "compose/ui/effects_window.h"

namespace lumavo {

Tefxctr::Tefxctr(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {}

} // namespace lumavo
