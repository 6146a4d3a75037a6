#include "tests/fiscal/fake_port.h"

#include <string>

#include "platform/clock.h"

FakePort* FakePort::current = nullptr;

namespace {

bool Open(const char* device) {
  FakePort* port = FakePort::current;
  port->path = device;
  if (port->refuseOpen) return false;
  port->opens++;
  port->open = true;
  return true;
}

bool Configure(const PlatSerialSettings* settings) {
  FakePort::current->settings = *settings;
  return true;
}

void Write(unsigned char byte, int, bool* done) {
  FakePort* port = FakePort::current;
  port->written += static_cast<char>(byte);
  std::string answer = port->device->Feed(byte);
  if (!answer.empty() && port->lateMs > 0) port->readyAt = PlatMonotonicMs() + port->lateMs;
  for (char c : answer) port->input.push_back(static_cast<unsigned char>(c));
  *done = true;
}

void Read(unsigned char* byte, int, bool* done) {
  FakePort* port = FakePort::current;
  if (port->input.empty())
    for (char c : port->device->Idle()) port->input.push_back(static_cast<unsigned char>(c));
  *done = !port->input.empty() && PlatMonotonicMs() >= port->readyAt;
  if (!*done) return;
  *byte = port->input.front();
  port->input.pop_front();
  port->consumed += static_cast<char>(*byte);
}

void Purge() { FakePort::current->input.clear(); }

void Close() {
  FakePort::current->closes++;
  FakePort::current->open = false;
}

const ComPortSeam kSeam = {Open, Configure, Write, Read, Purge, Close};

}  // namespace

FakePort::FakePort() {
  current = this;
  SetComPortSeam(&kSeam);
}

FakePort::~FakePort() {
  SetComPortSeam(nullptr);
  current = nullptr;
}
