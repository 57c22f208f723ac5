#include "app/ui/time_options.h"

namespace lumavo {

TBconfig::TBconfig(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {}

} // namespace lumavo
