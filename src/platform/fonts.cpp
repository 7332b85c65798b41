#include "platform/fonts.h"

#include <QStringList>

namespace {

QFont fontOf(const QStringList &families, bool bold)
{
    QFont font;
    font.setFamilies(families);
    font.setPointSize(8);
    font.setBold(bold);
    return font;
}

} // namespace

QFont tahomaFont(bool bold)
{
    return fontOf({"Tahoma", "DejaVu Sans"}, bold);
}

QFont arialFont(bool bold)
{
    return fontOf({"Arial", "Liberation Sans", "Nimbus Sans", "DejaVu Sans"}, bold);
}
