// The window system the chat procedures walk: a tree of windows known by
// 32-bit handles, with class names, captions, a visible flag, children in
// z-order and an owner that receives the messages sent to a window. It
// stands in for the few Win32 calls the program makes on the chat client.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <unordered_map>
#include <vector>

using WindowHandle = quint32; // 0 = no window

namespace WindowMessage {
constexpr quint32 SetText = 12;       // WM_SETTEXT
constexpr quint32 GetText = 13;       // WM_GETTEXT
constexpr quint32 GetTextLength = 14; // WM_GETTEXTLENGTH
constexpr quint32 Char = 258;         // WM_CHAR
} // namespace WindowMessage

namespace ShowCommand {
constexpr int Hide = 0; // SW_HIDE
constexpr int Show = 5; // SW_SHOW
} // namespace ShowCommand

class Desktop : public QObject
{
    Q_OBJECT

public:
    // Called for messages other than the text messages, which the desktop
    // answers itself from the window's caption.
    using MessageHandler = std::function<void(WindowHandle, quint32 message, quintptr wParam)>;

    using QObject::QObject;

    WindowHandle createWindow(WindowHandle parent, const QString &className, const QString &caption,
                              bool visible = true);
    void destroyWindow(WindowHandle window);
    void setMessageHandler(WindowHandle window, MessageHandler handler);
    // Puts the window first among its siblings.
    void bringToTop(WindowHandle window);

    // The Win32 calls, with their matching rules: class names without regard
    // to case, captions exactly; a null caption matches any.
    WindowHandle findWindow(const QString &className, const QString *caption = nullptr) const;
    WindowHandle findWindowEx(WindowHandle parent, WindowHandle childAfter, const QString &className,
                              const QString *caption = nullptr) const;
    int getWindowTextLength(WindowHandle window) const;
    // Copies at most maxCount - 1 characters, as the platform's buffer does.
    QString getWindowText(WindowHandle window, int maxCount) const;
    // For SetText, text carries the new caption; for GetText, wParam is the
    // buffer size and text receives the caption. Returns what the platform
    // would: the length for the text messages, 0 otherwise.
    qintptr sendMessage(WindowHandle window, quint32 message, quintptr wParam = 0, QString *text = nullptr);
    bool showWindow(WindowHandle window, int command);
    bool isVisible(WindowHandle window) const;
    bool exists(WindowHandle window) const;
    // Changes whenever a window comes or goes, moves among its siblings or
    // takes a new caption, and no two desktops ever show the same one: what
    // was found by walking the windows holds for as long as it stays.
    quint64 layoutStamp() const { return m_layoutStamp; }

signals:
    void textChanged(WindowHandle window);
    void visibilityChanged(WindowHandle window);

private:
    struct Window {
        WindowHandle parent = 0;
        QString className;
        QString caption;
        bool visible = true;
        std::vector<WindowHandle> children; // z-order, top first
        MessageHandler handler;
    };

    const Window *window(WindowHandle handle) const;
    const std::vector<WindowHandle> &childrenOf(WindowHandle parent) const;

    std::unordered_map<WindowHandle, Window> m_windows;
    void relaidOut();

    std::vector<WindowHandle> m_topLevel; // z-order, top first
    WindowHandle m_nextHandle = 0x10010;
    quint64 m_layoutStamp = 0;
};
