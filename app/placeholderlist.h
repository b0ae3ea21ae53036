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
    QString DuplicateText; // warning when the placeholder (or a name) is there already
    QString EmptyText = {};    // warning when a name is stored empty
    QString NotSavedText = {}; // says what a refused store did not save
};

// While a list window is open its query stores names through these checks: an empty name is
// refused with a warning, a name that exists with the duplicate warning, any other refusal of
// the database as "Classe: " / "Messaggio: " with the sentence of texts before the engine's
// text. ReleasePosts takes them off.
void GuardPosts(TDataSet &ds, const QString &field, const TListTexts &texts);
void ReleasePosts(TDataSet &ds);

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
