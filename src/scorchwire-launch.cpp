#include "scorchwire-launch.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

extern char** environ;

// A double fork through the shell: the shell starts the program in the background and exits at once,
// so the only wait is for the shell itself, by its own pid, and the host's handling of its other
// children is left alone. The orphaned program is reaped by init (or the session's subreaper).
// posix_spawn rather than fork: the host's process has many threads.
bool launchDetached(const std::string& program, const std::string& argument) {
   const char* script = "\"$1\" \"$2\" </dev/null >/dev/null 2>&1 &";
   char* const argv[] = {const_cast<char*>("sh"),
                         const_cast<char*>("-c"),
                         const_cast<char*>(script),
                         const_cast<char*>("sh"),
                         const_cast<char*>(program.c_str()),
                         const_cast<char*>(argument.c_str()),
                         nullptr};
   pid_t shell = 0;
   if (posix_spawn(&shell, "/bin/sh", nullptr, nullptr, argv, environ) != 0)
      return false;
   int status = 0;
   pid_t reaped;
   do {
      reaped = waitpid(shell, &status, 0);
   } while (reaped < 0 && errno == EINTR);
   // A host that ignores SIGCHLD, or reaps every child itself, leaves nothing to collect: the shell has
   // run all the same.
   if (reaped < 0)
      return errno == ECHILD;
   return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
