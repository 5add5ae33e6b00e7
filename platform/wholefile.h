#pragma once

#include <QByteArrayView>
#include <QString>

namespace ruvo {

// Replaces the file at path by bytes, whole or not at all: the bytes go to a temporary file in
// the same folder, every write, the flush and the sync are checked, and only then is it renamed
// over the old file. False on any failure (a full disk, an input/output error, a file size
// limit, a folder that is gone or refuses writes); an old file of that name is then left
// byte for byte as it was and no temporary file stays behind.
bool ReplaceFileWhole(const QString &path, QByteArrayView bytes);

} // namespace ruvo
