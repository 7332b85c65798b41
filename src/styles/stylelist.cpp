#include "styles/stylelist.h"

#include "platform/filelistbox.h"
#include "styles/removeduplicates.h"
#include "styles/stylefile.h"

#include <QListWidget>

void buildStyleList(FileListBox *File1, QListWidget *List1, const QString &stylesDirectory)
{
    File1->setPath(stylesDirectory);
    QStringList names;
    names.reserve(File1->listCount());
    for (const QString &fileName : File1->entries())
        names.append(readStyleName(stylesDirectory + fileName));
    List1->addItems(names);
    RemoveDuplicates(List1);
}
