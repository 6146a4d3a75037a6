#include "platform/serial.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

bool SpeedOf(int baud, speed_t* out) {
  static const struct {
    int baud;
    speed_t speed;
  } speeds[] = {{300, B300},     {600, B600},     {1200, B1200},   {2400, B2400},   {4800, B4800},
                {9600, B9600},   {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
  for (const auto& s : speeds) {
    if (s.baud == baud) {
      *out = s.speed;
      return true;
    }
  }
  return false;
}

// Waits until the port is ready for `events`; true when it is. A hung-up line
// is never ready: the wait then lasts its whole time, as a blocking call would.
bool WaitReady(PlatSerial port, short events, int timeoutMs) {
  pollfd p{port, events, 0};
  int n;
  do {
    n = poll(&p, 1, timeoutMs < 0 ? 0 : timeoutMs);
  } while (n < 0 && errno == EINTR);
  if (n > 0 && (p.revents & events)) return true;
  if (n > 0 && timeoutMs > 0) poll(nullptr, 0, timeoutMs);
  return false;
}

}  // namespace

PlatResult PlatSerialOpen(const char* device, PlatSerial* out) {
  *out = PLAT_NO_SERIAL;
  if (!device || !*device) return PlatFail(PLAT_INVALID, "no serial device");
  int fd = open(device, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return PlatFailErrno(errno, device);
  if (!isatty(fd)) {
    close(fd);
    return PlatFail(PLAT_INVALID, "not a serial device");
  }
  if (ioctl(fd, TIOCEXCL) != 0) {
    int e = errno;
    close(fd);
    return PlatFailErrno(e, device);
  }
  *out = fd;
  return PLAT_OK;
}

PlatResult PlatSerialConfigure(PlatSerial port, const PlatSerialSettings* s) {
  termios t{};
  if (tcgetattr(port, &t) != 0) return PlatFailErrno(errno, "tcgetattr");
  t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
  t.c_oflag &= ~OPOST;
  t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag |= CREAD | CLOCAL;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  if (s->baud != 0) {
    speed_t speed;
    if (!SpeedOf(s->baud, &speed)) return PlatFail(PLAT_INVALID, "unknown speed");
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
  }
  if (s->parity == PLAT_PARITY_NONE) {
    t.c_cflag &= ~(PARENB | PARODD);
  } else if (s->parity == PLAT_PARITY_EVEN) {
    t.c_cflag |= PARENB;
    t.c_cflag &= ~PARODD;
  }
  if (s->dataBits == 7 || s->dataBits == 8) {
    t.c_cflag &= ~CSIZE;
    t.c_cflag |= s->dataBits == 7 ? CS7 : CS8;
  }
  if (s->stopBits == 1) t.c_cflag &= ~CSTOPB;
  if (s->stopBits == 2) t.c_cflag |= CSTOPB;
  if (s->rtsCts)
    t.c_cflag |= CRTSCTS;
  else
    t.c_cflag &= ~CRTSCTS;
  if (tcsetattr(port, TCSANOW, &t) != 0) return PlatFailErrno(errno, "tcsetattr");
  return PLAT_OK;
}

PlatResult PlatSerialWriteByte(PlatSerial port, unsigned char byte, int timeoutMs, bool* done) {
  *done = false;
  if (port == PLAT_NO_SERIAL) return PlatFail(PLAT_INVALID, "serial port not open");
  ssize_t n = write(port, &byte, 1);
  if (n < 0 && (errno == EAGAIN || errno == EINTR) && WaitReady(port, POLLOUT, timeoutMs))
    n = write(port, &byte, 1);
  if (n == 1) {
    *done = true;
    return PLAT_OK;
  }
  if (n < 0 && errno != EAGAIN && errno != EINTR) return PlatFailErrno(errno, "serial write");
  return PLAT_OK;
}

PlatResult PlatSerialReadByte(PlatSerial port, unsigned char* byte, int timeoutMs, bool* done) {
  *done = false;
  if (port == PLAT_NO_SERIAL) return PlatFail(PLAT_INVALID, "serial port not open");
  if (!WaitReady(port, POLLIN, timeoutMs)) return PLAT_OK;
  ssize_t n = read(port, byte, 1);
  if (n == 1) {
    *done = true;
    return PLAT_OK;
  }
  if (n < 0 && errno != EAGAIN && errno != EINTR) {
    PlatResult failed = PlatFailErrno(errno, "serial read");
    if (timeoutMs > 0) poll(nullptr, 0, timeoutMs);   // a dead line must not turn the caller's retries into a busy loop
    return failed;
  }
  return PLAT_OK;
}

PlatResult PlatSerialPurgeInput(PlatSerial port) {
  if (port == PLAT_NO_SERIAL) return PlatFail(PLAT_INVALID, "serial port not open");
  return tcflush(port, TCIFLUSH) == 0 ? PLAT_OK : PlatFailErrno(errno, "tcflush");
}

PlatResult PlatSerialClose(PlatSerial port) {
  if (port == PLAT_NO_SERIAL) return PlatFail(PLAT_INVALID, "serial port not open");
  return close(port) == 0 ? PLAT_OK : PlatFailErrno(errno, "close");
}
