// RemoveDuplicates: thins a list box to one entry per distinct text.
#pragma once

class QListWidget;

// Keeps each distinct text once, at the place of its first occurrence, the
// survivors in their order; texts are compared exactly, case included. Pending
// window events run every few hundred entries, so a long list keeps the
// window responsive; when the list is changed meanwhile, the pass starts
// over on the new contents. Survivors come back as text entries that keep
// their Qt::UserRole data; the current entry stays current when it survives.
void RemoveDuplicates(QListWidget *list);
