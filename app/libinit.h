#pragma once

namespace lirracal {

// Registers everything the report library and the script engine need before the
// program's own objects exist, in one fixed order. Runs once; later calls do nothing.
void InitializeLibraries();

} // namespace lirracal
