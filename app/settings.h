#pragma once
// The settings file "LirraCalConf.ini": outer bounds of each of the five windows,
// one section each, keys Top, Left, Width, Height.
#include "platform/rtl/inifile.h"

#include <array>

class QWidget;

enum class TFormSlot { Main, Titoli, Sedi, Edit, Arc };

class TSettings : public TIniFile {
public:
    explicit TSettings(const QString &fileName);

    // Restores the window's four bounds from its section (the cached values are the
    // defaults) and answers the cached value at Index; -1 for an Index outside 0..3.
    int LoadFormPos(TFormSlot slot, int Index);
    // Caches Value at Index and writes all four cached values of the window.
    void SaveFormPos(TFormSlot slot, int Index, int Value);

    int LoadFormPosMain(int Index) { return LoadFormPos(TFormSlot::Main, Index); }
    int LoadFormPosTitoli(int Index) { return LoadFormPos(TFormSlot::Titoli, Index); }
    int LoadFormPosSedi(int Index) { return LoadFormPos(TFormSlot::Sedi, Index); }
    int LoadFormPosEdit(int Index) { return LoadFormPos(TFormSlot::Edit, Index); }
    int LoadFormPosArc(int Index) { return LoadFormPos(TFormSlot::Arc, Index); }
    void SaveFormPosMain(int Index, int Value) { SaveFormPos(TFormSlot::Main, Index, Value); }
    void SaveFormPosTitoli(int Index, int Value) { SaveFormPos(TFormSlot::Titoli, Index, Value); }
    void SaveFormPosSedi(int Index, int Value) { SaveFormPos(TFormSlot::Sedi, Index, Value); }
    void SaveFormPosEdit(int Index, int Value) { SaveFormPos(TFormSlot::Edit, Index, Value); }
    void SaveFormPosArc(int Index, int Value) { SaveFormPos(TFormSlot::Arc, Index, Value); }

    // Top, Left, Width, Height last saved in this run (zeros before the first save).
    const std::array<int, 4> &FormPos(TFormSlot slot) const { return cache(slot); }

    static QString SectionName(TFormSlot slot);
    // The window the global reference of the slot names, or null.
    static QWidget *FormWindow(TFormSlot slot);

private:
    std::array<int, 4> &cache(TFormSlot slot);
    const std::array<int, 4> &cache(TFormSlot slot) const;

    std::array<int, 4> fFormPosMain{};
    std::array<int, 4> fFormPosTitoli{};
    std::array<int, 4> fFormPosSedi{};
    std::array<int, 4> fFormPosEdit{};
    std::array<int, 4> fFormPosArc{};
};

// Saves the window's Top, Left, Width and Height through its slot, in that order.
void SaveFormBounds(TSettings *settings, TFormSlot slot, const QWidget *w);
// Restores the window's bounds through its slot (Index 0 to 3, as the show handlers do). A
// window never closed before (no section, nothing saved in this run) gets a first-run size
// that shows its content, centred on its screen.
void LoadFormBounds(TSettings *settings, TFormSlot slot);
