// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The built-in pictures: that every one is reachable without any set-up call, and that their
// files have exactly the layout, sizes and depths the program and the window descriptions rely
// on; that the page leaves white paper wherever the program puts an editor or a text cell; that
// the cursors are usable; that the page sound is a short 16-bit wave; that the theme icons come
// at every size with transparency.

#include "platform/cursorhotspots.h"
#include "platform/resourcebitmap.h"

#include <QFile>
#include <QImage>
#include <QRect>
#include <QTest>
#include <QtEndian>

#include <cstdlib>

namespace {

struct DibHeader
{
    QByteArray magic;
    quint32 fileSize = 0;
    quint32 pixelOffset = 0;
    quint32 infoSize = 0;
    qint32 width = 0;
    qint32 height = 0;
    quint16 planes = 0;
    quint16 depth = 0;
    quint32 compression = 0;
    quint32 coloursUsed = 0;
};

quint16 u16(const QByteArray &b, int at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32(const QByteArray &b, int at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

DibHeader readDib(const QByteArray &b)
{
    DibHeader h;
    if (b.size() < 54)
        return h;
    h.magic = b.left(2);
    h.fileSize = u32(b, 2);
    h.pixelOffset = u32(b, 10);
    h.infoSize = u32(b, 14);
    h.width = qint32(u32(b, 18));
    h.height = qint32(u32(b, 22));
    h.planes = u16(b, 26);
    h.depth = u16(b, 28);
    h.compression = u32(b, 30);
    h.coloursUsed = u32(b, 46);
    return h;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

struct Cursor
{
    const char *name;
    QPoint hotSpot;
};

// The cursors built in, each with the point the cursor table gives it.
const Cursor kCursors[] = {
    {"LEFTHAND", ruvo::CursorHotSpotOf(u"LEFTHAND")},
    {"RIGHTHAND", ruvo::CursorHotSpotOf(u"RIGHTHAND")},
    {"TOPHAND", ruvo::CursorHotSpotOf(u"TOPHAND")},
    {"LEFTHAND_D", ruvo::CursorHotSpotOf(u"LEFTHAND_D")},
    {"RIGHTHAND_D", ruvo::CursorHotSpotOf(u"RIGHTHAND_D")},
    {"TOPHAND_D", ruvo::CursorHotSpotOf(u"TOPHAND_D")},
};

const char *const kPages[] = {":/bitmaps/CALENDARPAD_.bmp", ":/bitmaps/MAINBACKGROUND.bmp"};

// Where the program draws opaque white cells or lays its white editors over the page. The text
// cells are taken at their widest (a long month name, a long day line in French).
QList<QPair<const char *, QRect>> paperAreas()
{
    QList<QPair<const char *, QRect>> areas = {
        {"notes editor", QRect(18, 85, 149, 160)},
        {"year", QRect(20, 20, 80, 32)},
        {"month", QRect(12, 55, 96, 18)},
        {"day block and its outline", QRect(99, 17, 66, 60)},
        {"upper rule", QRect(20, 80, 145, 1)},
        {"lower rule", QRect(20, 250, 145, 1)},
        {"day and week line", QRect(45, 250, 121, 14)},
    };
    for (int i = 1; i <= 17; ++i) {
        areas.append({"time field", QRect(246, 20 + 14 * (i - 1), 115, 16)});
        areas.append({"hour label", QRect(218, 19 + 14 * (i - 1), 28, 13)});
    }
    return areas;
}

} // namespace

class ResourcesTest : public QObject
{
    Q_OBJECT

private slots:
    void bitmapFileLayout_data();
    void bitmapFileLayout();
    void mainBackgroundIsTheStoredLayout();
    void pagePaperIsWhiteUnderEditorsAndTexts_data();
    void pagePaperIsWhiteUnderEditorsAndTexts();
    void pageCornersInviteTurning_data();
    void pageCornersInviteTurning();
    void palettedPageMatchesFullColourPage();
    void cursorIsUsable_data();
    void cursorIsUsable();
    void hotSpotListMatches();
    void programIconLayout();
    void themeIconIsDrawnAtItsSize_data();
    void themeIconIsDrawnAtItsSize();
    void aboutPicturesSitOnWhite_data();
    void aboutPicturesSitOnWhite();
    void animationsLoop_data();
    void animationsLoop();
    void paperSoundIsShortPcm();
};

void ResourcesTest::bitmapFileLayout_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("depth");

    QTest::newRow("page background") << ":/bitmaps/CALENDARPAD_.bmp" << 387 << 278 << 8;
    QTest::newRow("main background") << ":/bitmaps/MAINBACKGROUND.bmp" << 387 << 278 << 24;
    for (const Cursor &c : kCursors) {
        const QString name = QString::fromLatin1(c.name);
        QTest::addRow("cursor %s", c.name) << ":/cursors/" + name + ".bmp" << 32 << 32 << 1;
        QTest::addRow("cursor mask %s", c.name)
            << ":/cursors/" + name + "_mask.bmp" << 32 << 32 << 1;
    }
    for (int i = 1; i <= 12; ++i)
        QTest::addRow("globe frame %d", i)
            << QStringLiteral(":/about/anim2/IMAGE%1.BMP").arg(i) << 39 << 42 << 8;
    for (int i = 1; i <= 36; ++i)
        QTest::addRow("calendar frame %d", i)
            << QStringLiteral(":/about/anim17/IMAGE%1.BMP").arg(i) << 50 << 40 << 8;
    QTest::newRow("closing picture") << ":/about/tf2.bmp" << 176 << 32 << 24;
}

void ResourcesTest::bitmapFileLayout()
{
    QFETCH(QString, path);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, depth);

    const QByteArray bytes = readAll(path);
    QVERIFY2(!bytes.isEmpty(), qPrintable(path + " is not built in"));
    const DibHeader h = readDib(bytes);
    QCOMPARE(h.magic, QByteArray("BM"));
    QCOMPARE(h.fileSize, quint32(bytes.size()));
    QCOMPARE(h.infoSize, 40u);
    QCOMPARE(h.width, width);
    QCOMPARE(h.height, height); // positive: rows bottom-up
    QCOMPARE(h.planes, quint16(1));
    QCOMPARE(int(h.depth), depth);
    QCOMPARE(h.compression, 0u);
    const int paletteEntries = depth <= 8 ? 1 << depth : 0;
    QVERIFY(h.coloursUsed == 0 || int(h.coloursUsed) == paletteEntries);
    QCOMPARE(h.pixelOffset, quint32(14 + 40 + 4 * paletteEntries));
    const int stride = ((width * depth + 31) / 32) * 4;
    QCOMPARE(bytes.size(), int(h.pixelOffset) + stride * height);

    const QImage image(path);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(width, height));
}

