// Streaming of report objects through the serializer.
#include "platform/rtl/stream.h"
#include "report/core/kvlobjects.h"
#include "report/options/kvloptions.h"
#include "report/serial/xmlserializer.h"

#include <mutex>
#include <optional>

namespace {

// Points the report at the serializer for the duration of a read or write.
struct SerializerScope {
    TkvlReport *report;
    TkvlXMLSerializer *previous;
    SerializerScope(TkvlReport *r, TkvlXMLSerializer *s) : report(r), previous(r ? r->XMLSerializer : nullptr)
    {
        if (report)
            report->XMLSerializer = s;
    }
    ~SerializerScope()
    {
        if (report)
            report->XMLSerializer = previous;
    }
};

} // namespace

void TkvlComponent::SaveToStream(TStream &Stream, bool SaveChildren, bool SaveDefaultValues, bool Streaming)
{
    TkvlXMLSerializer s(&Stream);
    s.HandleNestedProperties = true;
    s.SaveAncestorOnly = AncestorOnlyStream;
    s.SerializeDefaultValues = SaveDefaultValues;
    TkvlReport *report = GetReport();
    s.Owner = report;
    if (report && (Is<TkvlReport>() || AncestorOnlyStream)) {
        s.OnGetAncestor = [report](const QString &Name, TPersistent *&Ancestor) { report->GetAncestor(Name, Ancestor); };
        if (Is<TkvlReport>() && !AncestorOnlyStream && report->OnSaveCustomData)
            s.OnSaveCustomData = report->OnSaveCustomData;
    }
    SerializerScope scope(report, &s);
    s.WriteRootComponent(this, SaveChildren, nullptr, Streaming);
}

void TkvlComponent::LoadFromStream(TStream &Stream)
{
    if (!AncestorOnlyStream)
        Clear();
    TkvlXMLSerializer s(&Stream);
    s.HandleNestedProperties = true;
    TkvlReport *report = GetReport();
    s.Owner = report;
    if (report && report->OnGetCustomData)
        s.OnGetCustomData = report->OnGetCustomData;
    std::optional<std::unique_lock<std::recursive_mutex>> lock;
    if (report && report->EngineOptions() && report->EngineOptions()->EnableThreadSafe)
        lock.emplace(kvlLoadingLock());
    SerializerScope scope(report, &s);
    struct ErrorsOut {
        TkvlReport *report;
        TkvlXMLSerializer &s;
        ~ErrorsOut()
        {
            if (report)
                report->Errors().AddStrings(s.Errors);
        }
    } errorsOut{report, s};
    s.ReadRootComponent(this);
}

void TkvlComponent::Assign(TPersistent *Source)
{
    auto *src = rtl_cast<TkvlComponent>(Source);
    if (!src || src == this)
        return;
    TMemoryStream m;
    src->SaveToStream(m, false, true, false);
    m.SetPosition(0);
    LoadFromStream(m);
}

void TkvlComponent::AssignAll(TkvlComponent *Source, bool Streaming)
{
    if (!Source || Source == this)
        return;
    TMemoryStream m;
    Source->SaveToStream(m, true, true, Streaming);
    m.SetPosition(0);
    LoadFromStream(m);
}
