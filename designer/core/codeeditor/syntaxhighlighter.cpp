#include "designer/core/codeeditor/syntaxhighlighter.h"

#include "script/compiler/qsgrammar.h"
#include "script/core/qslanguages.h"

#include <algorithm>

namespace {

const char kSqlKeywords[] =
    "active,after,all,alter,and,any,as,asc,ascending,at,auto,base_name,before,begin,between,by,cache,call,"
    "cast,check,column,commit,committed,computed,conditional,constraint,containing,count,create,current,"
    "cursor,database,debug,declare,default,delete,desc,descending,distinct,do,domain,drop,else,end,"
    "entry_point,escape,exception,execute,exists,exit,external,extract,filter,for,foreign,from,full,"
    "function,generator,grant,group,having,if,in,inactive,index,inner,insert,into,is,isolation,join,key,"
    "left,level,like,merge,names,no,not,null,of,on,only,or,order,outer,parameter,password,plan,position,"
    "primary,privileges,procedure,protected,read,retain,returns,revoke,right,rollback,schema,select,set,"
    "shadow,shared,snapshot,some,suspend,table,then,to,transaction,trigger,uncommitted,union,unique,"
    "update,user,using,values,view,wait,when,where,while,with,work";

void fill(QByteArray &a, int from, int to, TCharAttr v)
{
    from = std::max(from, 0);
    to = std::min(to, int(a.size()));
    for (int i = from; i < to; ++i)
        a[i] = char(v);
}

} // namespace

bool kvlSetSyntaxRules(TqsParser &Parser, const QString &Syntax)
{
    Parser.Reset();
    bool known = false;
    if (Syntax.compare(QLatin1String("SQL"), Qt::CaseInsensitive) == 0) {
        for (const QString &k : QString::fromLatin1(kSqlKeywords).split(QLatin1Char(',')))
            Parser.AddKeyword(k);
        Parser.CommentLine1 = QStringLiteral("--");
        Parser.CommentLine2.clear();
        Parser.SetCommentBlock1(QStringLiteral("/*,*/"));
        Parser.SetCommentBlock2(QString());
        Parser.StringQuotes = QStringLiteral("\"");
        Parser.HexSequence = QStringLiteral("0x");
        known = true;
    } else {
        QStringList names;
        qsGetLanguageList(names);
        if (names.contains(Syntax, Qt::CaseInsensitive)) {
            try {
                qsGetCompiledLanguage(Syntax)->ApplyTo(Parser, false);
                known = true;
            } catch (...) {
                Parser.Reset(); // an unusable grammar colours nothing
            }
        }
    }
    // Colouring reads one token at a time over single lines: no implicit blank skipping,
    // no line continuation, plain positions.
    Parser.SkipSpace = false;
    Parser.SkipChar.clear();
    Parser.SkipEOL = true;
    Parser.UseY = false;
    return known;
}

TkvlSyntaxHighlighter::TkvlSyntaxHighlighter() { SetSyntax(QString()); }

void TkvlSyntaxHighlighter::SetSyntax(const QString &Name)
{
    FSyntax = Name;
    kvlSetSyntaxRules(FParser, Name);
    for (int k = 1; k <= 2; ++k) {
        const QStringList parts = (k == 1 ? FParser.CommentBlock1() : FParser.CommentBlock2()).split(QLatin1Char(','));
        FOpen[k] = parts.value(0);
        FClose[k] = parts.value(1);
    }
    Reset();
}

void TkvlSyntaxHighlighter::Reset()
{
    FInfo.assign(FLines ? FLines->size() : 0, LineInfo());
    FComputed = 0;
    FDirtyFrom = FDirtyTo = -1;
}

void TkvlSyntaxHighlighter::LinesChanged(int First0, int Removed, int Added)
{
    if (!FLines)
        return;
    const int delta = Added - Removed;
    if (delta > 0)
        FInfo.insert(FInfo.begin() + First0, delta, LineInfo());
    else if (delta < 0)
        FInfo.erase(FInfo.begin() + First0, FInfo.begin() + First0 - delta);
    for (int i = First0; i < First0 + Added; ++i)
        FInfo[i] = LineInfo();
    if (First0 >= FComputed)
        return;
    if (FDirtyFrom >= 0 && FDirtyTo > First0)
        FDirtyTo = std::max(First0 + Added, FDirtyTo + delta);
    else
        FDirtyTo = std::max(FDirtyTo, First0 + Added);
    FDirtyFrom = FDirtyFrom < 0 ? First0 : std::min(FDirtyFrom, First0);
    FComputed = First0 + Removed <= FComputed ? FComputed + delta : First0 + Added;
}

