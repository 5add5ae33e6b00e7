// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/resourcebitmap.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

using namespace ruvo;

class ResourceBitmapTest : public QObject
{
    Q_OBJECT

private slots:
    void bitmapByName_ignoresLetterCase_data();
    void bitmapByName_ignoresLetterCase();
    void bmpPicture_samePixelsAsQtsReader_data();
    void bmpPicture_samePixelsAsQtsReader();
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

// Every built-in picture, and bitmaps of each row order and depth, read by the program's own
// decoding of uncompressed bitmaps (or Qt's, for what it leaves) give the pixels Qt's reader
// gives.
void ResourceBitmapTest::bmpPicture_samePixelsAsQtsReader_data()
{
    QTest::addColumn<QString>("path");
    QDirIterator pictures(QStringLiteral(":/"), {QStringLiteral("*.bmp"), QStringLiteral("*.BMP")},
                          QDir::Files, QDirIterator::Subdirectories);
    while (pictures.hasNext()) {
        const QString path = pictures.next();
        QTest::newRow(qPrintable(path)) << path;
    }
    static QTemporaryDir dir;
    QImage sample(13, 5, QImage::Format_RGB32);
    for (int y = 0; y < sample.height(); ++y)
        for (int x = 0; x < sample.width(); ++x)
            sample.setPixel(x, y, qRgb(x * 19, y * 50, (x + y) * 9));
    const QList<std::pair<const char *, QImage>> written = {
        {"24-bit", sample},
        {"8-bit", sample.convertToFormat(QImage::Format_Indexed8)},
        {"1-bit", sample.convertToFormat(QImage::Format_Mono)},
    };
    for (const auto &[name, image] : written) {
        const QString path = dir.filePath(QString::fromLatin1(name) + u".bmp");
        image.save(path, "BMP");
        QTest::newRow(name) << path;
    }
}

void ResourceBitmapTest::bmpPicture_samePixelsAsQtsReader()
{
    QFETCH(QString, path);
    const QImage expected(path);
    QVERIFY(!expected.isNull());
    const QImage read = ReadBmpPicture(path);
    QCOMPARE(read.convertToFormat(QImage::Format_ARGB32),
             expected.convertToFormat(QImage::Format_ARGB32));
}

QTEST_MAIN(ResourceBitmapTest)

#include "tst_resourcebitmap.moc"
