// A program run as a child process that a test can talk to while it runs: its
// standard output is read line by line, its standard error collected in a file,
// and it can be signalled and waited for.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

namespace zeptest {

class ChildProcess {
 public:
  // Starts `program` with `args` in the working directory, standard error into `errorFile`.
  ChildProcess(const std::string& program, const std::vector<std::string>& args, const std::string& errorFile) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    out_ = ::fdopen(fds[0], "r");
  }
  ~ChildProcess() {
    if (pid_ > 0 && !waited_) {
      ::kill(pid_, SIGKILL);
      wait();
    }
    if (out_ != nullptr) std::fclose(out_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0 && out_ != nullptr; }
  // Reads standard output until a line equal to `line`; false at its end.
  bool waitForLine(const std::string& line) {
    char buffer[256];
    while (out_ != nullptr && std::fgets(buffer, sizeof buffer, out_) != nullptr) {
      std::string got(buffer);
      if (!got.empty() && got.back() == '\n') got.pop_back();
      if (got == line) return true;
    }
    return false;
  }
  void signal(int sig) { ::kill(pid_, sig); }
  // The wait status (WIFSIGNALED, WTERMSIG ...).
  int wait() {
    // Standard output is drained so that the child never blocks on a full pipe.
    char buffer[256];
    while (out_ != nullptr && std::fgets(buffer, sizeof buffer, out_) != nullptr) {
    }
    int status = 0;
    ::waitpid(pid_, &status, 0);
    waited_ = true;
    return status;
  }

 private:
  pid_t pid_ = -1;
  std::FILE* out_ = nullptr;
  bool waited_ = false;
};

}  // namespace zeptest
