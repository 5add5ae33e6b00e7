// The module that brings Qt Multimedia in; see soundeffectplugin.h.

#include "soundeffectplugin.h"

#include <QSoundEffect>

namespace ruvo {

class QtSoundEffectPlugin final : public QObject, public SoundEffectPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID RuvoSoundEffectPlugin_iid)
    Q_INTERFACES(ruvo::SoundEffectPlugin)

public:
    QObject *createEffect(QObject *parent) override { return new QSoundEffect(parent); }
};

} // namespace ruvo

#include "soundeffectplugin.moc"
