// What several benchmarks measure the same way: a process's CPU time, and
// the floor of listing a folder (its names read and sorted without regard
// to case).
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <algorithm>
#include <dirent.h>
#include <string>
#include <strings.h>
#include <unistd.h>
#include <vector>

// User and system time of a process so far, its ended threads included.
inline double cpuMs(qint64 pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // After the command name, which may hold blanks: utime and stime are the
    // 12th and 13th fields.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) * 1000.0 / sysconf(_SC_CLK_TCK);
}

// The folder's file names as they are, sorted without regard to case.
inline std::vector<std::string> sortedNames(const QString &folder)
{
    std::vector<std::string> names;
    if (DIR *dir = opendir(QFile::encodeName(folder).constData())) {
        while (const dirent *entry = readdir(dir))
            if (entry->d_name[0] != '.')
                names.emplace_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string &a, const std::string &b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
    return names;
}
