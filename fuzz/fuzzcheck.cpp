#include "fuzzcheck.h"

#include <cstdio>
#include <cstdlib>

#ifdef DUN2_LIBFUZZER
#include <QGuiApplication>
#endif

QString fuzzShown(QStringView text)
{
    QString shown;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.isSurrogate() || c.category() == QChar::Other_Control)
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        else
            shown += c;
    }
    return shown;
}

void fuzzFailed(const char *promise, const QString &detail, QByteArrayView data)
{
    std::fprintf(stderr, "fuzz check failed: %s\n  %s\n  input (%lld bytes): %s\n", promise,
                 qUtf8Printable(fuzzShown(detail)), static_cast<long long>(data.size()),
                 data.toByteArray().left(300).toPercentEncoding(" !\"#$&'()*+,-./:;<=>?@[\\]^_`{|}~").constData());
    std::fflush(stderr);
    std::abort();
}

#ifdef DUN2_LIBFUZZER
// The room's renderer lays text out in a document, which wants fonts and so
// an application; one for the whole run, as in the program.
// Qt is not shown libFuzzer's arguments: it would take out those it knows.
extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static char *qtArgv[] = {(*argv)[0], nullptr};
    static QGuiApplication *application = new QGuiApplication(qtArgc, qtArgv);
    (void)application;
    return 0;
}
#endif
