// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace ruvo::testing {

// A real file system that can be filled up: a small tmpfs mounted on a temporary folder (the
// tests run as root). Writes into it fail with ENOSPC once fill() has taken the free space.
class FullFileSystem final
{
public:
    FullFileSystem()
    {
        if (!m_dir.isValid())
            m_refusal = QStringLiteral("no temporary folder");
        else if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                         "size=256k,mode=0700") != 0)
            m_refusal = QString::fromLocal8Bit(std::strerror(errno));
        else
            m_mounted = true;
    }
    ~FullFileSystem()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    FullFileSystem(const FullFileSystem &) = delete;
    FullFileSystem &operator=(const FullFileSystem &) = delete;

    // Why no file system could be mounted; empty when it is there.
    QString refusal() const { return m_refusal; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Takes every free block, so the next write of any size fails.
    bool fill()
    {
        QFile filler(fillerPath());
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        // A last partial block may still fit.
        while (filler.write(block.constData(), 1) == 1) {
        }
        return true;
    }
    void release() { QFile::remove(fillerPath()); }

private:
    QString fillerPath() const { return m_dir.filePath(QStringLiteral(".filler")); }

    QTemporaryDir m_dir;
    QString m_refusal;
    bool m_mounted = false;
};

} // namespace ruvo::testing

// Skips the test, saying why, where the machine refuses to mount a file system.
#define RUVO_REQUIRE_FULL_FILE_SYSTEM(fs)                                                          \
    do {                                                                                           \
        if (!(fs).refusal().isEmpty())                                                             \
            QSKIP(qPrintable(u"cannot mount a small tmpfs to fill: " + (fs).refusal()));           \
    } while (false)
