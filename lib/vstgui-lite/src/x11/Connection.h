// The process's one X connection. Opened by the first X11::RunLoop::init, it registers its descriptor with
// the run loop and reads events only when that descriptor is reported readable, never blocking. Every
// window of every frame and pop-up registers here and receives its events. Invalidated windows are
// painted once at the end of each run-loop entry (descriptor event or timer tick); an invalidation from
// outside such an entry posts a client message to the connection itself so that the run loop comes back.
// X errors (for example for a child window whose parent the host already destroyed) are counted, never
// fatal.
#pragma once

#include "Keyboard.h"

#include "vstgui/lib/cframe.h"
#include "vstgui/lib/platform/linux/x11platform.h"

#include <memory>
#include <unordered_map>
#include <vector>
#include <xcb/xcb.h>

typedef struct xcb_cursor_context_t xcb_cursor_context_t;

namespace VSTGUI::X11 {

// An object of the window layer that may be destroyed while one of its own methods runs.
class Disposable {
public:
   virtual ~Disposable() = default;
};

// Something that owns an X window: receives its events and paints when asked.
class WindowHandler : public Disposable {
public:
   virtual void handleEvent(const xcb_generic_event_t* event) = 0;
   virtual void paintPending() = 0;
};

class Connection final : public IEventHandler {
public:
   enum Atom { kXEmbedInfo, kWakeUp, kNetWmWindowType, kNetWmWindowTypePopupMenu, kNumAtoms };

   // The open connection, or null.
   static Connection* get();
   static void open(IRunLoop* runLoop);
   static void close();

   xcb_connection_t* xcb() const { return connection; }
   const xcb_screen_t* screen() const { return screenInfo; }
   bool isBroken() const;
   // Whether window pixels can be written as 32-bit little-endian BGRX rows (true on common servers).
   bool canPutImage() const { return imageFormatOK; }
   uint32_t maxRequestBytes() const { return maxRequest; }
   xcb_atom_t atom(Atom which) const { return atoms[which]; }
   const Keyboard* keyboard() const { return keyboardReady ? &keyboardState : nullptr; }
   xcb_cursor_t cursor(CCursorType type);

   void registerWindow(xcb_window_t window, WindowHandler* handler);
   void unregisterWindow(xcb_window_t window);

   // Asks for handler->paintPending() at the end of the current run-loop entry.
   void needsPaint(WindowHandler* handler);
   void forgetPaint(WindowHandler* handler);
   // Sends what is buffered. Writing may make xcb read events into its own queue, where the descriptor
   // no longer reports them: those are taken over and handled in this or the next run-loop entry.
   void flush();
   // Deletes the object at the end of the outermost run-loop entry (at once outside of one).
   void deleteLater(std::unique_ptr<Disposable> object);
   // After a request that waited for a reply outside a run-loop entry: events may have been queued by
   // xcb meanwhile, so make the run loop come back.
   void afterRoundTrip();

   // Brackets a run-loop entry; the outermost end paints what is pending and flushes.
   class DispatchScope {
   public:
      DispatchScope();
      ~DispatchScope();
      DispatchScope(const DispatchScope&) = delete;
      DispatchScope& operator=(const DispatchScope&) = delete;

   private:
      uint64_t generation;
      bool active;
   };

   uint32_t errorCount() const { return errors; }

   void onEvent() override;

private:
   Connection() = default;
   ~Connection();
   bool setUp(IRunLoop* runLoop);
   void dispatch(const xcb_generic_event_t* event);
   // Handles the events already read: taken over ones first, then xcb's queue; with readSocket, also
   // what the socket has. Consecutive pointer motions on one window collapse into the last.
   void dispatchAvailable(bool readSocket);
   void collectQueued();
   void endDispatch();
   void paintAll();
   void wakeUp();
   void markBroken();

   xcb_connection_t* connection = nullptr;
   const xcb_screen_t* screenInfo = nullptr;
   SharedPointer<IRunLoop> runLoop;
   bool registeredWithRunLoop = false;
   bool broken = false;
   bool imageFormatOK = false;
   uint32_t maxRequest = 0;
   xcb_atom_t atoms[kNumAtoms] = {};
   xcb_window_t wakeWindow = 0;
   bool wakeUpPosted = false;
   Keyboard keyboardState;
   bool keyboardReady = false;
   xcb_cursor_context_t* cursorContext = nullptr;
   std::unordered_map<int, xcb_cursor_t> cursors;
   std::unordered_map<xcb_window_t, WindowHandler*> windows;
   std::vector<WindowHandler*> pendingPaint;
   std::vector<xcb_generic_event_t*> stash; // events taken over from xcb's queue, oldest first
   std::vector<std::unique_ptr<Disposable>> graveyard;
   int dispatchDepth = 0;
   uint32_t errors = 0;
};

} // namespace VSTGUI::X11
