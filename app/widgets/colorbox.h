#pragma once
// A drop-down list of named colours, each with its swatch. The first entry may be the custom
// colour, which opens the colour dialog and then holds the colour chosen there. Click is
// emitted when the user picks an entry (and, for the custom entry, confirms the dialog).
#include "platform/rtl/color.h"

#include <QComboBox>

class TColorBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TColorBox(QWidget *parent = nullptr);

    static const QString CustomCaption;

    // Adds the custom-colour entry at the top (once).
    void AddCustomEntry(TColor initial = clBlack);
    void AddColor(const QString &name, TColor color);
    // Colour of an entry, clNone outside the list.
    TColor ColorAt(int index) const;
    // The selected colour, clNone when no entry is selected.
    TColor Selected() const { return ColorAt(currentIndex()); }
    // Selects the entry of that colour (the custom entry takes it when no named one has it).
    void SetSelected(TColor color);
    bool HasCustomEntry() const { return FCustom; }

    // The event colours: the custom entry and the ten named colours events are drawn in.
    void FillEventPalette();

    // Picks an entry as the user does.
    void Pick(int index);

Q_SIGNALS:
    void Click();

private:
    void SetEntryColor(int index, TColor color);

    bool FCustom = false;
    int FLastIndex = -1;
};
