#pragma once

// Registers every window, procedure and viewer the program has, as the main program does at
// start-up; tests that walk all the program's windows register them through the same call.
void RegisterProgramWindows();
