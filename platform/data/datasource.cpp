#include "platform/data/datasource.h"

#include "platform/rtl/reflect/classbuilder.h"

#include <algorithm>

LIRRA_DEFINE_CLASS(TDataSource)

class TDataSource::Watcher : public TDataSetObserver
{
public:
    explicit Watcher(TDataSource &Owner) : FOwner(Owner) {}
    void DataSetAfterOpen(TDataSet &) override { FOwner.Forward(&TDataSetObserver::DataSetAfterOpen); }
    void DataSetBeforeClose(TDataSet &) override { FOwner.Forward(&TDataSetObserver::DataSetBeforeClose); }
    void DataSetChanged(TDataSet &) override { FOwner.Forward(&TDataSetObserver::DataSetChanged); }
    void DataSetScrolled(TDataSet &) override { FOwner.Forward(&TDataSetObserver::DataSetScrolled); }
    void DataSetStateChanged(TDataSet &) override { FOwner.Forward(&TDataSetObserver::DataSetStateChanged); }
    void DataSetRecordChanged(TDataSet &ds, int row) override
    {
        const auto listeners = FOwner.FListeners;
        for (TDataSourceListener *l : listeners)
            if (std::find(FOwner.FListeners.begin(), FOwner.FListeners.end(), l) != FOwner.FListeners.end())
                l->DataSetRecordChanged(ds, row);
    }
    void DataSetDestroying(TDataSet &) override
    {
        FOwner.Forward(&TDataSetObserver::DataSetDestroying);
        FOwner.FDataSet = nullptr;
        FOwner.Announce(&TDataSourceListener::DataSourceDataSetChanged);
    }

private:
    TDataSource &FOwner;
};

void TDataSource::DeclareClass(rtl::ClassBuilder<TDataSource> &) {}

TDataSource::TDataSource(TComponent *AOwner) : TComponent(AOwner), FWatcher(std::make_unique<Watcher>(*this)) {}

TDataSource::~TDataSource()
{
    if (FDataSet)
        FDataSet->RemoveObserver(FWatcher.get());
    FDataSet = nullptr;
    Announce(&TDataSourceListener::DataSourceDestroying);
    FListeners.clear();
}

void TDataSource::SetDataSet(TDataSet *Value)
{
    if (Value == FDataSet)
        return;
    if (FDataSet)
        FDataSet->RemoveObserver(FWatcher.get());
    FDataSet = Value;
    if (FDataSet)
        FDataSet->AddObserver(FWatcher.get());
    Announce(&TDataSourceListener::DataSourceDataSetChanged);
}

void TDataSource::AddListener(TDataSourceListener *l)
{
    if (l && std::find(FListeners.begin(), FListeners.end(), l) == FListeners.end())
        FListeners.push_back(l);
}

void TDataSource::RemoveListener(TDataSourceListener *l)
{
    FListeners.erase(std::remove(FListeners.begin(), FListeners.end(), l), FListeners.end());
}

void TDataSource::Forward(void (TDataSetObserver::*fn)(TDataSet &))
{
    if (!FDataSet)
        return;
    TDataSet &ds = *FDataSet;
    // Listeners may detach themselves while being told.
    const auto listeners = FListeners;
    for (TDataSourceListener *l : listeners)
        if (std::find(FListeners.begin(), FListeners.end(), l) != FListeners.end())
            (l->*fn)(ds);
}

void TDataSource::Announce(void (TDataSourceListener::*fn)(TDataSource &))
{
    const auto listeners = FListeners;
    for (TDataSourceListener *l : listeners)
        if (std::find(FListeners.begin(), FListeners.end(), l) != FListeners.end())
            (l->*fn)(*this);
}
