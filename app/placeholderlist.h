#pragma once
// What the sites and titles windows share: a list kept on a shared query, where a new entry
// is a placeholder row that the user then renames in place.
#include <QString>
#include <functional>

class QWidget;
class TDataSet;
class TDBGrid;
class TDBNavigator;
enum class TNavigateBtn;

namespace placeholder {

struct TListTexts
{
    QString Placeholder;   // text of the placeholder row
    QString DuplicateText; // warning when the placeholder is there already
};

// After any navigator button: for the insert button the placeholder row is added through
// insertRow (a duplicate is reported with the "chiave primaria" warning, any other failure
// with its own message); then the query is refreshed, which drops a row the navigator opened
// and nothing filled, and the placeholder row, when there is one, becomes current and the grid
// takes the focus.
void NavigatorClicked(TNavigateBtn button, TDataSet &ds, const QString &field, const TListTexts &texts,
                      const std::function<void()> &insertRow, TDBGrid *grid);

// The grid and navigator settings both windows use.
void SetupGrid(TDBGrid *grid);

} // namespace placeholder
