#pragma once
// The drop-downs that open under the designer's colour and line buttons: a palette of colours
// with a button for any other colour, and a list of line styles. Each opens at once in its own
// pop-up, goes away with its owner, and hides its pop-up once something is chosen.
#include "platform/gfx/fontdesc.h"
#include "platform/rtl/color.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QFont;
class TCanvas;
class TkvlPopupForm;

// A widget's font as the canvas draws it.
gfx::FontDesc kvlCanvasFont(const QFont &Font);

class TkvlCustomSelector : public QWidget {
public:
    TkvlPopupForm *Popup() const { return FPopup; }
    // The owner's "Tag" property when it was opened (the designer's formatting action code).
    int Tag() const { return FTag; }

protected:
    // Opens the pop-up under Owner with a panel of the given client size.
    TkvlCustomSelector(QWidget *Owner, int clWidth, int clHeight);

    // The panel: a window-coloured rectangle with a shadow-coloured border.
    virtual void Paint(TCanvas &Canvas);
    // The hover mark at the pointer's last position, drawn after Paint.
    virtual void DrawEdge(TCanvas &Canvas, int X, int Y, bool IsDown) = 0;
    // The button was released at (X, Y) of the client area.
    virtual void Release(int X, int Y) = 0;
    // Hides the pop-up; it frees itself and the selector.
    void ClosePopup();

    void paintEvent(QPaintEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;

private:
    void hover(QPoint P, bool Down);

    const int FclWidth, FclHeight;
    TkvlPopupForm *FPopup;
    int FTag = 0;
    bool FHover = false, FDown = false;
    QPoint FHoverPos;
};

class TkvlColorSelector : public TkvlCustomSelector {
public:
    explicit TkvlColorSelector(QWidget *Owner);

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    const QString &BtnCaption() const { return FBtnCaption; }
    void SetBtnCaption(const QString &Value);

    std::function<void(TkvlColorSelector *Sender)> OnColorChanged;

protected:
    void Paint(TCanvas &Canvas) override;
    void DrawEdge(TCanvas &Canvas, int X, int Y, bool IsDown) override;
    void Release(int X, int Y) override;

private:
    TColor FColor = clNone;
    QString FBtnCaption = QStringLiteral("Other...");
};

class TkvlLineSelector : public TkvlCustomSelector {
public:
    explicit TkvlLineSelector(QWidget *Owner);

    // 0 .. 5: the frame styles from solid to double.
    int Style() const { return FStyle; }
    void SetStyle(int Value) { FStyle = Value; }

    std::function<void(TkvlLineSelector *Sender)> OnStyleChanged;

protected:
    void DrawEdge(TCanvas &Canvas, int X, int Y, bool IsDown) override;
    void Paint(TCanvas &Canvas) override;
    void Release(int X, int Y) override;

private:
    int FStyle = 0;
};

// The six line styles drawn one below the other in black, from x 7 to Width - 8; the double
// style as two solid lines Gap above and below its row's line. Thick draws every line twice,
// the second one pixel lower.
void kvlDrawLineStyles(TCanvas &Canvas, int Width, int Gap, bool Thick);
