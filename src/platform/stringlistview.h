// A shown list of texts, one row per text, read straight from the list it
// is given: filling it with a million names hands it the list instead of
// making an item for each, and emptying it lets go of one list. Its calls are a list widget's, as far as the
// program uses one.
#pragma once

#include <QListView>
#include "platform/namelist.h"

#include <QStringList>

class StringListView : public QListView
{
    Q_OBJECT

public:
    explicit StringListView(QWidget *parent = nullptr);

    int count() const;
    const NameList &entries() const;
    void addItems(const NameList &texts);
    void addItems(const QStringList &texts) { addItems(NameList(texts)); }
    void clear();
    // Makes the row current and the only one selected, as a click does.
    void setCurrentRow(int row);
    // The selected entry, "" when none is selected.
    QString selectedText() const;

private:
    class Model;
    Model *m_model;
};
