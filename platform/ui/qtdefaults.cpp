// Linked whole into every program that links lirra_ui (see CMakeLists.txt): the Qt forms
// become the services' defaults before main() runs.
#include "platform/ui/qtservices.h"

namespace {

const bool registered = [] {
    using namespace ui::qt;
    ui::registerDefaults({makeMessageBoxes, makeColorDialog, makeFileDialogs, makeShell, makeHelp, makeNetProbe, makeFontDialog,
                          makeClipboard});
    return true;
}();

} // namespace
