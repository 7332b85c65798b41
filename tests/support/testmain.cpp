#include "testregistry.h"

#include <QApplication>
#include <QFileInfo>
#include <QTest>
#include <map>

namespace {

std::map<QString, TestFactory> &registry()
{
    static std::map<QString, TestFactory> tests;
    return tests;
}

} // namespace

bool registerTest(const char *sourceFile, TestFactory factory)
{
    registry()[QFileInfo(QString::fromUtf8(sourceFile)).completeBaseName()] = std::move(factory);
    return true;
}

// Usage: tst_<folder> [tst_<name> [Qt Test arguments]]; without a name every
// class of the executable runs.
namespace {
QtMessageHandler standardHandler = nullptr;
void quietSizeHints(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.contains("propagateSizeHints"))
        standardHandler(type, context, message);
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    standardHandler = qInstallMessageHandler(quietSizeHints);
    QStringList args = app.arguments();
    QString only;
    if (args.size() > 1 && registry().count(args[1])) {
        only = args[1];
        args.removeAt(1);
    }
    int failures = 0;
    for (const auto &[name, factory] : registry()) {
        if (!only.isEmpty() && name != only)
            continue;
        auto test = factory();
        failures += QTest::qExec(test.get(), args);
    }
    return failures == 0 ? 0 : 1;
}
