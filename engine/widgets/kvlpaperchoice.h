#pragma once
// The paper part of the page dialogs: the current printer's papers in a list, the width and
// height edits, the orientation radios and their pictures. A chosen paper or orientation shows
// the printer's size for it, a custom size turns with the orientation, and typing a length
// picks the custom entry. Lengths are shown and read through the dialog's own unit.
#include "report/printers/kvlprinters.h"

#include <QList>
#include <QObject>
#include <functional>
#include <initializer_list>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

// A page icon, upright or turned.
QPixmap kvlOrientationPicture(bool Landscape);
QSize kvlOrientationPictureSize();

// Millimetres as shown in a unit; X is set for horizontal lengths.
using TkvlLengthToText = std::function<QString(double Mm, bool X)>;
// Text of a unit in millimetres; raises EConvertError on text that is not a number.
using TkvlTextToLength = std::function<double(const QString &Text, bool X)>;

// Shows an error about Field and brings it, and the tab page holding it, to the front.
void kvlRefuseField(QWidget *Field, const QString &Message);

// One length edit read into a value.
struct TkvlLengthField {
    const QLineEdit *Edit;
    bool X;
    double *Mm;
};
// Reads every field; on the first one that is not a number shows the conversion error, gives
// that edit the focus and returns false (the values read so far are not to be used).
bool kvlReadLengths(std::initializer_list<TkvlLengthField> Fields, const TkvlTextToLength &Read);

class TkvlPaperChoice final : public QObject {
public:
    TkvlPaperChoice(QComboBox *Size, QLineEdit *Width, QLineEdit *Height, QRadioButton *Portrait,
                    QRadioButton *Landscape, QLabel *PortraitImg, QLabel *LandscapeImg, TkvlLengthToText Show,
                    TkvlTextToLength Read);

    // Set while a dialog fills its controls: the change events then do nothing.
    bool Updating = false;

    // Fills the papers of the current printer and shows the page's paper, size and orientation.
    void Fill(int Paper, double WidthMm, double HeightMm, TPrinterOrientation Orientation);
    int ChosenPaper() const;
    TPrinterOrientation ChosenOrientation() const;
    // Reads width and height; false after showing the error.
    bool ReadSize(double &WidthMm, double &HeightMm) const;

private:
    void SizeChosen();
    void ShowOrientationPicture();

    QComboBox *FSize;
    QLineEdit *FWidth, *FHeight;
    QRadioButton *FPortrait, *FLandscape;
    QLabel *FPortraitImg, *FLandscapeImg;
    TkvlLengthToText FShow;
    TkvlTextToLength FRead;
    QList<int> FPaperNumbers;
};
