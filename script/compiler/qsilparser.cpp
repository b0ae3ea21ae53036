#include "script/compiler/qsilparser.h"

#include "script/compiler/qsgrammar.h"
#include "platform/rtl/exceptions.h"
#include "script/core/qslanguages.h"
#include "script/core/qsmessages.h"
#include "script/core/qsscript.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

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
            try {
                SelectLanguage(text.mid(p - 1, eol - (p - 1)).trimmed());
            } catch (const Exception &e) {
                // An unregistered language is an error of the text, at the name it gives.
                FProgram->ErrorMsg = e.message().isEmpty() ? qsMessage(u"SInvalidLanguage") : e.message();
                FProgram->ErrorPos = PositionText(TokenStart(p));
                return false;
            }
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
    FUnits.clear();
    FError = Error();
    FTooDeep = false;
    FDepth = FOuterDepth;
    char base;
    FStackBase = FOuterStackBase ? FOuterStackBase : &base;
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
        FError.pos = PositionText(TokenStart(start));
    }
    const bool success = ok && !FError.set;
    if (success)
        BuildTree();
    FLines.clear();
    FUnits.clear();
    FProgram->ErrorMsg = FError.msg;
    FProgram->ErrorPos = FError.pos;
    return success;
}

void TqsILParser::BuildTree()
{
    static const QString program = QStringLiteral("program");
    static const QString uses = QStringLiteral("uses");
    TqsXMLItem *root = FILScript.Root();
    root->Name = program;
    std::vector<TqsXMLItem *> stack{root};
    QString attrs;
    auto appendNumber = [&attrs](int n) {
        char digits[12];
        int k = 0;
        do {
            digits[k++] = char('0' + n % 10);
            n /= 10;
        } while (n > 0 && k < 11);
        while (k > 0)
            attrs += QLatin1Char(digits[--k]);
    };
    auto appendPos = [&](const char *name, int pos) {
        int l, c;
        FParser.XYAt(pos, l, c);
        attrs += QLatin1String(name);
        attrs += QLatin1String("=\"");
        appendNumber(l);
        attrs += QLatin1Char(':');
        appendNumber(c);
        attrs += QLatin1Char('"');
    };
    for (const Line &line : FLines) {
        if (line.kind == Line::Close) {
            if (stack.size() > 1)
                stack.pop_back();
            continue;
        }
        auto *item = new TqsXMLItem;
        stack.back()->AddItem(item);
        attrs = QString();
        attrs.reserve(line.kind == Line::Open ? 32 : 32 + line.text.size());
        switch (line.kind) {
        case Line::Open:
            item->Name = *line.name;
            appendPos("pos", line.pos);
            if (line.pos1) {
                attrs += QLatin1Char(' ');
                appendPos("pos1", line.pos1);
            }
            stack.push_back(item);
            break;
        case Line::Token:
            item->Name = *line.name;
            attrs += QLatin1String("text=\"");
            AppendXML(attrs, line.text);
            attrs += QLatin1String("\" ");
            appendPos("pos", line.pos);
            break;
        case Line::Unit:
            item->Name = uses;
            attrs = QLatin1String("unit=\"");
            AppendXML(attrs, line.text);
            attrs += QLatin1Char('"');
            if (line.unit >= 0 && FUnits[line.unit])
                item->AddItem(FUnits[line.unit].release());
            break;
        case Line::Close:
            break;
        }
        item->Text = std::move(attrs);
    }
    root->Add()->Assign(FGrammar->Types.get());
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
    if (open >= from)
        FError = Error{true, false, false, FGrammar->TrailingError, PositionText(open)};
    else if (FParser.Position() <= FParser.Size())
        FError = Error{true, false, false, FGrammar->TrailingError, PositionText(FParser.Position())};
}

bool TqsILParser::Enter()
{
    char probe;
    ++FDepth;
    if (FTooDeep)
        return false;
    if (FDepth > MaxDepth || FStackBase - &probe > MaxStackBytes) {
        FTooDeep = true;
        FTooDeepPos = PositionText(TokenStart(FParser.Position()));
        return false;
    }
    return true;
}

