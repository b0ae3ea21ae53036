#pragma once
// The designer's Find and Replace commands on the search dialog, and the recent-file entries
// of its File menu.
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QWidget;
class TkvlDesignerFiles;
class TkvlRecentFiles;

// Shows the search dialog (its replace field in replace mode; the option to search from the
// top only on the script tab) and, after OK, runs the first search step.
void kvlFindOrReplace(QWidget *Parent, TkvlDesignerFiles &Files, bool Replace);

// Menu entries of recent files carry this tag (the action's "Tag" property).
constexpr int kvlRecentFileTag = 100;

// Puts the recent files between the separators SepMI11 and SepMI4 of Menu, newest first, each
// opening its file through Open (unless the host forbids loading); SepMI11 shows while the
// list has names. Called again whenever the list changes.
void kvlRenderRecentFiles(QMenu *Menu, QAction *SepMI11, QAction *SepMI4, const TkvlRecentFiles &Files,
                          const std::function<void(const QString &FileName)> &Open);
