#include "styles/stylelist.h"

#include "platform/filelistbox.h"
#include "platform/filename.h"
#include "styles/removeduplicates.h"
#include "styles/stylefile.h"

#include <QFile>
#include <QHash>
#include <QListWidget>
#include <dirent.h>

namespace {

constexpr int FileRole = Qt::UserRole;

// File1 shows names as Qt decodes them, which puts U+FFFD in place of the
// bytes of a name that is not UTF-8, so that the name no longer opens its
// file. Such names are read again from the directory, in the form that
// does.
class UndecodedNames
{
public:
    explicit UndecodedNames(const QString &directory)
    {
        DIR *dir = opendir(encodeFileName(directory).constData());
        if (!dir)
            return;
        while (const dirent *entry = readdir(dir)) {
            const QString name = decodeFileName(entry->d_name);
            const QString shown = QFile::decodeName(entry->d_name);
            if (name != shown)
                m_byShownName[shown].append(name);
        }
        closedir(dir);
    }

    // The name of one more file shown as `shown` (files shown alike are
    // taken in turn), or nothing when none is left.
    QString take(const QString &shown)
    {
        const auto found = m_byShownName.find(shown);
        return found == m_byShownName.end() || found->isEmpty() ? QString() : found->takeFirst();
    }

private:
    QHash<QString, QStringList> m_byShownName;
};

} // namespace

void buildStyleList(FileListBox *File1, QListWidget *List1, const QString &stylesDirectory)
{
    File1->setPath(stylesDirectory);
    QStringList names;
    names.reserve(File1->listCount());
    std::optional<UndecodedNames> undecoded;
    QHash<int, QString> undecodedFiles; // by row
    for (const QString &fileName : File1->entries()) {
        QString file = stylesDirectory + fileName;
        if (fileName.contains(QChar::ReplacementCharacter)) {
            if (!undecoded)
                undecoded.emplace(stylesDirectory);
            if (const QString name = undecoded->take(fileName); !name.isEmpty())
                undecodedFiles.insert(List1->count() + int(names.size()), file = stylesDirectory + name);
        }
        names.append(readStyleName(file));
    }
    List1->addItems(names);
    for (auto it = undecodedFiles.cbegin(); it != undecodedFiles.cend(); ++it)
        List1->item(it.key())->setData(FileRole, it.value());
    RemoveDuplicates(List1);
}

QString styleFileOf(const QListWidgetItem &entry, const QString &home)
{
    const QString file = entry.data(FileRole).toString();
    return file.isEmpty() ? StyleFile(home, entry.text()) : file;
}
