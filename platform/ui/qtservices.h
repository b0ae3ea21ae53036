#pragma once
// Qt implementations of the services; services.cpp makes one of each on first use.
#include "platform/ui/services.h"

#include <memory>

namespace ui::qt {

std::unique_ptr<IMessageBoxes> makeMessageBoxes();
std::unique_ptr<IColorDialog> makeColorDialog();
std::unique_ptr<IFileDialogs> makeFileDialogs();
std::unique_ptr<IShell> makeShell();
std::unique_ptr<IHelp> makeHelp();
std::unique_ptr<IClock> makeClock();
std::unique_ptr<INetProbe> makeNetProbe();

} // namespace ui::qt
