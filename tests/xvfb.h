// Test support: a private X server (Xvfb) on a free display, and running
// programs against it.
#pragma once

#include <fcntl.h>     // open
#include <poll.h>      // poll: wait for the display number with a limit
#include <signal.h>    // kill
#include <sys/wait.h>  // waitpid
#include <unistd.h>    // fork, exec, pipe, dup2

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

// Starts an Xvfb of the given screen size at 24 bits per pixel on the first
// free display (Xvfb picks it and reports it through -displayfd); stops it
// when destroyed.
class XvfbServer {
 public:
  explicit XvfbServer(const std::string& screen = "640x480x24") {
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string fd = std::to_string(fds[1]);
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      const int quiet = open("/dev/null", O_WRONLY);
      dup2(quiet, STDOUT_FILENO);
      dup2(quiet, STDERR_FILENO);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0",
             screen.c_str(), "-nolisten", "tcp", "-noreset", nullptr);
      _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0) {
      close(fds[0]);
      return;
    }
    std::string number;
    pollfd waiting = {fds[0], POLLIN, 0};
    constexpr int kStartMilliseconds = 20000;
    char c = 0;
    while (poll(&waiting, 1, kStartMilliseconds) > 0 &&
           read(fds[0], &c, 1) == 1 && c != '\n') {
      number += c;
    }
    close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
  }

  ~XvfbServer() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }

  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  // The display name (":N"), empty when the server did not start.
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;       // the server's process, which this object started
  std::string display_;  // ":N" once the server reported its display
};

// Runs a shell command line with DISPLAY set to the display and returns what
// it printed on standard output (standard error of every part is dropped).
inline std::string RunOn(const std::string& display,
                         const std::string& command) {
  const std::string line =
      "export DISPLAY=" + display + "; { " + command + "; } 2>/dev/null";
  std::string output;
  FILE* pipe = popen(line.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[256];
  size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
    output.append(buffer, n);
  }
  pclose(pipe);
  return output;
}

// A program started in a working directory with DISPLAY set, its standard
// output sent to a file; stopped (SIGKILL) if still running at destruction.
class ChildProgram {
 public:
  ChildProgram(const std::string& program, const std::string& directory,
               const std::string& display, const std::string& outputFile) {
    pid_ = fork();
    if (pid_ == 0) {
      if (chdir(directory.c_str()) != 0) _exit(126);
      setenv("DISPLAY", display.c_str(), 1);
      unsetenv("SDL_VIDEODRIVER");
      const int out =
          open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(out, STDOUT_FILENO);
      execl(program.c_str(), program.c_str(), nullptr);
      _exit(127);
    }
  }

  ~ChildProgram() {
    if (pid_ > 0 && !finished_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  // Whether the program is still running.
  bool Running() {
    if (finished_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      finished_ = true;
      status_ = status;
    }
    return !finished_;
  }

  // Waits up to the limit for the program to end; its exit status, or -1
  // when it did not end (or ended by a signal).
  int WaitForExit(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (Running() && std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!finished_) return -1;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
  }

 private:
  pid_t pid_ = -1;         // the program's process, started by this object
  bool finished_ = false;  // whether it has been waited for
  int status_ = 0;         // its wait status once finished
};
