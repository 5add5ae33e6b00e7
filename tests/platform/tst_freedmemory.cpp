// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/freedmemory.h"

#include <QTest>
#include <QThread>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

using namespace ruvo;

class FreedMemoryTest : public QObject
{
    Q_OBJECT

private slots:
    void freedPagesOfAWorkerLeaveMemory();
};

namespace {

bool isResident(quintptr address)
{
    const auto page = quintptr(sysconf(_SC_PAGESIZE));
    unsigned char resident = 0;
    if (mincore(reinterpret_cast<void *>(address & ~(page - 1)), page, &resident) != 0)
        return false;
    return resident & 1U;
}

} // namespace

// What a worker thread freed stays in its own heap, below what it still holds: only a trim
// hands those pages back.
void FreedMemoryTest::freedPagesOfAWorkerLeaveMemory()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("the sanitizer's allocator keeps its own heaps");
#endif
    quintptr middle = 0;
    char *kept = nullptr;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        constexpr std::size_t blockSize = 16 * 1024; // well below the size given its own mapping
        std::vector<char *> blocks;
        for (int i = 0; i < 200; ++i) {
            blocks.push_back(static_cast<char *>(std::malloc(blockSize)));
            std::fill_n(blocks.back(), blockSize, char(i));
        }
        middle = quintptr(blocks[100]) + blockSize / 2;
        // The last block stays, so the freed ones cannot shrink the heap's end on their own.
        kept = blocks.back();
        blocks.pop_back();
        for (char *block : blocks)
            std::free(block);
    }));
    worker->start();
    QVERIFY(worker->wait());
    QVERIFY(isResident(middle));
    ReturnFreedMemory();
    QVERIFY(!isResident(middle));
    std::free(kept);
}

QTEST_GUILESS_MAIN(FreedMemoryTest)
#include "tst_freedmemory.moc"
