#include "storage/ui/project_info_window.h"

namespace lumavo {

Tbdebug::Tbdebug(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {}

} // namespace lumavo
