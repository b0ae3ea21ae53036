#include "script/compiler/qsilparser.h"

#include "script/compiler/qsgrammar.h"
#include "script/core/qserror.h"
#include "script/core/qslanguages.h"
#include "script/core/qsmessages.h"
#include "script/core/qsscript.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

const QString kUses = QStringLiteral("uses");
const QString kExpr = QStringLiteral("expr");

// Leaves the depth counter as it found it on every way out of a walk step.
struct DepthGuard
{
    int &depth;
    ~DepthGuard() { --depth; }
};

} // namespace

TqsILParser::TqsILParser(TqsScript *program) : FProgram(program) {}

TqsILParser::~TqsILParser() = default;

void TqsILParser::SelectLanguage(const QString &langName)
{
    FGrammar = qsGetCompiledLanguage(langName);
    FLangName = langName;
    // Every option of an earlier language goes: nothing carries over from it.
    FGrammar->ApplyTo(FParser, FProgram && FProgram->ExtendedCharset);
    FNeedDeclareVars = FGrammar->NeedDeclareVars;
}

bool TqsILParser::MakeILScript(const QString &text)
{
    if (!FGrammar)
        SelectLanguage(FProgram->SyntaxType);
    FParser.SetText(text);
    int start = 1;
    if (text.startsWith(QLatin1Char('#'))) {
        int p = 2;
        while (p <= text.size() && FParser.IsIdentChar(text[p - 1].unicode()))
            ++p;
        if (QStringView(text).mid(1, p - 2).compare(QLatin1String("language"), Qt::CaseInsensitive) == 0) {
            qsizetype eol = text.indexOf(QLatin1Char('\r'), p - 1);
            if (eol < 0)
                eol = text.size();
            SelectLanguage(text.mid(p - 1, eol - (p - 1)).trimmed());
            start = int(eol) + 1; // just after the CR, 1-based
            if (start <= text.size())
                ++start;
            if (start <= text.size() && text[start - 1] == QLatin1Char('\n'))
                ++start;
            FParser.SetText(text);
        }
    }
    FParser.SetPosition(start);
    FLines.clear();
    FError = Error();
    FTooDeep = false;
    FDepth = 0;
    char base;
    FStackBase = &base;
    FILScript.Clear();

    bool ok = WalkRule(FGrammar->ProgramRule);
    if (ok && !FError.set && !FTooDeep)
        CheckTrailingText();
    if (FTooDeep) {
        ok = false;
        FError.set = true;
        FError.msg = qsMessage(u"SNestingTooDeep");
        FError.pos = FTooDeepPos;
    }
    if (!ok && !FError.set) {
        // The program matched nothing and recorded nothing: still an error, never an
        // empty program reported as success.
        FError.set = true;
        FError.msg = FGrammar->TrailingError.isEmpty() ? qsMessage(u"SInvalidLanguage") : FGrammar->TrailingError;
        FError.pos = PositionAt(start, true);
    }
    const bool success = ok && !FError.set;
    if (success) {
        QString xml = QStringLiteral("<?xml version=\"1.0\"?><program>");
        for (const QString &line : FLines)
            xml += line;
        xml += QLatin1String("</program>");
        FILScript.LoadFromBytes(xml.toUtf8());
        FILScript.Root()->Add()->Assign(FGrammar->Types.get());
    }
    FLines.clear();
    FProgram->ErrorMsg = FError.msg;
    FProgram->ErrorPos = FError.pos;
    return success;
}

void TqsILParser::CheckTrailingText()
{
    if (FGrammar->TrailingError.isEmpty())
        return; // the language ignores what follows its program
    const int from = FParser.Position();
    for (;;) {
        const int before = FParser.Position();
        FParser.GetEOL();
        if (FParser.Position() == before)
            break;
    }
    const int open = FParser.OpenCommentPosition();
    if (open >= from) {
        FError = Error{true, false, false, FGrammar->TrailingError, PositionAt(open, false)};
    } else if (FParser.Position() <= FParser.Size()) {
        FError = Error{true, false, false, FGrammar->TrailingError, CurrentPosition()};
    }
}

