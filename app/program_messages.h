// The main program's two message tables: numbers 20000 to 20225 (resource
// 78) and 1 to 264 (resource 79).
#pragma once

// Registers the program's resources and both tables; start-up and the tests call it once.
void RegisterProgramMessages();
