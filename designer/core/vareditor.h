#pragma once
// The variables dictionary as its editor changes it, free of widgets. Entries whose name
// begins with a blank are categories; the entries after one, up to the next, are its
// variables; entries before the first category belong to none.
#include <QString>
#include <QStringList>

class TkvlVariables;

// Base + the smallest N from 1 that no entry is named yet (ignoring case).
QString kvlUniqueVarName(const TkvlVariables &Vars, const QString &Base);
// Appends " New CategoryN"; returns the name shown (without the blank).
QString kvlNewCategory(TkvlVariables &Vars);
// Adds "New VariableN" with an empty text after the last variable of Category (its shown
// name), or after the last entry that belongs to no category when Category is empty.
QString kvlNewVariable(TkvlVariables &Vars, const QString &Category);
// Renames an entry (a category by its shown names); false, changing nothing, when another
// entry already has the new name. A change of case alone is accepted.
bool kvlRenameEntry(TkvlVariables &Vars, const QString &Old, const QString &New, bool Category);
// One line per entry: a category by its shown name, a variable as a blank and its name.
QStringList kvlDictionaryLines(const TkvlVariables &Vars);
// Rebuilds the dictionary from such lines (blank lines skipped); entries keep the values they
// had under the same name, new ones get an empty text.
void kvlDictionaryFromLines(TkvlVariables &Vars, const QStringList &Lines);
// Reads a dictionary file into Vars only when the whole file reads; on failure (raised) Vars
// stays as it was.
void kvlLoadVariablesKeeping(TkvlVariables &Vars, const QString &FileName);
