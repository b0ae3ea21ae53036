#include "script/core/qslanguages.h"

#include "script/compiler/qsgrammar.h"
#include "platform/rtl/exceptions.h"
#include "script/core/qsmessages.h"

#include <mutex>
#include <vector>

namespace {

struct Language
{
    QString name;
    QString grammar;
    std::shared_ptr<const TqsGrammar> compiled;
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
    std::lock_guard<std::mutex> lock(registryLock());
    if (Language *l = findLanguage(name)) {
        l->grammar = grammar;
        l->compiled.reset();
        return;
    }
    registry().push_back({name, grammar, nullptr});
}

QString qsGetLanguage(const QString &name)
{
    std::lock_guard<std::mutex> lock(registryLock());
    if (const Language *l = findLanguage(name))
        return l->grammar;
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
    std::lock_guard<std::mutex> lock(registryLock());
    Language *l = findLanguage(name);
    if (!l)
        notFound(name);
    if (!l->compiled)
        l->compiled = TqsGrammar::Compile(l->grammar);
    return l->compiled;
}
