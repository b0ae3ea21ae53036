#pragma once
// The designer's Find and Replace commands on the search dialog.
class QWidget;
class TkvlDesignerFiles;

// Shows the search dialog (its replace field in replace mode; the option to search from the
// top only on the script tab) and, after OK, runs the first search step.
void kvlFindOrReplace(QWidget *Parent, TkvlDesignerFiles &Files, bool Replace);
