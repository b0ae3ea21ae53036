#include "engine/run/kvlenginehelpers.h"

#include "platform/rtl/reflect/classinfo.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldataset.h"

namespace kvlengine {

TkvlDataSet *SourceOf(TkvlDataBand *B)
{
    if (TkvlDataSet *ds = B->DataSet())
        return ds;
    return B->RowCount() > 0 ? B->VirtualDataSet() : nullptr;
}

TkvlComponent *CopyForOutput(TkvlComponent *Obj)
{
    auto *copy = rtl_cast<TkvlComponent>(Obj->ClassType()->create(nullptr));
    if (!copy)
        return nullptr;
    copy->Assign(Obj);
    copy->SetName(QString());  // copies live beside their originals in the same report
    copy->AliasName = Obj->AliasName;
    copy->OriginalComponent = Obj->OriginalComponent.get();
    return copy;
}

} // namespace kvlengine
