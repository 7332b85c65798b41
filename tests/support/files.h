// Files as the tests make and read them: by their bytes, so a name or a
// content need not be UTF-8.
#pragma once

#include <QFile>
#include <QTest>
#include <fcntl.h>
#include <unistd.h>

// The bytes of a file, or "(none)" when it cannot be read.
inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

// Writes the bytes in place of what the file held; false if it cannot.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// An empty file, however the name is spelled.
inline void touch(const QByteArray &path)
{
    QVERIFY2(::close(::creat(path.constData(), 0644)) == 0, path.constData());
}
inline void touch(const QString &path) { touch(QFile::encodeName(path)); }

// `count` empty files named name(i), hard links to a few: a folder of a
// hundred thousand names in a second, each a directory entry alone.
template <typename Name>
inline void makeManyFiles(const QString &folder, int count, Name name)
{
    constexpr int LinksPerFile = 60000; // ext4 takes 65,000 at most
    QByteArray first;
    for (int i = 0; i < count; ++i) {
        const QByteArray path = QFile::encodeName(folder + "/" + name(i));
        if (i % LinksPerFile == 0) {
            touch(path);
            first = path;
        } else {
            QVERIFY2(::link(first.constData(), path.constData()) == 0, path.constData());
        }
    }
}