// Where the next token starts: white space and comments skipped from pos.
int TqsILParser::TokenStart(int pos)
{
    const int save = FParser.Position();
    FParser.SetPosition(pos);
    FParser.SkipSpaces();
    const int result = FParser.Position();
    FParser.SetPosition(save);
    return result;
}

QString TqsILParser::PositionText(int pos) const
{
    int l, c;
    FParser.XYAt(pos, l, c);
    return QString::number(l) + QLatin1Char(':') + QString::number(c);
}

void TqsILParser::RecordError(const TqsGElement &e, int entryPos)
{
    if (!e.HasErr || FError.set || e.ErrText.isEmpty())
        return;
    FError.set = true;
    FError.term = e.Term;
    FError.sticky = false;
    FError.msg = e.ErrText;
    FError.pos = PositionText(TokenStart(entryPos));
}

void TqsILParser::Fail(const TqsGElement &e, int entryPos, size_t entryLines)
{
    RecordError(e, entryPos);
    FParser.SetPosition(entryPos);
    FLines.resize(entryLines);
}

void TqsILParser::WriteToken(const QString *name, QStringView text)
{
    FLines.push_back(Line{Line::Token, name, text, FParser.Position(), 0, -1, {}});
}

void TqsILParser::WriteOwnedToken(const QString *name, QString text)
{
    Line &line = FLines.emplace_back(Line{Line::Token, name, {}, FParser.Position(), 0, -1, std::move(text)});
    line.text = line.owned;
}

void TqsILParser::WriteReportExpression(const QString &text)
{
    // A report expression between angle brackets is the host call Get('text').
    static const QString dsgn = QStringLiteral("dsgn"), node = QStringLiteral("node"), expr = QStringLiteral("expr"),
                         string = QStringLiteral("string"), get = QStringLiteral("Get");
    const int pos = FParser.Position();
    FLines.push_back(Line{Line::Open, &dsgn, {}, pos, 0, -1, {}});
    FLines.push_back(Line{Line::Token, &node, get, pos, 0, -1, {}});
    FLines.push_back(Line{Line::Open, &expr, {}, pos, pos, -1, {}});
    WriteOwnedToken(&string, QLatin1Char('\'') + text + QLatin1Char('\''));
    FLines.back().pos = pos;
    FLines.push_back(Line{Line::Close, &expr, {}, 0, 0, -1, {}});
    FLines.push_back(Line{Line::Close, &dsgn, {}, 0, 0, -1, {}});
}

// A node's opening line goes in when the element is entered; it is dropped with
// everything else if the element fails, and completed when it matches.
void TqsILParser::OpenNode(const TqsGElement &e)
{
    FLines.push_back(Line{Line::Open, &e.Node, {}, 0, 0, -1, {}});
}

void TqsILParser::CloseNode(const TqsGElement &e, size_t openLine, int entryPos)
{
    Line &open = FLines[openLine];
    open.pos = TokenStart(entryPos);
    if (e.ExprNode)
        open.pos1 = FParser.Position(); // where the expression ends
    FLines.push_back(Line{Line::Close, open.name, {}, 0, 0, -1, {}});
}