void ResourcesTest::mainBackgroundIsTheStoredLayout()
{
    const QByteArray bytes = readAll(QStringLiteral(":/bitmaps/MAINBACKGROUND.bmp"));
    QCOMPARE(bytes.size(), 323646);
    QCOMPARE(u32(bytes, 10), 54u);
}

void ResourcesTest::pagePaperIsWhiteUnderEditorsAndTexts_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QRect>("area");
    for (const char *page : kPages) {
        int n = 0;
        for (const auto &[what, rect] : paperAreas())
            QTest::addRow("%s %s %d", page + 10, what, ++n) << QString::fromLatin1(page) << rect;
    }
}

void ResourcesTest::pagePaperIsWhiteUnderEditorsAndTexts()
{
    QFETCH(QString, path);
    QFETCH(QRect, area);
    const QImage page = QImage(path).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!page.isNull());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (page.pixel(x, y) != qRgb(255, 255, 255))
                QFAIL(qPrintable(QStringLiteral("not white at (%1, %2)").arg(x).arg(y)));
}

void ResourcesTest::pageCornersInviteTurning_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QRect>("corner");
    for (const char *page : kPages) {
        QTest::addRow("%s previous day", page + 10)
            << QString::fromLatin1(page) << QRect(1, 249, 36, 21);
        QTest::addRow("%s next day", page + 10)
            << QString::fromLatin1(page) << QRect(349, 249, 36, 21);
    }
}

void ResourcesTest::pageCornersInviteTurning()
{
    // A lifted corner is drawn inside each corner that turns the page.
    QFETCH(QString, path);
    QFETCH(QRect, corner);
    const QImage page = QImage(path).convertToFormat(QImage::Format_RGB32);
    int shaded = 0;
    for (int y = corner.top(); y <= corner.bottom(); ++y)
        for (int x = corner.left(); x <= corner.right(); ++x)
            if (qGray(page.pixel(x, y)) < 235)
                ++shaded;
    QVERIFY2(shaded > 60, qPrintable(QString::number(shaded)));
}

void ResourcesTest::palettedPageMatchesFullColourPage()
{
    // The 256-colour page must not show bands or wrong colours next to the full-colour one.
    const QImage paletted =
        QImage(QStringLiteral(":/bitmaps/CALENDARPAD_.bmp")).convertToFormat(QImage::Format_RGB32);
    const QImage full = QImage(QStringLiteral(":/bitmaps/MAINBACKGROUND.bmp"))
                            .convertToFormat(QImage::Format_RGB32);
    QCOMPARE(paletted.size(), full.size());
    qint64 total = 0;
    int worst = 0;
    for (int y = 0; y < full.height(); ++y) {
        for (int x = 0; x < full.width(); ++x) {
            const QRgb a = paletted.pixel(x, y), b = full.pixel(x, y);
            const int d = std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                          std::abs(qBlue(a) - qBlue(b));
            total += d;
            worst = std::max(worst, d);
        }
    }
    const double mean = double(total) / (full.width() * full.height());
    QVERIFY2(mean < 1.5, qPrintable(QString::number(mean)));
    QVERIFY2(worst < 60, qPrintable(QString::number(worst)));
}

