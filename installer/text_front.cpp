// The form on the terminal: its fields with their captions and hot letters,
// one command a line.
#include <cctype>
#include <exception>

#include "installer/front.h"
#include "installer/main_form.h"
#include "platform/paths.h"
#include "platform/screen_hook.h"

namespace {

void ShowForm(const TMainForm& form) {
  std::string text = "\n[Instalator]\n";
  text += "  Katalog docelowy (E): " + form.EditDir + "\n";
  // Where a drive letter lands on this system.
  std::string onDisk = PlatTranslatePath(form.EditDir.c_str());
  if (onDisk != form.EditDir) text += "      na dysku: " + onDisk + "\n";
  text += "  Skrót w folderze <Programy> (R): " + form.ShortcutText + "\n";
  for (size_t i = 0; i < form.ShortcutList.size(); i++)
    text += "      " + std::to_string(i + 1) + ". " + form.ShortcutList[i].text + "\n";
  text += std::string("  [") + (form.CBDesktop ? "X" : " ") + "] Umieść skrót na Pulpicie (U)\n";
  text += "  Katalogi... (K)   Czytaj... (C)   Instaluj (I)   Anuluj (A)\n";
  FrontPrint(text);
}

// The combo box takes a typed name, or the number of a listed shortcut.
void ChooseName(TMainForm* form) {
  std::string line;
  if (!FrontReadLine("Skrót w folderze <Programy>: ", &line) || line.empty()) return;
  bool digits = true;
  for (char c : line) digits = digits && std::isdigit(static_cast<unsigned char>(c));
  size_t number = digits && line.size() < 6 ? std::stoul(line) : 0;
  if (number >= 1 && number <= form->ShortcutList.size()) {
    form->shortcutSelected = int(number - 1);
    form->ShortcutText = form->ShortcutList[number - 1].text;
  } else {
    form->shortcutSelected = -1;
    form->ShortcutText = line;
  }
}

void Command(TMainForm* form, char key) {
  std::string line;
  switch (key) {
    case 'e':
      if (FrontReadLine("Katalog docelowy: ", &line) && !line.empty()) form->EditDir = line;
      form->EditDirExit();
      break;
    case 'k':
      form->BtnDirsClick();
      form->EditDirExit();   // the focus goes to the directory and leaves it again
      break;
    case 'r': ChooseName(form); break;
    case 'u': form->CBDesktop = !form->CBDesktop; break;
    case 'c': form->ReadmeBtnClick(); break;
    case 'i': form->BtnInstallClick(); break;
    case 'a': form->Button1Click(); break;
    case SCREEN_KEY_ESC: form->FormKeyPress(SCREEN_KEY_ESC); break;
    default: break;
  }
}

}  // namespace

void RunTextFront(TMainForm* form) {
  while (!form->closed) {
    ShowForm(*form);
    std::string line;
    if (!FrontReadLine("> ", &line)) {
      form->Button1Click();   // the end of the input closes the form as "Anuluj" does
      continue;
    }
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    try {
      Command(form, static_cast<char>(std::tolower(static_cast<unsigned char>(line[first]))));
    } catch (const std::exception& e) {
      ScreenMessageBox(SCREEN_BOX_ERROR, "Zelsetup", e.what());
    }
  }
}
