#include "designer/widgets/dockstore.h"

#include "designer/widgets/dockbar.h"
#include "designer/widgets/dockform.h"
#include "designer/widgets/docksite.h"
#include "platform/rtl/inifile.h"
#include "platform/ui/windowbounds.h"

#include <QApplication>
#include <QScreen>
#include <QToolBar>

namespace {

const QString kFloat = QStringLiteral("Float");
const QString kVisible = QStringLiteral("Visible");
const QString kLeft = QStringLiteral("Left");
const QString kTop = QStringLiteral("Top");
const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");
const QString kDock5 = QStringLiteral("Dock5");
const QString kData = QStringLiteral("Data2005");
const QString kSize = QStringLiteral("Size");
const QString kMaximized = QStringLiteral("Maximized");

// No window or panel is larger than this, whatever the settings say.
constexpr int kMaxExtent = 32767;

int sane(int v) { return std::clamp(v, 0, kMaxExtent); }

QString formSection(const QWidget *form) { return QStringLiteral("Form5.") + QString::fromLatin1(form->metaObject()->className()); }

QWidget *formOwner(const QWidget *form)
{
    if (const auto *d = dynamic_cast<const TkvlDockForm *>(form))
        return d->Owner();
    return form->parentWidget() ? form->parentWidget()->window() : nullptr;
}

// The window is the one whose tool windows dock into its sites.
bool hostsDockSites(const QWidget *form)
{
    const QList<TkvlDockSite *> sites = form->findChildren<TkvlDockSite *>();
    return std::any_of(sites.begin(), sites.end(), [form](const TkvlDockSite *s) { return s->TopParentWin() == form; });
}

// A dock site by the name the settings keep: a plain name among the owner's own widgets,
// "Window.Site" in the program's top-level window of that name.
TkvlDockSite *findSite(const QWidget *owner, const QString &name)
{
    const auto byName = [](const QWidget *in, const QString &n) -> TkvlDockSite * {
        if (!in)
            return nullptr;
        for (TkvlDockSite *s : in->findChildren<TkvlDockSite *>())
            if (s->objectName().compare(n, Qt::CaseInsensitive) == 0)
                return s;
        return nullptr;
    };
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return byName(owner, name);
    const QString window = name.left(dot);
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName().compare(window, Qt::CaseInsensitive) == 0)
            return byName(w, name.mid(dot + 1));
    return nullptr;
}

} // namespace

void kvlSaveToolbarPosition(TCustomIniFile &ini, const QToolBar *toolbar)
{
    const QString section = QStringLiteral("ToolBar5.") + toolbar->objectName();
    const bool floating = kvlToolbarFloating(toolbar);
    const QPoint pos = floating ? ui::OuterBounds(kvlToolbarFloatWindow(toolbar)).topLeft() : toolbar->pos();
    ini.WriteBool(section, kFloat, floating);
    ini.WriteBool(section, kVisible, !toolbar->isHidden());
    ini.WriteInteger(section, kLeft, pos.x());
    ini.WriteInteger(section, kTop, pos.y());
    ini.WriteInteger(section, kWidth, toolbar->width());
    ini.WriteInteger(section, kHeight, toolbar->height());
    if (const TkvlControlBar *bar = kvlToolbarBar(toolbar))
        ini.WriteString(section, kDock5, bar->objectName());
}

void kvlRestoreToolbarPosition(TCustomIniFile &ini, QToolBar *toolbar)
{
    const QString section = QStringLiteral("ToolBar5.") + toolbar->objectName();
    const bool floating = kvlToolbarFloating(toolbar);
    const QPoint pos = floating ? ui::OuterBounds(kvlToolbarFloatWindow(toolbar)).topLeft() : toolbar->pos();
    const int left = ini.ReadInteger(section, kLeft, pos.x());
    const int top = ini.ReadInteger(section, kTop, pos.y());
    const int width = sane(ini.ReadInteger(section, kWidth, toolbar->width()));
    const int height = sane(ini.ReadInteger(section, kHeight, toolbar->height()));
    toolbar->hide();
    if (ini.ReadBool(section, kFloat, false)) {
        kvlFloatToolbar(toolbar, QRect(left, top, width, height));
    } else {
        const QWidget *parent = toolbar->parentWidget();
        const QString barName = ini.ReadString(section, kDock5, parent ? parent->objectName() : QString());
        QWidget *owner = kvlToolbarOwner(toolbar);
        TkvlControlBar *bar = nullptr;
        if (owner && !barName.isEmpty())
            for (TkvlControlBar *b : owner->findChildren<TkvlControlBar *>())
                if (b->objectName().compare(barName, Qt::CaseInsensitive) == 0 && b->window() == owner) {
                    bar = b;
                    break;
                }
        if (bar && bar != parent)
            bar->Insert(toolbar, QPoint(left, top));
        // Inside a bar a toolbar never stands left of or above it.
        if (kvlToolbarBar(toolbar))
            toolbar->setGeometry(std::max(0, left), std::max(0, top), width, height);
        else if (!kvlToolbarFloating(toolbar))
            toolbar->setGeometry(left, top, width, height);
        else
            toolbar->resize(width, height);
    }
    toolbar->setVisible(ini.ReadBool(section, kVisible, true));
    if (TkvlControlBar *bar = kvlToolbarBar(toolbar))
        bar->UpdateHeight();
}

