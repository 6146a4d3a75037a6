#include "platform/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/dirs.h"
#include "platform/files.h"

extern char** environ;

namespace {

// Starts `program` and waits for it; with `output` set its standard output is
// read through a pipe while it runs.
PlatResult Run(const char* program, const std::vector<std::string>& args, const char* workDir, std::string* output,
               int* exitCode) {
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
  int pipeFds[2] = {-1, -1};
  if (output) {
    output->clear();
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
      posix_spawn_file_actions_destroy(&actions);
      return PlatFailErrno(errno, "pipe");
    }
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid;
  int e = posix_spawnp(&pid, file.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (output) close(pipeFds[1]);
  if (e != 0) {
    if (output) close(pipeFds[0]);
    return PlatFailErrno(e, file.c_str());
  }
  if (output) {
    char buffer[4096];
    for (;;) {
      ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      output->append(buffer, static_cast<size_t>(n));
    }
    close(pipeFds[0]);
  }
  int status;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return PlatFailErrno(errno, "wait");
  }
  int code = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
  if (exitCode) *exitCode = code;
  return PLAT_OK;
}

}  // namespace

PlatResult PlatRunProgram(const char* program, const std::vector<std::string>& args, const char* workDir, int* exitCode) {
  return Run(program, args, workDir, nullptr, exitCode);
}

PlatResult PlatRunProgramOutput(const char* program, const std::vector<std::string>& args, std::string* output,
                                int* exitCode) {
  std::string ignored;
  return Run(program, args, nullptr, output ? output : &ignored, exitCode);
}
