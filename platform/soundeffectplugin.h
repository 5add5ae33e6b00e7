#pragma once

#include <QObject>
#include <QtPlugin>

namespace ruvo {

// The audio back end lives in a module of its own, loaded the first time a sound plays: Qt
// Multimedia and the two dozen libraries under it would otherwise be loaded, relocated and
// paged in at every start, for a sound most sessions play only when a page is turned.
class SoundEffectPlugin
{
public:
    virtual ~SoundEffectPlugin() = default;

    // A new QSoundEffect owned by parent. It is driven through its properties ("source",
    // "status"), its play() slot and its statusChanged() signal, so the program itself never
    // links the audio libraries.
    virtual QObject *createEffect(QObject *parent) = 0;
};

// File name of the module, without the platform's prefix and suffix.
inline constexpr auto kSoundEffectModule = "ruvo_soundeffect";

} // namespace ruvo

#define RuvoSoundEffectPlugin_iid "ruvo.SoundEffectPlugin/1.0"
Q_DECLARE_INTERFACE(ruvo::SoundEffectPlugin, RuvoSoundEffectPlugin_iid)
