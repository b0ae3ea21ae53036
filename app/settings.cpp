#include "app/settings.h"

#include "app/fmain.h"
#include "app/globals.h"
#include "platform/ui/windowbounds.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

const QString kKeys[4] = {QStringLiteral("Top"), QStringLiteral("Left"), QStringLiteral("Width"),
                          QStringLiteral("Height")};

} // namespace

TSettings::TSettings(const QString &fileName) : TIniFile(fileName) {}

std::array<int, 4> &TSettings::cache(TFormSlot slot)
{
    return const_cast<std::array<int, 4> &>(static_cast<const TSettings *>(this)->cache(slot));
}

const std::array<int, 4> &TSettings::cache(TFormSlot slot) const
{
    switch (slot) {
    case TFormSlot::Main: return fFormPosMain;
    case TFormSlot::Titoli: return fFormPosTitoli;
    case TFormSlot::Sedi: return fFormPosSedi;
    case TFormSlot::Edit: return fFormPosEdit;
    case TFormSlot::Arc: break;
    }
    return fFormPosArc;
}

QString TSettings::SectionName(TFormSlot slot)
{
    switch (slot) {
    case TFormSlot::Main: return QStringLiteral("SETUP_Main");
    case TFormSlot::Titoli: return QStringLiteral("SETUP_Titoli");
    case TFormSlot::Sedi: return QStringLiteral("SETUP_Sedi");
    case TFormSlot::Edit: return QStringLiteral("SETUP_Edit");
    case TFormSlot::Arc: break;
    }
    return QStringLiteral("SETUP_Arc");
}

QWidget *TSettings::FormWindow(TFormSlot slot)
{
    switch (slot) {
    case TFormSlot::Main: return fMain;
    case TFormSlot::Titoli: return fTITOLI;
    case TFormSlot::Sedi: return fSEDI;
    case TFormSlot::Edit: return fEDIT;
    case TFormSlot::Arc: break;
    }
    return fARC;
}

int TSettings::LoadFormPos(TFormSlot slot, int Index)
{
    if (Index < 0 || Index > 3)
        return -1;
    const std::array<int, 4> &c = cache(slot);
    const int result = c[Index];
    const QString section = SectionName(slot);
    QWidget *w = FormWindow(slot);
    // Read and applied one at a time, in this order, each defaulting to the cache.
    const int top = ReadInteger(section, kKeys[0], c[0]);
    if (w)
        ui::SetOuterTop(w, top);
    const int left = ReadInteger(section, kKeys[1], c[1]);
    if (w)
        ui::SetOuterLeft(w, left);
    const int width = ReadInteger(section, kKeys[2], c[2]);
    if (w)
        ui::SetOuterWidth(w, width);
    const int height = ReadInteger(section, kKeys[3], c[3]);
    if (w) {
        ui::SetOuterHeight(w, height);
        ui::BringOnScreen(w);
    }
    return result;
}

void TSettings::SaveFormPos(TFormSlot slot, int Index, int Value)
{
    if (Index < 0 || Index > 3)
        return;
    std::array<int, 4> &c = cache(slot);
    c[Index] = Value;
    const QString section = SectionName(slot);
    for (int i = 0; i < 4; ++i)
        WriteInteger(section, kKeys[i], c[i]); // a file that cannot be written is no error here
}

void SaveFormBounds(TSettings *settings, TFormSlot slot, const QWidget *w)
{
    if (!settings || !w)
        return;
    const QRect r = ui::OuterBounds(w);
    settings->SaveFormPos(slot, 0, r.top());
    settings->SaveFormPos(slot, 1, r.left());
    settings->SaveFormPos(slot, 2, r.width());
    settings->SaveFormPos(slot, 3, r.height());
}

namespace {

// Outer size of a window that has never been closed (no section yet): one that shows its
// content, where the minimum sizes would show a header and nothing under it.
QSize FirstRunSize(TFormSlot slot, const QRect &area)
{
    switch (slot) {
    case TFormSlot::Main: return QSize(area.width() * 2 / 3, area.height() * 2 / 3);
    case TFormSlot::Titoli:
    case TFormSlot::Sedi: return QSize(420, 480);
    case TFormSlot::Arc: return QSize(qMin(area.width(), 960), 520);
    case TFormSlot::Edit: break;
    }
    return {};
}

} // namespace

void LoadFormBounds(TSettings *settings, TFormSlot slot)
{
    if (!settings)
        return;
    QWidget *w = TSettings::FormWindow(slot);
    const std::array<int, 4> &cached = settings->FormPos(slot);
    const bool firstRun = !settings->SectionExists(TSettings::SectionName(slot)) &&
                          std::all_of(cached.begin(), cached.end(), [](int v) { return v == 0; });
    const QScreen *screen = w ? (w->screen() ? w->screen() : QGuiApplication::primaryScreen()) : nullptr;
    if (firstRun && screen) {
        // Centred on the screen, never smaller than the window allows.
        // The work area as the window manager reports it, never beyond the screen itself.
        const QRect area = screen->availableGeometry().intersected(screen->geometry());
        QSize size = FirstRunSize(slot, area);
        if (size.isEmpty())
            size = w->sizeHint();
        size = size.expandedTo(w->minimumSize()).boundedTo(area.size());
        ui::SetOuterWidth(w, size.width());
        ui::SetOuterHeight(w, size.height());
        ui::SetOuterLeft(w, area.left() + (area.width() - size.width()) / 2);
        ui::SetOuterTop(w, area.top() + (area.height() - size.height()) / 2);
        return;
    }
    for (int i = 0; i < 4; ++i)
        settings->LoadFormPos(slot, i);
}
