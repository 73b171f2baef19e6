#pragma once

class LoaderWindow;

// The loader's start-up road: shows the window, reads the update location from Settings.xml in
// the program folder, installs the pending updates and starts Bramblecot_Main from the program
// folder. Any failure shows one message ending in "Application terminated.", ends the program
// (Platform::terminate) and starts nothing. Returns the exit code.
int RunLoader(LoaderWindow& window);
