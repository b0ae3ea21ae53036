#include "platform/ui/services.h"

#include "platform/ui/qtservices.h"

namespace ui {

namespace {

// One slot per service: what is installed, else a Qt default made on first use.
template <class I>
struct Slot {
    I *installed = nullptr;
    std::unique_ptr<I> fallback;

    I &get(std::unique_ptr<I> (*make)())
    {
        if (installed)
            return *installed;
        if (!fallback)
            fallback = make();
        return *fallback;
    }
    I *swap(I *s)
    {
        I *old = installed;
        installed = s;
        return old;
    }
};

Slot<IMessageBoxes> gMessages;
Slot<IColorDialog> gColor;
Slot<IFileDialogs> gFiles;
Slot<IShell> gShell;
Slot<IHelp> gHelp;
Slot<IClock> gClock;
Slot<INetProbe> gNet;

} // namespace

IMessageBoxes &messageBoxes() { return gMessages.get(qt::makeMessageBoxes); }
IColorDialog &colorDialog() { return gColor.get(qt::makeColorDialog); }
IFileDialogs &fileDialogs() { return gFiles.get(qt::makeFileDialogs); }
IShell &shell() { return gShell.get(qt::makeShell); }
IHelp &help() { return gHelp.get(qt::makeHelp); }
IClock &clock() { return gClock.get(qt::makeClock); }
INetProbe &netProbe() { return gNet.get(qt::makeNetProbe); }

IMessageBoxes *install(IMessageBoxes *s) { return gMessages.swap(s); }
IColorDialog *install(IColorDialog *s) { return gColor.swap(s); }
IFileDialogs *install(IFileDialogs *s) { return gFiles.swap(s); }
IShell *install(IShell *s) { return gShell.swap(s); }
IHelp *install(IHelp *s) { return gHelp.swap(s); }
IClock *install(IClock *s) { return gClock.swap(s); }
INetProbe *install(INetProbe *s) { return gNet.swap(s); }

} // namespace ui
