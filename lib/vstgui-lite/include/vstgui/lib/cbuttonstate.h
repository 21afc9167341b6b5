// Mouse buttons, modifier keys and key codes as the toolkit hands them to views.
#pragma once

#include <cstdint>

namespace VSTGUI {

enum CButton : int32_t {
   kLButton = 1 << 1,
   kMButton = 1 << 2,
   kRButton = 1 << 3,
   kShift = 1 << 4,
   kControl = 1 << 5,
   kAlt = 1 << 6,
   kApple = 1 << 7,
   kButton4 = 1 << 8,
   kButton5 = 1 << 9,
   kDoubleClick = 1 << 10,
};

class CButtonState {
public:
   constexpr CButtonState(int32_t state = 0) : state(state) {}

   // The five button bits only.
   constexpr int32_t getButtonState() const {
      return state & (kLButton | kMButton | kRButton | kButton4 | kButton5);
   }
   // Shift, Control, Alt and the system key only.
   constexpr int32_t getModifierState() const { return state & (kShift | kControl | kAlt | kApple); }
   constexpr bool isLeftButton() const { return state & kLButton; }
   constexpr bool isRightButton() const { return state & kRButton; }
   constexpr bool isDoubleClick() const { return state & kDoubleClick; }

   constexpr operator int32_t() const { return state; }
   constexpr bool operator==(const CButtonState& b) const { return state == b.state; }
   constexpr bool operator!=(const CButtonState& b) const { return state != b.state; }
   CButtonState& operator|=(int32_t bits) {
      state |= bits;
      return *this;
   }

private:
   int32_t state;
};

enum CMouseEventResult {
   kMouseEventNotImplemented = 0,
   kMouseEventHandled,
   kMouseEventNotHandled,
   kMouseDownEventHandledButDontNeedMovedOrUpEvents,
   kMouseMoveEventHandledButDontNeedMoreEvents,
};

enum VirtualKey : unsigned char {
   VKEY_BACK = 1,
   VKEY_TAB,
   VKEY_RETURN,
   VKEY_ESCAPE,
   VKEY_SPACE,
   VKEY_PAGEUP,
   VKEY_PAGEDOWN,
   VKEY_END,
   VKEY_HOME,
   VKEY_LEFT,
   VKEY_UP,
   VKEY_RIGHT,
   VKEY_DOWN,
   VKEY_INSERT,
   VKEY_DELETE,
   VKEY_ENTER,
   VKEY_F1,
   VKEY_F2,
   VKEY_F3,
   VKEY_F4,
   VKEY_F5,
   VKEY_F6,
   VKEY_F7,
   VKEY_F8,
   VKEY_F9,
   VKEY_F10,
   VKEY_F11,
   VKEY_F12,
};

enum KeyModifier : unsigned char {
   MODIFIER_SHIFT = 1 << 0,
   MODIFIER_ALTERNATE = 1 << 1,
   MODIFIER_COMMAND = 1 << 2,
   MODIFIER_CONTROL = 1 << 3,
};

// One key press: a Unicode character (0 for keys without one), a VirtualKey (0 for plain characters)
// and the KeyModifier bits held.
struct VstKeyCode {
   int32_t character = 0;
   unsigned char virt = 0;
   unsigned char modifier = 0;
};

} // namespace VSTGUI
