#pragma once
// The small dialogs of band and object editors: a data band's record source, count and
// filter; a group's condition and options; plain lines of text; a picture. Each edits a copy
// and hands it over only on OK.
#include <QDialog>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QStatusBar;
class QToolButton;
class TkvlComboEdit;
class TkvlCustomDesigner;
class TkvlDataBand;
class TkvlDataSet;
class TkvlGroupHeader;
class TPicture;

// Record source, record count and filter of a data band.
class TkvlDataBandEditorForm final : public QDialog {
public:
    // Designer opens the expression editor for the filter (none: the button does nothing).
    TkvlDataBandEditorForm(TkvlDataBand *ABand, TkvlCustomDesigner *Designer, QWidget *Owner = nullptr);

    QListWidget *DatasetsLB() const { return FDatasets; }
    QSpinBox *RecordsE() const { return FRecords; }
    TkvlComboEdit *FilterE() const { return FFilter; }
    QPushButton *OkB() const { return FOk; }
    QPushButton *CancelB() const { return FCancel; }

    void done(int Result) override;

protected:
    void keyPressEvent(QKeyEvent *Event) override;

private:
    TkvlDataBand *FBand;
    std::vector<TkvlDataSet *> FSources;
    bool FUpdating = false;
    QListWidget *FDatasets;
    QSpinBox *FRecords;
    TkvlComboEdit *FFilter;
    QPushButton *FOk, *FCancel;
};

// Condition (a data field or an expression) and options of a group header.
class TkvlGroupEditorForm final : public QDialog {
public:
    TkvlGroupEditorForm(TkvlGroupHeader *AGroup, TkvlCustomDesigner *Designer, QWidget *Owner = nullptr);

    QRadioButton *DataFieldRB() const { return FDataFieldRB; }
    QRadioButton *ExpressionRB() const { return FExpressionRB; }
    QComboBox *DataSetCB() const { return FDataSet; }
    QComboBox *DataFieldCB() const { return FDataField; }
    TkvlComboEdit *ExpressionE() const { return FExpression; }
    QCheckBox *KeepGroupTogetherCB() const { return FKeep; }
    QCheckBox *StartNewPageCB() const { return FNewPage; }
    QCheckBox *OutlineCB() const { return FOutline; }
    QCheckBox *DrillCB() const { return FDrill; }
    QCheckBox *ResetCB() const { return FReset; }
    QPushButton *OKB() const { return FOk; }
    QPushButton *CancelB() const { return FCancel; }

    void done(int Result) override;

protected:
    void keyPressEvent(QKeyEvent *Event) override;

private:
    void FillFields();
    void EnableChoice();

    TkvlGroupHeader *FGroup;
    QRadioButton *FDataFieldRB, *FExpressionRB;
    QComboBox *FDataSet, *FDataField;
    TkvlComboEdit *FExpression;
    QCheckBox *FKeep, *FNewPage, *FOutline, *FDrill, *FReset;
    QPushButton *FOk, *FCancel;
};

// Plain lines of text: Ctrl+Enter accepts, Esc cancels.
class TkvlStringsEditorForm final : public QDialog {
public:
    explicit TkvlStringsEditorForm(QWidget *Owner = nullptr);

    QPlainTextEdit *Memo() const { return FMemo; }
    QToolButton *OkB() const { return FOk; }
    QToolButton *CancelB() const { return FCancel; }

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;

private:
    QPlainTextEdit *FMemo;
    QToolButton *FOk, *FCancel;
};

// A picture: loaded from a file, copied, pasted, cleared; its size in the status line.
class TkvlPictureEditorForm final : public QDialog {
public:
    explicit TkvlPictureEditorForm(QWidget *Owner = nullptr);
    ~TkvlPictureEditorForm() override;

    // The edited picture: the caller fills it before and copies it after OK.
    TPicture *Picture() const { return FPicture.get(); }
    // Shows the picture after the caller changed it.
    void PictureChanged();

    QToolButton *LoadB() const { return FLoad; }
    QToolButton *CopyB() const { return FCopy; }
    QToolButton *PasteB() const { return FPaste; }
    QToolButton *ClearB() const { return FClear; }
    QToolButton *OkB() const { return FOk; }
    QToolButton *CancelB() const { return FCancel; }
    QLabel *Image() const { return FImage; }
    QStatusBar *StatusBar() const { return FStatus; }

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;

private:
    void Load();
    void Copy();
    void Paste();

    std::unique_ptr<TPicture> FPicture;
    QToolButton *FLoad, *FCopy, *FPaste, *FClear, *FOk, *FCancel;
    QScrollArea *FBox;
    QLabel *FImage;
    QStatusBar *FStatus;
};

// The entries the dialog factory calls; each returns true when OK wrote the value.
bool kvlEditDataBand(TkvlDataBand *Band, TkvlCustomDesigner *Designer, QWidget *Owner);
bool kvlEditGroup(TkvlGroupHeader *Group, TkvlCustomDesigner *Designer, QWidget *Owner);
bool kvlEditStrings(QString &Text, QWidget *Owner);
bool kvlEditPicture(TPicture *Picture, QWidget *Owner);
