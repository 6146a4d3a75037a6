#include "env/amount_words.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "env/numbers.h"
#include "env/services.h"

namespace {

// Words in the system's character set, each followed by one blank.
const char* const kUnits[20] = {
    "",
    "jeden ",
    "dwa ",
    "trzy ",
    "cztery ",
    "pi\x91\x8D ",                    // pięć
    "sze\x9E\x8D ",                   // sześć
    "siedem ",
    "osiem ",
    "dziewi\x91\x8D ",                // dziewięć
    "dziesi\x91\x8D ",                // dziesięć
    "jedena\x9E" "cie ",              // jedenaście
    "dwana\x9E" "cie ",               // dwanaście
    "trzyna\x9E" "cie ",              // trzynaście
    "czterna\x9E" "cie ",             // czternaście
    "pi\x91tna\x9E" "cie ",           // piętnaście
    "szesna\x9E" "cie ",              // szesnaście
    "siedemna\x9E" "cie ",            // siedemnaście
    "osiemna\x9E" "cie ",             // osiemnaście
    "dziewi\x91tna\x9E" "cie ",       // dziewiętnaście
};

const char* const kTens[10] = {
    "",
    "dziesi\x91\x8D ",                // dziesięć
    "dwadzie\x9E" "cia ",             // dwadzieścia
    "trzydzie\x9E" "ci ",             // trzydzieści
    "czterdzie\x9E" "ci ",            // czterdzieści
    "pi\x91\x8D" "dziesi\x86t ",      // pięćdziesiąt
    "sze\x9E\x8D" "dziesi\x86t ",     // sześćdziesiąt
    "siedemdziesi\x86t ",             // siedemdziesiąt
    "osiemdziesi\x86t ",              // osiemdziesiąt
    "dziewi\x91\x8D" "dziesi\x86t ",  // dziewięćdziesiąt
};

const char* const kHundreds[10] = {
    "",
    "sto ",
    ("dwie\x9E" "cie "),              // dwieście
    "trzysta ",
    "czterysta ",
    "pi\x91\x8Dset ",                 // pięćset
    "sze\x9E\x8Dset ",                // sześćset
    "siedemset ",
    "osiemset ",
    "dziewi\x91\x8Dset ",             // dziewięćset
};

// Group words by power of a thousand: the form for one, for 2-4, for the rest.
// Fields hold up to 20 digits, so the groups go up to 10^18.
constexpr int GROUPS = 7;
const char* const kGroupWords[GROUPS][3] = {
    {"", "", ""},
    {"tysi\x86" "c ", "tysi\x86" "ce ", "tysi\x91" "cy "},   // tysiąc, tysiące, tysięcy
    {"milion ", "miliony ", "milion\xA2w "},                 // milionów
    {"miliard ", "miliardy ", "miliard\xA2w "},
    {"bilion ", "biliony ", "bilion\xA2w "},
    {"biliard ", "biliardy ", "biliard\xA2w "},
    {"trylion ", "tryliony ", "trylion\xA2w "},
};

const char* const kZlote = "z\x92ote ";      // złote
const char* const kZlotych = "z\x92otych ";  // złotych
const char* const kGrosze = "grosze ";
const char* const kGroszy = "groszy ";
const char* const kZero = "zero ";
const char* const kMinus = "minus ";
const char* const kZl = "z\x92 ";            // zł

const char* const kShortDigits[10] = {
    "zer*", "jed*", "dwa*", "trz*", "czt*", "pi\x91*", "sze*", "sie*", "osi*", "dzi*",   // pię*
};

// Appends within a fixed buffer; never past its end.
class Appender {
 public:
  Appender(char* buffer, int size) : buffer_(buffer), size_(size) { buffer_[0] = '\0'; }
  void Add(const char* text) {
    while (*text != '\0' && length_ < size_ - 1) buffer_[length_++] = *text++;
    buffer_[length_] = '\0';
  }
  void Add(const char* text, int n) {
    for (int i = 0; i < n && text[i] != '\0' && length_ < size_ - 1; ++i) buffer_[length_++] = text[i];
    buffer_[length_] = '\0';
  }

