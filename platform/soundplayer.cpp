#include "soundplayer.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace ruvo {

namespace {
constexpr auto kObjectName = "ruvo-sound-player";
}

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

void SoundPlayer::play(const QString &path)
{
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile() || !file.isReadable()) {
        beep(path);
        return;
    }
    if (!m_effect) {
        m_effect = new QSoundEffect(this);
        connect(m_effect, &QSoundEffect::statusChanged, this, [this] {
            if (m_effect->status() == QSoundEffect::Error)
                beep(m_effect->source().toLocalFile());
        });
    }
    const QUrl source = QUrl::fromLocalFile(file.absoluteFilePath());
    if (m_effect->source() != source) {
        m_effect->setSource(source); // loads in the background; play() waits for it
    } else if (m_effect->status() == QSoundEffect::Error) {
        beep(path); // already known to be unplayable: no new status will say so
        return;
    }
    m_effect->play();
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

void PlaySoundFile(const QString &path, quint16 flags)
{
    Q_UNUSED(flags);
    if (SoundPlayer *player = SoundPlayer::instance())
        player->play(path);
}

} // namespace ruvo
