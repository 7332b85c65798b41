// The CTCP queries IRC clients and bots answer (VERSION, PING, TIME,
// CLIENTINFO), and the ration of answers: one per sender every few seconds
// and a few in all, so that a flood of queries, from one nick or many,
// can't make the client flood the server with answers.
#pragma once

#include "platform/irc/ircclock.h"

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <utility>

class IrcCtcp
{
public:
    // Milliseconds on a monotonic clock.
    using Clock = IrcClock;

    static constexpr qint64 PerSenderMs = 5'000;
    static constexpr int MaxAnswers = 4;
    static constexpr qint64 MaxAnswersMs = 30'000;
    // What a PING's argument is echoed with at most: an answer fits in a line.
    static constexpr qsizetype MaxPingBytes = 128;

    explicit IrcCtcp(Clock clock = {});

    // The answer (between its \x01s) to a query (what was between them)
    // from `sender` (a nick folded as the server folds nicks); nothing when
    // the query is not one answered or the ration is spent.
    std::optional<QString> answer(const QString &sender, const QString &query);

private:
    Clock m_clock;
    // The latest answers, oldest first: when, and to whom.
    std::deque<std::pair<qint64, QString>> m_answered;
};
