#include "desktop/coverfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

QString CoverFileUrl(const QByteArray &picture, const QString &mediaType)
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (picture.isEmpty() || cache.isEmpty())
        return {};
    // The media type comes from the file's tags: only its letters and
    // digits go into the name.
    QString kind = mediaType.section('/', 1);
    kind.removeIf([](QChar c) { return !(c.isDigit() || (c.isLetter() && c.unicode() < 128)); });
    const QString folder = cache + "/dun2";
    const QString path = folder + '/' + QCryptographicHash::hash(picture, QCryptographicHash::Sha256).toHex()
                         + (kind.isEmpty() ? "" : "." + kind);
    if (!QFileInfo::exists(path)) {
        // Written beside it and renamed into place whole.
        QSaveFile file(path);
        if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) || file.write(picture) != picture.size()
            || !file.commit())
            return {};
    }
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}
