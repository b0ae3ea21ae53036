#include "export/csv/csvexport.h"

#include "export/grid/iematrix.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "report/base/codepage.h"
#include "report/core/kvlobjects.h"
#include "report/resources/kvlresources.h"
#include "report/views/kvlview.h"

#include <QStringEncoder>

LIRRA_DEFINE_CLASS(TkvlCSVExport)

void TkvlCSVExport::DeclareClass(rtl::ClassBuilder<TkvlCSVExport> &b)
{
    using T = TkvlCSVExport;
    b.prop<&T::Separator>("Separator");
    b.prop<&T::OEMCodepage>("OEMCodepage").def(false);
    b.prop<&T::UTF8>("UTF8").def(false);
    b.prop<&T::NoSysSymbols>("NoSysSymbols").def(true);
    b.prop<&T::ForcedQuotes>("ForcedQuotes").def(false);
    b.prop<&T::OpenAfterExport>("OpenAfterExport").def(false);
    b.description([] { return kvlResources().Get(QStringLiteral("CSVExport")); });
}

void kvlRegisterCSVExportClasses() { rtl::RegisterClasses({TkvlCSVExport::StaticClass()}); }

TkvlCSVExport::TkvlCSVExport(TComponent *AOwner)
    : TkvlCustomExportFilter(AOwner), Separator(rtl::FormatSettings().ListSeparator)
{
    FilterDesc = kvlGet(8851);
    DefaultExt = kvlGet(8852);
}

TkvlCSVExport::~TkvlCSVExport() = default;

TModalResult TkvlCSVExport::ShowModal()
{
    if (Stream)
        return mrOk;
    return TModalResult(kvlRunExportDialog(*this));
}

void TkvlCSVExport::Encode(QByteArray &Out, QStringView Text) const
{
    if (UTF8) {
        QStringEncoder utf8(QStringEncoder::Utf8);
        const qsizetype at = Out.size();
        Out.resize(at + utf8.requiredSpace(Text.size()));
        char *end = utf8.appendToBuffer(Out.data() + at, Text);
        Out.resize(end - Out.constData());
        return;
    }
    if (!OEMCodepage) {
        cp::AppendAnsi(Out, Text);
        return;
    }
    // ANSI first, so that the OEM text holds what the ANSI text would.
    const QByteArray ansi = cp::Encode(Text, cp::kAnsiCodePage);
    Out += cp::Encode(cp::Decode(ansi, cp::kAnsiCodePage), cp::kOemCodePage);
}

void TkvlCSVExport::PrepareString(QByteArray &Out, QByteArrayView Text, QByteArrayView Sep, bool NoSysSymbols,
                                  bool ForcedQuotes)
{
    if (Text.size() > 1 && Text.endsWith("\r\n"))
        Text.chop(2);
    const qsizetype start = Out.size();
    bool special = false;
    for (char c : Text) {
        if (NoSysSymbols && uchar(c) < 32)
            continue;
        special |= c == '"' || uchar(c) < 32;
        Out.append(c);
    }
    const QByteArrayView value(Out.constData() + start, Out.size() - start);
    if (value.isEmpty()) {
        Out.append(Sep);
        return;
    }
    special |= !Sep.isEmpty() && value.contains(Sep);
    if (special) {
        // Quoted, every inner quote doubled.
        const qsizetype quotes = value.count('"');
        const qsizetype n = value.size();
        Out.resize(start + n + quotes + 2);
        char *p = Out.data();
        qsizetype to = start + n + quotes + 1;
        p[to--] = '"';
        for (qsizetype from = start + n - 1; from >= start; --from) {
            p[to--] = p[from];
            if (p[from] == '"')
                p[to--] = '"';
        }
        p[start] = '"';
    } else if (ForcedQuotes) {
        Out.insert(start, '"');
        Out.append('"');
    }
    Out.append(Sep);
}

bool TkvlCSVExport::Start()
{
    SetStartError(QString());
    if (!kvlPrepareExportTarget(*this, QStringLiteral(".csv")))
        return false;
    if (!FOutput.Open(Stream, FileName)) {
        SetStartError(FOutput.Error());
        return false;
    }
    FMatrix = std::make_unique<TkvlIEMatrix>(UseFileCache, kvlReportTempDir(Report));
    TkvlIEMatrix &m = *FMatrix;
    m.Background = false;
    m.BackgroundImage = false;
    m.Printable = ExportNotPrintable;
    m.Inaccuracy = 0.5;
    m.MaxCellWidth = 0;
    m.MaxCellHeight = 0;
    m.Images = false;
    m.EMFPictures = false;
    m.WrapText = true;
    m.DeleteHTMLTags = true;
    m.BrushAsBitmap = true;
    m.EmptyLines = true;
    m.FramesOptimization = true;
    m.DotMatrix = false;

    // Values end with the separator's first character, cells of a written object with the
    // whole separator; both in the output's own encoding.
    const QString valueSep = Separator.isEmpty() ? QString(rtl::FormatSettings().ListSeparator) : Separator.left(1);
    FValueSep.clear();
    Encode(FValueSep, valueSep);
    FCellSep.clear();
    Encode(FCellSep, Separator);
    return true;
}

void TkvlCSVExport::StartPage(TkvlPage *, int)
{
    if (FMatrix)
        FMatrix->Clear();
}

void TkvlCSVExport::ExportObject(TkvlComponent *Obj)
{
    TkvlCustomExportFilter::ExportObject(Obj);
    auto *v = rtl_cast<TkvlView>(Obj);
    if (v && FMatrix && (v->Visibility & kvlBit(vsExport)))
        FMatrix->AddObject(v);
}

void TkvlCSVExport::FinishPage(TkvlPage *, int)
{
    if (FMatrix && FOutput.Stream())
        ExportPage(*FOutput.Stream());
}

void TkvlCSVExport::ExportPage(TStream &Out)
{
    TkvlIEMatrix &m = *FMatrix;
    m.Prepare();
    for (int y = 0; y < m.Height() - 1; ++y) {
        // The row is assembled whole, so that its last separator can be dropped without
        // stepping back in the output.
        FRow.resize(0);
        qsizetype tailSep = 0;
        bool met = false;
        for (int x = 0; x < m.Width(); ++x) {
            TkvlIEMObject *o = m.GetObject(x, y);
            if (!o)
                continue;
            met = true;
            if (o->Counter != 0) {
                if (!FCellSep.isEmpty()) {
                    FRow += FCellSep;
                    tailSep = FCellSep.size();
                }
                continue;
            }
            FText.resize(0);
            for (const QString &line : o->Memo) {
                Encode(FText, line);
                FText += "\r\n";
            }
            PrepareString(FRow, FText, FValueSep, NoSysSymbols, ForcedQuotes);
            tailSep = FValueSep.size();
            o->Counter = 1;
        }
        if (met && tailSep > 0)
            FRow.chop(tailSep);
        FRow += "\r\n";
        Out.WriteBuffer(FRow.constData(), FRow.size());
    }
}

void TkvlCSVExport::Finish()
{
    FMatrix.reset();
    if (ExportFailed) {
        FOutput.Discard();
        return;
    }
    kvlCompleteExport(FOutput, Report, OpenAfterExport, FileName);
}
