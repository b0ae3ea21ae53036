#pragma once
// Qt forms of the services (the clock has none of its own: the system clock is the default).
// qtdefaults.cpp registers them as the defaults of every program that links lirra_ui.
#include "platform/ui/services.h"

#include <memory>

class QTranslator;

namespace ui::qt {

// Qt's own Italian texts (standard buttons "Sì", "No", "Annulla", the dialogs) for the
// running application, whatever the user's locale: the program speaks Italian. Answers the
// installed translator (owned by the application), or null when the file is not installed.
QTranslator *InstallItalianQtTranslations();

std::unique_ptr<IMessageBoxes> makeMessageBoxes();
std::unique_ptr<IColorDialog> makeColorDialog();
std::unique_ptr<IFontDialog> makeFontDialog();
std::unique_ptr<IFileDialogs> makeFileDialogs();
std::unique_ptr<IShell> makeShell();
std::unique_ptr<IHelp> makeHelp();
std::unique_ptr<INetProbe> makeNetProbe();
std::unique_ptr<IClipboard> makeClipboard();

} // namespace ui::qt
