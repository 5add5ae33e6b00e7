#include "platform/resourcebitmap.h"

#include <QTest>

using namespace ruvo;

class ResourceBitmapTest : public QObject
{
    Q_OBJECT

private slots:
    void bitmapByName_ignoresLetterCase_data();
    void bitmapByName_ignoresLetterCase();
};

void ResourceBitmapTest::bitmapByName_ignoresLetterCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");

    QTest::newRow("as the pad asks") << QStringLiteral("CalendarPad_") << QSize(387, 278);
    QTest::newRow("lower case") << QStringLiteral("calendarpad_") << QSize(387, 278);
    QTest::newRow("as stored") << QStringLiteral("MAINBACKGROUND") << QSize(387, 278);
    QTest::newRow("missing") << QStringLiteral("CalendarPad") << QSize();
    QTest::newRow("empty") << QString() << QSize();
}

void ResourceBitmapTest::bitmapByName_ignoresLetterCase()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const QImage image = LoadBitmapByName(name);
    QCOMPARE(image.isNull(), size.isEmpty() || !size.isValid());
    if (!image.isNull())
        QCOMPARE(image.size(), size);
}

QTEST_MAIN(ResourceBitmapTest)

#include "tst_resourcebitmap.moc"
