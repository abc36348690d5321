#pragma once

// Services for tests: message boxes answered from a queue and recorded, file
// dialogs answered with given names, a clock that the test sets.

#include "coding/services.h"

#include <QList>
#include <QQueue>

namespace coding {

struct ShownMessage {
    QString text, title;
    MsgButtons buttons;
    MsgIcon icon;
};

class FakeMessages : public MessageService {
public:
    QList<ShownMessage> shown;
    QQueue<MsgAnswer> answers; // empty: Ok / Yes for the first button

    MsgAnswer show(const QString &text, const QString &title, MsgButtons buttons,
                   MsgIcon icon) override {
        shown.append({text, title, buttons, icon});
        if (!answers.isEmpty())
            return answers.dequeue();
        return (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel) ? MsgAnswer::Yes
                                                                                    : MsgAnswer::Ok;
    }
    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }
};

class FakeFiles : public FileDialogService {
public:
    QQueue<QString> openAnswers, saveAnswers; // empty queue: cancelled
    QStringList filters;                      // the filters that were offered
    QString getOpenFileName(const QString &, const QString &filter, const QString &) override {
        filters << filter;
        return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
    }
    QStringList suffixes;        // the default suffixes of the save dialogs
    QQueue<QString> saveFilters; // the filter each save answer was chosen under
    QString getSaveFileName(const QString &, const QString &filter, const QString &,
                            const QString &defaultSuffix, QString *selectedFilter) override {
        filters << filter;
        suffixes << defaultSuffix;
        const QString chosen = saveFilters.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0)
                                                     : saveFilters.dequeue();
        if (selectedFilter)
            *selectedFilter = chosen;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }
};

class FakeColors : public ColorDialogService {
public:
    QQueue<std::optional<QColor>> answers;
    std::optional<QColor> getColor(const QColor &) override {
        return answers.isEmpty() ? std::nullopt : answers.dequeue();
    }
};

class FakeClock : public Clock {
public:
    qint64 ms = 1000;
    QDateTime dateTime = QDateTime(QDate(2026, 1, 1), QTime(9, 0));
    qint64 tickMs() const override { return ms; }
    QDateTime now() const override { return dateTime.addMSecs(ms - 1000); }
    void advance(qint64 delta) { ms += delta; }
};

class FakeHelp : public HelpService {
public:
    QStringList pages; // every page asked for, in order
    void showHelp(const QString &page) override { pages << page; }
};

class FakeBeep : public BeepService {
public:
    int count = 0;
    void beep() override { ++count; }
};

} // namespace coding
