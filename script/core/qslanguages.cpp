#include "script/core/qslanguages.h"

#include "script/compiler/qsgrammar.h"
#include "platform/rtl/exceptions.h"
#include "script/core/qsmessages.h"

#include <mutex>
#include <vector>

namespace {

// One registration of a grammar text. Its rule graph is built on first use, once, and then
// only read: every script walks it with a tokenizer and output of its own. Registering the
// name again makes a new entry, so a graph in use never changes under its readers.
struct Grammar
{
    QString text;
    std::once_flag once;
    std::shared_ptr<const TqsGrammar> compiled;
};

struct Language
{
    QString name;
    std::shared_ptr<Grammar> grammar;
};

std::mutex &registryLock()
{
    static std::mutex m;
    return m;
}

std::vector<Language> &registry()
{
    static std::vector<Language> r;
    return r;
}

Language *findLanguage(const QString &name)
{
    for (Language &l : registry())
        if (l.name.compare(name, Qt::CaseInsensitive) == 0)
            return &l;
    return nullptr;
}

[[noreturn]] void notFound(const QString &name)
{
    throw Exception(qsFormatMessage(u"SLangNotFound", name));
}

} // namespace

void qsRegisterLanguage(const QString &name, const QString &grammar)
{
    auto entry = std::make_shared<Grammar>();
    entry->text = grammar;
    std::lock_guard<std::mutex> lock(registryLock());
    if (Language *l = findLanguage(name)) {
        l->grammar = std::move(entry);
        return;
    }
    registry().push_back({name, std::move(entry)});
}

QString qsGetLanguage(const QString &name)
{
    std::lock_guard<std::mutex> lock(registryLock());
    if (const Language *l = findLanguage(name))
        return l->grammar->text;
    notFound(name);
}

void qsGetLanguageList(QStringList &list)
{
    std::lock_guard<std::mutex> lock(registryLock());
    list.clear();
    for (const Language &l : registry())
        if (!l.name.startsWith(QLatin1Char('@')))
            list << l.name;
}

std::shared_ptr<const TqsGrammar> qsGetCompiledLanguage(const QString &name)
{
    std::shared_ptr<Grammar> g;
    {
        std::lock_guard<std::mutex> lock(registryLock());
        const Language *l = findLanguage(name);
        if (!l)
            notFound(name);
        g = l->grammar;
    }
    // Outside the registry's lock: a first compile holds up only the scripts of its own
    // language. An unusable text throws and leaves the flag unset, so it throws again.
    std::call_once(g->once, [&g] { g->compiled = TqsGrammar::Compile(g->text); });
    return g->compiled;
}
