#pragma once

namespace lirracal {

// The program's start-up in its fixed order: library registrations, settings,
// main window, data module, event loop. Returns the exit code.
int runApplication(int argc, char **argv);

} // namespace lirracal
