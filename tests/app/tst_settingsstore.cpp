#include "support/TestSupport.h"

#include <QTest>

class TestSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void readWriteDelete();
};
void TestSettingsStore::readWriteDelete() {}
QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