bool TqsILParser::Enter()
{
    char probe;
    ++FDepth;
    if (FTooDeep)
        return false;
    if (FDepth > MaxDepth || FStackBase - &probe > MaxStackBytes) {
        FTooDeep = true;
        FTooDeepPos = PositionAt(FParser.Position(), true);
        return false;
    }
    return true;
}

QString TqsILParser::PositionAt(int pos, bool skipSpaces)
{
    const int save = FParser.Position();
    FParser.SetPosition(pos);
    if (skipSpaces)
        FParser.SkipSpaces();
    QString result = FParser.GetXYPosition();
    FParser.SetPosition(save);
    return result;
}

void TqsILParser::RecordError(const TqsGElement &e, int entryPos)
{
    if (!e.HasErr || FError.set || e.ErrText.isEmpty())
        return;
    FError.set = true;
    FError.term = e.Term;
    FError.sticky = false;
    FError.msg = e.ErrText;
    FError.pos = PositionAt(entryPos, true);
}

void TqsILParser::Fail(const TqsGElement &e, int entryPos, size_t entryLines)
{
    RecordError(e, entryPos);
    FParser.SetPosition(entryPos);
    FLines.resize(entryLines);
}

void TqsILParser::WriteToken(const QString &name, QStringView text)
{
    QString line;
    line.reserve(name.size() + text.size() + 24);
    line += QLatin1Char('<');
    line += name;
    line += QLatin1String(" text=\"");
    line += StrToXML(text.toString());
    line += QLatin1String("\" pos=\"");
    line += CurrentPosition();
    line += QLatin1String("\"/>");
    FLines.push_back(std::move(line));
}

void TqsILParser::WriteReportExpression(const QString &text)
{
    // A report expression between angle brackets is the host call Get('text').
    const QString pos = QLatin1String("pos=\"") + CurrentPosition() + QLatin1Char('"');
    FLines.push_back(QLatin1String("<dsgn ") + pos + QLatin1Char('>'));
    FLines.push_back(QLatin1String("<node text=\"Get\" ") + pos + QLatin1String("/>"));
    FLines.push_back(QLatin1String("<expr ") + pos + QLatin1String(" pos1") + pos.mid(3) + QLatin1Char('>'));
    FLines.push_back(QLatin1String("<string text=\"") + StrToXML(QLatin1Char('\'') + text + QLatin1Char('\''))
                     + QLatin1String("\" ") + pos + QLatin1String("/>"));
    FLines.push_back(QStringLiteral("</expr>"));
    FLines.push_back(QStringLiteral("</dsgn>"));
}

void TqsILParser::Wrap(const QString &node, int entryPos, size_t entryLines)
{
    if (node == kUses) {
        IncludeUnits(entryLines);
        return;
    }
    QString open;
    open += QLatin1Char('<');
    open += node;
    open += QLatin1String(" pos=\"");
    open += PositionAt(entryPos, true);
    open += QLatin1Char('"');
    if (node == kExpr) {
        open += QLatin1String(" pos1=\"");
        open += CurrentPosition();
        open += QLatin1Char('"');
    }
    open += QLatin1Char('>');
    FLines.insert(FLines.begin() + entryLines, std::move(open));
    FLines.push_back(QLatin1String("</") + node + QLatin1Char('>'));
}

