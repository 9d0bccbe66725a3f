#include <QTest>
class QtFormTest : public QObject { Q_OBJECT };
QTEST_MAIN(QtFormTest)
#include "qt_form_test.moc"
