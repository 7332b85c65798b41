// Empty files by the thousand, for the benchmarks that list a folder: only
// their names matter.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

// Makes `count` empty files in the folder, the i-th named name(i); ends the
// run when one cannot be made. They are hard links to a few empty files:
// a name then costs a directory entry and no inode of its own, which makes
// a folder of a million names in seconds instead of minutes.
inline void makeEmptyFiles(const QString &folder, int count, const std::function<QString(int)> &name)
{
    const QByteArray prefix = QFile::encodeName(folder) + '/';
    // ext4 takes at most 65,000 links to one file.
    constexpr int LinksPerFile = 60000;
    QByteArray first;
    for (int i = 0; i < count; ++i) {
        const QByteArray path = prefix + name(i).toUtf8();
        bool made = false;
        if (i % LinksPerFile == 0) {
            const int file = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            made = file >= 0 && ::close(file) == 0;
            first = path;
        } else {
            made = ::link(first.constData(), path.constData()) == 0;
        }
        if (!made) {
            std::fprintf(stderr, "cannot make %s\n", path.constData());
            std::exit(1);
        }
    }
}
