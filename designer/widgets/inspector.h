#pragma once
// The designer's object inspector: a tool window showing the published properties and the
// script events of the selected report objects as a two-column grid, edited in place by the
// rows' property editors. The designer window docks it and wires it up:
//     auto *insp = new TkvlObjectInspector(designer, designerWindow);
//     insp->OnModify = [..] { designer->SetModified(true); /* undo */ };
//     insp->OnSelectionChanged = [..] { /* selection changed in the page */ };
//     insp->SetObjects(designer->Objects);                   // after a page change
//     insp->SetSelectedObjects(&designer->SelectedObjects);  // after a selection change
#include "designer/core/propeditors.h"
#include "designer/widgets/dockform.h"
#include "platform/rtl/color.h"

#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QScrollArea;
class QSplitter;
class QTabBar;
class QToolButton;
class TkvlComponent;
class TkvlCustomDesigner;
class TkvlInspectorGrid;
class TkvlPopupForm;

class TkvlObjectInspector : public TkvlDockForm {
    Q_OBJECT
public:
    // Raises EInvalidOperation without a designer.
    TkvlObjectInspector(TkvlCustomDesigner *Designer, QWidget *Owner);
    ~TkvlObjectInspector() override;

    // The objects the objects box offers (the designer's objects of the current page).
    void SetObjects(const std::vector<TkvlComponent *> &Objects);
    // Shows the properties of the list's objects; the list stays the caller's (the designer's
    // selection, which a pick in the objects box changes).
    void SetSelectedObjects(std::vector<TkvlComponent *> *Objects);
    // Shows these objects, offering only them in the objects box.
    void Inspect(const std::vector<TkvlComponent *> &Objects);
    // Rebuilds the rows for the same selection (after changes made elsewhere).
    void UpdateProperties();

    int ItemIndex() const { return FItemIndex; }
    // Selects a visible row; setting the current row again stores a pending edit.
    void SetItemIndex(int Value);
    void DisableUpdate() { FDisableUpdate = true; }
    void EnableUpdate();
    void SetColor(TColor Value);
    int Splitter1Pos() const;
    void SetSplitter1Pos(int Value);
    // Width of the name column.
    int SplitterPos() const { return FSplitterPos; }
    void SetSplitterPos(int Value);

    std::function<void()> OnModify;
    std::function<void()> OnSelectionChanged;
    // Keys that reach the window go to the designer window's own handler first.
    std::function<bool(QKeyEvent *)> OnDesignerKey;

    // Visible rows: the items of the current tab's list, each expanded item followed by its
    // members.
    int Count() const { return int(FRows.size()); }
    TkvlPropertyItem *GetItem(int Index) const;
    int GetOffset(int Index) const;
    QString GetName(int Index) const;
    TkvlPropertyAttributes GetType(int Index) const;
    QString GetValue(int Index) const;
    int RowHeight() const { return FRowHeight; }
    // The rows of the properties tab and of the events tab.
    TkvlPropertyList *PropertyList() const { return FPropertyList.get(); }
    TkvlPropertyList *EventList() const { return FEventList.get(); }

    // The controls, for the designer's settings and for tests.
    QComboBox *ObjectsCB = nullptr;
    QTabBar *Tabs = nullptr;
    QScrollArea *Box = nullptr;
    QWidget *PB = nullptr;  // the grid's surface
    QLineEdit *Edit1 = nullptr;
    QToolButton *EditBtn = nullptr;
    QToolButton *ComboBtn = nullptr;
    QSplitter *Splitter1 = nullptr;
    QWidget *HintPanel = nullptr;
    QLabel *PropL = nullptr;
    QLabel *DescrL = nullptr;
    // The open drop-down list, or nullptr.
    QListWidget *PopupList() const;

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;
    void showEvent(QShowEvent *Event) override;

private:
    friend class TkvlInspectorGrid;
    struct Row {
        TkvlPropertyItem *Item;
        TkvlPropertyList *List;
        int Depth;
    };
    void rebuildRows();
    void FormResize();
    void AdjustControls();
    void StoreValue(int Index, const QString &Text);
    void DoModify();
    // Runs the editor's Edit, showing its error; true when objects changed.
    bool RunEdit(TkvlPropertyEditor *Editor, bool &Rebuilt);
    void EditBtnClick();
    void ComboBtnClick();
    void LBClick(int Row);
    void ObjectsCBClick(int Index);
    void TabChange(int Index);
    void CommitOnLeave();
    bool Edit1Key(QKeyEvent *Event);
    void setObjectsEntry(TkvlComponent *Object);
    QString entryText(TPersistent *Object) const;
    void paintGrid(QPainter &Painter);
    void drawOneLine(QPainter &Painter, int Index, bool Current);
    void gridPress(QMouseEvent *Event);
    void gridMove(QMouseEvent *Event);
    void gridRelease();
    void gridDoubleClick();
    void gridWheel(QWheelEvent *Event);
    void gridLeave();
    void applyTab();

    TkvlCustomDesigner *FDesigner;
    std::vector<TkvlComponent *> *FSelectedObjects = nullptr;
    std::vector<TkvlComponent *> FTempList;
    TkvlPropertyRules FRules;
    std::unique_ptr<TkvlPropertyList> FPropertyList;
    std::unique_ptr<TkvlPropertyList> FEventList;
    TkvlPropertyList *FList = nullptr;
    std::vector<Row> FRows;
    int FItemIndex = -1;
    QString FLastPosition;
    int FRowHeight = 16;
    int FSplitterPos = 90;
    bool FDisableUpdate = false;
    bool FUpdatingPB = false;
    bool FUpdatingObjectsCB = false;
    bool FDown = false;
    bool FDisableDblClick = false;
    bool FSplitCursor = false;
    qint64 FTickCount = -1000000;
    bool FComboPressAfterClose = false;
    // A value is being stored: a rebuild asked for meanwhile (a setter refreshing the
    // inspector) waits until the row's editor is done.
    bool FStoring = false;
    bool FRebuildPending = false;
    TColor FColor = clWindow;
    QPointer<TkvlPopupForm> FPopupForm;
    QListWidget *FPopupLB = nullptr;
};
