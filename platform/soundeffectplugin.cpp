// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The module that brings Qt Multimedia in; see soundeffectplugin.h.

#include "soundeffectplugin.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>

namespace ruvo {

namespace {

class QtSoundEffect final : public SoundEffect
{
public:
    QUrl source() const override { return m_effect.source(); }
    void setSource(const QUrl &source) override { m_effect.setSource(source); }
    void play() override { m_effect.play(); }
    bool failed() const override { return m_effect.status() == QSoundEffect::Error; }
    bool hasOutput() const override { return !QMediaDevices::defaultAudioOutput().isNull(); }
    void setStatusHandler(std::function<void()> handler) override
    {
        QObject::disconnect(m_connection);
        m_connection = QObject::connect(&m_effect, &QSoundEffect::statusChanged, &m_effect,
                                        std::move(handler));
    }

private:
    QSoundEffect m_effect;
    QMetaObject::Connection m_connection;
};

} // namespace

class QtSoundEffectPlugin final : public QObject, public SoundEffectPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID RuvoSoundEffectPlugin_iid)
    Q_INTERFACES(ruvo::SoundEffectPlugin)

public:
    std::unique_ptr<SoundEffect> createEffect() override
    {
        return std::make_unique<QtSoundEffect>();
    }
};

} // namespace ruvo

#include "soundeffectplugin.moc"
