#include "platform/messagebox.h"

#include "platform/nestedloop.h"
#include "platform/terminaltext.h"

#include <QMessageBox>

void DialogMessageBox::show(const QString &prompt, const QString &title)
{
    QMessageBox box;
    box.setWindowTitle(title);
    // Style names and values can hold HTML; the box shows them as typed.
    box.setTextFormat(Qt::PlainText);
    box.setText(prompt);
    box.setStandardButtons(QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    NestedLoop nested;
    box.exec();
}

void TerminalMessageBox::show(const QString &prompt, const QString &title)
{
    const QByteArray line = TerminalText(title + QStringLiteral(": ") + prompt) + '\n';
    std::fwrite(line.constData(), 1, std::size_t(line.size()), m_output);
    std::fflush(m_output);
}