bool TqsILParser::Walk(int index)
{
    DepthGuard guard{FDepth};
    if (!Enter())
        return false;
    const TqsGElement &e = FGrammar->Elements[index];
    const int entryPos = FParser.Position();
    const size_t entryLines = FLines.size();
    if (e.Wraps)
        OpenNode(e);
    bool matched = false;
    QStringView token;
    QString owned;

    switch (e.Kind) {
    case TqsGKind::Char:
        if (!e.NoSpace)
            FParser.SkipSpaces();
        token = FParser.GetCharView();
        matched = !token.isEmpty() && (!e.HasText || (e.TextChar ? token[0] == e.TextChar : token == e.Text));
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
            throw Exception(qsMessage(u"SInvalidLanguage"));
        matched = WalkRule(e.Rule);
        break;
    }
    if (FTooDeep)
        return false;
    if (matched) {
        if (e.Wraps)
            CloseNode(e, entryLines, entryPos);
        else if (e.UsesNode)
            IncludeUnits(entryLines);
        if (!e.Add.isEmpty())
        {
            if (e.HasAddText)
                WriteToken(&e.Add, e.AddText);
            else if (!owned.isNull())
                WriteOwnedToken(&e.Add, owned); // shares the text, no copy
            else
                WriteToken(&e.Add, token);
        }
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
    if (r.Wraps)
        OpenNode(r);
    if (!r.Add.isEmpty())
        WriteToken(&r.Add, r.AddText);
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
    if (r.Wraps)
        CloseNode(r, entryLines, entryPos);
    else if (r.UsesNode)
        IncludeUnits(entryLines);
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
            const QStringView c = FParser.GetCharView();
            if (c.isEmpty() || (e.TextChar ? c[0] != e.TextChar : c != e.Text)) {
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
    static const QString uses = QStringLiteral("uses");
    // The file tokens are taken from the last, so the units of one clause are spliced in
    // reverse order of listing.
    size_t at = entryLines;
    while (FLines.size() > at) {
        const Line line = FLines.back();
        FLines.pop_back();
        if (line.kind != Line::Token)
            continue;
        QString name = line.text.toString();
        if (name.size() >= 2)
            name = name.mid(1, name.size() - 2);
        int unit = -1;
        if (!IncludeUnit(name, line.pos - int(line.text.size()), unit))
            continue;
        auto it = FLines.insert(FLines.begin() + at, Line{Line::Unit, &uses, {}, 0, 0, unit, name});
        it->text = it->owned;
        ++at;
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
        throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(candidate, f.errorString()));
    const QByteArray bytes = f.readAll();
    auto decoder = QStringDecoder::decoderForHtml(bytes); // honours a byte-order mark
    if (!decoder.isValid() || decoder.name() == QLatin1String("ISO-8859-1"))
        decoder = QStringDecoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

bool TqsILParser::IncludeUnit(const QString &name, int pos, int &unit)
{
    unit = -1;
    if (UsesList.contains(name, Qt::CaseInsensitive))
        return false; // every unit once per compile
    if (FError.sticky)
        return false; // a unit already failed: the compile fails, read no more
    UsesList << name;
    QString source;
    try {
        if (FProgram->OnGetUnit)
            FProgram->OnGetUnit(FProgram, name, source);
        else
            source = ReadUnitFile(name);
    } catch (const Exception &e) {
        // A unit that cannot be read is an error of this text, at its name.
        if (!FError.set)
            FError = Error{true, false, true, e.message(), PositionText(pos)};
        return true;
    }
    source = qsNormalizeLineEnds(source);
    if (source.isEmpty())
        return true;
    // Like the main text, a unit's last line ends with a line end, written or not.
    if (!source.endsWith(QLatin1Char('\n')))
        source += QLatin1String("\r\n");
    if (FUnitDepth >= MaxUnitDepth) {
        FTooDeep = true;
        FTooDeepPos = PositionText(FParser.Position());
        return true;
    }
    const QString unitBefore = FProgram->ErrorUnit;
    TqsILParser nested(FProgram);
    nested.UnitName = name;
    nested.SelectLanguage(FLangName);
    nested.UsesList = UsesList;
    nested.FUnitDepth = FUnitDepth + 1;
    nested.FOuterStackBase = FStackBase;
    nested.FOuterDepth = FDepth;
    const bool ok = nested.MakeILScript(source);
    // Units walked inside count as included even when the walk failed, so none is ever
    // walked twice.
    UsesList = nested.UsesList;
    if (ok) {
        // Take the unit's program over whole.
        auto program = std::make_unique<TqsXMLItem>();
        TqsXMLItem *root = nested.FILScript.Root();
        program->Name = root->Name;
        while (root->Count() > 0)
            program->AddItem(root->Items(0));
        FUnits.push_back(std::move(program));
        unit = int(FUnits.size()) - 1;
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