void ResourcesTest::cursorIsUsable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("hotSpot");
    for (const Cursor &c : kCursors)
        QTest::newRow(c.name) << QString::fromLatin1(c.name) << c.hotSpot;
}

void ResourcesTest::cursorIsUsable()
{
    QFETCH(QString, name);
    QFETCH(QPoint, hotSpot);
    const QImage image = QImage(":/cursors/" + name + ".bmp").convertToFormat(QImage::Format_RGB32);
    const QImage mask =
        QImage(":/cursors/" + name + "_mask.bmp").convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.size(), QSize(32, 32));
    QCOMPARE(mask.size(), QSize(32, 32));

    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    // The point that clicks is on the hand, not beside it.
    QCOMPARE(mask.pixel(hotSpot), black);
    QCOMPARE(image.pixel(hotSpot), black);
    int opaque = 0, outline = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb m = mask.pixel(x, y), c = image.pixel(x, y);
            QVERIFY(m == black || m == white);
            QVERIFY(c == black || c == white);
            // Monochrome cursors invert the screen where the mask is clear and the image black.
            if (m == white)
                QVERIFY2(c == white, qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
            opaque += m == black;
            outline += m == black && c == black;
        }
    }
    QVERIFY2(opaque > 150 && opaque < 700, qPrintable(QString::number(opaque)));
    QVERIFY(outline > 40 && outline < opaque);
}

void ResourcesTest::hotSpotListMatches()
{
    QFile file(QStringLiteral(RUVO_SOURCE_DIR "/resources/cursors/hotspots.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList expected;
    for (const Cursor &c : kCursors)
        expected << QStringLiteral("%1 %2 %3")
                        .arg(QLatin1String(c.name))
                        .arg(c.hotSpot.x())
                        .arg(c.hotSpot.y());
    QCOMPARE(QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             expected);
}

void ResourcesTest::programIconLayout()
{
    const QByteArray bytes = readAll(QStringLiteral(":/icons/MAINICON.ico"));
    QCOMPARE(bytes.size(), 6 + 16 + 40 + 16 * 4 + 32 * 16 + 32 * 4);
    QCOMPARE(u16(bytes, 0), quint16(0));
    QCOMPARE(u16(bytes, 2), quint16(1)); // an icon
    QCOMPARE(u16(bytes, 4), quint16(1)); // one image
    QCOMPARE(uchar(bytes.at(6)), uchar(32));
    QCOMPARE(uchar(bytes.at(7)), uchar(32));
    QCOMPARE(uchar(bytes.at(8)), uchar(16));
    QCOMPARE(u16(bytes, 12), quint16(4));
    QCOMPARE(u32(bytes, 14), quint32(bytes.size() - 22));
    QCOMPARE(u32(bytes, 18), 22u);
    QCOMPARE(u32(bytes, 22), 40u);
    QCOMPARE(qint32(u32(bytes, 26)), 32);
    QCOMPARE(qint32(u32(bytes, 30)), 64); // colour image and mask together
    QCOMPARE(u16(bytes, 36), quint16(4));

    const QImage icon(QStringLiteral(":/icons/MAINICON.ico"));
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(icon.hasAlphaChannel());
    QCOMPARE(qAlpha(icon.pixel(0, 31)), 0); // the mask cuts the corners free
    QCOMPARE(qAlpha(icon.pixel(14, 20)), 255);
    // The red top of the page.
    const QRgb top = icon.pixel(14, 9);
    QVERIFY2(qRed(top) > 150 && qGreen(top) < 100 && qBlue(top) < 100,
             qPrintable(QString::number(top, 16)));

    // The window decodes it without Qt's icon plugin: the same pixels.
    const QImage withoutPlugin = ruvo::ReadIconPicture(QStringLiteral(":/icons/MAINICON.ico"));
    QCOMPARE(withoutPlugin.convertToFormat(QImage::Format_ARGB32_Premultiplied),
             icon.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void ResourcesTest::themeIconIsDrawnAtItsSize_data()
{
    QTest::addColumn<int>("size");
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        QTest::addRow("%dx%d", size, size) << size;
}

void ResourcesTest::themeIconIsDrawnAtItsSize()
{
    // The icons the desktop install puts into the hicolor theme.
    QFETCH(int, size);
    const QString folder = QStringLiteral(RUVO_SOURCE_DIR "/resources/icons/hicolor/%1x%1/apps");
    const QImage icon(folder.arg(size) + QStringLiteral("/org.example.Ruvo.png"));
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.size(), QSize(size, size));
    QVERIFY(icon.hasAlphaChannel());
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(icon.pixel(size / 2, size / 2)), 255);
}

void ResourcesTest::aboutPicturesSitOnWhite_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("closing picture") << ":/about/tf2.bmp";
    for (int i = 1; i <= 12; ++i)
        QTest::addRow("globe frame %d", i) << QStringLiteral(":/about/anim2/IMAGE%1.BMP").arg(i);
    for (int i = 1; i <= 36; ++i)
        QTest::addRow("calendar frame %d", i)
            << QStringLiteral(":/about/anim17/IMAGE%1.BMP").arg(i);
}

void ResourcesTest::aboutPicturesSitOnWhite()
{
    QFETCH(QString, path);
    const QImage image = QImage(path).convertToFormat(QImage::Format_RGB32);
    const int r = image.width() - 1, b = image.height() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b)})
        QCOMPARE(image.pixel(corner), qRgb(255, 255, 255));
    // Something is drawn: at least a tenth of the picture is not white.
    int drawn = 0;
    for (int y = 0; y <= b; ++y)
        for (int x = 0; x <= r; ++x)
            drawn += image.pixel(x, y) != qRgb(255, 255, 255);
    QVERIFY(drawn * 10 > image.width() * image.height());
}

