// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "soundplayer.h"

#include "installedfiles.h"
#include "soundeffectplugin.h"

#include <QApplication>
#include <QFileInfo>
#include <QUrl>

namespace ruvo {

namespace {

constexpr auto kObjectName = "ruvo-sound-player";

// The audio module, loaded at the first sound.
std::unique_ptr<SoundEffect> createEffectFromModule()
{
    QString failures;
    if (auto *plugin =
            qobject_cast<SoundEffectPlugin *>(LoadProgramModule(kSoundEffectModule, &failures)))
        return plugin->createEffect();
    qWarning("No page sound, the audio module could not be loaded:%s", qPrintable(failures));
    return nullptr;
}

} // namespace

SoundPlayer::SoundPlayer(QObject *parent) : QObject(parent)
{
    setObjectName(QLatin1StringView(kObjectName));
}

SoundPlayer::~SoundPlayer() = default;

SoundPlayer *SoundPlayer::instance()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return nullptr;
    if (auto *player = app->findChild<SoundPlayer *>(QLatin1StringView(kObjectName),
                                                     Qt::FindDirectChildrenOnly))
        return player;
    return new SoundPlayer(app); // owned by the application
}

SoundEffect *SoundPlayer::effect()
{
    if (m_effect || m_moduleMissing)
        return m_effect.get();
    m_effect = createEffectFromModule();
    if (!m_effect) {
        m_moduleMissing = true; // said once; every sound is a beep from now on
        return nullptr;
    }
    m_effect->setStatusHandler([this] { effectStatusChanged(); });
    return m_effect.get();
}

void SoundPlayer::effectStatusChanged()
{
    if (m_effect->failed())
        beep(currentSource());
}

void SoundPlayer::play(const QString &path)
{
    const QFileInfo file(path);
    SoundEffect *player =
        path.isEmpty() || !file.isFile() || !file.isReadable() ? nullptr : effect();
    if (!player) {
        beep(path);
        return;
    }
    const QUrl source = QUrl::fromLocalFile(file.absoluteFilePath());
    if (player->source() != source) {
        player->setSource(source); // loads in the background; play() waits for it
    } else if (player->failed()) {
        beep(path); // already known to be unplayable: no new status will say so
        return;
    }
    // Without an audio output the effect plays in silence and says nothing of it.
    if (!player->hasOutput()) {
        beep(path);
        return;
    }
    player->play();
}

QString SoundPlayer::currentSource() const
{
    return m_effect ? m_effect->source().toLocalFile() : QString();
}

void SoundPlayer::beep(const QString &path)
{
    QApplication::beep();
    emit beeped(path);
}

void PlaySoundFile(const QString &path)
{
    if (SoundPlayer *player = SoundPlayer::instance())
        player->play(path);
}

} // namespace ruvo
