#pragma once
// Which files a template's script may reach. Templates travel, so a script is held to its
// template's folder, the program's report folder and the temporary folder; any other file
// needs the user's yes, asked once per file and run; the program's settings and its
// databases are never reached. Every file binding of the script engine asks here
// (script/core/qsfileaccess.h).
#include "script/core/qsfileaccess.h"

#include <QHash>
#include <QString>
#include <QStringList>

class TkvlReport;
class TqsScript;

class TkvlFileTrust
{
public:
    explicit TkvlFileTrust(const TkvlReport *Report);

    // Whether the report's script may use the file. Outside the free folders it asks the user
    // (on the user-interface thread only; elsewhere the answer is no).
    bool Allows(const QString &FileName, TqsFileAccess Access);
    // A new run asks again.
    void Forget() { FAnswers.clear(); }

    // Free besides the template's folder and the temporary one: the program's report folder.
    QStringList Folders;
    // Never reached, wherever they are: the program's settings file, and every file that the
    // host adds (a database elsewhere). Database files are known by their suffix too.
    QStringList RefusedFiles;

private:
    bool Free(const QString &Path) const;
    bool Refused(const QString &Path) const;
    bool Ask(const QString &Path, TqsFileAccess Access) const;

    const TkvlReport *FReport;
    QHash<QString, bool> FAnswers; // by full path, for this run
};

// The file a name reaches: absolute, with every link on the way resolved (also a dangling
// last link, which a write would follow).
QString kvlResolvedPath(const QString &FileName);

// Makes Trust decide on the files the script (and the scripts below it) reach.
void kvlGuardScriptFiles(TqsScript *Script, TkvlFileTrust *Trust);
