// Loading and saving templates, with the optional compressor and crypter and the password.
#include "platform/rtl/stream.h"
#include "report/core/kvlresourcetext.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/options/kvloptions.h"
#include "report/progress/kvlwindows.h"
#include "report/seams/kvlcompressor.h"
#include "report/seams/kvlpreview.h"
#include "report/utils/messages.h"
#include "report/xml/xmlreader.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <mutex>

namespace {

// What the caller configured and a template must not change.
struct CallerSettings {
    TkvlEngineOptions Engine;
    TkvlPreviewOptions Preview;
    QString IniFile;
    bool OldStyleProgress, ShowProgress, StoreInDFM;

    explicit CallerSettings(TkvlReport *r)
        : IniFile(r->IniFile), OldStyleProgress(r->OldStyleProgress), ShowProgress(r->ShowProgress),
          StoreInDFM(r->StoreInDFM)
    {
        Engine.Assign(r->EngineOptions());
        Preview.Assign(r->PreviewOptions());
    }

    // Everything back but what the template decides: double pass, null conversion and
    // division by zero; the outline, page cache and thumbnails of the preview.
    void Restore(TkvlReport *r, bool KeepTemplateChoices)
    {
        TkvlEngineOptions *e = r->EngineOptions();
        const bool doublePass = e->DoublePass, convertNulls = e->ConvertNulls, devByZero = e->IgnoreDevByZero;
        e->Assign(&Engine);
        TkvlPreviewOptions *p = r->PreviewOptions();
        const bool outlineVisible = p->OutlineVisible, outlineExpand = p->OutlineExpand,
                   thumbnails = p->ThumbnailVisible;
        const int32_t outlineWidth = p->OutlineWidth, pagesInCache = p->PagesInCache;
        p->Assign(&Preview);
        if (KeepTemplateChoices) {
            e->DoublePass = doublePass;
            e->ConvertNulls = convertNulls;
            e->IgnoreDevByZero = devByZero;
            p->OutlineVisible = outlineVisible;
            p->OutlineExpand = outlineExpand;
            p->ThumbnailVisible = thumbnails;
            p->OutlineWidth = outlineWidth;
            p->PagesInCache = pagesInCache;
        }
        r->IniFile = IniFile;
        r->OldStyleProgress = OldStyleProgress;
        r->ShowProgress = ShowProgress;
        r->StoreInDFM = StoreInDFM;
    }
};

QString errorText(const std::exception &e)
{
    if (auto *x = dynamic_cast<const Exception *>(&e))
        return x->message();
    return QString::fromUtf8(e.what());
}

void reportErrors(TkvlReport *r) { r->ReportErrors(); }

const QString &invalidPassword()
{
    static const QString s = QStringLiteral("Invalid password");
    return s;
}

template <class T> std::unique_ptr<T> createFrom(const rtl::ClassInfo *Class)
{
    return std::unique_ptr<T>(static_cast<T *>(Class->create(nullptr)));
}

std::mutex &acceptedLock()
{
    static std::mutex m;
    return m;
}

QSet<QString> &acceptedPasswords()
{
    static QSet<QString> s;
    return s;
}

QString shifted(const QString &Password, int By)
{
    QString out(Password.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < Password.size(); ++i)
        out[i] = QChar(char16_t(Password[i].unicode() + By));
    return out;
}

} // namespace

void TkvlReport::ReportErrors()
{
    kvlCommonErrorHandler(FEngineOptions->NewSilentMode,
                          kvlResourceText(QStringLiteral("clErrors")) + QStringLiteral("\r\n") + FErrors.Text());
}

QString kvlEncodePwd(const QString &Password) { return shifted(Password, -10); }
QString kvlDecodePwd(const QString &Password) { return shifted(Password, 10); }

bool kvlPasswordAccepted(const QString &Password)
{
    std::lock_guard g(acceptedLock());
    return acceptedPasswords().contains(Password);
}

void kvlAcceptPassword(const QString &Password)
{
    if (Password.isEmpty())
        return;
    std::lock_guard g(acceptedLock());
    acceptedPasswords().insert(Password);
}

bool kvlCheckPassword(TkvlReport *Report)
{
    TkvlReportOptions *o = Report->ReportOptions();
    const QString &pwd = o->Password;
    if (pwd.isEmpty() || pwd == o->PrevPassword || pwd == o->HiddenPassword || kvlPasswordAccepted(pwd))
        return true;
    const std::optional<QString> typed = kvlWindows().AskPassword();
    if (typed && *typed == pwd) {
        o->PrevPassword = pwd;
        kvlAcceptPassword(pwd);
        return true;
    }
    Report->Errors().Add(invalidPassword());
    reportErrors(Report);
    return false;
}

void TkvlReport::DoLoadFromStream(TStream &Stream)
{
    if (kvlKV2Events().OnLoad && kvlKV2Events().OnLoad(this, Stream))
        return;
    TkvlComponent::LoadFromStream(Stream);
}

