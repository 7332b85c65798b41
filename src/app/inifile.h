// TEMPORARY until the profile layer lands (same API).
#pragma once
#include <QString>
QString ReadIni(const QString &section, const QString &key, const QString &file);
bool WriteIni(const QString &section, const QString &key, const QString &value, const QString &file);
QString PreferencesPath(const QString &programDirectory);
