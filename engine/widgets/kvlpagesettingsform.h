#pragma once
// The preview's page settings: paper, orientation and margins of one prepared page, shown in
// the designer's units. Accepted, the page takes them only when every number reads; a bad
// entry is shown and the dialog stays open with the page as it was.
#include "report/printers/kvlprinters.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TkvlPaperChoice;
class TkvlReport;
class TkvlReportPage;

class TkvlPageSettingsForm final : public QDialog {
public:
    TkvlPageSettingsForm(TkvlReportPage *APage, TkvlReport *AReport, QWidget *Parent = nullptr);

    // "Applica a tutte le pagine": the preview prepares the report again.
    bool NeedRebuild() const;

    QComboBox *SizeCB() const { return FSize; }
    QLineEdit *WidthE() const { return FWidth; }
    QLineEdit *HeightE() const { return FHeight; }
    QRadioButton *PortraitRB() const { return FPortrait; }
    QRadioButton *LandscapeRB() const { return FLandscape; }
    QLabel *PortraitImg() const { return FPortraitImg; }
    QLabel *LandscapeImg() const { return FLandscapeImg; }
    QLineEdit *MarginLeftE() const { return FMargins[0]; }
    QLineEdit *MarginTopE() const { return FMargins[1]; }
    QLineEdit *MarginRightE() const { return FMargins[2]; }
    QLineEdit *MarginBottomE() const { return FMargins[3]; }
    QLabel *UnitL1() const { return FUnitLabels[0]; }
    QRadioButton *ApplyToCurRB() const { return FApplyToCur; }
    QRadioButton *ApplyToAllRB() const { return FApplyToAll; }
    QPushButton *OKB() const { return FOk; }
    QPushButton *CancelB() const { return FCancel; }

    void done(int Result) override;

protected:
    void showEvent(QShowEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;

private:
    void FormShow();
    QString Shown(double Mm) const;
    // Millimetres of a typed length; raises EConvertError on text that is not a number.
    double Typed(const QString &Text) const;

    TkvlReportPage *FPage;
    TkvlReport *FReport;
    bool FInches = false;  // the designer's units: inches, else centimetres
    TkvlPaperChoice *FPaper;

    QComboBox *FSize;
    QLineEdit *FWidth, *FHeight;
    QRadioButton *FPortrait, *FLandscape;
    QLabel *FPortraitImg, *FLandscapeImg;
    QLineEdit *FMargins[4];
    QLabel *FUnitLabels[6];
    QRadioButton *FApplyToCur, *FApplyToAll;
    QPushButton *FOk, *FCancel;
};
