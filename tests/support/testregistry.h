// Lets every tst_*.cpp of a folder be one test class of that folder's test
// executable: the file registers its class, and CTest runs one file's class
// at a time by naming the file.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

using TestFactory = std::function<std::unique_ptr<QObject>()>;

bool registerTest(const char *sourceFile, TestFactory factory);

#define DUN2_TEST(Class) \
    static const bool registered##Class = registerTest(__FILE__, [] { return std::make_unique<Class>(); })
