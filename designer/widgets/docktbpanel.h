#pragma once
// A small borderless, opaque panel inside a toolbar that hosts a combo box: it lines up
// with the toolbar's buttons, left to right in a horizontal toolbar, top to bottom in one
// that stands at a side of the window.
#include <QWidget>

class TkvlTBPanel : public QWidget
{
public:
    enum Align { alLeft, alTop };
    explicit TkvlTBPanel(QWidget *parent = nullptr);
    Align Alignment() const { return FAlign; }
    // Reparents, then aligns to the top when the new parent stands at a side.
    void SetParent(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Align FAlign = alLeft;
};
