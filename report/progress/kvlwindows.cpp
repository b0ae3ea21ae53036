#include "report/progress/kvlwindows.h"

#include "platform/ui/services.h"
#include "report/resources/kvlresources.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <utility>

void TkvlProgress::Execute(int MaxValue, const QString &Msg, bool ShowCancel, bool ShowProgress)
{
    FTerminated = false;
    FShowCancel = ShowCancel;
    FShowProgress = ShowProgress;
    FMax = std::max(0, MaxValue);
    FPosition = 0;
    FMessage = Msg;
    LayoutChanged();
    MessageChanged();
    PositionChanged();
    ShowWindow();
}

void TkvlProgress::Tick()
{
    if (FPosition >= 0 && FPosition < FMax)
        SetPosition(FPosition + 1);
}

void TkvlProgress::SetPosition(int Value)
{
    FPosition = std::clamp(Value, 0, FMax);
    PositionChanged();
}

void TkvlProgress::SetMessage(const QString &Value)
{
    FMessage = Value;
    MessageChanged();
}

void TkvlProgress::SetShowProgress(bool Value)
{
    FShowProgress = Value;
    LayoutChanged();
}

void TkvlProgress::SetTerminated(bool Value)
{
    FTerminated = Value;
    if (Value)
        CloseWindow();
}

std::unique_ptr<TkvlProgress> TkvlWindowFactory::CreateProgress() { return std::make_unique<TkvlProgress>(); }

std::optional<QString> TkvlWindowFactory::AskPassword() { return std::nullopt; }

TkvlInheritAnswer TkvlWindowFactory::AskInherit() { return TkvlInheritAnswer::Cancel; }

std::unique_ptr<TkvlDialogWindow> TkvlWindowFactory::CreateDialogWindow(bool ThreadSafe)
{
    return std::make_unique<TkvlDialogWindow>(ThreadSafe);
}

namespace {

TkvlWindowFactory *installedFactory = nullptr;

// Never-closed reads as "long ago" without overflowing the difference.
constexpr qint64 NeverClosed = std::numeric_limits<qint64>::min() / 2;
std::atomic<qint64> popupCloseTime{NeverClosed};

} // namespace

TkvlWindowFactory &kvlWindows()
{
    static TkvlWindowFactory base;
    return installedFactory ? *installedFactory : base;
}

TkvlWindowFactory *kvlInstallWindows(TkvlWindowFactory *Factory)
{
    return std::exchange(installedFactory, Factory);
}

void kvlRegisterWindowTexts()
{
    static const struct {
        const char *id;
        const char *text;
    } texts[] = {
        {"5000", "Password"},
        {"5001", "Inserisci la password:"},
        {"6000", "Inherit error"},
        {"6001", "Base and inherited reports have duplicate objects. What should we do?"},
        {"6002", "Delete duplicates"},
        {"6003", "Rename duplicates"},
    };
    TkvlResources &res = kvlResources();
    for (const auto &t : texts)
        if (res.IndexOf(QString::fromLatin1(t.id)) < 0)
            res.Add(QString::fromLatin1(t.id), QString::fromUtf8(t.text));
}

void kvlPopupFormClosed() { popupCloseTime = ui::clock().TickCount(); }

qint64 kvlPopupFormCloseTime() { return popupCloseTime; }

bool kvlPopupJustClosed(qint64 WithinMs) { return ui::clock().TickCount() - popupCloseTime < WithinMs; }
