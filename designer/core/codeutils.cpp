#include "designer/core/codeutils.h"

#include "platform/rtl/reflect/typeinfo.h"
#include "platform/rtl/stringlist.h"
#include "report/resources/kvlresources.h"

namespace {

struct Language {
    const char *name, *proc, *begin, *end, *lastend, *openquote, *closequote;
};

const Language kLanguages[] = {
    {"DozovoZozedi", "procedure", "begin", "end;", "end.", "{", "}"},
    {"D++Iraved", "void", "{", "}", "}", "/*", "*/"},
    {"DevavAraroz", "sub", "", "end sub", "", "/\\", "/\\"},
    {"JScript", "function", "{", "}", "", "/*", "*/"},
};

// Parameter lists, one column per language in the order of kLanguages.
struct EventParams {
    const char *type;
    const char *params[4];
};

const EventParams kEvents[] = {
    {"TkvlNotifyEvent", {"(Sender: TkvlComponent);", "(TkvlComponent Sender)", "(Sender)", "(Sender)"}},
    {"TkvlCloseQueryEvent",
     {"(Sender: TkvlComponent; var CanClose: Boolean);", "(TkvlComponent Sender, bool &CanClose)",
      "(Sender, byref CanClose)", "(Sender, &CanClose)"}},
    {"TkvlKeyEvent",
     {"(Sender: TkvlComponent; var Key: Word; Shift: Integer);", "(TkvlComponent Sender, word &Key, int Shift)",
      "(Sender, byref Key, Shift)", "(Sender, &Key, Shift)"}},
    {"TkvlKeyPressEvent",
     {"(Sender: TkvlComponent; var Key: Char);", "(TkvlComponent Sender, char &Key)", "(Sender, byref Key)",
      "(Sender, &Key)"}},
    {"TkvlMouseEvent",
     {"(Sender: TkvlComponent; Button: TMouseButton; Shift: Integer; X, Y: Integer);",
      "(TkvlComponent Sender, TMouseButton Button, int Shift, int X, int Y)", "(Sender, Button, Shift, X, Y)",
      "(Sender, Button, Shift, X, Y)"}},
    {"TkvlMouseMoveEvent",
     {"(Sender: TkvlComponent; Shift: Integer; X, Y: Integer);", "(TkvlComponent Sender, int Shift, int X, int Y)",
      "(Sender, Shift, X, Y)", "(Sender, Shift, X, Y)"}},
    {"TkvlPreviewClickEvent",
     {"(Sender: TkvlView; Button: TMouseButton; Shift: Integer; var Modified: Boolean);",
      "(TkvlView Sender, TMouseButton Button, int Shift, bool &Modified)", "(Sender, Button, Shift, byref Modified)",
      "(Sender, Button, Shift, &Modified)"}},
    {"TkvlMouseEnterViewEvent",
     {"(Sender: TkvlView; var Modified: Boolean);", "(TkvlView Sender, bool &Modified)", "(Sender, byref Modified)",
      "(Sender, &Modified)"}},
    {"TkvlMouseLeaveViewEvent",
     {"(Sender: TkvlView; var Modified: Boolean);", "(TkvlView Sender, bool &Modified)", "(Sender, byref Modified)",
      "(Sender, &Modified)"}},
    {"TkvlRunDialogsEvent", {"(var Result: Boolean);", "(bool &Result)", "(byref Result)", "(&Result)"}},
};

// An empty text is contained nowhere.
bool has(const QString &line, const QString &text)
{
    return !text.isEmpty() && line.contains(text, Qt::CaseInsensitive);
}

// The parameters one routine needs, looked up once.
struct Syntax {
    QString proc, begin, end, lastend, open, close;
    explicit Syntax(const QString &language)
    {
        // One lookup of the description; the parameters are cut from it.
        const QString desc = kvlResources().IndexOf(language) >= 0 ? kvlResources().Get(language) : QString();
        proc = param(desc, u"proc");
        begin = param(desc, u"begin");
        end = param(desc, u"end");
        lastend = param(desc, u"lastend");
        open = param(desc, u"openquote");
        close = param(desc, u"closequote");
    }
    static QString param(const QString &desc, QStringView name)
    {
        const QString key = name + QStringLiteral("=\"");
        for (qsizetype from = 0;;) {
            const qsizetype at = desc.indexOf(key, from, Qt::CaseInsensitive);
            if (at < 0)
                return {};
            if (at == 0 || desc.at(at - 1) == u' ') {
                const qsizetype start = at + key.size();
                const qsizetype stop = desc.indexOf(u'"', start);
                return stop < 0 ? desc.mid(start) : desc.mid(start, stop - start);
            }
            from = at + 1;
        }
    }
    // The running count of open block comments after a line (read downwards unless up).
    void track(const QString &line, int &count, bool up = false) const
    {
        const bool o = has(line, open), c = has(line, close);
        if (o && !c)
            count += up ? -1 : 1;
        else if (c && !o)
            count += up ? 1 : -1;
    }
    // A line that opens a procedure: "proc" at its very first character.
    bool opensProc(const QString &line) const
    {
        return !proc.isEmpty() && line.startsWith(proc, Qt::CaseInsensitive);
    }
};

} // namespace

