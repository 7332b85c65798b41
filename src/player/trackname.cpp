#include "player/trackname.h"

QString ReplaceText(const QString &text, const QString &search, const QString &replacement)
{
    if (search.isEmpty())
        return text;
    QString result = text;
    qsizetype pos = result.indexOf(search, 0, Qt::CaseInsensitive);
    while (pos >= 0) {
        result.replace(pos, search.size(), replacement);
        pos = result.indexOf(search, pos + replacement.size(), Qt::CaseInsensitive);
    }
    return result;
}

QString PlainToHtml(const QString &text)
{
    QString html;
    html.reserve(text.size());
    for (QChar c : text) {
        if (c == '&')
            html += "&amp;";
        else if (c == '<')
            html += "&lt;";
        else if (c == '>')
            html += "&gt;";
        else
            html += c;
    }
    return html;
}

QString TrackTitle(const QString &fileName)
{
    return ReplaceText(fileName, ".mp3", "");
}

QString TrackName(const QString &fileName)
{
    return PlainToHtml(TrackTitle(fileName));
}
