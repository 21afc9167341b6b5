#pragma once
#include <clap/clap.h>

#include "vstgui/lib/platform/linux/x11platform.h"

#include <cstdint>
#include <map>
#include <unordered_set>
#include <utility>
#include <vector>

class Scorchwire;

// The toolkit's run loop inside a CLAP host: every descriptor and timer the toolkit registers is
// carried by the host of one instance with an open editor, the primary plug-in. When the primary's
// editor closes, the registrations move to another instance with an open editor. One object per
// process, main thread only.
class ClapRunLoop : public VSTGUI::X11::IRunLoop, public VSTGUI::AtomicReferenceCounted {
public:
   explicit ClapRunLoop(Scorchwire* instance);
   ~ClapRunLoop() override;

   bool registerEventHandler(int fd, VSTGUI::X11::IEventHandler* handler) override;
   bool unregisterEventHandler(VSTGUI::X11::IEventHandler* handler) override;
   bool registerTimer(uint64_t interval, VSTGUI::X11::ITimerHandler* handler) override;
   bool unregisterTimer(VSTGUI::X11::ITimerHandler* handler) override;

   // An instance whose editor opens; the first one becomes the primary.
   void addPlugin(Scorchwire* p);
   // Moves every descriptor and timer to the host of instance.
   void setAsPrimaryPlugin(Scorchwire* instance);
   // An instance whose editor closed; a departing primary takes its registrations with it and hands
   // them to the next instance, if any.
   void removePlugin(Scorchwire* p);

   // The hosts' callbacks, received by any instance.
   void onTimer(clap_id timerId);
   void onPosixFd(int fd);

   // Whether any instance has an editor open.
   bool hasPlugins() const { return !plugins.empty(); }

private:
   std::unordered_set<Scorchwire*> plugins;
   Scorchwire* primaryPlugin = nullptr;
   std::vector<std::pair<int, VSTGUI::X11::IEventHandler*>> registeredEventHandlers;
   std::map<clap_id, VSTGUI::X11::ITimerHandler*> clapTimerIdToHandlerMap;
   std::vector<std::pair<uint64_t, VSTGUI::X11::ITimerHandler*>> registeredTimers;
};

// The shared run loop, when the installed one is ours.
ClapRunLoop* sharedClapRunLoop();

// Called when an instance creates its editor: sets the toolkit and its run loop up on first use
// (they stay until the process ends) and enrols the instance.
void addLinuxVSTGUIPlugin(Scorchwire* instance);
// Called when an instance's editor has closed (its idle timer already stopped).
void removeLinuxVSTGUIPlugin(Scorchwire* instance);
