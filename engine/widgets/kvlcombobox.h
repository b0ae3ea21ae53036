#pragma once
// The library's flat combo boxes: the flat drop-down box (the preview's zoom box is one), the
// font-name box with its recent fonts and floating sample, and the box with a button.
#include "platform/rtl/color.h"

#include <QComboBox>
#include <QIcon>
#include <QImage>
#include <QString>
#include <functional>
#include <memory>

class QFrame;
class QLabel;
class QToolButton;
class TCustomIniFile;

class TkvlCustomComboBox : public QComboBox {
    Q_OBJECT
public:
    enum TButtonState { bsNormal, bsHot, bsPressed };

    explicit TkvlCustomComboBox(QWidget *Parent = nullptr);

    // Width of the open list; 0 = the control's width.
    int ListWidth() const { return FListWidth; }
    void SetListWidth(int Value) { FListWidth = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    // The list did not fit below the control the last time it opened.
    bool UpDropdown() const { return FUpDropdown; }
    TButtonState ButtonState() const;

    void showPopup() override;
    void hidePopup() override;

protected:
    // The image area left of the text; the base fills it with the window colour.
    virtual void DrawImage(QPainter &Painter, const QRect &Area);
    void SetEditOffset(int Value);
    int EditOffset() const { return FEditOffset; }
    bool ListOpen() const { return FListOpen; }

    void paintEvent(QPaintEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;
    void enterEvent(QEnterEvent *Event) override;
    void leaveEvent(QEvent *Event) override;
    void changeEvent(QEvent *Event) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    QRect editRect() const;
    void placeEdit();
    bool active() const;

    bool FUpDropdown = false;
    int FButtonWidth = 11;
    bool msMouseInControl = false;
    bool FListOpen = false;
    bool FReadOnly = false;
    int FEditOffset = 0;
    int FListWidth = 0;
};
using TkvlComboBox = TkvlCustomComboBox;

// Floating sample of the font under the cursor of the font-name list.
class TkvlFontPreview : public QWidget {
    Q_OBJECT
public:
    explicit TkvlFontPreview(QWidget *Parent = nullptr);
    void ShowSample(const QString &FontName);

private:
    QFrame *FPanel;
    QLabel *FLabel;
};

class TkvlFontComboBox : public TkvlCustomComboBox {
    Q_OBJECT
public:
    enum TFontType { ftDevice = 2, ftTrueType = 4 };

    explicit TkvlFontComboBox(QWidget *Parent = nullptr);
    ~TkvlFontComboBox() override;

    // Rebuilds the list: the installed families, sorted, with the recent fonts above them.
    virtual void PopulateList();
    // After reading from a form: fills the list and selects the first entry when the text
    // is not a listed font.
    void Loaded();

    bool ShowMRU() const { return FShowMRU; }
    void SetShowMRU(bool Value) { FShowMRU = Value; }
    const QString &MRURegKey() const { return FRegKey; }
    void SetMRURegKey(const QString &Value);
    // Settings storage of the recent fonts; owned from here on (nullptr: no recent fonts).
    TCustomIniFile *IniFile() const { return FIni.get(); }
    void SetIniFile(TCustomIniFile *Value);
    // Index of the last recent entry at the top of the list; -1 = none.
    int RecentCount() const { return Numused + 1; }
    int FontType(int Index) const;
    // What closing the list with Index selected does: the font goes to the top of the
    // recent block and the block is written to the storage.
    void ChooseFont(int Index);

    std::function<void(TkvlFontComboBox *)> OnClick;

    void showPopup() override;
    void hidePopup() override;

protected:
    struct Family {
        QString Name;
        int Type;
    };
    // The families offered: the font service's.
    virtual std::vector<Family> ListFamilies();
    void DrawImage(QPainter &Painter, const QRect &Area) override;

private:
    friend class TkvlFontItemDelegate;
    void writeRecent();
    void showSample(int Index);

    std::unique_ptr<TkvlFontPreview> frFontViewForm;
    QString FRegKey;
    QImage FTrueTypeBMP, FDeviceBMP;
    bool FUpdate = false;
    bool FShowMRU = true;
    int Numused = -1;
    std::unique_ptr<TCustomIniFile> FIni;
};

// A box that never drops down, with a button at its right.
class TkvlComboEdit : public QComboBox {
    Q_OBJECT
public:
    explicit TkvlComboEdit(QWidget *Parent = nullptr);

    QIcon Glyph() const;
    void SetGlyph(const QIcon &Value);
    QString ButtonHint() const;
    void SetButtonHint(const QString &Value);
    bool ButtonEnabled() const { return FButtonEnabled; }
    void SetButtonEnabled(bool Value);
    QToolButton *Button() const { return FButton; }

    // Fires after the control has taken the focus.
    std::function<void(TkvlComboEdit *)> OnButtonClick;

    void showPopup() override {}

protected:
    void resizeEvent(QResizeEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;
    void changeEvent(QEvent *Event) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    QRect editRect() const;
    QFrame *FPanel;
    QToolButton *FButton;
    bool FButtonEnabled = true;
};

// The colour as Qt draws it (system colours resolved).
QColor kvlQColor(TColor Color);
