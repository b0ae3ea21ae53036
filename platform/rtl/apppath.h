#pragma once
#include <QString>

namespace rtl {

// Folder of the program, ending with '/'. LIRRACAL_HOME overrides it
// (tests, installs into read-only folders).
QString AppPath();

} // namespace rtl