void TkvlReport::LoadFromStream(TStream &Stream)
{
    FErrors.Clear();
    TStream *source = &Stream;

    std::unique_ptr<TkvlCustomCompressor> compressor;
    if (kvlCompressorClass) {
        try {
            compressor = createFrom<TkvlCustomCompressor>(kvlCompressorClass);
            compressor->IsKV3File = true;
            compressor->Report = this;
            compressor->CreateStream();
            if (compressor->Decompress(*source)) {
                source = compressor->Stream.get();
                source->SetPosition(0);
            }
        } catch (const std::exception &) {
            compressor.reset();
            FErrors.Add(kvlResourceText(QStringLiteral("clDecompressError")));
            reportErrors(this);
            return;
        }
    }

    FReportOptions->Password = FReportOptions->HiddenPassword;
    bool encrypted = false;
    std::unique_ptr<TkvlCustomCrypter> crypter;
    if (kvlCrypterClass) {
        try {
            crypter = createFrom<TkvlCustomCrypter>(kvlCrypterClass);
            crypter->CreateStream();
            if (crypter->Decrypt(*source, FReportOptions->Password.toLatin1())) {
                source = crypter->Stream.get();
                source->SetPosition(0);
                encrypted = true;
            }
        } catch (const std::exception &) {
            crypter.reset();
            compressor.reset();
            FErrors.Add(kvlResourceText(QStringLiteral("clDecryptError")));
            reportErrors(this);
            return;
        }
    }

    CallerSettings caller(this);
    StreamLoaded = true;
    LoadStream = source;
    try {
        DoLoadFromStream(*source);
    } catch (const TkvlInvalidXMLException &e) {
        StreamLoaded = false;
        FErrors.Add(encrypted ? invalidPassword() : e.message());
    } catch (const std::exception &e) {
        StreamLoaded = false;
        FErrors.Add(errorText(e));
    }
    LoadStream = nullptr;
    crypter.reset();
    compressor.reset();

    CheckDataPage();
    caller.Restore(this, true);
    if (!encrypted)
        FReportOptions->Password = kvlDecodePwd(FReportOptions->Password);

    const bool accepted = !FReportOptions->Info &&
                          (Reloading || FEngineOptions->EnableThreadSafe || encrypted || kvlCheckPassword(this));
    if (!accepted) {
        // Clearing resets the options too: the caller's come back, nothing of the template.
        Clear();
        caller.Restore(this, false);
        return;
    }
    // A run reloading its snapshot reports only what its own load did not meet already.
    if (Reloading)
        return;
    FLoadErrors = FErrors.toQStringList();
    if (FErrors.Count() > 0)
        reportErrors(this);
}

void TkvlReport::SaveToStream(TStream &Stream, bool SaveChildren, bool SaveDefaultValues, bool Streaming)
{
    std::unique_ptr<TkvlCustomCompressor> compressor;
    if (FReportOptions->Compressed && kvlCompressorClass) {
        compressor = createFrom<TkvlCustomCompressor>(kvlCompressorClass);
        compressor->IsKV3File = true;
        compressor->Report = this;
        compressor->CreateStream();
    }
    const QString password = FReportOptions->Password;
    std::unique_ptr<TkvlCustomCrypter> crypter;
    if (!password.isEmpty() && kvlCrypterClass) {
        crypter = createFrom<TkvlCustomCrypter>(kvlCrypterClass);
        crypter->CreateStream();
    }
    TStream &target = crypter ? *crypter->Stream : compressor ? *compressor->Stream : Stream;

    FReportOptions->PrevPassword = password;
    kvlAcceptPassword(password);
    if (!crypter)
        FReportOptions->Password = kvlEncodePwd(password);
    TkvlCustomPreview *preview = FPreview;
    FPreview = nullptr;
    struct PutBack {
        TkvlReport *r;
        TkvlCustomPreview *preview;
        QString password;
        ~PutBack()
        {
            r->FPreview = preview;
            r->FReportOptions->Password = password;
        }
    } putBack{this, preview, password};
    TkvlComponent::SaveToStream(target, SaveChildren, SaveDefaultValues, Streaming);

    if (crypter) {
        crypter->Stream->SetPosition(0);
        crypter->Crypt(compressor ? *compressor->Stream : Stream, password.toUtf8());
    }
    if (compressor) {
        compressor->Stream->SetPosition(0);
        compressor->Compress(Stream);
    }
}

bool TkvlReport::LoadFromFile(const QString &AFileName, bool ExceptionIfNotFound)
{
    Clear();
    FileName.clear();
    const bool exists = QFileInfo(AFileName).isFile();
    if (!exists && !ExceptionIfNotFound)
        return false;
    TFileStream stream(AFileName, fmOpenRead | fmShareDenyWrite);  // raises EFOpenError when missing
    FileName = AFileName;
    LoadFromStream(stream);
    return exists;
}

void TkvlReport::SaveToFile(const QString &AFileName)
{
    const QFileInfo target(AFileName);
    if (ParentReport.startsWith(u'/'))
        ParentReport = QDir(target.absolutePath()).relativeFilePath(ParentReport);
    TMemoryStream m;
    SaveToStream(m, true, false);
    // A failed write leaves the old file as it was.
    QSaveFile f(AFileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(m.Bytes()) != m.Size() || !f.commit())
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(AFileName, f.errorString()));
}
