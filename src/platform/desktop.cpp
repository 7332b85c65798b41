#include "platform/desktop.h"

#include "platform/textcut.h"

#include <algorithm>
#include <climits>

namespace {

bool matches(const QString &className, const QString &caption, const QString &wantedClass,
             const QString *wantedCaption)
{
    // Caseless comparing goes unit by unit, so names of other lengths differ.
    return className.size() == wantedClass.size() && className.compare(wantedClass, Qt::CaseInsensitive) == 0
           && (!wantedCaption || caption == *wantedCaption);
}

// Shared by every desktop, so that a desktop made where another was never
// shows a stamp that was the other's.
quint64 nextLayoutStamp = 0;

QString cut(const QString &text, int maxCount)
{
    if (maxCount <= 0)
        return {};
    return text.left(wholeCharactersWithin(text, maxCount - 1));
}

} // namespace

WindowHandle Desktop::createWindow(WindowHandle parent, const QString &className, const QString &caption,
                                   bool visible)
{
    if (parent != 0 && !exists(parent))
        return 0;
    WindowHandle handle = m_nextHandle;
    m_nextHandle += 2;
    m_windows[handle] = Window{parent, className, caption, visible, {}, {}};
    // New windows open on top of their siblings, as the platform's do.
    auto &siblings = parent ? m_windows[parent].children : m_topLevel;
    siblings.insert(siblings.begin(), handle);
    relaidOut();
    return handle;
}

void Desktop::destroyWindow(WindowHandle handle)
{
    auto it = m_windows.find(handle);
    if (it == m_windows.end())
        return;
    const auto children = it->second.children;
    for (WindowHandle child : children)
        destroyWindow(child);
    WindowHandle parent = m_windows[handle].parent;
    auto &siblings = parent ? m_windows[parent].children : m_topLevel;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
    m_windows.erase(handle);
    relaidOut();
}

void Desktop::setMessageHandler(WindowHandle handle, MessageHandler handler)
{
    auto it = m_windows.find(handle);
    if (it != m_windows.end())
        it->second.handler = std::move(handler);
}

void Desktop::bringToTop(WindowHandle handle)
{
    const Window *w = window(handle);
    if (!w)
        return;
    auto &siblings = w->parent ? m_windows[w->parent].children : m_topLevel;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
    siblings.insert(siblings.begin(), handle);
    relaidOut();
}

WindowHandle Desktop::findWindow(const QString &className, const QString *caption) const
{
    return findWindowEx(0, 0, className, caption);
}

WindowHandle Desktop::findWindowEx(WindowHandle parent, WindowHandle childAfter, const QString &className,
                                   const QString *caption) const
{
    const Window *parentWindow = parent ? window(parent) : nullptr;
    if (parent != 0 && !parentWindow)
        return 0;
    const auto &siblings = parentWindow ? parentWindow->children : m_topLevel;
    auto it = siblings.begin();
    if (childAfter != 0) {
        it = std::find(siblings.begin(), siblings.end(), childAfter);
        if (it == siblings.end())
            return 0;
        ++it;
    }
    for (; it != siblings.end(); ++it) {
        const Window &w = m_windows.at(*it);
        if (matches(w.className, w.caption, className, caption))
            return *it;
    }
    return 0;
}

int Desktop::getWindowTextLength(WindowHandle handle) const
{
    const Window *w = window(handle);
    return w ? int(w->caption.size()) : 0;
}

QString Desktop::getWindowText(WindowHandle handle, int maxCount) const
{
    const Window *w = window(handle);
    return w ? cut(w->caption, maxCount) : QString();
}

qintptr Desktop::sendMessage(WindowHandle handle, quint32 message, quintptr wParam, QString *text)
{
    auto it = m_windows.find(handle);
    if (it == m_windows.end())
        return 0;
    switch (message) {
    case WindowMessage::SetText:
        it->second.caption = text ? *text : QString();
        relaidOut();
        emit textChanged(handle);
        return 1;
    case WindowMessage::GetText:
        if (!text)
            return 0;
        *text = cut(it->second.caption, int(std::min<quintptr>(wParam, INT_MAX)));
        return text->size();
    case WindowMessage::GetTextLength:
        return it->second.caption.size();
    default:
        // The handler may destroy windows, so it runs on a copy.
        if (auto handler = it->second.handler)
            handler(handle, message, wParam);
        return 0;
    }
}

bool Desktop::showWindow(WindowHandle handle, int command)
{
    auto it = m_windows.find(handle);
    if (it == m_windows.end())
        return false;
    bool wasVisible = it->second.visible;
    it->second.visible = command != ShowCommand::Hide;
    if (wasVisible != it->second.visible)
        emit visibilityChanged(handle);
    return wasVisible;
}

bool Desktop::isVisible(WindowHandle handle) const
{
    const Window *w = window(handle);
    return w && w->visible;
}

bool Desktop::exists(WindowHandle handle) const
{
    return m_windows.count(handle) != 0;
}

void Desktop::relaidOut()
{
    m_layoutStamp = ++nextLayoutStamp;
}

const Desktop::Window *Desktop::window(WindowHandle handle) const
{
    auto it = m_windows.find(handle);
    return it == m_windows.end() ? nullptr : &it->second;
}

const std::vector<WindowHandle> &Desktop::childrenOf(WindowHandle parent) const
{
    return parent ? m_windows.at(parent).children : m_topLevel;
}
