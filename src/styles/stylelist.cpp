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

void buildStyleList(FileListBox *styleFiles, QListWidget *styleList, const QString &stylesDirectory)
{
    styleFiles->setPath(stylesDirectory);
    QStringList names;
    names.reserve(styleFiles->listCount());
    QHash<int, QString> byteNamedFiles; // by row
    for (const QString &fileName : styleFiles->entries().toStringList()) {
        // A name that is not UTF-8 is shown decoded another way, and only
        // its bytes name its file.
        const QString file = decodeFileName(styleFiles->filePath(fileName));
        if (!file.endsWith(fileName))
            byteNamedFiles.insert(styleList->count() + int(names.size()), file);
        names.append(readStyleName(file));
    }
    styleList->addItems(names);
    for (auto it = byteNamedFiles.cbegin(); it != byteNamedFiles.cend(); ++it)
        styleList->item(it.key())->setData(FileRole, it.value());
    RemoveDuplicates(styleList);
}

QString styleFileOf(const QListWidgetItem &entry, const QString &home)
{
    const QString file = entry.data(FileRole).toString();
    return file.isEmpty() ? StyleFile(home, entry.text()) : file;
}
