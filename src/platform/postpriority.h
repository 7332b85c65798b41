// How soon a line posted into a network's room should go where the network
// paces what it sends: what the user typed first, then the program's
// replies and announcements, then the entries of a listing (a scroll
// through the song picker); each class in the order it was posted.
#pragma once

#include <utility>

enum class PostPriority { Typed, Reply, Listing };
inline constexpr int PostPriorities = 3;

// While one lives, the lines posted into a room are of its class. Never
// kept across a wait: the handlers that run inside it post their own.
class PostPriorityScope
{
public:
    explicit PostPriorityScope(PostPriority priority) : m_outer(std::exchange(s_current, priority)) {}
    ~PostPriorityScope() { s_current = m_outer; }
    PostPriorityScope(const PostPriorityScope &) = delete;
    PostPriorityScope &operator=(const PostPriorityScope &) = delete;

    static PostPriority current() { return s_current; }

private:
    PostPriority m_outer;
    static inline PostPriority s_current = PostPriority::Reply;
};
