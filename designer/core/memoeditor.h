#pragma once
// Rules of the text-object editor that need no window.
#include <QString>

// The text an expression from the expression editor is inserted as: enclosed in the memo's
// delimiters, a single field reference <DataSet."Field"> losing its angle brackets.
QString kvlBracketExpression(const QString &Expr, const QString &Delimiters);

// Settings section of the editor window.
inline constexpr const char *kvlMemoEditorSection = "Form5.TkvlMemoEditorForm";
