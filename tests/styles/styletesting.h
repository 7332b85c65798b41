// What the style tests do as the user does it: type into the editor, click
// labels and list entries, and lay style files into the styles directory.
#pragma once

#include "app/mainwindow.h"
#include "platform/clicklabel.h"
#include "platform/filename.h"
#include "styles/stylechooser.h"
#include "styles/styleeditor.h"
#include "support/world.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <fcntl.h>

inline void click(QWidget *label)
{
    QTest::mouseClick(label, Qt::LeftButton);
}

inline void clickEntry(QListWidget *list, int row)
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

inline QStringList entries(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

// Opens a window in place of the main one, as the options menu and the
// "create" and "styles" commands do: openInstead(form, &MainWindow::styleEditor).
template <typename Window>
Window &openInstead(MainWindow &form, Window &(MainWindow::*window)())
{
    form.hide();
    Window &opened = (form.*window)();
    opened.show();
    return opened;
}

inline void fillEditor(StyleEditor &editor, const QString &name, const QString &ascii, const QString &acolor,
                       const QString &fcolor)
{
    editor.nameBox->setText(name);
    editor.asciiBox->setText(ascii);
    editor.acolorBox->setText(acolor);
    editor.fcolorBox->setText(fcolor);
}

inline QStringList editorFields(const StyleEditor &editor)
{
    return {editor.nameBox->text(), editor.asciiBox->text(), editor.acolorBox->text(), editor.fcolorBox->text()};
}

// Clicks "ok" on a save that must go through: a message box fails the test
// rather than waiting for a click.
inline void saveExpectingSuccess(StyleEditor &editor)
{
    MessageBoxAnswer box;
    click(editor.okLabel);
    QVERIFY2(!box.seen(), qPrintable(box.text()));
}

inline QString stylesDir(const QString &home)
{
    return home + "/styles/";
}

// The file name as decodeFileName gives it, so that it can be any bytes.
inline void writeStyleFile(const QString &home, const QString &fileName, const QByteArray &bytes)
{
    QDir().mkpath(stylesDir(home));
    QFile file;
    const int fd = ::open(encodeFileName(stylesDir(home) + fileName).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0 && file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray styleFileText(const QString &name, const QString &ascii, const QString &acolor,
                                const QString &fcolor)
{
    return ("[styles]\nSTYLE=" + name + "\nASCII=" + ascii + "\nACOLOR=" + acolor + "\nFCOLOR=" + fcolor + "\n")
        .toUtf8();
}
