#include "styles/stylefile.h"

#include "app/inifile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <climits>
#include <cstdio>

namespace {

constexpr QLatin1StringView Extension(".ini");

// Hidden, so that a copy left behind by a crash stays out of the style list
// (style names never start with "."), and short, so that it fits where the
// longest style name fits.
QString scratchFile(const QString &directory)
{
    return directory + QStringLiteral(".saving-%1").arg(QCoreApplication::applicationPid());
}

// The scratch file starts as a copy of the style file, or empty when there
// is none, so keys other than the four survive as they would in place.
bool startScratch(const QString &scratch, const QString &file)
{
    QByteArray old;
    const QFileInfo info(file);
    if (info.exists()) {
        QFile in(file);
        if (!info.isFile() || !in.open(QIODevice::ReadOnly))
            return false;
        old = in.readAll();
        if (in.error() != QFileDevice::NoError)
            return false;
    }
    QFile out(scratch);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (out.write(old) != old.size() || !out.flush())
        return false;
    out.close();
    if (info.exists())
        QFile::setPermissions(scratch, QFile::permissions(file));
    return true;
}

} // namespace

QString StylesDirectory(const QString &home)
{
    return home + QStringLiteral("/styles/");
}

QString StyleFile(const QString &home, const QString &name)
{
    return StylesDirectory(home) + name + Extension;
}

bool isSafeStyleName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(u'.'))
        return false;
    if (name.contains(u'/') || name.contains(QChar(0)))
        return false;
    return name.toUtf8().size() + Extension.size() <= NAME_MAX;
}

StyleSaveResult saveStyle(const QString &home, const StyleValues &style)
{
    if (!isSafeStyleName(style.name))
        return StyleSaveResult::UnsafeName;
    const QString directory = StylesDirectory(home);
    if (!QDir().mkpath(directory))
        return StyleSaveResult::Failed;

    // Each profile write replaces the file whole, but four of them in place
    // could stop after the first and leave a style with a new name and old
    // colours. They go to a scratch copy, which one rename puts in place.
    const QString file = StyleFile(home, style.name);
    const QString scratch = scratchFile(directory);
    const bool written = startScratch(scratch, file)
                         && WriteIni("styles", "style", style.name, scratch)
                         && WriteIni("styles", "ascii", style.ascii, scratch)
                         && WriteIni("styles", "acolor", style.acolor, scratch)
                         && WriteIni("styles", "fcolor", style.fcolor, scratch);
    // QFile::rename will not replace an existing file; rename(2) does, atomically.
    if (written && std::rename(QFile::encodeName(scratch).constData(), QFile::encodeName(file).constData()) == 0)
        return StyleSaveResult::Saved;
    QFile::remove(scratch);
    return StyleSaveResult::Failed;
}

QString readStyleName(const QString &file)
{
    return ReadIni("styles", "style", file);
}

StyleValues readStyleValues(const QString &file)
{
    StyleValues values;
    values.acolor = ReadIni("Styles", "acolor", file);
    values.ascii = ReadIni("Styles", "ascii", file);
    values.fcolor = ReadIni("Styles", "fcolor", file);
    return values;
}
