#include "script/classlib/qsclassobjects.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "script/items/qsitems.h"

namespace qscl {

LIRRA_DEFINE_CLASS(TObject)
void TObject::DeclareClass(rtl::ClassBuilder<TObject> &) {}
LIRRA_DEFINE_CLASS(TList)
void TList::DeclareClass(rtl::ClassBuilder<TList> &) {}
LIRRA_DEFINE_CLASS(TStrings)
void TStrings::DeclareClass(rtl::ClassBuilder<TStrings> &) {}
LIRRA_DEFINE_CLASS(TStringList)
void TStringList::DeclareClass(rtl::ClassBuilder<TStringList> &) {}
LIRRA_DEFINE_CLASS(TStream)
void TStream::DeclareClass(rtl::ClassBuilder<TStream> &) {}
LIRRA_DEFINE_CLASS(TFileStream)
void TFileStream::DeclareClass(rtl::ClassBuilder<TFileStream> &) {}
LIRRA_DEFINE_CLASS(TMemoryStream)
void TMemoryStream::DeclareClass(rtl::ClassBuilder<TMemoryStream> &) {}
LIRRA_DEFINE_CLASS(TCustomIniFile)
void TCustomIniFile::DeclareClass(rtl::ClassBuilder<TCustomIniFile> &) {}
LIRRA_DEFINE_CLASS(TMemIniFile)
void TMemIniFile::DeclareClass(rtl::ClassBuilder<TMemIniFile> &) {}
LIRRA_DEFINE_CLASS(TIniFile)
void TIniFile::DeclareClass(rtl::ClassBuilder<TIniFile> &) {}

void TStrings::Assign(TPersistent *Source)
{
    if (auto *s = dynamic_cast<TStrings *>(Source)) {
        const bool sorted = List.Sorted();
        List.Assign(s->List);
        List.SetSorted(sorted);
        return;
    }
    TPersistent::Assign(Source);
}

::TStream &TStream::Stream() const
{
    // A bare TStream made by a script has nothing to read or write.
    if (!FStream)
        throw EqsRunError(QStringLiteral("Stream not open"));
    return *FStream;
}

void TCustomIniFile::Open(const QString &fileName) { FIni = std::make_unique<::TMemIniFile>(fileName); }

::TCustomIniFile &TCustomIniFile::Ini() const
{
    if (!FIni)
        throw EqsRunError(QStringLiteral("Ini file not open"));
    return *FIni;
}

} // namespace qscl
