// The fuzz targets: each takes any bytes, hands them to one parser of
// outside bytes and checks what that parser promises, not only that it
// survives. A broken promise prints what broke and the input, then aborts,
// so that libFuzzer keeps the input and the corpus replay fails on it.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <cstdint>

void fuzzIrcMessage(QByteArrayView data);
void fuzzIrcSession(QByteArrayView data);
void fuzzIrcFormat(QByteArrayView data);
void fuzzChatMarkup(QByteArrayView data);
void fuzzProfile(QByteArrayView data);
void fuzzIrcSettings(QByteArrayView data);
void fuzzWildcard(QByteArrayView data);

[[noreturn]] void fuzzFailed(const char *promise, const QString &detail, QByteArrayView data);

// The detail is only built once the promise is broken: the checks run
// hundreds of thousands of times a minute.
#define FUZZ_CHECK(holds, promise, detail)         \
    do {                                           \
        if (!(holds))                              \
            fuzzFailed(promise, (detail), data);   \
    } while (0)

// The text as the check prints it, control characters and all.
QString fuzzShown(QStringView text);

// libFuzzer's entry; the corpus replay calls the check itself.
#ifdef DUN2_LIBFUZZER
#define DUN2_FUZZ_ENTRY(check)                                                  \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, size_t size) \
    {                                                                           \
        check(QByteArrayView(bytes, qsizetype(size)));                          \
        return 0;                                                               \
    }
#else
#define DUN2_FUZZ_ENTRY(check)
#endif