void ResourcesTest::animationsLoop_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("frames");
    QTest::addColumn<bool>("alwaysMoving");
    QTest::newRow("globe") << "anim2" << 12 << true;
    QTest::newRow("turning page") << "anim17" << 36 << false;
}

void ResourcesTest::animationsLoop()
{
    // Each frame change is a small step; the step from the last frame back to the first is no
    // bigger than the others, so the loop shows no jump.
    QFETCH(QString, folder);
    QFETCH(int, frames);
    QFETCH(bool, alwaysMoving);
    QList<QImage> images;
    for (int i = 1; i <= frames; ++i)
        images.append(QImage(QStringLiteral(":/about/%1/IMAGE%2.BMP").arg(folder).arg(i))
                          .convertToFormat(QImage::Format_RGB32));
    auto changed = [](const QImage &a, const QImage &b) {
        int n = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                n += a.pixel(x, y) != b.pixel(x, y);
        return n;
    };
    int largest = 0, moving = 0;
    for (int i = 0; i + 1 < frames; ++i) {
        const int n = changed(images.at(i), images.at(i + 1));
        largest = std::max(largest, n);
        moving += n > 0;
    }
    QVERIFY(moving > 0);
    if (alwaysMoving)
        QCOMPARE(moving, frames - 1);
    QVERIFY(changed(images.last(), images.first()) <= largest);
}

void ResourcesTest::paperSoundIsShortPcm()
{
    const QByteArray wav = readAll(QStringLiteral(RUVO_SOURCE_DIR "/resources/sounds/paper.wav"));
    QVERIFY(wav.size() > 44);
    QCOMPARE(wav.left(4), QByteArray("RIFF"));
    QCOMPARE(u32(wav, 4), quint32(wav.size() - 8));
    QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(u32(wav, 16), 16u);
    QCOMPARE(u16(wav, 20), quint16(1)); // PCM
    QCOMPARE(u16(wav, 22), quint16(1)); // mono
    const quint32 rate = u32(wav, 24);
    QVERIFY(rate == 22050 || rate == 44100);
    QCOMPARE(u32(wav, 28), rate * 2);
    QCOMPARE(u16(wav, 32), quint16(2));
    QCOMPARE(u16(wav, 34), quint16(16));
    QCOMPARE(wav.mid(36, 4), QByteArray("data"));
    const quint32 dataBytes = u32(wav, 40);
    QCOMPARE(quint32(wav.size()), 44 + dataBytes);
    const double seconds = double(dataBytes) / (rate * 2);
    QVERIFY2(seconds > 0.15 && seconds < 0.5, qPrintable(QString::number(seconds)));

    // Audible, never clipped, and silent at both ends so it starts and stops without a click.
    int peak = 0;
    for (quint32 i = 0; i < dataBytes / 2; ++i)
        peak = std::max(peak, std::abs(int(qint16(u16(wav, 44 + int(2 * i))))));
    QVERIFY2(peak > 8000 && peak < 32000, qPrintable(QString::number(peak)));
    QVERIFY(std::abs(int(qint16(u16(wav, 44)))) < 200);
    QVERIFY(std::abs(int(qint16(u16(wav, wav.size() - 2)))) < 200);
}

QTEST_MAIN(ResourcesTest)
#include "tst_resources.moc"