bool TqsILParser::Walk(int index)
{
    DepthGuard guard{FDepth};
    if (!Enter())
        return false;
    const TqsGElement &e = FGrammar->Elements[index];
    const int entryPos = FParser.Position();
    const size_t entryLines = FLines.size();
    bool matched = false;
    QStringView token;
    QString owned;

    switch (e.Kind) {
    case TqsGKind::Char:
        if (!e.NoSpace)
            FParser.SkipSpaces();
        token = FParser.GetCharView();
        matched = !token.isEmpty() && (!e.HasText || token == e.Text);
        break;
    case TqsGKind::Keyword:
        token = FParser.GetWordView();
        matched = !token.isEmpty()
                  && (!e.HasText
                      || (FParser.CaseSensitive ? token == e.Text
                                                : token.compare(e.Text, Qt::CaseInsensitive) == 0));
        break;
    case TqsGKind::Ident:
        token = FParser.GetIdentView();
        matched = !token.isEmpty();
        break;
    case TqsGKind::Number:
        owned = FParser.GetNumber();
        token = owned;
        matched = !owned.isEmpty();
        break;
    case TqsGKind::String:
        owned = FParser.GetString();
        token = owned;
        matched = !owned.isEmpty();
        break;
    case TqsGKind::FRString:
        owned = FParser.GetFRString();
        token = owned;
        matched = !owned.isEmpty();
        if (matched)
            WriteReportExpression(owned);
        break;
    case TqsGKind::Eol:
        matched = FParser.GetEOL();
        break;
    case TqsGKind::Sequence:
    case TqsGKind::Rule:
        matched = true;
        break;
    case TqsGKind::Switch:
    case TqsGKind::OptionalSwitch:
        for (int kid : e.Kids)
            if (Walk(kid)) {
                matched = true;
                break;
            }
        if (FTooDeep)
            return false;
        if (!matched && e.Kind == TqsGKind::Switch) {
            Fail(e, entryPos, entryLines);
            return false;
        }
        return true;
    case TqsGKind::Loop:
    case TqsGKind::OptionalLoop:
        return WalkLoop(e, entryPos, entryLines);
    case TqsGKind::Optional:
        for (int kid : e.Kids)
            if (!Walk(kid)) {
                FParser.SetPosition(entryPos);
                FLines.resize(entryLines);
                break;
            }
        return !FTooDeep;
    case TqsGKind::Ref:
        if (e.Rule < 0)
            throw EqsError(qsMessage(u"SInvalidLanguage"));
        matched = WalkRule(e.Rule);
        break;
    }
    if (FTooDeep)
        return false;
    if (matched) {
        if (!e.Node.isEmpty())
            Wrap(e.Node, entryPos, entryLines);
        if (!e.Add.isEmpty())
            WriteToken(e.Add, e.HasAddText ? QStringView(e.AddText) : token);
        for (int kid : e.Kids)
            if (!Walk(kid)) {
                matched = false;
                break;
            }
        if (FTooDeep)
            return false;
    }
    if (!matched) {
        Fail(e, entryPos, entryLines);
        return false;
    }
    return true;
}

bool TqsILParser::WalkRule(int index)
{
    DepthGuard guard{FDepth};
    if (!Enter())
        return false;
    const TqsGElement &r = FGrammar->Elements[index];
    const int entryPos = FParser.Position();
    const size_t entryLines = FLines.size();
    if (!r.Add.isEmpty())
        WriteToken(r.Add, r.AddText);
    bool matched = true;
    for (int kid : r.Kids)
        if (!Walk(kid)) {
            matched = false;
            break;
        }
    if (FTooDeep)
        return false;
    if (!matched) {
        Fail(r, entryPos, entryLines);
        return false;
    }
    if (!r.Node.isEmpty())
        Wrap(r.Node, entryPos, entryLines);
    return true;
}

bool TqsILParser::WalkLoop(const TqsGElement &e, int entryPos, size_t entryLines)
{
    int started = 0, complete = 0;
    int lastStop = entryPos;
    for (;;) {
        const int repetitionPos = FParser.Position();
        ++started;
        bool ok = true;
        for (int kid : e.Kids)
            if (!Walk(kid)) {
                ok = false;
                break;
            }
        if (FTooDeep)
            return false;
        // A partly matched repetition keeps what it matched (the builder drops a
        // dangling operator).
        lastStop = FParser.Position();
        if (!ok)
            break;
        ++complete;
        if (e.HasText) {
            FParser.SkipSpaces();
            if (FParser.GetCharView() != e.Text) {
                FParser.SetPosition(lastStop);
                break;
            }
        }
        if (FParser.Position() == repetitionPos)
            break;
    }
    if (complete > 0) {
        if (started > 1 && FError.set && !FError.sticky && (e.ClearErr || FError.term))
            FError = Error();
        FParser.SetPosition(lastStop);
        return true;
    }
    if (e.Kind == TqsGKind::OptionalLoop) {
        FParser.SetPosition(entryPos);
        FLines.resize(entryLines);
        return true;
    }
    Fail(e, entryPos, entryLines);
    return false;
}

