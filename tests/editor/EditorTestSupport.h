// What the editor tests need of a DAW: the built plug-in loaded once, instances each in a host of
// their own with a top-level window for the editor, the hosts' poll loops, the window's pixels, and the
// plug-in's standard output.
#pragma once
#include "Host.h"
#include "ParentWindow.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"

#include <clap/clap.h>

class Scorchwire;
class ScorchwireEditor;

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace editortest {

constexpr uint32_t kBackground = 0x303080; // (48, 48, 128)

// What fn wrote on the process's file descriptor 1 (or 2), the plug-in's included.
std::string captureOutput(int fd, const std::function<void()>& fn);
inline std::string captureStdout(const std::function<void()>& fn) {
   return captureOutput(1, fn);
}
inline std::string captureStderr(const std::function<void()>& fn) {
   return captureOutput(2, fn);
}
// The log lines of out written under a function name, message part only ("" for markers).
std::vector<std::string> logMessages(const std::string& out, const std::string& function);
// The function names of out's log lines, in order.
std::vector<std::string> logFunctions(const std::string& out);

// The built bundle's shared object, loaded once for the run, as a DAW keeps a plug-in loaded.
const host::PluginLibrary& scorchwire();

// Window pixels, 0xRRGGBB row by row.
struct Image {
   uint32_t width = 0, height = 0;
   std::vector<uint32_t> pixels;
   uint32_t at(uint32_t x, uint32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
   // Pixels of the colour in [left, right) x [top, bottom).
   size_t count(uint32_t left, uint32_t top, uint32_t right, uint32_t bottom, uint32_t rgb) const;
   size_t count(uint32_t rgb) const { return count(0, 0, width, height, rgb); }
};
// A PNG as written by claphost; empty when it cannot be read.
Image readPng(const std::string& path);

// One instance of a plug-in in a host of its own, with the host's window for the editor, driven as a
// DAW drives it: gui.create, set_scale, get_size, set_parent, show; hide, destroy.
class EditorHost {
public:
   explicit EditorHost(host::HostOptions options = {}, const host::PluginLibrary& library = scorchwire());
   // Adopts an instance created in this process for this host (see InProcessEditor).
   EditorHost(host::HostOptions options,
              const std::function<const clap_plugin_t*(const clap_host_t*)>& create);
   ~EditorHost();

   bool isApiSupported(const char* api, bool floating) const;
   // gui.create, or createEditor when the test builds the editor itself.
   bool create(const std::function<bool()>& createEditor = {});
   // Size query, window (at x on the screen) and set_parent at the scale given before.
   bool attach(double scale = 1.0, int16_t x = 0);
   bool open(double scale = 1.0, int16_t x = 0) { return create() && attach(scale, x); }
   // The host's resize: adjusted by the plug-in, then given to the window and the editor.
   std::pair<uint32_t, uint32_t> resize(uint32_t width, uint32_t height);
   void close();
   bool isOpen() const { return created; }
   // Destroys the instance (with whatever editor it still has).
   void destroyInstance();

   std::pair<uint32_t, uint32_t> size() const;
   std::pair<uint32_t, uint32_t> adjust(uint32_t width, uint32_t height) const;
   Image capture() const;

   const clap_plugin_t* plugin() const { return instance->plugin(); }
   host::Host host;
   std::unique_ptr<host::PluginInstance> instance;
   const clap_plugin_gui_t* gui = nullptr;
   std::unique_ptr<host::ParentWindow> window;

private:
   bool created = false;
};

// Turns the poll loops of the hosts (one DAW main thread) for about ms milliseconds.
void pump(const std::vector<EditorHost*>& hosts, int ms);

// The editor the GUI's create makes for an instance linked into this process (enrolled in the run
// loop, attached to the instance, talking to it through its wrapper); owned by the instance.
ScorchwireEditor* createInProcessEditor(Scorchwire* instance);

// A stereo 16-bit WAV at 44100 Hz of a 441 Hz sine at the given peak, for claphost's --in.
void writeSine(const std::string& path, double peak, int seconds);

// The open file descriptors of this process.
size_t openDescriptorCount();

} // namespace editortest
