#pragma once
// Rules of the hyperlink dialog: the variables and pages it offers and what OK writes.
#include "report/appearance/hyperlink.h"

#include <QString>
#include <QStringList>

class TkvlPage;
class TkvlReport;
class TkvlVariables;
class TkvlView;

// The cursor a clickable object shows.
inline constexpr int16_t kvlHandCursor = -21;

// Names of the variables (categories, whose names begin with a blank, left out).
QStringList kvlVariableNames(const TkvlVariables &Variables);
// The same of a template file, read into a temporary report; any failure gives none.
QStringList kvlFileVariableNames(const QString &FileName);
// Names of the report pages of Report but Except.
QStringList kvlOtherPageNames(TkvlReport *Report, const TkvlPage *Except);

struct TkvlHyperlinkChoice {
    TkvlHyperlinkKind Kind = hkURL;
    QString Value, Expression;
    // Read for the two detail kinds only.
    QString DetailReport, DetailPage, ReportVariable;
    bool ModifyAppearance = false;
};

// Writes the choice into View's hyperlink. A detail page of that name in Report is made
// invisible (it prints only as a detail page); the appearance change gives the hand cursor
// and, to a text object, a navy underlined font.
void kvlApplyHyperlink(TkvlView *View, TkvlReport *Report, const TkvlHyperlinkChoice &Choice);
