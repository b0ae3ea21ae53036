#pragma once
// The one gate through which scripts reach files. A script's host (the report that runs it)
// decides on every file a binding reads or writes; the binding raises when the host refuses.
#include <QString>
#include <functional>

class TqsScript;

enum class TqsFileAccess : unsigned char { Read, Write };

// Whether the script may use the file (the name as the script gave it). Called on the script's
// thread, before the file is opened.
using TqsFileAccessEvent = std::function<bool(const QString &fileName, TqsFileAccess access)>;

// Asks the first OnFileAccess up the script's chain of scopes; a refusal raises the script
// error naming the file's full path. A script that no host watches (nil, or none up the
// chain) is the program's own and goes through.
void qsCheckFileAccess(const TqsScript *script, const QString &fileName, TqsFileAccess access);
