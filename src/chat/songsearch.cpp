#include "chat/songsearch.h"

#include "app/mainwindow.h"
#include "chat/chatscan.h"
#include "chat/clientwindows.h"
#include "chat/wildcard.h"
#include "platform/filelistbox.h"
#include "player/playeractions.h"
#include "player/waitseconds.h"
#include "windows/songpicker.h"

#include <QListWidget>
#include <array>

namespace {

// Whether the name, lower-cased, holds the lower-cased word. A search reads
// every name of the list, so plain ASCII names are lowered into one buffer
// kept between them rather than into a new string each.
bool nameHolds(const QString &name, const QString &loweredWord, QString &buffer)
{
    buffer.resize(name.size());
    QChar *lowered = buffer.data();
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c >= 0x80)
            return name.toLower().contains(loweredWord);
        lowered[i] = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c);
    }
    return QStringView(buffer).contains(loweredWord);
}

// The tracks whose names hold the word, letter case ignored, in list order.
QStringList tracksHolding(const QStringList &names, const QString &word)
{
    const QString lowered = word.toLower();
    QString buffer;
    QStringList matches;
    for (const QString &name : names)
        if (nameHolds(name, lowered, buffer))
            matches.append(name);
    return matches;
}

void view(Form1 &form)
{
    form.hide();
    form.form3().show();
}

void scroll(Form1 &form)
{
    form.announcer.announce("<b>p</b> and song to play");
    WaitSeconds(0.3);
    // A copy: the list may be emptied or refilled during the waits below.
    const QStringList entries = [&form] {
        QStringList texts;
        QListWidget *list = form.form3().List1;
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        form.announcer.announce("<b>" + QString::number(i + 1) + "</b> " + TrackName(entries[i]));
        WaitSeconds(0.5);
    }
}

void pickAtRandom(Form1 &form)
{
    // Nothing to draw from: the word is ignored and the scan stays on.
    if (!form.playerActions->playRandomListEntry(*form.form3().List1))
        return;
    WaitSeconds(0.3);
    form.clearPickerList();
    form.hide();
    form.show();
    form.chat2->StopScan();
}

void cancel(Form1 &form)
{
    form.chat2->StopScan();
    form.announcer.announce("<b>canceled</b> .. ");
}

struct FollowUp {
    const char16_t *word;
    void (*action)(Form1 &);
};

constexpr std::array<FollowUp, 4> FollowUps{{
    {u"view", view},
    {u"scroll", scroll},
    {u"rnd", pickAtRandom},
    {u"cancel", cancel},
}};

} // namespace

Handling searchSongs(Form1 &form, const QString &text)
{
    form.playerActions->emptyNowPlaying();
    WaitSeconds(0.3);
    form.chat2->StartScan();
    // As typed: the count message quotes it in the user's own case.
    const QString word = text.mid(3);
    const QStringList matches = tracksHolding(form.File1->entries(), word);
    // Filled afresh rather than added to: a search or a track that ended
    // during the wait may have put names in it since it was emptied.
    form.List1.clear();
    for (const QString &match : matches)
        form.List1.addItem(match);

    if (matches.isEmpty()) {
        form.announcer.announce("<b>error</b> no mp3 found ");
        return Handling::GoesOn;
    }
    if (matches.size() == 1) {
        form.List1.setListIndex(0);
        form.playerActions->startTrack(form.List1.text(), PlayerActions::Load::FileName);
        return Handling::GoesOn;
    }
    form.chat2->StartScan();
    QListWidget *picker = form.form3().List1;
    picker->clear();
    picker->addItems(matches);
    form.announcer.announce("[<b>" + QString::number(picker->count()) + "</b>] strings found for <b>" +
                            PlainToHtml(word) + "</b>");
    WaitSeconds(0.3);
    form.announcer.announce("<b>type</b>: view, scroll, rnd, or cancel ");
    return Handling::GoesOn;
}

void handleFollowUpLine(Form1 &form, const QString &ScreenName, const QString &Text)
{
    if (ScreenName != GetUser(form.environment().desktop))
        return;
    const QString lowered = Text.toLower();
    for (const FollowUp &followUp : FollowUps)
        if (MatchesPattern(lowered, form.Trigger + QString::fromUtf16(followUp.word)))
            followUp.action(form);
}