void kvlSaveDock(TCustomIniFile &ini, TkvlDockSite *site)
{
    const QString section = QStringLiteral("Dock5.") + site->objectName();
    ini.WriteBinaryStream(section, kData, site->SaveLayout());
    ini.WriteInteger(section, kWidth, site->width());
    ini.WriteInteger(section, kHeight, site->height());
    ini.WriteInteger(section, kSize, site->PanelSize());
}

void kvlRestoreDock(TCustomIniFile &ini, TkvlDockSite *site)
{
    const QString section = QStringLiteral("Dock5.") + site->objectName();
    QByteArray layout;
    // Odd or foreign text reads as no bytes, and a layout that cannot be read is skipped:
    // either way the windows stay where they are.
    if (ini.ReadBinaryStream(section, kData, layout) > 0)
        site->LoadLayout(layout);
    const bool byWidth = kvlDockByWidth(site->Side());
    // A site never gets thicker than the window it sits in.
    const QWidget *host = site->window();
    const int limit = byWidth ? host->width() : host->height();
    const int width = ini.ReadInteger(section, kWidth, site->width());
    const int height = ini.ReadInteger(section, kHeight, site->height());
    site->SetPanelSize(std::clamp(ini.ReadInteger(section, kSize, 100), 0, std::max(limit, 100)));
    if (site->DockClientCount() > 0) {
        const int thickness = std::clamp(byWidth ? width : height, 0, std::max(0, limit));
        site->SetThickness(thickness);
        // A site stored collapsed comes back collapsed, and its grip opens it.
        if (thickness == 0) {
            site->SetThickness(site->PanelSize() > 0 ? site->PanelSize() : 100);
            site->ToggleCollapse();
        }
    } else {
        site->SetThickness(0); // an empty site takes no room
    }
}

void kvlSaveFormPosition(TCustomIniFile &ini, const QWidget *form)
{
    const QString section = formSection(form);
    const QRect r = form->isWindow() ? ui::OuterBounds(form) : form->geometry();
    const auto *dockForm = dynamic_cast<const TkvlDockForm *>(form);
    const TkvlDockSite *site = dockForm ? dockForm->HostDockSite() : nullptr;
    ini.WriteInteger(section, kLeft, r.left());
    ini.WriteInteger(section, kTop, r.top());
    ini.WriteInteger(section, kWidth, r.width());
    ini.WriteInteger(section, kHeight, r.height());
    ini.WriteBool(section, kMaximized, form->isWindow() && form->isMaximized());
    ini.WriteBool(section, kVisible, !form->isHidden());
    ini.WriteString(section, kDock5, site ? site->objectName() : QString());
}

void kvlRestoreFormPosition(TCustomIniFile &ini, QWidget *form)
{
    const QString section = formSection(form);
    auto *dockForm = dynamic_cast<TkvlDockForm *>(form);
    // A window inside another (a docked tool window) keeps its place; its floating size
    // is what the bounds give it.
    if (ini.ReadBool(section, kMaximized, false)) {
        if (form->isWindow())
            form->setWindowState(form->windowState() | Qt::WindowMaximized);
    } else {
        const QRect r = form->isWindow() ? ui::OuterBounds(form) : form->geometry();
        const int left = ini.ReadInteger(section, kLeft, r.left());
        const int top = ini.ReadInteger(section, kTop, r.top());
        const int width = std::max(1, sane(ini.ReadInteger(section, kWidth, r.width())));
        const int height = std::max(1, sane(ini.ReadInteger(section, kHeight, r.height())));
        if (form->isWindow()) {
            ui::SetOuterWidth(form, width);
            ui::SetOuterHeight(form, height);
            ui::SetOuterLeft(form, left);
            ui::SetOuterTop(form, top);
            ui::BringOnScreen(form);
        } else if (dockForm) {
            dockForm->SetUndockSize(QSize(width, height));
        }
    }
    const QString dock = ini.ReadString(section, kDock5, QString());
    if (dockForm && !dock.isEmpty())
        if (TkvlDockSite *site = findSite(formOwner(form), dock))
            site->Dock(dockForm);
    if (!hostsDockSites(form))
        form->setVisible(ini.ReadBool(section, kVisible, true));
}
