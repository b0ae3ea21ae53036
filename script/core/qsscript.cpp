#include "script/core/qsscript.h"

#include "script/compiler/qsilparser.h"
#include "script/core/qsmessages.h"

#include <QIODevice>

#include <algorithm>

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
    // Before the equal names registered earlier, so the latest registration is found first.
    // An item made lazily takes its table's place among them.
    const unsigned order = FMakingOrder ? FMakingOrder : ++FOrder;
    size_t at = LowerBound(name);
    while (at < FItems.size() && FItems[at].order > order
           && QStringView(FItems[at].name).compare(name, Qt::CaseInsensitive) == 0)
        ++at;
    FItems.insert(FItems.begin() + at, Entry{name, item, order});
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
    size_t i = LowerBound(name);
    bool found = i < FItems.size() && QStringView(FItems[i].name).compare(name, Qt::CaseInsensitive) == 0;
    // A lazy name registered after the item found (or any, when none is) may be the answer.
    if (!FLazy.empty() && (!found || FItems[i].order < FNewestLazy) && MakeLazy(name)) {
        i = LowerBound(name);
        found = i < FItems.size() && QStringView(FItems[i].name).compare(name, Qt::CaseInsensitive) == 0;
    }
    if (found && FItems[i].item->IsScriptVariable())
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
    FLazy.clear();
    std::vector<Entry> items = std::move(FItems);
    FItems.clear();
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        delete it->item;
}

void TqsScript::AddLazyNames(const TqsLazyNames *names)
{
    FNewestLazy = ++FOrder;
    FLazy.push_back(LazyTable{names, AddedBy, FNewestLazy, std::vector<bool>(size_t(names->Count()))});
}

bool TqsScript::MakeLazy(QStringView name) const
{
    bool made = false;
    for (size_t t = 0; t < FLazy.size(); ++t) {
        const int index = FLazy[t].names->IndexOf(name);
        if (index >= 0 && !FLazy[t].made[size_t(index)]) {
            MakeLazyItem(FLazy[t], index);
            made = true;
        }
    }
    return made;
}

void TqsScript::MakeLazyItem(LazyTable &table, int index) const
{
    // Marked first: making it may look its own name up ("unless present" registrations).
    table.made[size_t(index)] = true;
    auto *self = const_cast<TqsScript *>(this); // see FItems
    const void *addedBy = self->AddedBy;
    const unsigned making = FMakingOrder;
    self->AddedBy = table.addedBy;
    FMakingOrder = table.order;
    struct Restore
    {
        TqsScript *s;
        const void *addedBy;
        unsigned making;
        ~Restore()
        {
            s->AddedBy = addedBy;
            s->FMakingOrder = making;
        }
    } restore{self, addedBy, making};
    table.names->Make(*self, index);
}

void TqsScript::RealiseLazyItems() const
{
    for (size_t t = 0; t < FLazy.size(); ++t)
        for (int i = 0; i < FLazy[t].names->Count(); ++i)
            if (!FLazy[t].made[size_t(i)])
                MakeLazyItem(FLazy[t], i);
}

void TqsScript::DropLazy(const std::function<bool(const void *addedBy)> &drop)
{
    std::erase_if(FLazy, [&](const LazyTable &t) { return drop(t.addedBy); });
    FNewestLazy = 0;
    for (const LazyTable &t : FLazy)
        FNewestLazy = std::max(FNewestLazy, t.order);
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

// A failure that belongs to no place in the text (the script's own language) is put at its start.
void TqsScript::SetCompileFailure(const Exception &e)
{
    ErrorMsg = e.message().isEmpty() ? qsMessage(u"SInvalidLanguage") : e.message();
    if (ErrorPos.isEmpty())
        ErrorPos = QStringLiteral("1:1");
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
        SetCompileFailure(e);
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
        SetCompileFailure(e);
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
