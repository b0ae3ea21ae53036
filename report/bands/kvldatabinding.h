#pragma once
// A binding to a record source by object and by name, as bands and pages hold it: the name
// is kept for templates read before their sources exist, and the bound source's own name
// wins once there is one.
#include "platform/rtl/reflect/component.h"

#include <QString>

class TkvlComponent;
class TkvlDataSet;

class TkvlDataSetBinding {
public:
    TkvlDataSet *DataSet() const;
    // Binds the source and takes its user name.
    void SetDataSet(TkvlDataSet *Value);
    QString DataSetName() const;
    // Looks the source up by name for Self (Self's report decides which sources it sees).
    void SetDataSetName(const TkvlComponent *Self, const QString &Value);

private:
    rtl::ComponentRef<TkvlDataSet> FDataSet;
    QString FName;
};
