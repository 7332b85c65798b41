// A started program with a few real tracks and the song picker open on a
// list of them, as a search followed by "view" leaves it.
#pragma once

#include "chat/chatscan.h"
#include "chat/chatworld.h"
#include "platform/stringlistview.h"
#include "windows/songpicker.h"

inline SongPicker &openPicker(MainWindow &form, const QStringList &entries)
{
    SongPicker &picker = form.songPicker();
    picker.matchList->clear();
    picker.matchList->addItems(entries);
    form.program().searchScan->StartScan();
    form.hide();
    picker.show();
    return picker;
}
