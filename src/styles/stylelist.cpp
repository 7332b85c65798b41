#include "styles/stylelist.h"

#include "platform/filelistbox.h"
#include "platform/filename.h"
#include "styles/removeduplicates.h"
#include "styles/stylefile.h"

#include <QHash>
#include <QListWidget>

namespace {

constexpr int FileRole = Qt::UserRole;

} // namespace

void buildStyleList(FileListBox *File1, QListWidget *List1, const QString &stylesDirectory)
{
    File1->setPath(stylesDirectory);
    QStringList names;
    names.reserve(File1->listCount());
    QHash<int, QString> byteNamedFiles; // by row
    for (const QString &fileName : File1->entries()) {
        // A name that is not UTF-8 is shown decoded another way, and only
        // its bytes name its file.
        const QString file = decodeFileName(File1->filePath(fileName));
        if (!file.endsWith(fileName))
            byteNamedFiles.insert(List1->count() + int(names.size()), file);
        names.append(readStyleName(file));
    }
    List1->addItems(names);
    for (auto it = byteNamedFiles.cbegin(); it != byteNamedFiles.cend(); ++it)
        List1->item(it.key())->setData(FileRole, it.value());
    RemoveDuplicates(List1);
}

QString styleFileOf(const QListWidgetItem &entry, const QString &home)
{
    const QString file = entry.data(FileRole).toString();
    return file.isEmpty() ? StyleFile(home, entry.text()) : file;
}
