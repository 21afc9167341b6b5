#include "vstgui/lib/cfileselector.h"

#include "x11/Connection.h"
#include "x11/FrameWindow.h"

#include "vstgui/lib/cframe.h"
#include "vstgui/lib/platform/linux/x11platform.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace VSTGUI {

namespace {

constexpr uint64_t reapInterval = 20; // ms

std::vector<std::string> dialogPrograms() {
   std::vector<std::string> programs;
   const char* override = std::getenv("VSTGUI_LITE_FILE_DIALOG");
   if (override && *override) {
      std::string list(override);
      size_t start = 0;
      while (start <= list.size()) {
         const size_t end = list.find(':', start);
         const std::string entry =
             list.substr(start, end == std::string::npos ? std::string::npos : end - start);
         if (!entry.empty())
            programs.push_back(entry);
         if (end == std::string::npos)
            break;
         start = end + 1;
      }
      return programs;
   }
   return {"/usr/bin/zenity", "/usr/bin/kdialog"};
}

bool isKDialog(const std::string& program) {
   const size_t slash = program.rfind('/');
   return program.substr(slash == std::string::npos ? 0 : slash + 1) == "kdialog";
}

std::string withSlash(const std::string& folder) {
   return (folder.empty() || folder.back() == '/') ? folder : folder + '/';
}

} // namespace

// The running dialog program: its output pipe is watched by the run loop; once the pipe closes, a short
// timer reaps the program (without ever waiting for it) and hands its answer over.
class CNewFileSelector::Process final : public X11::IEventHandler, public X11::ITimerHandler {
public:
   explicit Process(CNewFileSelector* owner) : owner(owner) {}
   ~Process() { kill(); }

   // Ends the program and deletes the process object, later when it is delivering its answer right now.
   static void dispose(std::unique_ptr<Process> process) {
      if (!process)
         return;
      process->kill();
      if (process->delivering)
         process.release()->deleteRequested = true;
   }

   bool isActive() const { return pid > 0 || fd >= 0; }

   bool start(const std::vector<std::string>& arguments) {
      runLoop = X11::RunLoop::get();
      if (!runLoop)
         return false;
      int fds[2];
      if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
         return false;
      posix_spawn_file_actions_t actions;
      posix_spawn_file_actions_init(&actions);
      posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
      posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
      posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
      std::vector<char*> argv;
      for (const auto& a : arguments)
         argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
      posix_spawn_file_actions_destroy(&actions);
      ::close(fds[1]);
      if (error != 0) {
         ::close(fds[0]);
         pid = -1;
         return false;
      }
      fd = fds[0];
      runLoop->registerEventHandler(fd, this);
      return true;
   }

   // Ends the program at once and forgets it.
   void kill() {
      stopWatching();
      if (pid > 0) {
         ::kill(pid, SIGKILL);
         while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
         }
         pid = -1;
      }
   }

   void onEvent() override {
      if (fd < 0)
         return;
      char buffer[4096];
      while (true) {
         const ssize_t n = ::read(fd, buffer, sizeof(buffer));
         if (n > 0) {
            output.append(buffer, static_cast<size_t>(n));
            continue;
         }
         if (n < 0 && errno == EINTR)
            continue;
         if (n < 0 && errno == EAGAIN)
            return;
         break; // end of file or a broken pipe: the program is done with its answer
      }
      // Unregistering from inside the run loop's descriptor dispatch is left to the timer.
      if (!reaping) {
         reaping = true;
         runLoop->registerTimer(reapInterval, this);
      }
   }

   void onTimer() override {
      stopWatching();
      int status = 0;
      const pid_t done = pid > 0 ? waitpid(pid, &status, WNOHANG) : -1;
      if (done == 0)
         return; // still running; try at the next tick
      pid = -1;
      stopReaping();
      const bool chosen = done > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
      delivering = true;
      {
         X11::Connection::DispatchScope scope;
         SharedPointer<CNewFileSelector> guard(owner);
         owner->finished(chosen, output);
      }
      delivering = false;
      if (deleteRequested)
         delete this;
   }

private:
   void stopWatching() {
      if (fd >= 0) {
         runLoop->unregisterEventHandler(this);
         ::close(fd);
         fd = -1;
      }
      if (pid <= 0)
         stopReaping();
   }

   void stopReaping() {
      if (reaping) {
         reaping = false;
         runLoop->unregisterTimer(this);
      }
   }

   CNewFileSelector* owner;
   SharedPointer<X11::IRunLoop> runLoop;
   pid_t pid = -1;
   int fd = -1;
   bool reaping = false;
   bool delivering = false;
   bool deleteRequested = false;
   std::string output;
};

CNewFileSelector* CNewFileSelector::create(CFrame* parent, Style style) {
   for (const auto& program : dialogPrograms())
      if (access(program.c_str(), X_OK) == 0)
         return new CNewFileSelector(parent, style, program);
   return nullptr;
}

CNewFileSelector::CNewFileSelector(CFrame* frame, Style style, std::string program)
    : frame(frame), style(style), program(std::move(program)) {}

CNewFileSelector::~CNewFileSelector() noexcept {
   cancel();
}

