// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "probe.h"

#include "widgets/tbmpanime.h"
#include "widgets/timagectrl.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

using namespace ruvo;
using probe::shot;

namespace {

constexpr QRgb kHostColor = qRgb(10, 200, 30);

QRgb frameColor(int index)
{
    return qRgb(20 * index + 5, 255 - 20 * index, 100);
}

QPixmap solidFrame(QSize size, QRgb color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return QPixmap::fromImage(image);
}

const QTimer *frameTimer(const TBmpAnime *anime)
{
    return anime->findChild<QTimer *>(QStringLiteral("FrameTimer"));
}

} // namespace

class BmpAnimeTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_host = probe::makeHost(kHostColor); }
    void cleanup() { m_host.reset(); }

    void emptyList_whiteRectangleWithBlackOutline();
    void twelveFramesAt80ms_wrapToFrameZero();
    void tick_data();
    void tick();
    void timer();
    void placement_data();
    void placement();
    void autoSize_followsFrameOnShow();
    void removingFrames_keepsFrameIndexValid_data();
    void removingFrames_keepsFrameIndexValid();
    void listView();
    void moveExchangesTwoFrames_data();
    void moveExchangesTwoFrames();
    void loadFrames_inOrderNamedAfterFiles();

private:
    // An animation of solid frames, each a colour of its own; the test drives the ticks.
    TBmpAnime *makeAnime(int frames, QRect geometry = QRect(10, 10, 39, 42))
    {
        auto *anime = new TBmpAnime(m_host.get());
        anime->setGeometry(geometry);
        for (int i = 0; i < frames; ++i)
            anime->addFrame(QString(), solidFrame(QSize(39, 42), frameColor(i)));
        anime->setAnimationSpeed(60000);
        anime->show();
        return anime;
    }

    std::unique_ptr<QWidget> m_host;
};

void BmpAnimeTest::emptyList_whiteRectangleWithBlackOutline()
{
    makeAnime(0, QRect(20, 20, 40, 30));
    // One pixel of the window around the control.
    const QImage image = m_host->grab(QRect(19, 19, 42, 32)).toImage();
    for (const QPoint edge : {QPoint(1, 1), QPoint(40, 1), QPoint(1, 30), QPoint(40, 30),
                              QPoint(20, 1), QPoint(20, 30), QPoint(1, 15), QPoint(40, 15)})
        QCOMPARE(image.pixel(edge), qRgb(0, 0, 0));
    for (const QPoint inside : {QPoint(2, 2), QPoint(39, 29), QPoint(20, 15)})
        QCOMPARE(image.pixel(inside), qRgb(255, 255, 255));
    for (const QPoint outside : {QPoint(0, 0), QPoint(41, 31), QPoint(20, 0), QPoint(41, 15)})
        QCOMPARE(image.pixel(outside), kHostColor);
}

void BmpAnimeTest::twelveFramesAt80ms_wrapToFrameZero()
{
    TBmpAnime *anime = makeAnime(12);
    anime->setAnimationSpeed(80);
    // The real timer: note the frame after every tick until the sequence has wrapped.
    QList<int> shown;
    connect(frameTimer(anime), &QTimer::timeout, this, [&] {
        shown.append(anime->FrameIndex());
        if (shown.size() == 13)
            anime->setActive(false);
    });
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 13, 10000);
    QCOMPARE(shown, QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 1}));
}

void BmpAnimeTest::tick_data()
{
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("frameIndex");
    QTest::newRow("no frames") << 0 << 3 << 0;
    QTest::newRow("single frame never changes") << 1 << 3 << 0;
    QTest::newRow("12 frames, 11 ticks") << 12 << 11 << 11;
    QTest::newRow("12 frames, 12 ticks") << 12 << 12 << 0;
    QTest::newRow("36 frames, 40 ticks") << 36 << 40 << 4;
}

void BmpAnimeTest::tick()
{
    QFETCH(int, frames);
    QFETCH(int, ticks);
    QFETCH(int, frameIndex);
    TBmpAnime *anime = makeAnime(frames);
    for (int i = 0; i < ticks; ++i)
        probe::tick(anime, "FrameTimer");
    QCOMPARE(anime->FrameIndex(), frameIndex);
    if (frames > 0)
        QCOMPARE(shot(anime).pixel(20, 20), frameColor(frameIndex));
    // Reading Active restarts the sequence.
    QVERIFY(anime->Active());
    QCOMPARE(anime->FrameIndex(), 0);
}

