// One-line prompts on the status row: a path, the year of an import, an
// amount, a discount; and the redisplay of a window's gets.
#pragma once
#include <functional>

#include "env/text_ref.h"

// Shows the prompt on the status row (attribute 143), lets `addGet` put its
// gets after it from the given column, and runs them; the key that ended them.
int StatusRowPrompt(TextRef prompt, const std::function<void(int)>& addGet);

// Asks for a directory (or a bare drive) into `buffer` of `size` bytes,
// starting from "A:". 0 after Enter, the text trimmed and closed with "\"
// unless it ends with "\" or ":"; -1 otherwise.
int PodajSciezke(int forWriting, char* buffer, int size);
// The year, from 1980 on, starting from the working year; -1 when left.
int PodajRokImportu();
// Asks for an amount after `prompt`, starting from *value; Enter stores it
// and sets *accepted to 1, any other key sets it to 0.
void PodajKwote(double* value, int* accepted, const char* prompt);
// Asks by how many percent to raise a discount; 0 after Enter, -1 otherwise.
int PodajRabat(double* value);
// The Lp a register printout starts from (preset 1); -1 when left.
int numer_lp_wydruku();
// Draws the gets of the current window again with attribute 31.
void OdswiezGety();