void CNewFileSelector::setTitle(const UTF8String& newTitle) {
   title = newTitle;
}

void CNewFileSelector::setInitialDirectory(const UTF8String& path) {
   initialDirectory = path;
}

void CNewFileSelector::setDefaultSaveName(const UTF8String& name) {
   defaultSaveName = name;
}

void CNewFileSelector::setDefaultExtension(const CFileExtension& extension) {
   // The default extension is offered first.
   for (auto it = extensions.begin(); it != extensions.end(); ++it)
      if (it->getExtension() == extension.getExtension()) {
         extensions.erase(it);
         break;
      }
   extensions.insert(extensions.begin(), extension);
}

void CNewFileSelector::setAllowMultiFileSelection(bool state) {
   multiple = state;
}

void CNewFileSelector::addFileExtension(const CFileExtension& extension) {
   extensions.push_back(extension);
}

UTF8StringPtr CNewFileSelector::getSelectedFile(uint32_t index) const {
   return index < result.size() ? result[index].data() : nullptr;
}

bool CNewFileSelector::isRunning() const {
   return process && process->isActive();
}

std::vector<std::string> CNewFileSelector::arguments() const {
   std::vector<std::string> args{program};
   const std::string folder = initialDirectory.getString();
   if (isKDialog(program)) {
      if (!title.empty())
         args.insert(args.end(), {"--title", title.getString()});
      std::string filter;
      for (const auto& e : extensions)
         filter += (filter.empty() ? "" : "\n") + std::string("*.") + e.getExtension().getString() + "|" +
                   e.getDescription().getString();
      const std::string start = folder.empty() ? "." : folder;
      switch (style) {
      case kSelectFile:
         args.insert(args.end(), {"--getopenfilename", start});
         if (multiple)
            args.insert(args.end(), {"--multiple", "--separate-output"});
         break;
      case kSelectSaveFile:
         args.insert(args.end(), {"--getsavefilename", withSlash(start) + defaultSaveName.getString()});
         break;
      case kSelectDirectory:
         args.insert(args.end(), {"--getexistingdirectory", start});
         return args;
      }
      if (!filter.empty())
         args.push_back(filter);
      return args;
   }
   args.push_back("--file-selection");
   if (!title.empty())
      args.push_back("--title=" + title.getString());
   switch (style) {
   case kSelectFile:
      if (!folder.empty())
         args.push_back("--filename=" + withSlash(folder));
      if (multiple)
         args.insert(args.end(), {"--multiple", "--separator=\n"});
      break;
   case kSelectSaveFile:
      args.insert(args.end(), {"--save", "--confirm-overwrite"});
      args.push_back("--filename=" + withSlash(folder) + defaultSaveName.getString());
      break;
   case kSelectDirectory:
      args.push_back("--directory");
      if (!folder.empty())
         args.push_back("--filename=" + withSlash(folder));
      break;
   }
   if (style != kSelectDirectory && !extensions.empty()) {
      for (const auto& e : extensions)
         args.push_back("--file-filter=" + e.getDescription().getString() + " | *." +
                        e.getExtension().getString());
      args.push_back("--file-filter=All files | *");
   }
   return args;
}

bool CNewFileSelector::start() {
   if (isRunning())
      return false;
   result.clear();
   Process::dispose(std::move(process));
   process = std::make_unique<Process>(this);
   if (!process->start(arguments())) {
      process.reset();
      return false;
   }
   remember(); // running: the selector stays alive until it delivers or is cancelled
   if (frame)
      if (auto* window = frame->getPlatformFrame())
         window->addDialog(this);
   return true;
}

bool CNewFileSelector::run(CBaseObject* newDelegate) {
   if (isRunning() || !newDelegate)
      return false;
   delegate = newDelegate;
   delegate->remember();
   if (start())
      return true;
   std::exchange(delegate, nullptr)->forget();
   return false;
}

bool CNewFileSelector::run(CallbackFunc&& newCallback) {
   if (isRunning() || !newCallback)
      return false;
   callback = std::move(newCallback);
   if (start())
      return true;
   callback = nullptr;
   return false;
}

void CNewFileSelector::finished(bool chosen, const std::string& output) {
   if (frame)
      if (auto* window = frame->getPlatformFrame())
         window->removeDialog(this);
   if (chosen) {
      size_t start = 0;
      while (start < output.size()) {
         size_t end = output.find('\n', start);
         if (end == std::string::npos)
            end = output.size();
         if (end > start)
            result.emplace_back(output.substr(start, end - start));
         start = end + 1;
      }
   }
   Process::dispose(std::move(process));
   auto* target = std::exchange(delegate, nullptr);
   auto done = std::move(callback);
   callback = nullptr;
   if (target) {
      target->notify(this, kSelectEndMessage);
      target->forget();
   } else if (done) {
      done(this);
   }
   forget(); // the reference taken while running
}

void CNewFileSelector::cancel() {
   if (!isRunning())
      return;
   Process::dispose(std::move(process));
   if (frame)
      if (auto* window = frame->getPlatformFrame())
         window->removeDialog(this);
   if (auto* target = std::exchange(delegate, nullptr))
      target->forget();
   callback = nullptr;
   forget(); // the reference taken while running
}

} // namespace VSTGUI
