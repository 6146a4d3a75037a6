// The window of the main options (" Opcje główne ").
#pragma once

// Edits the main options; F2 saves them, switches the screen font, sets the
// lock timer anew and reloads them; Esc leaves everything as it was. When the
// computer's date was in use and no longer is, asks the working date.
void MainOptionsWindow();
