// Cuts the bytes a server sends into lines. Whatever arrives is data: a
// line longer than any server may send is skipped up to its end without
// being kept, so a stream without newlines never makes this grow.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

class IrcLineReader
{
public:
    // 8191 bytes of tags and 512 for the rest (message-tags).
    static constexpr qsizetype MaxLineBytes = 8191 + 512;

    // New bytes; call only once every line of the previous ones is taken.
    void append(QByteArrayView bytes);
    // The next whole line without its CR LF, or nothing until more bytes come.
    std::optional<QByteArray> takeLine();
    // Everything appended has been cut into lines or kept as a partial line.
    bool drained() const { return m_from == m_input.size(); }
    // What is held between calls: never more than one append plus a line.
    qsizetype heldBytes() const { return m_input.size() + m_partial.size(); }
    qsizetype skippedLines() const { return m_skipped; }
    void clear();

private:
    QByteArray m_input;
    qsizetype m_from = 0;
    // The start of a line whose end has not arrived yet.
    QByteArray m_partial;
    // Inside a line that was too long: everything up to its end is dropped.
    bool m_skipping = false;
    qsizetype m_skipped = 0;
};
