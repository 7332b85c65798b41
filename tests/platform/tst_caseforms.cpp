#include "platform/caseforms.h"
#include "support/testregistry.h"

#include <QTest>

class CaseFormsTest : public QObject
{
    Q_OBJECT

private slots:
    // Made a character at a time from what was kept, the forms are those
    // Qt makes of the whole text: characters that grow, fold to ASCII,
    // differ between lowering and folding, and lie beyond the BMP with the
    // same high surrogate; half a pair alone is left as it is.
    void formsAreQtsOfTheWholeText()
    {
        const QString texts[] = {
            QString::fromUtf8("Caf\xC3\xA9 \xC3\x84RGER \xC4\xB0stanbul"),
            QString::fromUtf8("Stra\xC3\x9F" "e \xEF\xAC\x83 \xE2\x84\xAA \xCE\xA3\xCF\x82"),
            QString::fromUtf8("\xF0\x9F\x8C\x99 \xF0\x9F\x8C\x9A \xF0\x90\x90\x80\xF0\x90\x90\xA8"),
            QString(QChar(0xD83C)) + "a" + QString(QChar(0xDF19)),
            "plain ASCII, Capitals Too",
        };
        CaseForms forms;
        for (int round = 0; round < 2; ++round) { // the second from what the first kept
            for (const QString &text : texts) {
                QByteArray lowered;
                forms.appendLowered(lowered, text);
                QCOMPARE(lowered, text.toLower().toUtf8());
                QString folded;
                forms.forEachFolded(text, [&folded](QStringView form) { folded += form; });
                QCOMPARE(folded, text.toCaseFolded());
            }
        }
    }
};

DUN2_TEST(CaseFormsTest);
#include "tst_caseforms.moc"
