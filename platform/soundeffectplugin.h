// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QUrl>
#include <QtPlugin>

#include <functional>
#include <memory>

namespace ruvo {

// The audio back end lives in a module of its own, loaded the first time a sound plays: Qt
// Multimedia and the two dozen libraries under it would otherwise be loaded, relocated and
// paged in at every start, for a sound most sessions play only when a page is turned.
//
// What the program needs of a sound: plain virtual calls, so the program never links the
// audio libraries and no call goes through a name.
class SoundEffect
{
public:
    virtual ~SoundEffect() = default;

    virtual QUrl source() const = 0;
    // Starts loading the file in the background; play() waits for it.
    virtual void setSource(const QUrl &source) = 0;
    virtual void play() = 0;
    // The file could not be loaded or played.
    virtual bool failed() const = 0;
    // There is an audio output to play on; without one, play() is silent.
    virtual bool hasOutput() const = 0;
    // Called in the thread of the effect after each change of its loading status.
    virtual void setStatusHandler(std::function<void()> handler) = 0;
};

class SoundEffectPlugin
{
public:
    virtual ~SoundEffectPlugin() = default;

    virtual std::unique_ptr<SoundEffect> createEffect() = 0;
};

// File name of the module, without the platform's prefix and suffix.
inline constexpr auto kSoundEffectModule = "ruvo_soundeffect";

} // namespace ruvo

#define RuvoSoundEffectPlugin_iid "ruvo.SoundEffectPlugin/3.0"
Q_DECLARE_INTERFACE(ruvo::SoundEffectPlugin, RuvoSoundEffectPlugin_iid)
