#include "Options.h"
#include "Session.h"

#include "ParentWindow.h"

#include "AudioFile.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

namespace claphost {

namespace {
std::atomic<bool> interrupted{false};

// Plays a file through the plug-in on an audio thread at real-time pace, looping, output discarded.
class Player {
public:
   Player(host::PluginInstance& instance, std::vector<float> left, std::vector<float> right, double rate,
          uint32_t block)
       : instance_(instance), left_(std::move(left)), right_(std::move(right)), rate_(rate), block_(block) {
      thread_ = std::thread([this] { run(); });
   }
   ~Player() {
      stop_ = true;
      thread_.join();
   }

private:
   void run() {
      host::AudioThread::Scope audioRole;
      if (!instance_.startProcessing())
         return;
      std::vector<float> outL(block_), outR(block_);
      host::InputEvents none;
      host::OutputEvents outEvents;
      const auto transport = host::makeTransport(CLAP_TRANSPORT_IS_PLAYING | CLAP_TRANSPORT_HAS_TEMPO);
      const auto period = std::chrono::duration<double>(block_ / rate_);
      auto next = std::chrono::steady_clock::now();
      size_t pos = 0;
      while (!stop_ && !left_.empty()) {
         const auto n = static_cast<uint32_t>(std::min<size_t>(block_, left_.size() - pos));
         const float* in[2] = {left_.data() + pos, right_.data() + pos};
         float* out[2] = {outL.data(), outR.data()};
         outEvents.clear();
         instance_.process(in, out, n, none, outEvents, &transport);
         pos = (pos + n) % left_.size();
         next += std::chrono::duration_cast<std::chrono::steady_clock::duration>(period);
         std::this_thread::sleep_until(next);
      }
      instance_.stopProcessing();
   }

   host::PluginInstance& instance_;
   std::vector<float> left_, right_;
   double rate_;
   uint32_t block_;
   std::atomic<bool> stop_{false};
   std::thread thread_;
};

// One instance with its editor embedded in a window of its own.
struct EditorSession {
   Session session;
   std::unique_ptr<host::ParentWindow> window;
   const clap_plugin_gui_t* gui = nullptr;
   bool created = false;

   // x: where the window goes on the screen.
   bool open(const Options& opt, double rate, int16_t x, std::string& error) {
      if (!session.open(opt.plugin, error))
         return false;
      auto& inst = *session.instance;
      host::InputEvents sets;
      host::OutputEvents ignored;
      Session::addSets(opt, sets);
      inst.flush(sets, ignored);
      if (!inst.activate(rate, 1, opt.block)) {
         error = "activate failed";
         return false;
      }
      gui = inst.gui();
      if (!gui || !gui->is_api_supported(inst.plugin(), CLAP_WINDOW_API_X11, false)) {
         error = "the plug-in has no X11 editor";
         return false;
      }
      if (!gui->create(inst.plugin(), CLAP_WINDOW_API_X11, false)) {
         error = "gui.create failed";
         return false;
      }
      created = true;
      gui->set_scale(inst.plugin(), opt.scale);
      uint32_t w = 0, h = 0;
      if (!gui->get_size(inst.plugin(), &w, &h) || w == 0 || h == 0) {
         error = "gui.get_size failed";
         return false;
      }
      window = std::make_unique<host::ParentWindow>(w, h, "Scorchwire", x);
      if (!window->ok()) {
         error = "cannot open the X display";
         return false;
      }
      clap_window_t parent{};
      parent.api = CLAP_WINDOW_API_X11;
      parent.x11 = window->id();
      if (!gui->set_parent(inst.plugin(), &parent)) {
         error = "gui.set_parent failed";
         return false;
      }
      gui->show(inst.plugin());
      // --size acts as a user dragging the window's corner: the plug-in adjusts the request, then
      // the window and the editor take the adjusted size.
      if (opt.width && opt.height && gui->can_resize(inst.plugin())) {
         w = opt.width;
         h = opt.height;
         if (gui->adjust_size(inst.plugin(), &w, &h) && gui->set_size(inst.plugin(), w, h))
            window->resize(w, h);
      }
      return true;
   }

   void close() {
      if (created) {
         gui->hide(session.instance->plugin());
         gui->destroy(session.instance->plugin());
         created = false;
      }
   }
};
} // namespace

int runGui(const Options& opt) {
   std::signal(SIGINT, [](int) { interrupted = true; });
   std::signal(SIGTERM, [](int) { interrupted = true; });

   std::vector<float> left, right;
   double rate = opt.rate.value_or(48000.0);
   if (!opt.in.empty()) {
      double fileRate = 0;
      std::string error;
      if (!readStereo(opt.in, left, right, fileRate, error)) {
         std::fprintf(stderr, "claphost: %s\n", error.c_str());
         return 1;
      }
      rate = opt.rate.value_or(fileRate);
   }

   // The instances' windows side by side, so that none hides another.
   std::vector<std::unique_ptr<EditorSession>> editors;
   int16_t x = 0;
   for (int i = 0; i < opt.instances; ++i) {
      auto editor = std::make_unique<EditorSession>();
      std::string error;
      const bool opened = editor->open(opt, rate, x, error);
      if (editor->window)
         x = static_cast<int16_t>(x + editor->window->width());
      if (!opened) {
         std::fprintf(stderr, "claphost: %s\n", error.c_str());
         editor->close();
         for (auto& e : editors)
            e->close();
         return 1;
      }
      editors.push_back(std::move(editor));
   }

   std::unique_ptr<Player> player;
   if (!left.empty())
      player = std::make_unique<Player>(*editors.front()->session.instance, left, right, rate, opt.block);

   std::vector<host::Host*> hosts;
   for (auto& e : editors)
      hosts.push_back(e->session.host.get());
   const auto start = std::chrono::steady_clock::now();
   bool shotOk = true;
   while (!interrupted) {
      host::Host::runLoops(hosts, 10);
      bool open = true;
      for (auto& e : editors)
         open = e->window->pump() && open;
      if (!open)
         break;
      if (!opt.screenshot.empty() &&
          std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(opt.afterMs)) {
         shotOk = editors.front()->window->saveScreenshot(opt.screenshot);
         break;
      }
   }

   player.reset();
   for (auto& e : editors) {
      e->close();
      e->session.instance->deactivate();
   }
   editors.clear();
   if (!shotOk) {
      std::fprintf(stderr, "claphost: could not save the screenshot %s\n", opt.screenshot.c_str());
      return 1;
   }
   return 0;
}

} // namespace claphost
