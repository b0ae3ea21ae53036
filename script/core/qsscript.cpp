#include "script/core/qsscript.h"

#include "script/compiler/qsilparser.h"

#include <QIODevice>

TqsScript::TqsScript() = default;

TqsScript::~TqsScript()
{
    DestroyRuntime();
    ClearAllItems();
}

void TqsScript::ResolveRunState()
{
    FRunStateFor = Parent;
    FRunState = Parent ? &Parent->RunState() : &FOwnRunState;
}

size_t TqsScript::LowerBound(QStringView name) const
{
    size_t lo = 0, hi = FItems.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (QStringView(FItems[mid].name).compare(name, Qt::CaseInsensitive) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void TqsScript::Add(const QString &name, TqsScriptItem *item)
{
    if (item->IsScriptVariable()) {
        item->AddedBy = AddedBy;
        if (FrameLayout)
            qsTakeSlot(*FrameLayout, item);
    }
    // Before any equal name, so the latest registration is found first.
    FItems.insert(FItems.begin() + LowerBound(name), Entry{name, item});
}

void TqsScript::Remove(TqsScriptItem *item)
{
    for (auto it = FItems.begin(); it != FItems.end(); ++it)
        if (it->item == item) {
            FItems.erase(it);
            return;
        }
}

TqsScriptItem *TqsScript::FindLocal(QStringView name) const
{
    const size_t i = LowerBound(name);
    if (i < FItems.size() && QStringView(FItems[i].name).compare(name, Qt::CaseInsensitive) == 0
        && FItems[i].item->IsScriptVariable())
        return FItems[i].item;
    return nullptr;
}

TqsScriptItem *TqsScript::Find(QStringView name) const
{
    for (const TqsScript *s = this; s; s = s->Parent)
        if (TqsScriptItem *item = s->FindLocal(name))
            return item;
    return nullptr;
}

void TqsScript::ClearAllItems()
{
    std::vector<Entry> items = std::move(FItems);
    FItems.clear();
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        delete it->item;
}

QString TqsScript::SourceText() const
{
    QString text;
    for (const QString &line : Lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return qsNormalizeLineEnds(text);
}

bool TqsScript::Compile()
{
    // A stale unit name from an earlier compile would be reported with a new error.
    ErrorMsg.clear();
    ErrorPos.clear();
    ErrorUnit.clear();
    try {
        TqsILParser parser(this);
        parser.SelectLanguage(SyntaxType);
        if (parser.MakeILScript(SourceText()))
            BuildProgram(parser);
    } catch (const Exception &e) {
        // An unknown language or a grammar that cannot be used: still the compile's answer.
        ErrorMsg = e.message();
    }
    if (!ErrorMsg.isEmpty())
        return false;
    ErrorPos.clear();
    return true;
}

bool TqsScript::GetILCode(QIODevice *stream)
{
    ErrorMsg.clear();
    ErrorPos.clear();
    ErrorUnit.clear();
    try {
        TqsILParser parser(this);
        parser.SelectLanguage(SyntaxType);
        if (parser.MakeILScript(SourceText())) {
            TqsXMLDocument &il = parser.ILScript();
            il.AutoIndent = true;
            il.SaveToStream(stream);
        }
    } catch (const Exception &e) {
        ErrorMsg = e.message();
    }
    if (!ErrorMsg.isEmpty())
        return false;
    ErrorPos.clear();
    return true;
}

QString qsNormalizeLineEnds(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    // Fast path: every line end already CR LF.
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r')) {
            if (i + 1 < n && text[i + 1] == QLatin1Char('\n')) {
                ++i;
                continue;
            }
            break;
        }
        if (c == QLatin1Char('\n'))
            break;
    }
    if (i == n)
        return text;
    QString out;
    out.reserve(n + n / 16);
    out.append(QStringView(text).left(i));
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r')) {
            out += QLatin1String("\r\n");
            if (i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            out += QLatin1String("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}
