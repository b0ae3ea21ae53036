#pragma once
// A combo box showing a colour swatch and, on request, the colour's name; clicking it opens the
// colour drop-down.
#include "platform/rtl/color.h"

#include <QWidget>
#include <functional>

class TkvlCustomComboBox;

class TkvlColorComboBox : public QWidget {
public:
    explicit TkvlColorComboBox(QWidget *Parent = nullptr);

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ShowColorName() const { return FShowColorName; }
    void SetShowColorName(bool Value);

    // Runs after a colour was chosen in the drop-down.
    std::function<void(TkvlColorComboBox *Sender)> OnColorChanged;

protected:
    void paintEvent(QPaintEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;
    void changeEvent(QEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;

private:
    // Lends the control its look; never seen itself.
    TkvlCustomComboBox *FCombo;
    TColor FColor = clBlack;
    bool FShowColorName = false;
    // The press closed an open drop-down: its release opens nothing.
    bool FBlockPopup = false;
};
