// The window that asks an operator's name and password, and the screen lock
// that asks the password again before the screen comes back.
#pragma once

// PasswordWindow flags.
constexpr int PW_NAME_FIXED = 0x01;   // the name is shown, not edited
constexpr int PW_REPEAT = 0x02;       // the password is asked a second time

// Edits the name (15 characters) and the ten-character password in place,
// under the title message (0: "Wprowadź"). With PW_REPEAT a form accepted
// with two different entries is refused and both entries are cleared.
// Returns the key that ended the form (F2 accepts).
int PasswordWindow(char* name, char* password, int flags, int titleMessage);

// The lock of the lock timer and of Alt+W: a black screen of twinkling dots
// until a key; then, unless the lock-password switch is 'N' or no operator is
// logged in, until the operator's or the administrator's password is typed.
void ScreenSaverLock();

// (Re)starts the idle timer of the lock after the lock-minutes option; with
// 0 minutes no timer runs. The slot is kept in the Environment.
void StartLockTimer(int minutes);
