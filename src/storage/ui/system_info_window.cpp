#include "storage/ui/system_info_window.h"

namespace lumavo {

Tsyschk::Tsyschk(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {}

} // namespace lumavo
