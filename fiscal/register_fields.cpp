// Pieces every serial register driver builds its frames from, and the byte
// runs of the drivers that keep deadlines of their own.
#include <cmath>
#include <cstdlib>
#include <string>

#include "env/code_pages.h"
#include "env/numbers.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/register_drivers.h"
#include "fiscal/register_params.h"
#include "interchange/serial_port.h"
#include "platform/screen_hook.h"
#include "ui/message_box.h"

std::string KFPoleKodu(const char* code, int length, int take, int width, char fill) {
  std::string text(code, static_cast<size_t>(length));
  if (text.size() > static_cast<size_t>(take)) text.resize(static_cast<size_t>(take));
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  if (text.size() > static_cast<size_t>(width)) text = text.substr(text.size() - static_cast<size_t>(width));
  return std::string(static_cast<size_t>(width) - text.size(), fill) + text;
}

std::string KFCenaGrosze(double price, int width) {
  long long grosze = std::llabs(static_cast<long long>(ROUND(price * 100.0, 0)));
  std::string digits = std::to_string(grosze);
  if (digits.size() > static_cast<size_t>(width)) digits = digits.substr(digits.size() - static_cast<size_t>(width));
  return std::string(static_cast<size_t>(width) - digits.size(), '0') + digits;
}

double KFLiczbaPola(const char* text, int count) {
  std::string field(text, static_cast<size_t>(count));
  return std::strtod(field.c_str(), nullptr);
}

void KFBladKasy(const char* text) { Alarm(Utf8ToMazText(text).c_str()); }

int KFPiszRamke(const std::string& bytes, double seconds) {
  ClearComBuffer();
  SetComTimeout(seconds);
  KFSladPoczatek(1, static_cast<int>(bytes.size()));
  int error = 0, result = 0;
  for (char c : bytes) {
    if (!WaitComWrite(static_cast<unsigned char>(c), &error)) {
      result = -1;
      break;
    }
    KFSladBajt(static_cast<unsigned char>(c));
  }
  KFSladKoniec();
  return result;
}

int KFWyslijTekst(const std::string& bytes) {
  return KFWyslij(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
}

int KFOdbierzZnaki(char* buffer, int count) { return KFOdbierz(reinterpret_cast<unsigned char*>(buffer), count); }

int KFCzytajZnak(unsigned char* byte) {
  int error = 0;
  if (!WaitComReceived(&error)) return -1;
  *byte = ReadCom();
  KFSladBajt(*byte);
  return 0;
}

unsigned char KFXor(const std::string& bytes) {
  unsigned char sum = 0;
  for (char c : bytes) sum ^= static_cast<unsigned char>(c);
  return sum;
}

int KFEnq(int tries) {
  for (int i = 0; i < tries; i++) {
    unsigned char byte = 0;
    if (KFWyslijBajt(KF_ENQ) == 0 && KFOdbierzBajt(&byte) == 0 && byte == KF_ACK) return 0;
    ScreenWaitMs(500);
  }
  return -1;
}
