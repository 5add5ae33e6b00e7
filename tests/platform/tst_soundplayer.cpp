// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/soundplayer.h"

#include <QApplication>
#include <QAudioDevice>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace ruvo;

namespace {

// A valid 16-bit mono PCM wave file of a few milliseconds of silence.
bool writeWave(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const quint32 samples = 441;
    const quint32 dataBytes = samples * 2;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(44100) << quint32(44100 * 2)
        << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << dataBytes;
    for (quint32 i = 0; i < samples; ++i)
        out << qint16(0);
    return out.status() == QDataStream::Ok;
}

} // namespace

class SoundPlayerTest : public QObject
{
    Q_OBJECT

private slots:
    void missingFileBeeps_data();
    void missingFileBeeps();
    void playsFileWithLongPath_data();
    void playsFileWithLongPath();
    void garbageFileBeeps();
    void oneSharedPlayer();
};

void SoundPlayerTest::missingFileBeeps_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("empty path") << QString();
    QTest::newRow("no such file") << QStringLiteral("/nonexistent/paper.wav");
    QTest::newRow("a folder") << QDir::tempPath();
}

void SoundPlayerTest::missingFileBeeps()
{
    QFETCH(QString, path);
    SoundPlayer *player = SoundPlayer::instance();
    QVERIFY(player);
    QSignalSpy beeped(player, &SoundPlayer::beeped);
    PlaySoundFile(path);
    QCOMPARE(beeped.count(), 1); // at once: nothing is left pending for a missing file
}

void SoundPlayerTest::playsFileWithLongPath_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("80 characters") << 80;
    QTest::newRow("81 characters") << 81;
    QTest::newRow("300 characters") << 300;
}

// Paths are never cut: a file whose path is exactly 80 characters or far longer is the file
// that gets played.
void SoundPlayerTest::playsFileWithLongPath()
{
    QFETCH(int, length);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString folder = dir.path();
    const QString fileName = QStringLiteral("paper.wav");
    while (folder.size() + 1 + fileName.size() + 20 < length) {
        folder += QStringLiteral("/0123456789abcdefgh");
        QVERIFY(QDir().mkpath(folder));
    }
    const int padding = length - int(folder.size()) - 1 - int(fileName.size());
    QVERIFY(padding >= 0);
    const QString path = folder + u'/' + QString(padding, u'x') + fileName;
    QCOMPARE(path.size(), length);
    QVERIFY(writeWave(path));

    SoundPlayer *player = SoundPlayer::instance();
    QSignalSpy beeped(player, &SoundPlayer::beeped);
    PlaySoundFile(path);
    QCOMPARE(player->currentSource(), path);
    // Played; a machine without an audio output beeps instead of playing it in silence.
    QCOMPARE(beeped.count(), QMediaDevices::defaultAudioOutput().isNull() ? 1 : 0);
}

void SoundPlayerTest::garbageFileBeeps()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("noise.wav"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is not a wave file at all");
    file.close();

    SoundPlayer *player = SoundPlayer::instance();
    QSignalSpy beeped(player, &SoundPlayer::beeped);
    PlaySoundFile(path);
    QTRY_COMPARE(beeped.count(), 1);
    // Played again: already known to be unplayable, it beeps straight away.
    PlaySoundFile(path);
    QCOMPARE(beeped.count(), 2);
}

void SoundPlayerTest::oneSharedPlayer()
{
    QCOMPARE(SoundPlayer::instance(), SoundPlayer::instance());
    QCOMPARE(SoundPlayer::instance()->parent(), qApp);
}

QTEST_MAIN(SoundPlayerTest)

#include "tst_soundplayer.moc"