void BmpAnimeTest::timer()
{
    TBmpAnime anime;
    QCOMPARE(anime.size(), QSize(150, 150));
    QVERIFY(frameTimer(&anime)->isActive());
    QCOMPARE(frameTimer(&anime)->interval(), 80);
    anime.setAnimationSpeed(0); // stands still
    QVERIFY(!frameTimer(&anime)->isActive());
    QVERIFY(anime.Active());
    anime.setAnimationSpeed(50);
    anime.setActive(false);
    QVERIFY(!frameTimer(&anime)->isActive());
}

void BmpAnimeTest::placement_data()
{
    QTest::addColumn<QSize>("control");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<bool>("center");
    // Where the frame's top-left pixel lands, and how many control pixels one frame pixel spans.
    QTest::addColumn<QPoint>("origin");
    QTest::addColumn<int>("scale");
    QTest::newRow("top-left") << QSize(40, 30) << QSize(10, 8) << false << false << QPoint(0, 0)
                              << 1;
    QTest::newRow("centred") << QSize(40, 30) << QSize(11, 9) << false << true << QPoint(14, 10)
                             << 1;
    QTest::newRow("centred, larger frame")
        << QSize(10, 10) << QSize(21, 23) << false << true << QPoint(-5, -6) << 1;
    QTest::newRow("stretched") << QSize(40, 32) << QSize(10, 8) << true << false << QPoint() << 4;
    QTest::newRow("stretch wins over centre")
        << QSize(40, 32) << QSize(10, 8) << true << true << QPoint() << 4;
}

void BmpAnimeTest::placement()
{
    QFETCH(QSize, control);
    QFETCH(QSize, frame);
    QFETCH(bool, stretch);
    QFETCH(bool, center);
    QFETCH(QPoint, origin);
    QFETCH(int, scale);
    // Every pixel its own colour, so a probe tells which frame pixel landed where.
    QImage pattern(frame, QImage::Format_RGB32);
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x)
            pattern.setPixel(x, y, qRgb(x * 7, y * 7, 200));
    }
    TBmpAnime *anime = makeAnime(0, QRect(QPoint(30, 30), control));
    anime->addFrame(QString(), QPixmap::fromImage(pattern));
    anime->setStretch(stretch);
    anime->setCenter(center);

    const QImage image = shot(anime);
    for (int y = 0; y < control.height(); ++y) {
        for (int x = 0; x < control.width(); ++x) {
            const QPoint source((x - origin.x()) / scale, (y - origin.y()) / scale);
            const bool covered = x >= origin.x() && y >= origin.y() && pattern.valid(source);
            if (image.pixel(x, y) != (covered ? pattern.pixel(source) : kHostColor))
                QFAIL(qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
        }
    }
}

void BmpAnimeTest::autoSize_followsFrameOnShow()
{
    TBmpAnime *anime = makeAnime(0, QRect(16, 20, 50, 50));
    anime->addFrame(QString(), solidFrame(QSize(20, 10), frameColor(0)));
    anime->addFrame(QString(), solidFrame(QSize(30, 25), frameColor(1)));
    anime->setAutoSize(true);
    QCOMPARE(anime->geometry(), QRect(16, 20, 20, 10));
    probe::tick(anime, "FrameTimer");
    QCOMPARE(anime->geometry(), QRect(16, 20, 30, 25));
}

void BmpAnimeTest::removingFrames_keepsFrameIndexValid_data()
{
    QTest::addColumn<int>("shownBefore");
    QTest::addColumn<int>("removed"); // -1: clear; -2: replace by two frames
    QTest::addColumn<int>("shownAfter");
    QTest::newRow("remove the last frame while on show") << 4 << 4 << 0;
    QTest::newRow("remove a frame after the one on show") << 2 << 3 << 2;
    QTest::newRow("clear") << 3 << -1 << 0;
    QTest::newRow("replace by fewer frames") << 4 << -2 << 0;
}

