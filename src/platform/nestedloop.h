// Every wait and every dialog that waits for an answer runs a nested event
// loop on the window thread. Counting them tells whether some handler is
// still in the middle of its work, so the end of input can wait for it.
#pragma once

class NestedLoop
{
public:
    NestedLoop() { ++s_depth; }
    ~NestedLoop() { --s_depth; }
    NestedLoop(const NestedLoop &) = delete;
    NestedLoop &operator=(const NestedLoop &) = delete;

    static int depth() { return s_depth; }

private:
    static inline int s_depth = 0;
};
