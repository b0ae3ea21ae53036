#pragma once
// The library's registry keys, kept as ini files: the current user's under the user's
// configuration folder ($XDG_CONFIG_HOME, else ~/.config), the local machine's under
// /etc/xdg. The key "\A\B\C" is the section "C" of the file "A/B.ini" below that folder,
// so the subkeys of one key share one file.
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