void kvlAddCodeRes()
{
    TkvlResources &res = kvlResources();
    for (const Language &l : kLanguages)
        res.Add(QString::fromLatin1(l.name),
                QStringLiteral("proc=\"%1\" begin=\"%2\" end=\"%3\" lastend=\"%4\" openquote=\"%5\" closequote=\"%6\"")
                    .arg(QLatin1String(l.proc), QLatin1String(l.begin), QLatin1String(l.end),
                         QLatin1String(l.lastend), QLatin1String(l.openquote), QLatin1String(l.closequote)));
    for (const EventParams &e : kEvents) {
        QString text;
        for (int i = 0; i < 4; ++i) {
            if (i)
                text += QStringLiteral("\r\n");
            text += QLatin1String(kLanguages[i].name) + u'=' + QLatin1String(e.params[i]);
        }
        res.Add(QString::fromLatin1(e.type), text);
    }
}

QString kvlGetLanguageParam(const QString &Language, const QString &Param)
{
    const TkvlResources &res = kvlResources();
    if (res.IndexOf(Language) < 0)
        return {};
    return Syntax::param(res.Get(Language), Param);
}

QString kvlGetEventParams(const QString &EventTypeName, const QString &Language)
{
    const TkvlResources &res = kvlResources();
    if (res.IndexOf(EventTypeName) < 0)
        return {};
    TStringList lines;
    lines.SetText(res.Get(EventTypeName));
    return lines.Values(Language);
}

void kvlEmptyCode(TStringList &Code, const QString &Language)
{
    Code.Clear();
    const Syntax s(Language);
    if (s.lastend.isEmpty())
        return;
    Code.Add(s.begin);
    Code.Add(QString());
    Code.Add(s.lastend);
}

int kvlLocateEventHandler(const TStringList &Code, const QString &Language, const QString &EventName)
{
    const Syntax s(Language);
    if (s.proc.isEmpty())
        return -1;
    const QString head = s.proc + u' ' + EventName + u'(';
    int comments = 0;
    for (int i = 0; i < Code.Count(); ++i) {
        const QString &line = Code[i];
        s.track(line, comments);
        if (comments == 0 && line.startsWith(head, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

namespace {

int locateMain(const TStringList &Code, const Syntax &s)
{
    if (s.lastend.isEmpty())
        return std::max(Code.Count() - 1, 0);
    int last = -1;
    int comments = 0;
    for (int i = Code.Count() - 1; i >= 0; --i) {
        s.track(Code[i], comments, true);
        if (comments == 0 && has(Code[i], s.lastend)) {
            last = i;
            break;
        }
    }
    if (last < 0)
        return -1;
    int depth = 1;
    for (int i = last - 1; i >= 0; --i) {
        QString line = Code[i];
        if (const qsizetype remark = line.indexOf(QLatin1String("//")); remark >= 0)
            line.truncate(remark);
        if (has(line, s.end))
            ++depth;
        if (has(line, s.begin))
            --depth;
        if (depth == 0)
            return i;
    }
    return 0;
}

} // namespace

int kvlLocateMainProc(const TStringList &Code, const QString &Language)
{
    const Syntax s(Language);
    if (s.lastend.isEmpty())
        return Code.Count() - 1;
    return locateMain(Code, s);
}

int kvlAddEvent(TStringList &Code, const QString &Language, const rtl::TypeInfo *EventType, const QString &EventName)
{
    const Syntax s(Language);
    if (s.proc.isEmpty())
        return -1;
    // Without a main block an empty script takes the handler at its first line.
    const int at = locateMain(Code, s);
    if (at < 0)
        return -1;
    const QString params = EventType ? kvlGetEventParams(EventType->name(), Language) : QString();
    Code.Insert(at, s.proc + u' ' + EventName + params);
    Code.Insert(at + 1, s.begin);
    Code.Insert(at + 2, QString());
    Code.Insert(at + 3, s.end);
    Code.Insert(at + 4, QString());
    return at + 3;
}

void kvlGetEventHandlersList(const TStringList &Code, const QString &Language, const rtl::TypeInfo *EventType,
                             TStringList &List)
{
    List.Clear();
    const Syntax s(Language);
    if (s.proc.isEmpty() || !EventType)
        return;
    const QString params = kvlGetEventParams(EventType->name(), Language);
    if (params.isEmpty())
        return;
    int comments = 0;
    for (int i = 0; i < Code.Count(); ++i) {
        const QString &line = Code[i];
        s.track(line, comments);
        if (comments != 0 || !s.opensProc(line))
            continue;
        const QStringView rest = QStringView(line).mid(s.proc.size());
        const qsizetype paren = rest.indexOf(u'(');
        if (paren < 0)
            continue;
        if (rest.mid(paren).trimmed().compare(params, Qt::CaseInsensitive) == 0)
            List.Add(rest.left(paren).trimmed().toString());
    }
}
