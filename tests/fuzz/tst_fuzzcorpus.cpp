#include "fuzz/fuzzcheck.h"
#include "support/testregistry.h"

#include <QDir>
#include <QFile>
#include <QTest>

// The fuzz targets' checks over the inputs kept in tests/fuzz/corpus: those
// that cover each format and those that once broke a promise. A check that
// fails prints its input and aborts.
class FuzzCorpusTest : public QObject
{
    Q_OBJECT

private slots:
    void replay()
    {
        const struct {
            const char *target;
            void (*check)(QByteArrayView);
        } targets[] = {{"ircmessage", fuzzIrcMessage}, {"ircsession", fuzzIrcSession}, {"ircformat", fuzzIrcFormat},
                       {"chatmarkup", fuzzChatMarkup}, {"profile", fuzzProfile},       {"ircsettings", fuzzIrcSettings},
                       {"wildcard", fuzzWildcard}};
        for (const auto &[target, check] : targets) {
            const QDir corpus(QStringLiteral(DUN2_FUZZ_CORPUS "/") + target);
            const QStringList names = corpus.entryList(QDir::Files);
            QVERIFY2(!names.isEmpty(), qPrintable(corpus.path()));
            for (const QString &name : names) {
                QFile file(corpus.filePath(name));
                QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
                check(file.readAll());
            }
        }
    }
};

DUN2_TEST(FuzzCorpusTest);
#include "tst_fuzzcorpus.moc"
