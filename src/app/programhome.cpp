#include "app/programhome.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString userSettingsDirectory()
{
    // A relative XDG_CONFIG_HOME is invalid and is ignored, as the XDG base
    // directory rules ask.
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/dun2");
}

} // namespace

QString ProgramHome(const std::optional<QString> &given, const QString &executableDirectory)
{
    QString home;
    if (given)
        home = *given;
    else if (QFileInfo(executableDirectory + QStringLiteral("/prefs.ini")).isFile())
        home = executableDirectory;
    else
        home = userSettingsDirectory();
    return QDir::cleanPath(QDir(home).absolutePath());
}
