#include "tests/fiscal/pty_printer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

PtyLine::PtyLine(LineDevice* device) : device_(device) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) std::abort();
  path_ = ptsname(master_);
  // Held open (raw, no echo) so the line stays up between the program's opens.
  line_ = open(path_.c_str(), O_RDWR | O_NOCTTY);
  termios t{};
  tcgetattr(line_, &t);
  cfmakeraw(&t);
  tcsetattr(line_, TCSANOW, &t);
  worker_ = std::thread([this] { Run(); });
}

PtyLine::~PtyLine() {
  stop_ = true;
  worker_.join();
  close(line_);
  close(master_);
}

void PtyLine::Run() {
  while (!stop_) {
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, 10) <= 0 || !(p.revents & POLLIN)) continue;
    unsigned char c;
    if (read(master_, &c, 1) != 1) continue;
    std::string reply = device_->Feed(c);
    if (!reply.empty() && write(master_, reply.data(), reply.size()) < 0) continue;
  }
}
