#pragma once
// The installed user-interface services. Until something else is installed each
// accessor answers with the Qt implementation. install() returns what was there
// before (null for the Qt default); installing null restores the default.
// The caller keeps ownership of what it installs.
#include "platform/ui/clock.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/messages.h"
#include "platform/ui/netprobe.h"
#include "platform/ui/shell.h"

namespace ui {

IMessageBoxes &messageBoxes();
IColorDialog &colorDialog();
IFileDialogs &fileDialogs();
IShell &shell();
IHelp &help();
IClock &clock();
INetProbe &netProbe();

IMessageBoxes *install(IMessageBoxes *s);
IColorDialog *install(IColorDialog *s);
IFileDialogs *install(IFileDialogs *s);
IShell *install(IShell *s);
IHelp *install(IHelp *s);
IClock *install(IClock *s);
INetProbe *install(INetProbe *s);

} // namespace ui
