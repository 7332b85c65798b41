#include "chat/announcement.h"
#include "support/testregistry.h"

#include <QTest>

class AnnouncementTest : public QObject
{
    Q_OBJECT

private slots:
    // Every ".mp3" goes, in any case; what is left is text, not markup.
    void trackNamesArePlainText()
    {
        const std::pair<const char *, const char *> cases[] = {
            {"Song.MP3", "Song"}, {"Live.Mp3.Set.mp3", "Live.Set"}, {"No extension", "No extension"},
            {"", ""}, {"Tom & Jerry <live>.MP3", "Tom &amp; Jerry &lt;live&gt;"}};
        for (const auto &[file, shown] : cases)
            QCOMPARE(TrackName(file), QString(shown));
        QCOMPARE(PlainToHtml("a\"b'c"), QString("a\"b'c"));
    }

    void initialStyleLineExactly()
    {
        const StylePieces initial = StylePieces::initial();
        QCOMPARE(initial.styledLine("<b>stopped</b>: Song").toUtf8(),
                 QByteArray("<font face=\"Arial\"></b></u></i>"
                            "<font color=#FF0000>"
                            "..\xE2\x80\xBA "
                            "<font color=#000000>"
                            "<font face=\"Arial\">"
                            "<b>stopped</b>: Song"
                            "<font color=#FF0000>"
                            "\xE2\x80\xA2\xC2\xB7 \xC2\xB7"));
        QCOMPARE(StylePieces{}.styledLine("bare"), QString("bare"));
        // A line break in a name would end the line early: it goes out as a blank.
        QCOMPARE(StylePieces{}.styledLine(QString::fromUtf8("a\r\nb\tc\x0b\u2028d\u0085")), QString("a  b c  d "));
    }
};

DUN2_TEST(AnnouncementTest);
#include "tst_announcement.moc"
