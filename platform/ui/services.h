#pragma once
// The installed user-interface services. Until something else is installed each
// accessor answers with the default of its kind: the program's Qt forms, which register
// themselves when the program links them (lirra_ui), else a headless form that answers
// like a user closing every window (Cancel, No or OK; dialogs cancelled; nothing opened;
// no connection) and reads the system clock. install() returns what was there before
// (null for the default); installing null restores the default. The caller keeps
// ownership of what it installs. Needs only QtCore.
#include <memory>

#include "platform/ui/clipboard.h"
#include "platform/ui/clock.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/messages.h"
#include "platform/ui/netprobe.h"
#include "platform/ui/shell.h"

namespace ui {

IMessageBoxes &messageBoxes();
IColorDialog &colorDialog();
IFontDialog &fontDialog();
IFileDialogs &fileDialogs();
IShell &shell();
IHelp &help();
IClock &clock();
INetProbe &netProbe();
IClipboard &clipboard();

IMessageBoxes *install(IMessageBoxes *s);
IColorDialog *install(IColorDialog *s);
IFontDialog *install(IFontDialog *s);
IFileDialogs *install(IFileDialogs *s);
IShell *install(IShell *s);
IHelp *install(IHelp *s);
IClock *install(IClock *s);
INetProbe *install(INetProbe *s);
IClipboard *install(IClipboard *s);

// Makers of the default forms; a null maker keeps the headless form.
struct DefaultServices {
    std::unique_ptr<IMessageBoxes> (*messageBoxes)() = nullptr;
    std::unique_ptr<IColorDialog> (*colorDialog)() = nullptr;
    std::unique_ptr<IFileDialogs> (*fileDialogs)() = nullptr;
    std::unique_ptr<IShell> (*shell)() = nullptr;
    std::unique_ptr<IHelp> (*help)() = nullptr;
    std::unique_ptr<INetProbe> (*netProbe)() = nullptr;
    std::unique_ptr<IFontDialog> (*fontDialog)() = nullptr;
    std::unique_ptr<IClipboard> (*clipboard)() = nullptr;
};
// Called once at start-up, before any service is used.
void registerDefaults(const DefaultServices &makers);

} // namespace ui
