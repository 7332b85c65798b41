// The style list: the names of the saved styles, as the style chooser shows
// them, read from inside every file of the styles directory.
#pragma once

#include <QString>

class FileListBox;
class QListWidget;
class QListWidgetItem;

// Points styleFiles at the styles directory, adds the `style` key of each of its
// files (an empty entry for a file without one) to the end of styleList in
// file-name order, then removes the duplicates.
void buildStyleList(FileListBox *styleFiles, QListWidget *styleList, const QString &stylesDirectory);

// The file an entry's values are read from: the styles directory + its
// name + ".ini", except for an entry read from a file whose name is not
// UTF-8, which no typed name can give: that very file.
QString styleFileOf(const QListWidgetItem &entry, const QString &home);