int TkvlSyntaxHighlighter::Compute(int Line0)
{
    if (!FLines)
        return -1;
    Line0 = std::min(Line0, int(FLines->size()) - 1);
    int changed = -1;
    if (FDirtyFrom >= 0) {
        for (int i = FDirtyFrom; i < FComputed; ++i) {
            const uint8_t state = i == 0 ? 0 : FInfo[i - 1].End;
            if (i >= FDirtyTo && FInfo[i].Start == state)
                break; // this line and those below are as before
            if (i > Line0) {
                FComputed = i; // below the window: classified again when shown
                break;
            }
            FInfo[i].Start = state;
            FInfo[i].End = ScanLine(i, state, FInfo[i].Attrs);
            changed = i;
        }
        FDirtyFrom = FDirtyTo = -1;
    }
    for (int i = FComputed; i <= Line0; ++i) {
        const uint8_t state = i == 0 ? 0 : FInfo[i - 1].End;
        FInfo[i].Start = state;
        FInfo[i].End = ScanLine(i, state, FInfo[i].Attrs);
    }
    FComputed = std::max(FComputed, Line0 + 1);
    return changed;
}

uint8_t TkvlSyntaxHighlighter::ScanLine(int Line0, uint8_t State, QByteArray &Attrs)
{
    const QString &s = (*FLines)[Line0];
    const int n = int(s.size());
    Attrs.fill(char(caText), n);
    int start = 0;
    uint8_t end = 0;
    if (State) {
        const qsizetype close = FClose[State].isEmpty() ? -1 : s.indexOf(FClose[State]);
        if (close < 0) {
            fill(Attrs, 0, n, caComment);
            end = State;
            start = n;
        } else {
            start = int(close + FClose[State].size());
            fill(Attrs, 0, start, caComment);
        }
    }
    if (start < n) {
        // The line with its break, as the tokenizer sees it inside the whole text.
        FScratch.resize(0);
        FScratch += s;
        FScratch += QLatin1String("\r\n");
        FParser.SetText(FScratch);
        FParser.SetPosition(start + 1);
        while (FParser.Position() <= n) {
            const int p0 = FParser.Position();
            FParser.SkipSpaces();
            const int p1 = FParser.Position();
            if (const int open = FParser.OpenCommentPosition()) {
                fill(Attrs, p0 - 1, n, caComment);
                end = QStringView(s).mid(open - 1).startsWith(FOpen[1]) && !FOpen[1].isEmpty() ? 1 : 2;
                break;
            }
            fill(Attrs, p0 - 1, p1 - 1, caComment);
            if (p1 > n)
                break;
            const QStringView word = FParser.GetWordView();
            if (!word.isEmpty()) {
                fill(Attrs, p1 - 1, FParser.Position() - 1, FParser.IsKeyWord(word) ? caKeyword : caText);
                continue;
            }
            if (!FParser.GetNumber().isEmpty()) {
                fill(Attrs, p1 - 1, FParser.Position() - 1, caNumber);
                continue;
            }
            if (!FParser.GetString().isEmpty()) {
                fill(Attrs, p1 - 1, FParser.Position() - 1, caString);
                continue;
            }
            FParser.SetPosition(p1 + 1);
        }
    }
    // Tabs and other control characters read as plain text.
    for (int i = 0; i < n; ++i)
        if (s[i].unicode() < 32)
            Attrs[i] = char(caText);
    return end;
}

TCharAttr TkvlSyntaxHighlighter::Attr(int X, int Y) const
{
    const QByteArray *a = LineAttrs(Y - 1);
    if (!a || X < 1 || X > a->size())
        return caText;
    return TCharAttr((*a)[X - 1]);
}

const QByteArray *TkvlSyntaxHighlighter::LineAttrs(int Line0) const
{
    return Line0 >= 0 && Line0 < FComputed ? &FInfo[Line0].Attrs : nullptr;
}
