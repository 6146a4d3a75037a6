#include "platform/process.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/dirs.h"
#include "platform/files.h"

extern char** environ;

PlatResult PlatRunProgram(const char* program, const std::vector<std::string>& args, const char* workDir, int* exitCode) {
  if (exitCode) *exitCode = -1;
  if (!program || !*program) return PlatFail(PLAT_INVALID, "empty program name");
  std::string file = program;
  if (file.find('/') != std::string::npos) {
    // A path is taken from our own directory, not from `workDir`.
    if (file[0] != '/') file = PlatGetCwd() + file;
    file = PlatResolveName(file.c_str());
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (workDir && *workDir) {
    std::string dir = PlatResolveName(workDir);
    struct stat st;
    if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      posix_spawn_file_actions_destroy(&actions);
      // Told apart here: the child's chdir failing would look like a missing program.
      return PlatFail(PLAT_INVALID, (dir + ": no such working directory").c_str());
    }
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid;
  int e = posix_spawnp(&pid, file.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (e != 0) return PlatFailErrno(e, file.c_str());
  int status;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return PlatFailErrno(errno, "wait");
  }
  int code = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
  if (exitCode) *exitCode = code;
  return PLAT_OK;
}
