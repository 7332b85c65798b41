#include "platform/folderlisting.h"

#include "platform/asciitext.h"
#include "platform/caselessorder.h"
#include "platform/filename.h"
#include "platform/legacytext.h"

#include <QRegularExpression>

#include <algorithm>
#include <vector>
#include <dirent.h>
#include <sys/stat.h>

namespace {

// A file list box's pattern: wildcards, letter case ignored, several
// patterns separated by ";", and "*.*" for every file, dot or not.
class NamePattern
{
public:
    explicit NamePattern(const QString &pattern)
    {
        for (const QString &part : pattern.split(';', Qt::SkipEmptyParts)) {
            const QString trimmed = part.trimmed();
            if (trimmed == "*" || trimmed == "*.*") {
                m_everything = true;
            } else if (trimmed.startsWith('*') && !trimmed.mid(1).contains(QRegularExpression("[*?\\[]"))) {
                m_suffixes.append(trimmed.mid(1)); // the common case, "*.mp3", without a regex
            } else {
                m_expressions.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(trimmed),
                                                        QRegularExpression::CaseInsensitiveOption));
            }
        }
    }

    bool matches(QStringView name) const
    {
        if (m_everything)
            return true;
        for (const QString &suffix : m_suffixes)
            if (name.endsWith(suffix, Qt::CaseInsensitive))
                return true;
        return matchesExpression(name);
    }

    // An ASCII name as it is, without a string of its own unless an
    // expression must read it.
    bool matchesAscii(QByteArrayView name) const
    {
        if (m_everything)
            return true;
        for (const QString &suffix : m_suffixes)
            if (QLatin1StringView(name).endsWith(suffix, Qt::CaseInsensitive))
                return true;
        return !m_expressions.isEmpty() && matchesExpression(QString::fromLatin1(name));
    }

private:
    bool matchesExpression(QStringView name) const
    {
        for (const QRegularExpression &expression : m_expressions)
            if (expression.match(QString::fromRawData(name.data(), name.size())).hasMatch())
                return true;
        return false;
    }

    bool m_everything = false;
    QStringList m_suffixes;
    QList<QRegularExpression> m_expressions;
};

// The names as read, in UTF-8, and the bytes of those that are not.
struct Listing {
    PackedNames names;
    QHash<QString, QByteArray> rawNames;
};

// The names of a directory's files that match, not of its folders, and not
// the hidden ones (a leading dot), which a file list box does not show. The
// entry type readdir reports saves a stat for everything but links and the
// rare file system that does not tell.
Listing matchingFiles(const QString &path, const NamePattern &pattern)
{
    Listing listing;
    if (path.isEmpty())
        return listing;
    DIR *dir = opendir(encodeFileName(path).constData());
    if (!dir)
        return listing;
    const int dirFd = dirfd(dir);
    PackedNames &names = listing.names;
    // A folder's size on the usual file systems is near the length of the
    // names in it: room for them at once, rather than copies as they grow.
    // Room not written to takes no memory.
    struct stat folder;
    if (fstat(dirFd, &folder) == 0)
        names.text.reserve(qsizetype(std::min<off_t>(folder.st_size, off_t(64) << 20)));
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        bool isFile = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info;
            isFile = fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (!isFile)
            continue;
        const QByteArrayView raw(entry->d_name);
        if (isAscii(raw)) {
            if (pattern.matchesAscii(raw))
                names.append(raw);
            continue;
        }
        const DecodedText name = decodeUtf8OrWindows1252(raw);
        if (!pattern.matches(name.text))
            continue;
        if (name.windows1252) {
            listing.rawNames.insert(name.text, raw.toByteArray());
            names.append(name.text.toUtf8());
        } else {
            names.append(raw);
        }
    }
    closedir(dir);
    return listing;
}

// The names in the list's order, packed afresh in that order, with their
// lowered forms for searching; the names as read are let go.
//
// Two files can show the same name, one in UTF-8 and one in an old code
// page, and a name must lead to one file: the UTF-8 one, shown as it is, is
// kept. Equal names lie side by side once sorted.
NameList namesInOrder(Listing &listing)
{
    const std::vector<quint32> order = caselessOrder(listing.names);
    PackedNames sorted;
    sorted.text.reserve(listing.names.text.size());
    sorted.ends.reserve(order.size());
    for (const quint32 index : order) {
        const QByteArrayView name = listing.names.at(index);
        if (!listing.rawNames.isEmpty() && sorted.size() > 0 && sorted.at(sorted.size() - 1) == name) {
            listing.rawNames.remove(decodeUtf8KeepingMark(name));
            continue;
        }
        sorted.append(name);
    }
    listing.names = PackedNames();
    return NameList(std::move(sorted), NameList::Search::Yes);
}

} // namespace

FolderListing listFolder(const QString &path, const QString &pattern)
{
    Listing listing = matchingFiles(path, NamePattern(pattern));
    NameList names = namesInOrder(listing);
    return {std::move(names), std::move(listing.rawNames)};
}
