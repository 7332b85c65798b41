// A profile file as found on disk, read and then written to: what is read
// fits its buffer, what is written reads back, and every other key keeps
// its value.
#include "fuzzcheck.h"

#include "platform/legacytext.h"
#include "platform/profile.h"
#include "platform/wholefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <iterator>

namespace {

// The program's own keys are plain ASCII, and so are these: a key holding
// "=" or starting as a comment or a header could never read back, and one
// beyond ASCII does not on a line that a value in another encoding makes
// Windows-1252.
const QString Sections[] = {"a", "irc", QString::fromUtf8("\u00e9"), "x]y"};
const QString Keys[] = {"k", "address", "screen name"};
// Written as the value is meant to read back; a name in another encoding
// (an escaped byte) only as a file name.
const struct {
    QString value;
    QString read;
    bool fileName;
} Values[] = {
    {"v", "v", false},
    {" two words ", " two words ", false},
    {"\"quoted\"", "\"quoted\"", false},
    {"line\r\nbreak", "line  break", false},
    {"", "", false},
    {QString::fromUtf8("caf\u00e9 \U0001F600"), QString::fromUtf8("caf\u00e9 \U0001F600"), false},
    {QStringView(u"caf\xDCE9").toString(), QStringView(u"caf\xDCE9").toString(), true},
    {"\t", "\t", false},
};
const int Buffers[] = {750, 5, 1, 0};

// A place on a memory file system where there is one: a file is written
// and read a few dozen times for every input.
const QString &directory()
{
    static const QTemporaryDir dir((QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm") : QDir::tempPath())
                                   + "/dun2-fuzz-profile-XXXXXX");
    static const QString path = dir.path();
    return path;
}

struct Read {
    QString value;
    QString fileName;
    bool operator==(const Read &) const = default;
};

Read read(const QString &section, const QString &key, const QString &path)
{
    return {getPrivateProfileString(section, key, "(none)", 750, path), getPrivateProfileFileName(section, key, path)};
}

void checkDecoding(QByteArrayView data, QByteArrayView bytes)
{
    const DecodedText decoded = decodeUtf8OrWindows1252(bytes);
    if (decoded.windows1252)
        FUZZ_CHECK(decoded.text.size() == bytes.size(), "Windows-1252 is one character a byte", decoded.text);
    else
        FUZZ_CHECK(decoded.text.toUtf8() == bytes, "UTF-8 reads as the very text it encodes", decoded.text);
}

} // namespace

void fuzzProfile(QByteArrayView data)
{
    // The first two bytes pick the section, key, value and buffer; the rest
    // is the file.
    if (data.size() < 2)
        return;
    const auto pick = [&](int at) { return static_cast<unsigned char>(data[at]); };
    const int sectionIndex = pick(0) % std::size(Sections), keyIndex = pick(0) / 16 % std::size(Keys);
    const auto &value = Values[pick(1) % std::size(Values)];
    const int buffer = Buffers[pick(1) / 16 % std::size(Buffers)];
    const QByteArrayView bytes = data.sliced(2);
    checkDecoding(data, bytes);

    const QString path = directory() + "/p.ini";
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(bytes.data(), bytes.size()) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
    }
    Read before[std::size(Sections)][std::size(Keys)];
    for (std::size_t s = 0; s < std::size(Sections); ++s) {
        for (std::size_t k = 0; k < std::size(Keys); ++k) {
            before[s][k] = read(Sections[s], Keys[k], path);
            const QString &whole = before[s][k].value;
            const QString cut = getPrivateProfileString(Sections[s], Keys[k], "(none)", buffer, path);
            FUZZ_CHECK(cut.size() <= std::max(buffer - 1, 0) && whole.startsWith(cut)
                           && !(cut.size() < whole.size() && !cut.isEmpty() && cut.back().isHighSurrogate()
                                && whole[cut.size()].isLowSurrogate()),
                       "a value is cut to its buffer, between characters",
                       QString::number(buffer) + ": " + cut + " of " + whole);
        }
    }

    FUZZ_CHECK(writePrivateProfileString(Sections[sectionIndex], Keys[keyIndex], value.value, path),
               "a file that reads can be written", QString());
    const std::optional<QByteArray> written = readWholeFile(path);
    const Read after = read(Sections[sectionIndex], Keys[keyIndex], path);
    FUZZ_CHECK((value.fileName ? after.fileName : after.value) == value.read, "what is written reads back",
               Sections[sectionIndex] + "/" + Keys[keyIndex] + ": " + after.value + " | " + after.fileName + " in "
                   + QString::fromLatin1(written.value_or("").toPercentEncoding()));
    for (std::size_t s = 0; s < std::size(Sections); ++s) {
        for (std::size_t k = 0; k < std::size(Keys); ++k) {
            if (int(s) == sectionIndex && int(k) == keyIndex)
                continue;
            const Read now = read(Sections[s], Keys[k], path);
            FUZZ_CHECK(now == before[s][k], "every other key keeps its value",
                       Sections[s] + "/" + Keys[k] + ": " + before[s][k].value + " became " + now.value + " in "
                           + QString::fromLatin1(written.value_or("").toPercentEncoding()));
        }
    }

    // Only the key's line changes, so writing the same again changes nothing.
    writePrivateProfileString(Sections[sectionIndex], Keys[keyIndex], value.value, path);
    FUZZ_CHECK(readWholeFile(path) == written, "a second write of the same value leaves the file as it was",
               QString::fromLatin1(written.value_or("").toPercentEncoding()));
}

DUN2_FUZZ_ENTRY(fuzzProfile)
