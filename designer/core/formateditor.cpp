#include "designer/core/formateditor.h"

#include "report/memo/kvlmemo.h"
#include "report/resources/kvlresources.h"
#include "report/utils/textutils.h"

TkvlDelimiters kvlSplitDelimiters(const QString &Delimiters)
{
    const int comma = Delimiters.indexOf(QLatin1Char(','));
    if (comma < 0)
        return {QString(), Delimiters.left(255)};
    return {Delimiters.left(comma), Delimiters.mid(comma + 1, 255)};
}

QString kvlFormatKindKey(TkvlFormatKind Kind)
{
    static const char *const keys[] = {"fkText", "fkNumber", "fkDateTime", "fkBoolean"};
    return QLatin1String(keys[Kind <= fkBoolean ? Kind : fkText]);
}

QStringList kvlFormatSamples(TkvlFormatKind Kind)
{
    QStringList result;
    if (Kind == fkText)
        return result;
    const QString key = kvlFormatKindKey(Kind);
    for (int i = 1; i <= 10; ++i) {
        const QString text = kvlResources().Get(key + QString::number(i));
        // A missing key comes back as the key itself.
        if (!text.contains(QLatin1String("fk")))
            result.append(text);
    }
    return result;
}

QString kvlSampleCaption(const QString &Sample)
{
    const int p = Sample.indexOf(QLatin1Char(';'));
    return p < 0 ? Sample : Sample.left(p);
}

QString kvlSampleFormat(const QString &Sample)
{
    const int p = Sample.indexOf(QLatin1Char(';'));
    return p < 0 ? QString() : Sample.mid(p + 1, 255);
}

int kvlFindSample(const QStringList &Samples, const QString &Format)
{
    for (int i = int(Samples.size()) - 1; i >= 0; --i)
        if (kvlSampleFormat(Samples[i]) == Format)
            return i;
    return -1;
}

TkvlFormatEditor::TkvlFormatEditor() = default;

void TkvlFormatEditor::SetMemo(TkvlCustomMemoView *Memo)
{
    SetMemo(Memo, Memo ? Memo->Text() : QString());
}

void TkvlFormatEditor::SetMemo(TkvlCustomMemoView *Memo, const QString &Text)
{
    FMemo = Memo;
    MemoText = Text;
}

void TkvlFormatEditor::Fill()
{
    FEntries.clear();
    FFormats.Clear();
    if (!FMemo)
        return;
    FFormats.Assign(FMemo->Formats());
    const TkvlDelimiters d = kvlSplitDelimiters(FMemo->ExpressionDelimiters());
    int found = 0;
    if (!d.Open.isEmpty()) {
        // Continuing after each match finds what deleting the match and rescanning would.
        int from = 0;
        for (;;) {
            const int at = MemoText.indexOf(d.Open, from);
            if (at < 0)
                break;
            int i = at + 1, j = 0;
            bool closed = false;
            const QString expr = kvlGetBrackedVariableW(MemoText, d.Open, d.Close, i, j, &closed);
            if (!closed)
                break;
            if (found >= FFormats.Count())
                FFormats.Add();
            FEntries.append(d.Open + expr + d.Close);
            ++found;
            from = j;
        }
    }
    if (found == 0) {
        TkvlFormat *first = FMemo->DisplayFormat();
        FFormats.Clear();
        FFormats.Add()->Assign(first);
    } else {
        while (FFormats.Count() > found)
            FFormats.Delete(FFormats.Count() - 1);
    }
    Current = 0;
}

TkvlFormat *TkvlFormatEditor::CurrentFormat() const
{
    return Current >= 0 && Current < FFormats.Count() ? FFormats.Items(Current) : nullptr;
}

void TkvlFormatEditor::Store(TkvlFormatKind Kind, const QString &FormatText, const QString &Separator)
{
    TkvlFormat *f = CurrentFormat();
    if (!f)
        return;
    f->Kind = Kind;
    f->FormatStr = Kind == fkText ? QString() : FormatText;
    f->DecimalSeparator = Separator.left(1);
    if (Kind == fkText) {
        f->DecimalSeparator.clear();
        f->ThousandSeparator.clear();
    }
}

void TkvlFormatEditor::WriteBack()
{
    if (FMemo)
        FMemo->Formats()->Assign(&FFormats);
}
