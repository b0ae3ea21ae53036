#include "report/data/kvldatabase.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/document/kvlreport.h"

LIRRA_DEFINE_CLASS(TkvlCustomDatabase)
LIRRA_DEFINE_CLASS(TkvlDBComponents)

void TkvlCustomDatabase::DeclareClass(rtl::ClassBuilder<TkvlCustomDatabase> &) {}

void TkvlCustomDatabase::Connect()
{
    if (GetConnected())
        return;
    if (TkvlReport *r = Report(); r && r->OnBeforeConnect)
        r->OnBeforeConnect(r, this);
    SetConnected(true);
}

void TkvlCustomDatabase::Disconnect()
{
    if (!GetConnected())
        return;
    SetConnected(false);
    if (TkvlReport *r = Report(); r && r->OnAfterDisconnect)
        r->OnAfterDisconnect(r, this);
}
void TkvlDBComponents::DeclareClass(rtl::ClassBuilder<TkvlDBComponents> &) {}
