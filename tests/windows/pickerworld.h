// A started program with a few real tracks and the song picker open on a
// list of them, as a search followed by "view" leaves it.
#pragma once

#include "chat/chatscan.h"
#include "chat/chatworld.h"
#include "platform/stringlistview.h"
#include "windows/songpicker.h"

inline Form3 &openPicker(Form1 &form, const QStringList &entries)
{
    Form3 &picker = form.form3();
    picker.List1->clear();
    picker.List1->addItems(entries);
    form.chat2->StartScan();
    form.hide();
    picker.show();
    return picker;
}
