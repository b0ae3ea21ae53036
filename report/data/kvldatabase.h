#pragma once
// The abstract database connection of dialog pages and the base of database-engine
// packages. No connection kind ships with the program; hosts may add one.
#include "report/data/kvldialogcomponent.h"

#include <QString>

class TStringList;

class TkvlCustomDatabase : public TkvlDialogComponent {
    LIRRA_CLASS(TkvlCustomDatabase, TkvlDialogComponent)
public:
    using TkvlDialogComponent::TkvlDialogComponent;

    virtual void SetConnected(bool) {}
    virtual void SetDatabaseName(const QString &) {}
    virtual void SetLoginPrompt(bool) {}
    virtual void SetParams(const TStringList *) {}
    virtual bool GetConnected() { return false; }
    virtual QString GetDatabaseName() { return QString(); }
    virtual bool GetLoginPrompt() { return false; }
    virtual const TStringList *GetParams() { return nullptr; }
    virtual QString ToString() { return QString(); }
    virtual void FromString(const QString &) {}
    virtual void SetLogin(const QString & /*Login*/, const QString & /*Password*/) {}

    // Connecting and disconnecting as the report sees it: its OnBeforeConnect hears of a
    // connection first (the host may still give the login), its OnAfterDisconnect of a
    // disconnection once it is done. Nothing happens when the state is already the one asked.
    void Connect();
    void Disconnect();
};

class TkvlDBComponents : public TComponent {
    LIRRA_CLASS(TkvlDBComponents, TComponent)
public:
    using TComponent::TComponent;
    virtual QString GetDescription() { return QString(); }
};
