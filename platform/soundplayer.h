// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace ruvo {

class SoundEffect;

// Plays wave files in the background for the whole application. It lives as a child of the
// application object, created on first use; the audio back end is a module loaded at the first
// sound (it costs time and memory that start-up should not pay).
class SoundPlayer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SoundPlayer)

public:
    ~SoundPlayer() override;

    // The application's player; nullptr when there is no application object.
    static SoundPlayer *instance();

    // Starts playing and returns at once. A missing or unplayable file, or a machine without an
    // audio output, gives the system beep.
    void play(const QString &path);

    QString currentSource() const;

signals:
    // A file could not be played and the system beep stood in for it.
    void beeped(const QString &path);

private:
    explicit SoundPlayer(QObject *parent);
    SoundEffect *effect();
    void effectStatusChanged();
    void beep(const QString &path);

    std::unique_ptr<SoundEffect> m_effect; // made by the audio module
    bool m_moduleMissing = false;
};

// Plays a wave file in the background and returns at once; never reports anything.
void PlaySoundFile(const QString &path);

} // namespace ruvo
