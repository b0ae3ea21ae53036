#pragma once
// Names of colours, character sets, cursors and keyboard shortcuts, both ways, as the property
// editors show and accept them.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace propnames {

// Every colour identifier ("clBlack", ..., "clWindowText").
const QStringList &ColorIdents();

// Character sets: "ANSI_CHARSET" = 0, "DEFAULT_CHARSET" = 1, ...
const QStringList &CharsetIdents();
std::optional<int> IdentToCharset(const QString &Ident);  // any case
QString CharsetToIdent(int Charset);                       // empty when unnamed

// Cursors: "crDefault" = 0, "crArrow" = -2, ...
const QStringList &CursorIdents();
std::optional<int> IdentToCursor(const QString &Ident);  // any case
QString CursorToIdent(int Cursor);                        // empty when unnamed

// Shortcuts: a key code with the modifier bits below ("Ctrl+A", "Shift+Ctrl+F1", "Alt+BkSp").
enum : int { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
QString ShortCutToText(int ShortCut);          // empty for 0 and unknown keys
std::optional<int> TextToShortCut(const QString &Text);  // any case; nullopt when not a shortcut
// The shortcuts the shortcut list offers, in order (108).
const QList<int> &StandardShortCuts();

} // namespace propnames
