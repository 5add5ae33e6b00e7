// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "filebytes.h"

#include "notes/daystore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

using namespace ruvo;
using ruvo::testing::bytesOf;
using ruvo::testing::writeBytes;

namespace {

const QDate kDay(2026, 12, 6); // 061226

// Another program that writes a file the moment someone opens it: by a new file renamed over
// it, or in place (truncated, then written).
class OutsideWriter final
{
public:
    OutsideWriter(const QString &path, const QByteArray &bytes, bool inPlace)
        : m_path(QFile::encodeName(path)), m_bytes(bytes), m_inPlace(inPlace),
          m_watch(::inotify_init1(IN_CLOEXEC))
    {
        ::inotify_add_watch(m_watch, m_path.constData(), IN_OPEN);
        m_thread = std::thread([this] { writeOnOpen(); });
    }
    ~OutsideWriter()
    {
        m_thread.join();
        ::close(m_watch);
    }
    OutsideWriter(const OutsideWriter &) = delete;
    OutsideWriter &operator=(const OutsideWriter &) = delete;

private:
    void writeOnOpen() const
    {
        char event[sizeof(inotify_event) + 256];
        if (::read(m_watch, event, sizeof event) <= 0)
            return;
        const QByteArray temporary = m_path + ".theirs";
        const int file = ::open(m_inPlace ? m_path.constData() : temporary.constData(),
                                O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        [[maybe_unused]] const auto written = ::write(file, m_bytes.constData(), m_bytes.size());
        ::close(file);
        if (!m_inPlace)
            ::rename(temporary.constData(), m_path.constData());
    }

    QByteArray m_path;
    QByteArray m_bytes;
    bool m_inPlace;
    int m_watch;
    std::thread m_thread;
};

} // namespace

class SaveRaceTest : public QObject
{
    Q_OBJECT

private slots:
    void outsideWriteDuringTheSave_isKept_data();
    void outsideWriteDuringTheSave_isKept();
};

void SaveRaceTest::outsideWriteDuringTheSave_isKept_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::newRow("renamed over") << false;
    QTest::newRow("in place") << true;
}

// The save reads the file, writes and syncs its own, then renames it over: another program
// writing in between must find its version in the day file or in a kept copy, never an empty
// copy. On a disk, not in memory, so that the sync leaves the other program its moment.
void SaveRaceTest::outsideWriteDuringTheSave_isKept()
{
    QFETCH(bool, inPlace);
    for (int run = 0; run < 20; ++run) {
        QTemporaryDir folder(QDir::currentPath() + QStringLiteral("/race-XXXXXX"));
        const DayStore store(folder.path(), QStringLiteral("ruv"));
        const QString path = store.path(kDay, DayFileKind::Notes);
        writeBytes(path, "read by the page\r\n");
        PageFiles files;
        files[DayFileIndex(DayFileKind::Notes)] = {QByteArray("read by the page\r\n"), true};
        const QByteArray theirs = "theirs " + QByteArray::number(run) + "\r\n";
        PageWrite done;
        {
            const OutsideWriter writer(path, theirs, inPlace);
            done = store.write(kDay, files, {QStringList{QStringLiteral("ours")}, {}});
        }
        QVERIFY(!done.failure);
        QByteArrayList versions;
        for (const QString &name : QDir(folder.path()).entryList({QStringLiteral("061226N*")}))
            versions << bytesOf(folder.filePath(name));
        QVERIFY2(versions.contains(theirs), qPrintable(u"run " + QString::number(run)));
        QVERIFY(!versions.contains(QByteArray()));
        // No temporary or old file stays behind.
        QCOMPARE(QDir(folder.path()).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden),
                 QStringList());
        for (const QString &kept : done.keptAs)
            QCOMPARE(bytesOf(kept), theirs);
    }
}

QTEST_GUILESS_MAIN(SaveRaceTest)
#include "tst_saverace.moc"
