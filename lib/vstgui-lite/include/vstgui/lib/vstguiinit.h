// Process-wide set-up of the toolkit: the platform factory and the stock fonts. Counted: every init
// needs an exit; the last exit releases everything.
#pragma once

namespace VSTGUI {

void init(void* moduleHandle);
void exit();

} // namespace VSTGUI
