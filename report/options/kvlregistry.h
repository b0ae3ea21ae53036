#pragma once
// The library's registry keys, kept as ini files: the current user's under the user's
// configuration folder ($XDG_CONFIG_HOME, else ~/.config), the local machine's under
// /etc/xdg. The key "\A\B\C" is the section "C" of the file "A/B.ini" below that folder,
// so the subkeys of one key share one file.
#include <QList>
#include <QString>

enum class TkvlRegistryRoot { CurrentUser, LocalMachine };

// The folder that holds a root's keys.
QString kvlRegistryRootFolder(TkvlRegistryRoot Root);
// Puts a root elsewhere (tests, installs); an empty folder restores the default.
void kvlSetRegistryRootFolder(TkvlRegistryRoot Root, const QString &Folder);

// The file and section of a key; false for a key path of fewer than two parts or with an
// empty, "." or ".." part.
bool kvlRegistryKeyLocation(TkvlRegistryRoot Root, const QString &KeyPath, QString &FileName, QString &Section);

// A string value of a key, read without changing anything; empty when the key or the value
// is missing.
QString kvlReadRegistryString(TkvlRegistryRoot Root, const QString &KeyPath, const QString &Name);

// The values of a key as name and data, in the order they are stored; empty when the key is
// missing.
struct TkvlRegistryValue {
    QString Name;
    QString Data;
};
QList<TkvlRegistryValue> kvlReadRegistryValues(TkvlRegistryRoot Root, const QString &KeyPath);

// Whether a name can be stored as a value name (not empty, no "=", no line break, not
// starting with "[" or ";").
bool kvlIsRegistryValueName(const QString &Name);

// Replaces the values of a key whole; a name given twice keeps the later data (names match
// ignoring case). The key's file is written complete to a temporary file and renamed into
// place, so other keys of the file are kept and a failed write leaves the old file as it was.
// False when the key cannot be written (also for a name kvlIsRegistryValueName refuses).
bool kvlWriteRegistryKey(TkvlRegistryRoot Root, const QString &KeyPath, const QList<TkvlRegistryValue> &Values);
