#pragma once
// The designer's files: opening and saving templates, the question before losing changes,
// the caption, the recent-file list, and finding and replacing text in the memos of a page
// or in the script. Works on the designer through its seam and on what the window shows
// through TkvlFilesWindow.
#include <QAbstractListModel>
#include <QString>
#include <QStringList>

class TkvlCodeBuffer;
class TkvlCustomDesigner;
class TkvlReport;

// What the file operations need of the designer window.
class TkvlFilesWindow {
public:
    virtual ~TkvlFilesWindow() = default;
    virtual void SetCaption(const QString &Caption) = 0;
    // The script editor's lines, stored into the report before it is saved.
    virtual QStringList ScriptLines() = 0;
    // The script tab is shown, and its editor's text (searched there).
    virtual bool CodeTabShown() = 0;
    virtual TkvlCodeBuffer *CodeBuffer() = 0;
    // The selection changed by a find on a page: scroll it into view and refresh.
    virtual void ShowSelection() = 0;
    // Find Next may run from now on.
    virtual void EnableFindNext() {}
};

// The recently used templates, at most 8, oldest first; the File menu shows them newest
// first (one row per entry, none when the host hides the list).
class TkvlRecentFiles final : public QAbstractListModel {
public:
    static constexpr int kMax = 8;
    using QAbstractListModel::QAbstractListModel;

    // Oldest first, as the settings keep them.
    const QStringList &Files() const { return FFiles; }
    void SetFiles(const QStringList &OldestFirst);
    // A non-empty name moves (or is added) to the newest place; the oldest drop beyond kMax.
    void Add(const QString &FileName);
    // The separator above the entries shows while the list has names, hidden or not.
    bool SeparatorVisible() const { return !FFiles.isEmpty(); }
    // The names the menu shows, newest first (none while hidden).
    QStringList MenuEntries() const;
    bool Hidden() const;

    int rowCount(const QModelIndex &Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &Index, int Role = Qt::DisplayRole) const override;

private:
    QStringList FFiles;
};

class TkvlDesignerFiles {
public:
    TkvlDesignerFiles(TkvlCustomDesigner *ADesigner, TkvlFilesWindow *AWindow);
    TkvlFilesWindow *Window() const { return FWindow; }

    // Opens a template by name, or through the open dialog when the name is empty. Answering
    // Cancel to the save question changes nothing. Errors are shown to the user; the report's
    // silent mode is the same afterwards.
    void LoadFile(const QString &FileName, bool UseOnLoadEvent);
    // Saves (SaveAs: under a name asked for). True when the report was saved; a write error
    // is shown and leaves the report modified.
    bool SaveFile(bool SaveAs, bool UseOnSaveEvent);
    // Asks to save changes: IDYES, IDNO or IDCANCEL.
    int AskSave();
    // Before another report replaces this one: false when the user cancelled.
    bool SaveCurrentFile(bool UseOnSaveEvent);
    QString GetReportName() const;
    void UpdateCaption();
    void UpdateRecentFiles(const QString &NewFile) { FRecentFiles.Add(NewFile); }
    TkvlRecentFiles &RecentFiles() { return FRecentFiles; }

    // ---- search ----
    // The search dialog's answer: search from the start (page), from the caret (script,
    // unless FromTop), then the first step.
    void StartSearch(const QString &Text, const QString &ReplaceText, bool CaseSensitive, bool Replace,
                     bool FromTop);
    // The Find Next step.
    void FindText();
    const QString &SearchText() const { return FSearchText; }
    int SearchIndex() const { return FSearchIndex; }

private:
    TkvlReport *report() const;
    bool loadFromFile(const QString &FileName);
    bool findOnPage(bool &Changed, bool &Stop);
    bool findInScript(bool &Changed, bool &Stop);
    // Yes for Yes and All (All holds for the rest of the call); Stop after No or Cancel.
    bool AskReplace(bool &Stop);

    TkvlCustomDesigner *FDesigner;
    TkvlFilesWindow *FWindow;
    TkvlRecentFiles FRecentFiles;
    QString FSearchText, FSearchReplaceText;
    bool FSearchCase = false;
    bool FSearchReplace = false;
    int FSearchIndex = 0;
    bool FReplaceAll = false;
};
