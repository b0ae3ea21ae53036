#include "app/libinit.h"

#include "report/resources/kvlresources.h"

namespace lirracal {

void InitializeLibraries()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // Each subsystem adds its registration call here, in this order:
    //  1. report object classes (template reading and the designer's palette)
    //  2. component and property editors, wizards
    //  3. script languages and script binding modules
    //  4. the designer window class
    //  5. string tables of the resource units
    //  6. the process-wide text layout object, record-source list and locks
    kvlInitResources(); // 5: the report library's core texts
}

} // namespace lirracal
