#include "script/forms/qsforms.h"

#include "platform/gfx/tfont.h"
#include "platform/print/printdevice.h"
#include "platform/print/printerdialog.h"
#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/reflect/component.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/messages.h"
#include "platform/ui/services.h"
#include "script/classlib/qsbind.h"
#include "script/core/qsscript.h"

#include <QInputDialog>

#include <atomic>

using qscl::Args;
using qscl::Int;
using qscl::Self;
using qscl::Str;

namespace qsforms {

// The common dialogs: their settings, and Execute through the program's dialog services.
class TCommonDialog : public TComponent
{
    LIRRA_CLASS(TCommonDialog, TComponent)
public:
    using TComponent::TComponent;
    virtual bool Execute() = 0;
};

class TOpenDialog : public TCommonDialog
{
    LIRRA_CLASS(TOpenDialog, TCommonDialog)
public:
    using TCommonDialog::TCommonDialog;
    bool Execute() override { return Run(false); }
    ui::FileDialogRequest Request;
    QStringList Files;

protected:
    bool Run(bool save)
    {
        ui::FileDialogRequest r = Request;
        if (r.title.isEmpty())
            r.title = save ? QStringLiteral("Salva con nome") : QStringLiteral("Apri");
        const ui::FileDialogResult result = save ? ui::fileDialogs().Save(r) : ui::fileDialogs().Open(r);
        if (!result.accepted)
            return false;
        Files = result.files;
        Request.fileName = result.fileName();
        Request.filterIndex = result.filterIndex;
        return true;
    }
};

class TSaveDialog : public TOpenDialog
{
    LIRRA_CLASS(TSaveDialog, TOpenDialog)
public:
    using TOpenDialog::TOpenDialog;
    bool Execute() override { return Run(true); }
};

class TColorDialog : public TCommonDialog
{
    LIRRA_CLASS(TColorDialog, TCommonDialog)
public:
    using TCommonDialog::TCommonDialog;
    bool Execute() override { return ui::colorDialog().Execute(Color); }
    TColor Color = 0;
};

class TFontDialog : public TCommonDialog
{
    LIRRA_CLASS(TFontDialog, TCommonDialog)
public:
    using TCommonDialog::TCommonDialog;
    ~TFontDialog() override { delete rtl::ObjectHandles::objectAs<::TFont>(FFont); }
    ::TFont &Font()
    {
        if (auto *f = rtl::ObjectHandles::objectAs<::TFont>(FFont))
            return *f;
        auto *f = new ::TFont;
        FFont = rtl::ObjectHandles::handleOf(f);
        return *f;
    }
    bool Execute() override
    {
        ::TFont &f = Font();
        ui::FontChoice choice{f.Name(), f.Size(), f.HasStyle(fsBold), f.HasStyle(fsItalic), f.HasStyle(fsUnderline),
                              f.HasStyle(fsStrikeOut)};
        if (!ui::fontDialog().Execute(choice))
            return false;
        f.SetName(choice.family);
        f.SetSize(choice.pointSize);
        f.SetStyle(TFontStyles((choice.bold ? FontStyleBit(fsBold) : 0) | (choice.italic ? FontStyleBit(fsItalic) : 0)
                               | (choice.underline ? FontStyleBit(fsUnderline) : 0)
                               | (choice.strikeOut ? FontStyleBit(fsStrikeOut) : 0)));
        return true;
    }

private:
    int32_t FFont = 0;
};

// The printer's settings through the print system's dialog: the default queue, starting
// from its defaults the first time and from the last choice after that.
class PrinterChoice
{
public:
    bool Execute(int &copies)
    {
        const QString name = print::defaultPrinterName();
        QList<print::NumberedName> bins;
        std::unique_ptr<print::Printer> queue = print::makePrinter(name);
        if (queue && queue->open()) {
            bins = queue->bins();
            if (!FChosen)
                FSetup = queue->defaults();
        }
        print::PageSetup setup = FSetup;
        setup.copies = std::max(1, copies);
        if (!print::printerDialog().Execute(name, bins, setup))
            return false;
        FSetup = setup;
        FChosen = true;
        copies = setup.copies;
        return true;
    }

private:
    print::PageSetup FSetup;
    bool FChosen = false;
};

class TPrintDialog : public TCommonDialog
{
    LIRRA_CLASS(TPrintDialog, TCommonDialog)
public:
    using TCommonDialog::TCommonDialog;
    bool Execute() override { return FChoice.Execute(Copies); }
    int Copies = 1;

private:
    PrinterChoice FChoice;
};

class TPrinterSetupDialog : public TCommonDialog
{
    LIRRA_CLASS(TPrinterSetupDialog, TCommonDialog)
public:
    using TCommonDialog::TCommonDialog;
    bool Execute() override
    {
        int copies = 1;
        return FChoice.Execute(copies);
    }

private:
    PrinterChoice FChoice;
};

#define QS_PLAIN_CLASS(Cls)                                                                                          \
    LIRRA_DEFINE_CLASS(Cls)                                                                                          \
    void Cls::DeclareClass(rtl::ClassBuilder<Cls> &) {}
QS_PLAIN_CLASS(TCommonDialog)
QS_PLAIN_CLASS(TOpenDialog)
QS_PLAIN_CLASS(TSaveDialog)
QS_PLAIN_CLASS(TColorDialog)
QS_PLAIN_CLASS(TFontDialog)
QS_PLAIN_CLASS(TPrintDialog)
QS_PLAIN_CLASS(TPrinterSetupDialog)

namespace {

#define QS_GET [](const Variant &self, TqsClassRef, const QString &) -> Variant
#define QS_SET [](const Variant &self, TqsClassRef, const QString &, const Variant &v)

class QtInputQuery final : public IInputQuery
{
public:
    bool Execute(const QString &caption, const QString &prompt, QString &value) override
    {
        bool ok = false;
        const QString text = QInputDialog::getText(nullptr, caption, prompt, QLineEdit::Normal, value, &ok);
        if (ok)
            value = text;
        return ok;
    }
};

std::atomic<IInputQuery *> &InstalledQuery()
{
    static QtInputQuery qt;
    static std::atomic<IInputQuery *> installed{&qt};
    return installed;
}

// TMsgDlgButtons bit i: the i-th name of the set.
constexpr ui::MsgButton kButtons[] = {ui::mbYes,   ui::mbNo,  ui::mbOk,      ui::mbCancel,   ui::mbAbort, ui::mbRetry,
                                      ui::mbIgnore, ui::mbAll, ui::mbNoToAll, ui::mbYesToAll, ui::mbHelp};

int ModalResultOf(ui::MsgButton b)
{
    switch (b) {
    case ui::mbOk: return 1;
    case ui::mbCancel: return 2;
    case ui::mbAbort: return 3;
    case ui::mbRetry: return 4;
    case ui::mbIgnore: return 5;
    case ui::mbYes: return 6;
    case ui::mbNo: return 7;
    case ui::mbAll: return 12;
    case ui::mbNoToAll: return 13;
    case ui::mbYesToAll: return 14;
    default: return 0;
    }
}

// A set argument: a number (members added up) or a set literal, elements of doubling
// values with Null marking a range between its neighbours.
int SetMask(const Variant &v)
{
    if (!v.isArray())
        return v.toInt();
    int mask = 0;
    const int lo = v.arrayLowBound(), hi = v.arrayHighBound();
    for (int i = lo; i <= hi; ++i) {
        const Variant e = v.arrayGet(i);
        if (e.isNull())
            continue;
        if (i + 2 <= hi && v.arrayGet(i + 1).isNull()) {
            const int64_t last = v.arrayGet(i + 2).toInt();
            for (int64_t bit = std::max(1, e.toInt()); bit > 0 && bit <= last && bit <= (1 << 30); bit <<= 1)
                mask |= int(bit);
            i += 2;
            continue;
        }
        mask |= e.toInt();
    }
    return mask;
}

Variant MessageDlg(const QString &text, int type, int buttons)
{
    static const struct
    {
        ui::MsgIcon icon;
        const char *caption;
    } types[] = {{ui::MsgIcon::Warning, "Attenzione"},
                 {ui::MsgIcon::Error, "Errore"},
                 {ui::MsgIcon::Information, "Informazione"},
                 {ui::MsgIcon::Question, "Conferma"},
                 {ui::MsgIcon::None, ""}};
    ui::MessageRequest r;
    r.text = text;
    if (type >= 0 && type < int(std::size(types))) {
        r.icon = types[type].icon;
        r.caption = QString::fromUtf8(types[type].caption);
    }
    r.buttons = 0;
    for (size_t i = 0; i < std::size(kButtons); ++i)
        if (buttons & (1 << i))
            r.buttons |= kButtons[i];
    if (!r.buttons)
        r.buttons = ui::mbOk; // a box always has a way out
    return Variant(ModalResultOf(ui::messageBoxes().Show(r)));
}

void AddTypes(TqsScript *s)
{
    s->AddEnumSet(QStringLiteral("TOpenOptions"),
                  QStringLiteral("ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, "
                                 "ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, "
                                 "ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, "
                                 "ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing"));
    s->AddEnum(QStringLiteral("TFileEditStyle"), QStringLiteral("fsEdit, fsComboBox"));
    s->AddEnumSet(QStringLiteral("TColorDialogOptions"),
                  QStringLiteral("cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor"));
    s->AddEnumSet(QStringLiteral("TFontDialogOptions"),
                  QStringLiteral("fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel, "
                                 "fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, "
                                 "fdWysiwyg, fdLimitSize, fdScalableOnly, fdApplyButton"));
    s->AddEnum(QStringLiteral("TFontDialogDevice"), QStringLiteral("fdScreen, fdPrinter, fdBoth"));
    s->AddEnum(QStringLiteral("TPrintRange"), QStringLiteral("prAllPages, prSelection, prPageNums"));
    s->AddEnumSet(QStringLiteral("TPrintDialogOptions"),
                  QStringLiteral("poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile"));
    s->AddEnum(QStringLiteral("TMsgDlgType"), QStringLiteral("mtWarning, mtError, mtInformation, mtConfirmation, mtCustom"));
    s->AddEnumSet(QStringLiteral("TMsgDlgButtons"),
                  QStringLiteral("mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp"));
}

void AddDialogClasses(TqsScript *script)
{
    if (TqsClassVariable *c = script->AddClass(TCommonDialog::StaticClass(), QStringLiteral("TComponent")))
        c->AddMethod(QStringLiteral("function Execute: Boolean"), [](const Variant &self, TqsClassRef, const QString &, Args &) {
            return Variant(Self<TCommonDialog>(self, "TCommonDialog").Execute());
        });
    if (TqsClassVariable *c = script->AddClass(TOpenDialog::StaticClass(), QStringLiteral("TCommonDialog"))) {
        auto req = [](const Variant &v) -> ui::FileDialogRequest & { return Self<TOpenDialog>(v, "TOpenDialog").Request; };
        struct Text
        {
            const char *name;
            QString ui::FileDialogRequest::*field;
        };
        for (const Text t : {Text{"FileName", &ui::FileDialogRequest::fileName}, Text{"Filter", &ui::FileDialogRequest::filter},
                             Text{"InitialDir", &ui::FileDialogRequest::initialDir}, Text{"Title", &ui::FileDialogRequest::title},
                             Text{"DefaultExt", &ui::FileDialogRequest::defaultExt}}) {
            auto field = t.field;
            c->AddProperty(QLatin1String(t.name), QStringLiteral("String"),
                           [req, field](const Variant &self, TqsClassRef, const QString &) { return Variant(req(self).*field); },
                           [req, field](const Variant &self, TqsClassRef, const QString &, const Variant &v) { req(self).*field = v.toString(); });
        }
        c->AddProperty(QStringLiteral("FilterIndex"), QStringLiteral("Integer"),
                       [req](const Variant &self, TqsClassRef, const QString &) { return Variant(req(self).filterIndex); },
                       [req](const Variant &self, TqsClassRef, const QString &, const Variant &v) { req(self).filterIndex = v.toInt(); });
    }
    script->AddClass(TSaveDialog::StaticClass(), QStringLiteral("TCommonDialog"));
    if (TqsClassVariable *c = script->AddClass(TColorDialog::StaticClass(), QStringLiteral("TCommonDialog")))
        c->AddProperty(QStringLiteral("Color"), QStringLiteral("TColor"),
                       QS_GET { return Variant(Self<TColorDialog>(self, "TColorDialog").Color); },
                       QS_SET { Self<TColorDialog>(self, "TColorDialog").Color = v.toInt(); });
    if (TqsClassVariable *c = script->AddClass(TFontDialog::StaticClass(), QStringLiteral("TCommonDialog")))
        c->AddProperty(QStringLiteral("Font"), QStringLiteral("TFont"),
                       QS_GET { return rtl::objectToVariant(&Self<TFontDialog>(self, "TFontDialog").Font()); });
    if (TqsClassVariable *c = script->AddClass(TPrintDialog::StaticClass(), QStringLiteral("TCommonDialog")))
        c->AddProperty(QStringLiteral("Copies"), QStringLiteral("Integer"),
                       QS_GET { return Variant(Self<TPrintDialog>(self, "TPrintDialog").Copies); },
                       QS_SET { Self<TPrintDialog>(self, "TPrintDialog").Copies = std::clamp(v.toInt(), 1, 9999); });
    script->AddClass(TPrinterSetupDialog::StaticClass(), QStringLiteral("TCommonDialog"));
}

void AddFunctions(TqsScript *s)
{
    const QString category = QStringLiteral("ctOther");
    s->AddMethod(QStringLiteral("function MessageDlg(Msg: string; DlgType: TMsgDlgType; Buttons: TMsgDlgButtons; HelpCtx: Longint): Integer"),
                 [](const Variant &, const QString &, TqsMethodHelper &h) { return MessageDlg(Str(h, 0), Int(h, 1), SetMask(h.GetVParam(2))); },
                 category);
    s->AddMethod(QStringLiteral("function InputBox(ACaption, APrompt, ADefault: string): string"),
                 [](const Variant &, const QString &, TqsMethodHelper &h) {
                     QString value = Str(h, 2);
                     if (!qsInputQuery().Execute(Str(h, 0), Str(h, 1), value))
                         value = Str(h, 2);
                     return Variant(value);
                 },
                 category);
    s->AddMethod(QStringLiteral("function InputQuery(ACaption, APrompt: string; var Value: string): Boolean"),
                 [](const Variant &, const QString &, TqsMethodHelper &h) {
                     QString value = Str(h, 2);
                     if (!qsInputQuery().Execute(Str(h, 0), Str(h, 1), value))
                         return Variant(false);
                     h.SetVParam(2, Variant(value));
                     return Variant(true);
                 },
                 category);
}

} // namespace
} // namespace qsforms

IInputQuery &qsInputQuery() { return *qsforms::InstalledQuery().load(); }

IInputQuery *qsInstallInputQuery(IInputQuery *query)
{
    static qsforms::QtInputQuery qt;
    return qsforms::InstalledQuery().exchange(query ? query : &qt);
}

TqsDialogsFunctions::TqsDialogsFunctions(TqsScript *script) : TqsRTTIModule(script)
{
    qsforms::AddTypes(script);
    qsforms::AddDialogClasses(script);
    qsforms::AddFunctions(script);
}
