// Empty files by the thousand, for the benchmarks that list a folder: only
// their names matter.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

// Makes `count` empty files in the folder, the i-th named name(i); ends the
// run when one cannot be made.
inline void makeEmptyFiles(const QString &folder, int count, const std::function<QString(int)> &name)
{
    const QByteArray prefix = QFile::encodeName(folder) + '/';
    for (int i = 0; i < count; ++i) {
        const QByteArray path = prefix + name(i).toUtf8();
        const int made = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (made < 0) {
            std::fprintf(stderr, "cannot make %s\n", path.constData());
            std::exit(1);
        }
        ::close(made);
    }
}
