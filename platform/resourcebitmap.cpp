#include "resourcebitmap.h"

#include <QDir>
#include <QHash>

namespace ruvo {

QString FindResourceByName(const QString &folder, const QString &fileName)
{
    const QString exact = folder + u'/' + fileName;
    if (QFile::exists(exact))
        return exact;
    const QStringList entries = QDir(folder).entryList(QDir::Files);
    for (const QString &entry : entries) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return folder + u'/' + entry;
    }
    return {};
}

QImage LoadBitmapByName(const QString &name)
{
    // Keyed by the upper-cased name: the user interface thread is the only caller.
    static QHash<QString, QImage> decoded;
    const QString key = name.toUpper();
    if (const auto found = decoded.constFind(key); found != decoded.cend())
        return *found;
    const QString path = FindResourceByName(QStringLiteral(":/bitmaps"), name + u".bmp");
    if (path.isEmpty())
        return {};
    QImage image(path);
    if (!image.isNull())
        decoded.insert(key, image);
    return image;
}

} // namespace ruvo
