#include "soundplayer.h"

#include "soundeffectplugin.h"

#include <QApplication>
#include <QFileInfo>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QUrl>

namespace ruvo {

namespace {

constexpr auto kObjectName = "ruvo-sound-player";

// The audio module beside the program, else where the build put it.
QObject *createEffectFromModule(QObject *parent)
{
    const QString name = QLatin1StringView(kSoundEffectModule);
    QString failures;
    for (const QString &folder :
         {QCoreApplication::applicationDirPath(), QStringLiteral(RUVO_SOUND_MODULE_DIR)}) {
        QPluginLoader loader(folder + u'/' + name);
        if (auto *plugin = qobject_cast<SoundEffectPlugin *>(loader.instance()))
            return plugin->createEffect(parent);
        failures += u"\n  " + loader.errorString();
    }
    qWarning("No page sound, the audio module could not be loaded:%s", qPrintable(failures));
    return nullptr;
}

QMetaProperty statusProperty(const QObject *effect)
{
    const QMetaObject *meta = effect->metaObject();
    return meta->property(meta->indexOfProperty("status"));
}

} // namespace

SoundPlayer::SoundPlayer(QObject *parent) : QObject(parent)
{
    setObjectName(QLatin1StringView(kObjectName));
}

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

QObject *SoundPlayer::effect()
{
    if (m_effect || m_moduleMissing)
        return m_effect;
    m_effect = createEffectFromModule(this);
    if (!m_effect) {
        m_moduleMissing = true; // said once; every sound is a beep from now on
        return nullptr;
    }
    const QMetaMethod changed = statusProperty(m_effect).notifySignal();
    const QMetaMethod react =
        staticMetaObject.method(staticMetaObject.indexOfSlot("effectStatusChanged()"));
    connect(m_effect, changed, this, react);
    return m_effect;
}

bool SoundPlayer::effectFailed() const
{
    const QMetaProperty status = statusProperty(m_effect);
    return qstrcmp(status.enumerator().valueToKey(status.read(m_effect).toInt()), "Error") == 0;
}

void SoundPlayer::effectStatusChanged()
{
    if (effectFailed())
        beep(currentSource());
}

void SoundPlayer::play(const QString &path)
{
    const QFileInfo file(path);
    QObject *player = path.isEmpty() || !file.isFile() || !file.isReadable() ? nullptr : effect();
    if (!player) {
        beep(path);
        return;
    }
    const QUrl source = QUrl::fromLocalFile(file.absoluteFilePath());
    if (player->property("source").toUrl() != source) {
        player->setProperty("source", source); // loads in the background; play() waits for it
    } else if (effectFailed()) {
        beep(path); // already known to be unplayable: no new status will say so
        return;
    }
    QMetaObject::invokeMethod(player, "play");
}

QString SoundPlayer::currentSource() const
{
    return m_effect ? m_effect->property("source").toUrl().toLocalFile() : QString();
}

void SoundPlayer::beep(const QString &path)
{
    QApplication::beep();
    emit beeped(path);
}

void PlaySoundFile(const QString &path, quint16 flags)
{
    Q_UNUSED(flags);
    if (SoundPlayer *player = SoundPlayer::instance())
        player->play(path);
}

} // namespace ruvo
