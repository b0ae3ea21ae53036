#include "report/widgets/kvlwidgetwindows.h"

#include "report/progress/kvlwindows.h"
#include "report/widgets/kvldialogpageform.h"
#include "report/widgets/kvlinheritform.h"
#include "report/widgets/kvlpasswordform.h"
#include "report/widgets/kvlprogressform.h"

#include <QCoreApplication>
#include <QThread>

namespace {

class TkvlWidgetWindows final : public TkvlWindowFactory {
public:
    std::unique_ptr<TkvlProgress> CreateProgress() override { return std::make_unique<TkvlProgressForm>(); }

    std::optional<QString> AskPassword() override
    {
        TkvlPasswordForm form;
        if (form.exec() != QDialog::Accepted)
            return std::nullopt;
        return form.Password();
    }

    TkvlInheritAnswer AskInherit() override
    {
        TkvlInheritErrorForm form;
        form.exec();
        return form.Answer();
    }

    // Widgets exist on the user-interface thread only: a page made elsewhere (a template
    // read on another thread) gets the window of a program without windows.
    std::unique_ptr<TkvlDialogWindow> CreateDialogWindow(bool ThreadSafe) override
    {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            return TkvlWindowFactory::CreateDialogWindow(ThreadSafe);
        return std::make_unique<TkvlDialogForm>(ThreadSafe);
    }
};

} // namespace

void kvlInstallWidgetWindows()
{
    static TkvlWidgetWindows windows;
    kvlRegisterWindowTexts();
    kvlInstallWindows(&windows);
}
