// The real SDL display on a virtual X screen of the benchmark's own (Xvfb),
// typed at like the headless display: each time the program blocks in its key
// wait, the next key of a script is pushed into SDL's event queue, so every key
// is taken from the window's own events after the frame before it was presented.
#pragma once
#include <SDL.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>

#include "platform/clock.h"
#include "ui/display.h"

class XvfbScreen {
 public:
  // Starts Xvfb on a free display of width x height and points DISPLAY at
  // it; `ready` stays false where Xvfb is missing or does not come up.
  XvfbScreen(int width, int height) {
    if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) return;
    int number = 200 + static_cast<int>(getpid() % 500);
    while (Exists("/tmp/.X" + std::to_string(number) + "-lock")) number++;
    const std::string display = ":" + std::to_string(number);
    const std::string size = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid = fork();
    if (pid == 0) {
      std::freopen("/dev/null", "w", stdout);
      std::freopen("/dev/null", "w", stderr);
      execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", size.c_str(), "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
    for (int i = 0; i < 100 && !Exists(socket); i++) usleep(100000);
    ready = Exists(socket);
    if (ready) setenv("DISPLAY", display.c_str(), 1);
  }
  ~XvfbScreen() {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
  }
  XvfbScreen(const XvfbScreen&) = delete;
  XvfbScreen& operator=(const XvfbScreen&) = delete;

  bool ready = false;

 private:
  static bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
  }
  pid_t pid = -1;
};

// The SDL backend with its key wait replaced by the script's next key; it
// counts the polls the program makes.
class TypedSdlWindow {
 public:
  // Keys: SDL key codes, or Text(c) for a character typed as text.
  static constexpr int Text(char c) { return -static_cast<unsigned char>(c); }

  TypedSdlWindow() : backend(*DisplaySdl()) {
    backend.poll = Poll;
    backend.wait = Wait;
  }
  // Makes this the program's display.
  void Select() {
    current = this;
    DisplaySelect(&backend);
  }
  void Type(std::deque<int> keys) { script = std::move(keys); }
  size_t KeysLeft() const { return script.size(); }

  long polls = 0;

 private:
  static int Poll(DisplayEvent* event) {
    current->polls++;
    return DisplaySdl()->poll(event);
  }
  static void Wait(int64_t timerDue, int64_t waitEnd, int keyWanted) {
    if (!keyWanted || current->script.empty()) {
      DisplaySdl()->wait(timerDue, waitEnd, keyWanted);
      return;
    }
    int key = current->script.front();
    current->script.pop_front();
    SDL_Event e{};
    if (key < 0) {
      e.type = SDL_TEXTINPUT;
      e.text.text[0] = static_cast<char>(-key);
    } else {
      e.type = SDL_KEYDOWN;
      e.key.keysym.sym = key;
    }
    SDL_PushEvent(&e);
  }

  static inline TypedSdlWindow* current = nullptr;
  DisplayBackend backend;
  std::deque<int> script;
};
