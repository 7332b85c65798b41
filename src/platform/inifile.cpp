#include "platform/inifile.h"

#include "platform/profile.h"

namespace {

constexpr int readBufferSize = 750;

} // namespace

QString ReadIni(const QString &section, const QString &key, const QString &file)
{
    return getPrivateProfileString(section, key.toLower(), QString(), readBufferSize, file);
}

QString ReadIniFileName(const QString &section, const QString &key, const QString &file)
{
    return getPrivateProfileFileName(section, key.toLower(), file);
}

bool WriteIni(const QString &section, const QString &key, const QString &value, const QString &file)
{
    return writePrivateProfileString(section, key.toUpper(), value, file);
}
