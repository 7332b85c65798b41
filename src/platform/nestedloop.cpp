#include "platform/nestedloop.h"

#include <QAbstractEventDispatcher>

namespace {

void tellIfOpened(bool wasOpen)
{
    if (!wasOpen && LineGate::isOpen())
        QMetaObject::invokeMethod(&LineGate::instance(), &LineGate::opened, Qt::QueuedConnection);
}

} // namespace

NestedLoop::NestedLoop()
    : m_outer(s_innermost)
{
    // A wait begun inside a loop that is ending may take lines again.
    const bool wasOpen = LineGate::isOpen();
    s_innermost = this;
    ++s_depth;
    tellIfOpened(wasOpen);
    // This loop may start inside the delivery of posted events (a queued
    // chat line whose handler waits); the events after it in the queue are
    // already counted as seen by the GLib dispatcher, which would sleep
    // until something new arrives. Waking it makes the loop deliver them.
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
}

NestedLoop::~NestedLoop()
{
    const bool wasOpen = LineGate::isOpen();
    s_innermost = m_outer;
    --s_depth;
    tellIfOpened(wasOpen);
}

HeldLines::HeldLines()
{
    ++NestedLoop::s_heldLines;
}

HeldLines::~HeldLines()
{
    const bool wasOpen = LineGate::isOpen();
    --NestedLoop::s_heldLines;
    tellIfOpened(wasOpen);
}

bool LineGate::isOpen()
{
    const NestedLoop *innermost = NestedLoop::s_innermost;
    return NestedLoop::s_heldLines == 0 && NestedLoop::s_depth < NestedLoop::MaxDepth &&
           !(innermost && innermost->m_ending);
}

LineGate &LineGate::instance()
{
    static LineGate gate;
    return gate;
}
