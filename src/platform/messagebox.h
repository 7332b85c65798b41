// The platform's message box: a text under a title, with an OK button. On a
// screen it is a modal dialog; in the terminal face nobody could click it, so
// it says its text on standard error and returns at once.
#pragma once

#include <QString>
#include <cstdio>

class MessageBox
{
public:
    virtual ~MessageBox() = default;
    // Returns once the box has been dismissed. The text is plain text.
    virtual void show(const QString &prompt, const QString &title) = 0;
};

class DialogMessageBox final : public MessageBox
{
public:
    void show(const QString &prompt, const QString &title) override;
};

class TerminalMessageBox final : public MessageBox
{
public:
    explicit TerminalMessageBox(std::FILE *output = stderr) : m_output(output) {}
    // Writes "title: text" as one line, whatever the text holds.
    void show(const QString &prompt, const QString &title) override;

private:
    std::FILE *m_output;
};
