// Files as the desktop names them: file:// URIs, whose percent-encoded
// bytes carry any name the file system holds, UTF-8 or not.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

QString FileUri(const QByteArray &path);
// The local path a file:// URI names, as the file system spells it; none,
// and why not, for any other URI.
std::optional<QByteArray> LocalPathOf(const QString &uri, QString &whyNot);
