#pragma once
// A data source: the component that forms, templates and the inspector point at to reach a
// dataset. It watches its dataset and passes every change on to its listeners, so that a
// listener keeps one registration while the source is pointed at other datasets.
#include "platform/data/dataset.h"
#include "platform/rtl/reflect/component.h"

#include <vector>

class TDataSource;

// Listener of a data source: the dataset's own notifications, plus the source's.
class TDataSourceListener : public TDataSetObserver
{
public:
    // The source now points at another dataset, or at none.
    virtual void DataSourceDataSetChanged(TDataSource &) {}
    // The source is being destroyed; the listener must let go of it.
    virtual void DataSourceDestroying(TDataSource &) {}
};

class TDataSource : public TComponent
{
    LIRRA_CLASS(TDataSource, TComponent)
public:
    explicit TDataSource(TComponent *AOwner = nullptr);
    ~TDataSource() override;

    // The dataset; forgotten when it is destroyed.
    TDataSet *DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet *Value);

    void AddListener(TDataSourceListener *l);
    void RemoveListener(TDataSourceListener *l);

private:
    class Watcher;
    friend class Watcher;
    void Forward(void (TDataSetObserver::*fn)(TDataSet &));
    void Announce(void (TDataSourceListener::*fn)(TDataSource &));

    TDataSet *FDataSet = nullptr;
    std::vector<TDataSourceListener *> FListeners;
    std::unique_ptr<Watcher> FWatcher;
};
