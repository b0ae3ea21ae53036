#pragma once

// How a report reports errors to the user.
enum TkvlSilentMode { simMessageBoxes, simSilent, simReThrow };