 private:
  char* buffer_;
  int size_;
  int length_ = 0;
};

bool IsForeignCurrency(const char* currency) {
  return currency != nullptr && currency[0] != '\0' && std::strncmp(currency, "PLN", 3) != 0;
}

// Writes the decimal digits in words ("zero " for no value) and returns the
// last number of its lowest group: the units digit, or 10-19 for a teen.
int WriteNumber(Appender& out, const char* digits) {
  while (*digits == '0') ++digits;
  int length = static_cast<int>(std::strlen(digits));
  if (length == 0) {
    out.Add(kZero);
    return 0;
  }
  int groups = (length + 2) / 3;
  int last = 0;
  const char* p = digits;
  int firstLength = length - (groups - 1) * 3;
  for (int g = groups - 1; g >= 0; --g) {
    int d[3] = {0, 0, 0};
    int n = g == groups - 1 ? firstLength : 3;
    for (int i = 0; i < n; ++i) d[3 - n + i] = *p++ - '0';
    out.Add(kHundreds[d[0]]);
    if (d[1] == 1) {
      last = 10 + d[2];
      out.Add(kUnits[last]);
    } else {
      last = d[2];
      out.Add(kTens[d[1]]);
      out.Add(kUnits[d[2]]);
    }
    int value = d[0] * 100 + d[1] * 10 + d[2];
    if (g > 0 && value != 0) out.Add(kGroupWords[g][value == 1 ? 0 : (last >= 2 && last <= 4 ? 1 : 2)]);
  }
  return last;
}

}  // namespace

const char* slownie(double amount, const char* currency) {
  static char buffer[SLOWNIE_BUFFER_SIZE];
  Appender out(buffer, sizeof buffer);
  bool foreign = IsForeignCurrency(currency);
  // Whole grosze of the amount as the printed figure shows it.
  double rounded = ROUND(amount, 2);
  char digits[400];
  int n = std::isfinite(rounded) ? std::snprintf(digits, sizeof digits, "%.2f", std::fabs(rounded)) : -1;
  if (n < 4 || n - 3 > GROUPS * 3) {
    out.Add("********************");
    return buffer;
  }
  digits[n - 3] = '\0';
  const char* grosze = digits + n - 2;
  bool zero = std::strspn(digits, "0") == std::strlen(digits) && std::strcmp(grosze, "00") == 0;
  if (rounded < 0 && !zero) out.Add(kMinus);
  int last = WriteNumber(out, digits);
  if (foreign) {
    out.Add(currency, 3);
    out.Add(" ");
  } else {
    out.Add(last >= 2 && last <= 4 ? kZlote : kZlotych);
  }
  last = WriteNumber(out, grosze);
  if (!foreign) out.Add(last >= 2 && last <= 4 ? kGrosze : kGroszy);
  return buffer;
}

char* slownie_3(const char* text, char* output, int n, const char* currency) {
  bool foreign = IsForeignCurrency(currency);
  char* out = output;
  auto put = [&out](const char* words) {
    while (*words != '\0') *out++ = *words++;
  };
  bool separator = false;
  for (int i = 0; i < n && text[i] != '\0'; ++i) {
    char c = text[i];
    if (c == ' ') continue;
    if (!separator && (c == '.' || c == ',')) {
      separator = true;
      if (foreign) {
        *out++ = ' ';
        for (int k = 0; k < 3 && currency[k] != '\0'; ++k) *out++ = currency[k];
        *out++ = ' ';
      } else {
        put(kZl);
      }
    } else if (c >= '0' && c <= '9') {
      if (separator)
        *out++ = c;
      else
        put(kShortDigits[c - '0']);
    }
  }
  if (separator) put("/100");
  *out = '\0';
  return output;
}

void pisz_slownie(char* line1, char* line2, const char* text, int width) {
  constexpr int WIDTH_MAX = 100;
  if (width > WIDTH_MAX) width = WIDTH_MAX;
  if (width <= 0) return;
  const DivStrLine lines[2] = {{line1, width}, {line2, width}};
  DivStrLines(text, static_cast<int>(std::strlen(text)), lines, 2);
}
