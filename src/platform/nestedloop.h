// Every wait and every dialog that waits for an answer runs a nested event
// loop on the window thread, and a line handled inside one wait may wait in
// its turn. Counting them tells whether some handler is still in the middle
// of its work, so the end of input can wait for it; bounding how deep they
// nest keeps a burst of waiting lines from running the stack out.
#pragma once

#include <QObject>

class NestedLoop
{
public:
    // Enough to serve a burst at a good pace (when the innermost wait ends,
    // the waits below it have ended too and unwind), few enough that the
    // stack holds them with room to spare.
    static constexpr int MaxDepth = 100;

    // Made just before the loop runs, gone once it has returned.
    NestedLoop();
    ~NestedLoop();
    NestedLoop(const NestedLoop &) = delete;
    NestedLoop &operator=(const NestedLoop &) = delete;

    // The loop has been told to return; it does as soon as whatever runs
    // inside it is done.
    void ending() { m_ending = true; }

    static int depth() { return s_depth; }

private:
    friend class LineGate;
    friend class HeldLines;

    NestedLoop *m_outer;
    bool m_ending = false;
    static inline NestedLoop *s_innermost = nullptr;
    static inline int s_depth = 0;
    static inline int s_heldLines = 0;
};

// The gate stays shut while one is held, whatever waits inside: the lines
// that come meanwhile are handled after, in order.
class HeldLines
{
public:
    HeldLines();
    ~HeldLines();
    HeldLines(const HeldLines &) = delete;
    HeldLines &operator=(const HeldLines &) = delete;
};

// Whether a source of lines (standard input, a chat network, a room's own
// window) may hand a new line to its handlers now: not while the waits nest
// as deep as they may, nor inside a loop that is about to return, which the
// new line's own wait would hold up, nor while lines are held. A source that finds it shut keeps its lines where they are
// (unread, in order) until `opened`.
class LineGate : public QObject
{
    Q_OBJECT

public:
    static bool isOpen();
    static LineGate &instance();

signals:
    // Sent from the event loop, never from inside the loop that just ended.
    void opened();
};
