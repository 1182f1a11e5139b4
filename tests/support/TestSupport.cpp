#include "TestSupport.h"

#include <QTest>

TempStore::TempStore()
{
    QString notice, error;
    if (!backend.open(file(), &notice, &error))
        qFatal("cannot open a temporary store: %s", qPrintable(error));
}
