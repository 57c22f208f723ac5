#include "playback/ui/stage.h"

namespace lumavo {

TCan::TCan(AppContext& context, QWidget* parent) : QWidget(parent), context_(context) {}

void TCan::playCurrentPage() {}
void TCan::playAllPages() {}
void TCan::enterAlignment() {}
void TCan::clearInPath(int) {}
void TCan::clearOutPath(int) {}

} // namespace lumavo
