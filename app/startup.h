#pragma once

namespace lirracal {

// Everything before the event loop, in order: library registrations, settings on
// AppPath + "LirraCalConf.ini", the main window, the data module; then the main
// window is shown. Needs a QApplication.
void StartUp();
// Frees the data module, the main window and, last, the settings.
void ShutDown();

// The program: QApplication, StartUp, event loop, ShutDown. Returns the exit code.
int runApplication(int argc, char **argv);

} // namespace lirracal
