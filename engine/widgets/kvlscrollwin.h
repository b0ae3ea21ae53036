#pragma once
// A scrolling control that keeps 32-bit ranges and positions of its own: the scroll bars
// only show them. Descendants paint the view and hear of position changes.
#include <QAbstractScrollArea>

class TkvlScrollWin : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum TBorderStyle { bsNone, bsSingle };
    // What a scroll bar asks for.
    enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scThumbPosition, scThumbTrack, scTop, scBottom,
                       scEndScroll };

    explicit TkvlScrollWin(QWidget *Parent = nullptr);

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    int HorzPage() const { return FHorzPage; }
    void SetHorzPage(int Value);
    int HorzPosition() const { return FHorzPosition; }
    // Clamped to 0 .. range - page; the descendant hears of a change only.
    void SetHorzPosition(int Value);
    int HorzRange() const { return FHorzRange; }
    void SetHorzRange(int Value);
    int VertPage() const { return FVertPage; }
    void SetVertPage(int Value);
    int VertPosition() const { return FVertPosition; }
    void SetVertPosition(int Value);
    int VertRange() const { return FVertRange; }
    void SetVertRange(int Value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value) { FLargeChange = Value; }
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value);

    // A scroll bar's request; TrackPosition is read for the thumb codes.
    void Scroll(Qt::Orientation Direction, TScrollCode Code, int TrackPosition = 0);

protected:
    virtual void OnHScrollChange() {}
    virtual void OnVScrollChange() {}
    // Paints the view; the base fills it with the control's colour.
    virtual void Paint(QPainter &Painter, const QRegion &Dirty);

    void paintEvent(QPaintEvent *Event) override;
    void scrollContentsBy(int, int) override {}
    bool focusNextPrevChild(bool) override { return false; }

private:
    void barAction(Qt::Orientation Direction, int Action);
    void updateBar(Qt::Orientation Direction);

    TBorderStyle FBorderStyle = bsSingle;
    int FHorzPage = 0, FHorzPosition = 0, FHorzRange = 0;
    int FLargeChange = 10, FSmallChange = 1;
    int FVertPage = 0, FVertPosition = 0, FVertRange = 0;
};
