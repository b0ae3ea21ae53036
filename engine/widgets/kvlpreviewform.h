#pragma once
// The preview window: a tool bar, the preview control (with its tab strip) filling the client
// area, and a three-panel status bar. It turns the report's preview options into its
// visible buttons, builds its save-and-export menu from the export-filter registry, shows the
// page counter and forwards every command to the preview control.
#include "engine/widgets/kvlpreview.h"
#include "report/seams/kvlfactories.h"

#include <QDialog>
#include <QPointer>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QToolBar;
class QToolButton;
class TkvlCustomComboBox;

class TkvlPreviewForm : public QDialog, public TkvlCustomPreviewForm, public TkvlPreviewHost {
    Q_OBJECT
public:
    explicit TkvlPreviewForm(QWidget *Parent = nullptr);
    ~TkvlPreviewForm() override;

    // TkvlCustomPreviewForm
    TkvlCustomPreview *Preview() override { return FPreview; }
    void Close() override;
    void Init() override;
    void Execute() override;

    TkvlPreview *PreviewControl() const { return FPreview; }
    TkvlReport *Report() const { return FPreview->Report; }

    // The second status panel; a hint goes to the third (an empty hint leaves it alone).
    void SetMessageText(const QString &Value, bool IsHint);
    // The zoom box shows the preview's zoom as a whole percentage.
    void UpdateZoom();
    // The status panel's text (0: page counter, 1: messages, 2: hints).
    QString StatusText(int Panel) const;
    bool FullScreen() const { return FFullScreen; }
    void SetFullScreen(bool Value);
    bool FreeOnClose = false;
    // While the window is modal, minimizing it minimizes the whole program; the program's
    // windows come back, with this one active, when the program is activated again.
    bool ProgramMinimized() const { return FProgramMinimized; }

    // TkvlPreviewHost
    void UpdateControls() override;
    void SetCloseCaption(const QString &Caption) override;
    void ShowZoom(double Zoom) override;
    void SetOutlineButton(bool Down) override;
    void SetThumbnailButton(bool Down) override;
    void ClearStatus() override;
    void ShowStatus(const QString &Text, bool IsHint) override;

    // The page-changed handler of the preview.
    void PageChanged(int PageNo);
    // The zoom box's choice (or Enter in it).
    void ZoomChosen();
    // Enter in the page box.
    void PageEntered();
    void CollapseAll();
    void ExpandAll();

    // The components by their names.
    QToolBar *ToolBar = nullptr;
    QToolButton *PrintB = nullptr, *OpenB = nullptr, *SaveB = nullptr, *PdfB = nullptr, *EmailB = nullptr,
                *FindB = nullptr, *ZoomPlusB = nullptr, *ZoomMinusB = nullptr, *FullScreenBtn = nullptr,
                *OutlineB = nullptr, *ThumbB = nullptr, *PageSettingsB = nullptr, *DesignerB = nullptr,
                *FirstB = nullptr, *PriorB = nullptr, *NextB = nullptr, *LastB = nullptr, *CancelB = nullptr;
    QAction *Sep1 = nullptr, *Sep2 = nullptr, *Sep3 = nullptr, *Sep4 = nullptr, *Sep5 = nullptr;
    TkvlCustomComboBox *ZoomCB = nullptr;
    QLineEdit *PageE = nullptr;
    QLabel *OfNL = nullptr;
    QWidget *StatusBar = nullptr;
    QMenu *ExportPopup = nullptr, *HiddenMenu = nullptr, *RightMenu = nullptr;
    QAction *CollapseMI = nullptr, *ExpandMI = nullptr, *N1 = nullptr;
    TkvlCustomExportFilter *PDFExport() const { return FPDFExport; }
    TkvlCustomExportFilter *EmailExport() const { return FEmailExport; }

protected:
    void keyPressEvent(QKeyEvent *Event) override;
    void closeEvent(QCloseEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;
    void wheelEvent(QWheelEvent *Event) override;
    void contextMenuEvent(QContextMenuEvent *Event) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void customEvent(QEvent *Event) override;
    void changeEvent(QEvent *Event) override;

private:
    struct ToolEntry {
        QToolButton *Button = nullptr;  // nullptr for a separator
        QAction *Action = nullptr;      // the tool bar's action holding it
        QAction *MenuItem = nullptr;    // its right-click menu item
    };
    QToolButton *addButton(const char *Name, int Image, const QString &Caption, const QString &Hint);
    QAction *addSeparator(const char *Name);
    void setShown(QToolButton *Button, bool Visible);
    bool shown(QToolButton *Button) const;
    void enableButton(QToolButton *Button, bool Enabled);
    void buildExportMenu();
    void buildRightMenu();
    void layoutStatus();
    bool hasDrillDown() const;
    void setDrillDown(bool Expand);
    void cancelOrClose();
    void exportThrough(TkvlCustomExportFilter *Filter);
    void openPrepared();
    void savePrepared();
    void minimizeProgram();
    void restoreProgram();

    TkvlPreview *FPreview = nullptr;
    QLabel *FStatusPanels[3] = {nullptr, nullptr, nullptr};
    std::vector<ToolEntry> FTools;
    TkvlCustomExportFilter *FPDFExport = nullptr;
    TkvlCustomExportFilter *FEmailExport = nullptr;
    bool FFullScreen = false;
    Qt::WindowFlags FOldFlags;
    Qt::WindowStates FOldState;
    bool FProgramMinimized = false;
    // The program's windows minimized with this one, and their states before.
    std::vector<std::pair<QPointer<QWidget>, Qt::WindowStates>> FMinimizedWindows;
};

// Puts the preview window into the report's slot (start-up).
void kvlRegisterPreviewForm();
