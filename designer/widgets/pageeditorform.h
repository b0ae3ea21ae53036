#pragma once
// The page setup of a designed page: paper, orientation, margins, trays, columns and the page
// options, shown in the designer's unit. The controls are the working copy: OK reads every
// number first and only then writes the page and the page of each subreport on it.
#include "designer/core/rulerticks.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class TkvlPaperChoice;
class TkvlReportPage;

class TkvlPageEditorForm final : public QDialog {
public:
    TkvlPageEditorForm(TkvlReportPage *APage, TkvlRulerUnits AUnits, QWidget *Owner = nullptr);

    QTabWidget *Tabs() const { return FTabs; }
    QComboBox *SizeCB() const { return FSize; }
    QLineEdit *WidthE() const { return FWidth; }
    QLineEdit *HeightE() const { return FHeight; }
    QRadioButton *PortraitRB() const { return FPortrait; }
    QRadioButton *LandscapeRB() const { return FLandscape; }
    QLineEdit *MarginLeftE() const { return FMargins[0]; }
    QLineEdit *MarginTopE() const { return FMargins[1]; }
    QLineEdit *MarginRightE() const { return FMargins[2]; }
    QLineEdit *MarginBottomE() const { return FMargins[3]; }
    QComboBox *Tray1CB() const { return FTray1; }
    QComboBox *Tray2CB() const { return FTray2; }
    QSpinBox *UpDown1() const { return FColumns; }
    QLineEdit *ColumnWidthE() const { return FColumnWidth; }
    QPlainTextEdit *ColumnPositionsM() const { return FPositions; }
    QCheckBox *PrintOnPrevCB() const { return FPrintOnPrev; }
    QCheckBox *MirrorMarginsCB() const { return FMirror; }
    QCheckBox *EndlessWidthCB() const { return FEndlessWidth; }
    QCheckBox *EndlessHeightCB() const { return FEndlessHeight; }
    QCheckBox *LargeHeightCB() const { return FLargeHeight; }
    QComboBox *DuplexCB() const { return FDuplex; }
    QPushButton *OKB() const { return FOk; }
    QPushButton *CancelB() const { return FCancel; }

    void done(int Result) override;

protected:
    void showEvent(QShowEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;

private:
    void FormShow();
    void ColumnsChanged();
    QString Shown(double Mm, bool X) const;
    double Typed(const QString &Text, bool X) const;

    TkvlReportPage *FPage;
    TkvlRulerUnits FUnits;
    TkvlPaperChoice *FPaper;

    QTabWidget *FTabs;
    QComboBox *FSize, *FTray1, *FTray2, *FDuplex;
    QLineEdit *FWidth, *FHeight, *FMargins[4], *FColumnWidth;
    QRadioButton *FPortrait, *FLandscape;
    QSpinBox *FColumns;
    QPlainTextEdit *FPositions;
    QCheckBox *FPrintOnPrev, *FMirror, *FEndlessWidth, *FEndlessHeight, *FLargeHeight;
    QPushButton *FOk, *FCancel;
};

// Page setup of Page; true when OK wrote it. The designer passes its current unit.
bool kvlEditPage(TkvlReportPage *Page, TkvlRulerUnits Units, QWidget *Owner);