// ---------------------------------------------------------------------------------------
// Included units

void TqsILParser::IncludeUnits(size_t entryLines)
{
    // The file tokens are taken from the last, so the units of one clause are spliced in
    // reverse order of listing.
    size_t at = entryLines;
    while (FLines.size() > at) {
        const QString line = FLines.back();
        FLines.pop_back();
        const qsizetype s = line.indexOf(QLatin1String(" text=\""));
        if (s < 0)
            continue;
        const qsizetype vs = s + 7;
        const qsizetype ve = line.indexOf(QLatin1Char('"'), vs);
        QString name = XMLToStr(line.mid(vs, ve - vs));
        if (name.size() >= 2)
            name = name.mid(1, name.size() - 2);
        QString splice;
        if (!IncludeUnit(name, splice))
            continue;
        FLines.insert(FLines.begin() + at,
                      {QLatin1String("<uses unit=\"") + StrToXML(name) + QLatin1String("\">"), splice,
                       QStringLiteral("</uses>")});
        at += 3;
    }
}

QString TqsILParser::ReadUnitFile(const QString &name) const
{
    QString candidate;
    for (const QString &entry : FProgram->IncludePath) {
        QString dir = entry;
        if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')))
            dir += QLatin1Char('/');
        candidate = dir + name;
        if (QFileInfo(candidate).isFile())
            break;
    }
    QFile f(candidate);
    if (!f.open(QIODevice::ReadOnly))
        throw EqsError(QStringLiteral("Cannot open file \"%1\". %2").arg(candidate, f.errorString()));
    const QByteArray bytes = f.readAll();
    auto decoder = QStringDecoder::decoderForHtml(bytes); // honours a byte-order mark
    if (!decoder.isValid() || decoder.name() == QLatin1String("ISO-8859-1"))
        decoder = QStringDecoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

bool TqsILParser::IncludeUnit(const QString &name, QString &splice)
{
    if (UsesList.contains(name, Qt::CaseInsensitive))
        return false; // every unit once per compile
    UsesList << name;
    QString source;
    if (FProgram->OnGetUnit)
        FProgram->OnGetUnit(FProgram, name, source);
    else
        source = ReadUnitFile(name);
    source = qsNormalizeLineEnds(source);
    splice.clear();
    if (source.isEmpty())
        return true;
    if (FUnitDepth >= MaxUnitDepth) {
        FTooDeep = true;
        FTooDeepPos = CurrentPosition();
        return true;
    }
    const QString unitBefore = FProgram->ErrorUnit;
    TqsILParser nested(FProgram);
    nested.UnitName = name;
    nested.SelectLanguage(FLangName);
    nested.UsesList = UsesList;
    nested.FUnitDepth = FUnitDepth + 1;
    if (nested.MakeILScript(source)) {
        UsesList = nested.UsesList;
        const QByteArray bytes = nested.FILScript.SaveToBytes();
        const qsizetype headerEnd = bytes.indexOf("?>");
        splice = QString::fromUtf8(bytes.mid(headerEnd + 2));
    } else if (!FError.set) {
        // The innermost failing unit is the one reported.
        FError = Error{true, false, true, FProgram->ErrorMsg, FProgram->ErrorPos};
        if (FProgram->ErrorUnit.isEmpty())
            FProgram->ErrorUnit = name;
    } else {
        FProgram->ErrorUnit = unitBefore; // our own earlier error wins
    }
    return true;
}
