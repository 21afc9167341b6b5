// Key events through xkbcommon: the keymap and state of the core keyboard, kept up to date from the XKB
// extension's notifications, turn key codes into key symbols, characters and modifiers.
#pragma once

#include "vstgui/lib/cbuttonstate.h"

#include <cstdint>
#include <xcb/xcb.h>

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace VSTGUI::X11 {

class Keyboard {
public:
   ~Keyboard();
   // Sets up the XKB extension on the connection; false when the server lacks it.
   bool setup(xcb_connection_t* connection);
   uint8_t firstEvent() const { return xkbFirstEvent; }
   // Handles an XKB event (response type == firstEvent()).
   void handleXkbEvent(const xcb_generic_event_t* event);

   // The key's character (0 for keys without one), virtual key and modifiers.
   VstKeyCode translate(xcb_keycode_t keycode, uint16_t state) const;

private:
   bool loadKeymap();

   xcb_connection_t* connection = nullptr;
   xkb_context* context = nullptr;
   xkb_keymap* keymap = nullptr;
   xkb_state* state = nullptr;
   int32_t deviceId = -1;
   uint8_t xkbFirstEvent = 0;
};

} // namespace VSTGUI::X11
