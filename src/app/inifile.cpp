#include "app/inifile.h"
#include <QSettings>
QString ReadIni(const QString &section, const QString &key, const QString &file)
{
    QSettings s(file, QSettings::IniFormat);
    return s.value(section + "/" + key.toLower()).toString();
}
bool WriteIni(const QString &section, const QString &key, const QString &value, const QString &file)
{
    QSettings s(file, QSettings::IniFormat);
    s.setValue(section + "/" + key.toUpper(), value);
    return true;
}
QString PreferencesPath(const QString &programDirectory) { return programDirectory + "/prefs.ini"; }
