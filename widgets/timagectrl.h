// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPixmap>
#include <QString>

namespace ruvo {

// One frame of a TBmpAnime: its picture and its name. Frames are owned by their animation and
// are created and released through its ImageList().
class TImageCtrl final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TImageCtrl)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QPixmap Bmp READ Bmp WRITE setBmp)

public:
    explicit TImageCtrl(QObject *parent = nullptr);
    ~TImageCtrl() override;

    // The frame's name, usually the file it came from; nothing reads it while playing.
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption) { m_caption = caption; }

    const QPixmap &Bmp() const { return m_bmp; }
    void setBmp(const QPixmap &bmp) { m_bmp = bmp; }

private:
    QString m_caption;
    QPixmap m_bmp;
};

} // namespace ruvo
