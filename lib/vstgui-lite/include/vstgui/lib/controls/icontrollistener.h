// Receives what the user does with a control.
#pragma once

#include "../cbuttonstate.h"

namespace VSTGUI {

class CControl;

class IControlListener {
public:
   virtual ~IControlListener() noexcept = default;
   virtual void valueChanged(CControl* control) = 0;
   virtual int32_t controlModifierClicked([[maybe_unused]] CControl* control,
                                          [[maybe_unused]] CButtonState button) {
      return 0;
   }
   virtual void controlBeginEdit([[maybe_unused]] CControl* control) {}
   virtual void controlEndEdit([[maybe_unused]] CControl* control) {}
};

} // namespace VSTGUI
