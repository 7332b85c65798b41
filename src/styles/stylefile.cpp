#include "styles/stylefile.h"

#include "platform/inifile.h"
#include "platform/wholefile.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <climits>

namespace {

constexpr QLatin1StringView Extension(".ini");

// What a file name must not hold for the style list to find it again by
// the name: a line break would turn into a blank in the `style` key.
bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
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
    if (name.contains(u'/') || std::any_of(name.begin(), name.end(), isControl))
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
    // colours. They go to a scratch copy, which then replaces the file in
    // one step.
    const QString file = StyleFile(home, style.name);
    const QTemporaryDir scratchDirectory;
    const QString scratch = scratchDirectory.filePath("style.ini");
    const std::optional<QByteArray> old = readWholeFile(file);
    const bool written = scratchDirectory.isValid() && old && replaceWholeFile(scratch, *old)
                         && WriteIni("styles", "style", style.name, scratch)
                         && WriteIni("styles", "ascii", style.ascii, scratch)
                         && WriteIni("styles", "acolor", style.acolor, scratch)
                         && WriteIni("styles", "fcolor", style.fcolor, scratch);
    const std::optional<QByteArray> saved = written ? readWholeFile(scratch) : std::nullopt;
    return saved && replaceWholeFile(file, *saved) ? StyleSaveResult::Saved : StyleSaveResult::Failed;
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
