#include "platform/inputbox.h"

#include "platform/nestedloop.h"
#include "platform/terminalface.h"

#include <QInputDialog>

std::optional<QString> DialogInputBox::ask(const QString &prompt, const QString &title,
                                           const QString &defaultText)
{
    QInputDialog dialog;
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    NestedLoop nested;
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> TerminalInputBox::ask(const QString &prompt, const QString &, const QString &)
{
    return m_face.ask(prompt);
}