void BmpAnimeTest::removingFrames_keepsFrameIndexValid()
{
    QFETCH(int, shownBefore);
    QFETCH(int, removed);
    QFETCH(int, shownAfter);
    TBmpAnime *anime = makeAnime(5);
    for (int i = 0; i < shownBefore; ++i)
        probe::tick(anime, "FrameTimer");
    if (removed >= 0)
        anime->ImageList().remove(removed);
    else if (removed == -1)
        anime->ImageList().clear();
    else
        anime->setImageList({QStringLiteral("a"), QStringLiteral("b")});
    QCOMPARE(anime->FrameIndex(), shownAfter);
    // Painting and ticking go on without touching a released frame.
    shot(anime);
    probe::tick(anime, "FrameTimer");
    QVERIFY(anime->FrameIndex() < qMax(1, anime->ImageList().count()));
}

void BmpAnimeTest::listView()
{
    TBmpAnime anime;
    TImageListAccess &list = anime.ImageList();
    list.assign({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    const QPointer<TImageCtrl> b = list.object(1);
    QCOMPARE(b->parent(), &anime);
    QVERIFY(b->Bmp().isNull());

    list.insert(1, QStringLiteral("x"));
    QCOMPARE(list.strings(), QStringList({"a", "x", "b", "c"}));
    list.move(0, 3);
    QCOMPARE(list.strings(), QStringList({"c", "x", "b", "a"}));
    list.exchange(1, 2);
    QCOMPARE(list.strings(), QStringList({"c", "b", "x", "a"}));
    list.insert(9, QStringLiteral("y")); // out of range: ignored
    list.remove(-1);
    QCOMPARE(list.strings(), QStringList({"c", "b", "x", "a"}));
    QCOMPARE(list.object(1), b.data());

    list.remove(1);
    QVERIFY(b.isNull()); // released
    QCOMPARE(list.strings(), QStringList({"c", "x", "a"}));
    const QPointer<TImageCtrl> c = list.object(0);
    list.assign({QStringLiteral("p")});
    QVERIFY(c.isNull());
    QCOMPARE(list.strings(), QStringList({"p"}));
}

void BmpAnimeTest::moveExchangesTwoFrames_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("order"); // the original frames a b c d, after the move
    QTest::newRow("later index first") << 3 << 1 << "adcb";
    QTest::newRow("same index") << 2 << 2 << "abcd";
    QTest::newRow("index past the end") << 1 << 4 << "abcd";
}

void BmpAnimeTest::moveExchangesTwoFrames()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, order);
    TBmpAnime anime;
    TImageListAccess &list = anime.ImageList();
    const QStringList captions = {"a", "b", "c", "d"};
    list.assign(captions);
    QList<TImageCtrl *> frames;
    for (int i = 0; i < list.count(); ++i)
        frames.append(list.object(i));

    list.move(from, to);
    for (int i = 0; i < list.count(); ++i) // the frame holders go with their captions
        QCOMPARE(list.object(i), frames.at(captions.indexOf(QString(order.at(i)))));
}

void BmpAnimeTest::loadFrames_inOrderNamedAfterFiles()
{
    QTemporaryDir dir;
    const QStringList files =
        TBmpAnime::numberedFiles(dir.filePath(QStringLiteral("IMAGE%1.BMP")), 1, 3);
    for (int i = 0; i < 3; ++i) {
        // 8 bits per pixel with a palette, like the stored frames.
        QImage image(39, 42, QImage::Format_Indexed8);
        image.setColorTable({frameColor(i)});
        image.fill(0);
        QVERIFY(image.save(files[i], "BMP"));
    }
    TBmpAnime anime;
    anime.addFrame(QStringLiteral("old"), QPixmap());
    QVERIFY(anime.loadFrames(files));
    QCOMPARE(anime.ImageList().strings(), QStringList({"IMAGE1.BMP", "IMAGE2.BMP", "IMAGE3.BMP"}));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(anime.ImageList().object(i)->Bmp().toImage().pixel(38, 41), frameColor(i));

    // A missing picture leaves an empty frame in its place, so the order holds.
    QVERIFY(!anime.loadFrames({files[0], dir.filePath(QStringLiteral("MISSING.BMP")), files[2]}));
    QVERIFY(anime.ImageList().object(1)->Bmp().isNull());
}

QTEST_MAIN(BmpAnimeTest)

#include "tst_bmpanime.moc"
