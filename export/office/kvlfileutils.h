#pragma once
#include <QString>

// Deletes the folder with everything below it; does nothing when it does not exist. A
// symbolic link is removed itself, never followed. Errors are swallowed: what cannot be
// deleted stays.
void DeleteFolder(const QString &Path);
