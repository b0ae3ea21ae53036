#include "app/dm/dm.h"

#include "app/globals.h"

Tdm::Tdm(QObject *owner) : QObject(owner)
{
    setObjectName(QStringLiteral("dm"));
}

Tdm::~Tdm()
{
    if (dm == this)
        dm = nullptr;
}
