#include "report/widgets/kvlparentform.h"

#include <QCoreApplication>
#include <utility>

namespace {

TkvlParentForm *parentForm = nullptr;

} // namespace

TkvlParentForm::TkvlParentForm()
{
    setObjectName(QStringLiteral("kvlParentForm"));
    setAttribute(Qt::WA_DontShowOnScreen);
    // The window's resources exist at once, so that controls placed on it can be prepared.
    ensurePolished();
    winId();
}

void TkvlParentForm::CreateControlHandle(QWidget *Control)
{
    if (!Control->parentWidget())
        Control->setParent(this);
    Control->ensurePolished();
    for (QWidget *child : Control->findChildren<QWidget *>())
        child->ensurePolished();
}

TkvlParentForm *kvlParentForm()
{
    if (!parentForm) {
        parentForm = new TkvlParentForm;
        static bool hooked = false;
        if (!std::exchange(hooked, true))
            qAddPostRoutine(EmptyParentForm);
    }
    return parentForm;
}

void EmptyParentForm()
{
    if (!parentForm)
        return;
    for (QObject *child : parentForm->children())
        if (auto *w = qobject_cast<QWidget *>(child))
            w->setParent(nullptr);
    delete std::exchange(parentForm, nullptr);
}
