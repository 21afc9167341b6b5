#include "Keyboard.h"

#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace VSTGUI::X11 {

Keyboard::~Keyboard() {
   xkb_state_unref(state);
   xkb_keymap_unref(keymap);
   xkb_context_unref(context);
}

bool Keyboard::setup(xcb_connection_t* c) {
   connection = c;
   if (!xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                    XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &xkbFirstEvent,
                                    nullptr))
      return false;
   deviceId = xkb_x11_get_core_keyboard_device_id(connection);
   context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
   if (deviceId < 0 || !context || !loadKeymap())
      return false;

   const uint16_t events = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY |
                           XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
   const uint16_t mapParts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS |
                             XCB_XKB_MAP_PART_MODIFIER_MAP | XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS |
                             XCB_XKB_MAP_PART_KEY_ACTIONS | XCB_XKB_MAP_PART_VIRTUAL_MODS |
                             XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
   xcb_xkb_select_events(connection, static_cast<xcb_xkb_device_spec_t>(deviceId), events, 0, events,
                         mapParts, mapParts, nullptr);
   return true;
}

bool Keyboard::loadKeymap() {
   auto* newKeymap =
       xkb_x11_keymap_new_from_device(context, connection, deviceId, XKB_KEYMAP_COMPILE_NO_FLAGS);
   if (!newKeymap)
      return false;
   auto* newState = xkb_x11_state_new_from_device(newKeymap, connection, deviceId);
   if (!newState) {
      xkb_keymap_unref(newKeymap);
      return false;
   }
   xkb_state_unref(state);
   xkb_keymap_unref(keymap);
   keymap = newKeymap;
   state = newState;
   return true;
}

void Keyboard::handleXkbEvent(const xcb_generic_event_t* event) {
   // Every XKB event starts with the same header: response type, XKB type, sequence, time, device.
   struct Header {
      uint8_t responseType;
      uint8_t xkbType;
      uint16_t sequence;
      xcb_timestamp_t time;
      uint8_t deviceID;
   };
   const auto* header = reinterpret_cast<const Header*>(event);
   if (header->deviceID != deviceId)
      return;
   switch (header->xkbType) {
   case XCB_XKB_NEW_KEYBOARD_NOTIFY:
   case XCB_XKB_MAP_NOTIFY:
      loadKeymap();
      break;
   case XCB_XKB_STATE_NOTIFY: {
      const auto* e = reinterpret_cast<const xcb_xkb_state_notify_event_t*>(event);
      if (state)
         xkb_state_update_mask(state, e->baseMods, e->latchedMods, e->lockedMods, e->baseGroup,
                               e->latchedGroup, e->lockedGroup);
      break;
   }
   default:
      break;
   }
}

namespace {

unsigned char virtualKeyFor(xkb_keysym_t sym) {
   switch (sym) {
   case XKB_KEY_BackSpace:
      return VKEY_BACK;
   case XKB_KEY_Tab:
   case XKB_KEY_ISO_Left_Tab:
      return VKEY_TAB;
   case XKB_KEY_Return:
      return VKEY_RETURN;
   case XKB_KEY_KP_Enter:
      return VKEY_ENTER;
   case XKB_KEY_Escape:
      return VKEY_ESCAPE;
   case XKB_KEY_space:
      return VKEY_SPACE;
   case XKB_KEY_Prior:
      return VKEY_PAGEUP;
   case XKB_KEY_Next:
      return VKEY_PAGEDOWN;
   case XKB_KEY_End:
   case XKB_KEY_KP_End:
      return VKEY_END;
   case XKB_KEY_Home:
   case XKB_KEY_KP_Home:
      return VKEY_HOME;
   case XKB_KEY_Left:
   case XKB_KEY_KP_Left:
      return VKEY_LEFT;
   case XKB_KEY_Up:
   case XKB_KEY_KP_Up:
      return VKEY_UP;
   case XKB_KEY_Right:
   case XKB_KEY_KP_Right:
      return VKEY_RIGHT;
   case XKB_KEY_Down:
   case XKB_KEY_KP_Down:
      return VKEY_DOWN;
   case XKB_KEY_Insert:
      return VKEY_INSERT;
   case XKB_KEY_Delete:
   case XKB_KEY_KP_Delete:
      return VKEY_DELETE;
   default:
      break;
   }
   if (sym >= XKB_KEY_F1 && sym <= XKB_KEY_F12)
      return static_cast<unsigned char>(VKEY_F1 + (sym - XKB_KEY_F1));
   return 0;
}

} // namespace

VstKeyCode Keyboard::translate(xcb_keycode_t keycode, uint16_t modifierState) const {
   VstKeyCode key;
   if (modifierState & XCB_MOD_MASK_SHIFT)
      key.modifier |= MODIFIER_SHIFT;
   if (modifierState & XCB_MOD_MASK_CONTROL)
      key.modifier |= MODIFIER_CONTROL;
   if (modifierState & XCB_MOD_MASK_1)
      key.modifier |= MODIFIER_ALTERNATE;
   if (!state)
      return key;
   key.virt = virtualKeyFor(xkb_state_key_get_one_sym(state, keycode));
   const uint32_t character = xkb_state_key_get_utf32(state, keycode);
   if (character >= 0x20 && character != 0x7f)
      key.character = static_cast<int32_t>(character);
   return key;
}

} // namespace VSTGUI::X11
