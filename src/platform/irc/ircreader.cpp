#include "platform/irc/ircreader.h"

void IrcLineReader::append(QByteArrayView bytes)
{
    m_input.remove(0, m_from);
    m_from = 0;
    m_input.append(bytes);
}

std::optional<QByteArray> IrcLineReader::takeLine()
{
    while (m_from < m_input.size()) {
        const qsizetype newline = m_input.indexOf('\n', m_from);
        const qsizetype end = newline < 0 ? m_input.size() : newline;
        const QByteArrayView piece = QByteArrayView(m_input).sliced(m_from, end - m_from);
        m_from = newline < 0 ? end : end + 1;
        if (!m_skipping && m_partial.size() + piece.size() > MaxLineBytes + 1) {
            m_skipping = true;
            m_partial.clear();
            m_partial.squeeze();
            ++m_skipped;
        }
        if (newline < 0) {
            if (!m_skipping)
                m_partial.append(piece);
            break;
        }
        if (std::exchange(m_skipping, false))
            continue;
        QByteArray line = std::exchange(m_partial, QByteArray());
        line.append(piece);
        if (line.endsWith('\r'))
            line.chop(1);
        return line;
    }
    m_input.clear();
    m_from = 0;
    return std::nullopt;
}

void IrcLineReader::clear()
{
    *this = IrcLineReader();
}
