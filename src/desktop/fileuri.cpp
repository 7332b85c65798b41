#include "desktop/fileuri.h"

#include <QUrl>

QString FileUri(const QByteArray &path)
{
    return "file://" + QString::fromLatin1(QUrl::toPercentEncoding(path, "/"));
}

std::optional<QByteArray> LocalPathOf(const QString &uri, QString &whyNot)
{
    const QUrl url(uri, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QLatin1String("file")) {
        whyNot = QStringLiteral("not a file:// URI");
        return std::nullopt;
    }
    if (!url.host().isEmpty() && url.host() != QLatin1String("localhost")) {
        whyNot = QStringLiteral("a file on another host");
        return std::nullopt;
    }
    const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (!path.startsWith('/') || path.contains('\0')) {
        whyNot = QStringLiteral("no file path");
        return std::nullopt;
    }
    return path;
}
