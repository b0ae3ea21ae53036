#pragma once
// The designer's rulers above and left of the page: a scale in the measuring unit and a
// marker at the current position. The marks come from kvlRulerTicks.
#include "designer/core/rulerticks.h"

#include <QWidget>

class TkvlRuler : public QWidget
{
public:
    explicit TkvlRuler(QWidget *parent = nullptr);

    // The left ruler is vertical: its scale runs down and its labels are turned.
    bool Vertical() const { return FVertical; }
    void SetVertical(bool value);

    int Offset() const { return FOffset; }
    void SetOffset(int value);
    double Scale() const { return FScale; }
    void SetScale(double value);
    int Start() const { return FStart; }
    void SetStart(int value);
    TkvlRulerUnits Units() const { return FUnits; }
    void SetUnits(TkvlRulerUnits value);
    double Position() const { return FPosition; }
    void SetPosition(double value);
    int Size() const { return FSize; }
    void SetSize(int value);

    // The scale as the ruler shows it now.
    TkvlRulerScale ScaleParams() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    template <class T> void set(T &field, T value);

    bool FVertical = false;
    int FOffset = 0;
    double FScale = 1;
    int FStart = 0;
    TkvlRulerUnits FUnits = ruCM;
    double FPosition = 0;
    int FSize = 0;
};
