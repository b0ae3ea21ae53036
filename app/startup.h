#pragma once

namespace lirracal {

// Where the user's locale names no language (C, POSIX) the format settings and Qt's default
// locale become Italian; otherwise they stay the user's.
void UseItalianFormatsWithoutLanguage();

// Everything before the event loop, in order: the formats above, library registrations, settings on
// AppPath + "LirraCalConf.ini", the main window, the data module; then the main
// window is shown. Needs a QApplication.
void StartUp();
// Frees the data module, the main window and, last, the settings.
void ShutDown();

// The program: QApplication, StartUp, event loop, ShutDown. Returns the exit code.
int runApplication(int argc, char **argv);

} // namespace lirracal
