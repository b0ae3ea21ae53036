#pragma once
// Temporary files and folders, and the program's own location.
#include <QString>

// The system temporary folder, ending with '/'.
QString GetTemporaryFolder();

// Creates a new empty file with a unique name starting with "kv" in the system temporary
// folder and returns its path. Raises Exception when no file can be made.
QString GetTempFile();

// The same in TempDir; an empty TempDir means the system temporary folder.
QString kvlCreateTempFile(const QString &TempDir);

// The full path of the program file.
QString GetAppFileName();

// The program's folder, ending with '/'.
QString GetAppPath();
