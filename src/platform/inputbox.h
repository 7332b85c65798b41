// The platform's input box: a question that waits for one line of answer.
// On a screen it is a modal dialog; in the terminal face it asks on
// standard error and takes the next line of standard input.
#pragma once

#include <QString>
#include <optional>

class TerminalFace;

class InputBox
{
public:
    virtual ~InputBox() = default;
    // Nothing when the box is cancelled.
    virtual std::optional<QString> ask(const QString &prompt, const QString &title,
                                       const QString &defaultText) = 0;
};

class DialogInputBox final : public InputBox
{
public:
    std::optional<QString> ask(const QString &prompt, const QString &title, const QString &defaultText) override;
};

class TerminalInputBox final : public InputBox
{
public:
    explicit TerminalInputBox(TerminalFace &face) : m_face(face) {}
    std::optional<QString> ask(const QString &prompt, const QString &title, const QString &defaultText) override;

private:
    TerminalFace &m_face;
};
