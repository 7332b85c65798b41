// The style list: the names of the saved styles, as the style chooser shows
// them, read from inside every file of the styles directory.
#pragma once

#include <QString>

class FileListBox;
class QListWidget;
class QListWidgetItem;

// Points File1 at the styles directory, adds the `style` key of each of its
// files (an empty entry for a file without one) to the end of List1 in
// file-name order, then removes the duplicates.
void buildStyleList(FileListBox *File1, QListWidget *List1, const QString &stylesDirectory);

// The file an entry's values are read from: the styles directory + its
// name + ".ini", except for an entry read from a file whose name is not
// UTF-8, which no typed name can give: that very file.
QString styleFileOf(const QListWidgetItem &entry, const QString &home);
