#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

class Connection;

// "Why can this person (not) pass this door?": the decision a controller makes
// for one card at one reader head at one moment, worked out from the rows the
// controller's server is given, with every step explained. Reads only.

enum class ReaderHead { A, B };

struct AccessQuestion {
    QString cardCode;        // a card code, compared by the database as stored ...
    int personId = 0;        // ... or, when no code is given, every card of this person
    int deviceId = 0;        // the passage
    ReaderHead head = ReaderHead::A;
    QDate date;              // the local date and time at the passage
    QTime time;
};

struct AccessReason {
    enum Outcome { Info, Pass, Fail };
    int level = 0;           // 0 question, passage and card; 1 person and group;
                             // 2 permission row; 3 its template
    Outcome outcome = Info;
    QString text;
};

struct AccessAnswer {
    bool granted = false;
    int decidingCardId = 0;         // CARDS.ID_CARD of the first card that grants
    int decidingPermissionId = 0;   // NMID of its first permission row that grants
    QList<AccessReason> reasons;    // in the order a controller applies them

    // "Wejdzie" or "Nie wejdzie".
    QString verdict() const;
    // The verdict, then each reason indented by its level and marked "[tak]" when
    // it passed and "[nie]" when it stopped the chain.
    QStringList lines() const;
};

// The allowed period of one weekday, read from a day string "HH:MM:HH:MM"
// (characters 1-5 the start, 7-11 the end; the sixth is not read). The start is
// included and the end excluded; the end "23:59" runs to the end of the day.
struct DayPeriod {
    bool open = false;         // false: nobody passes on that day; problem says why
    int startSecond = 0;       // seconds since midnight
    int endSecond = 0;         // 86400 for "23:59"
    QString start, end;        // as read
    QString problem;
};
DayPeriod ReadDayString(const QString& dayString);

// Answers the question from the database. Throws the data layer's errors.
AccessAnswer CheckAccess(Connection& connection, const AccessQuestion& question);

// "poniedziałek" … "niedziela" for QDate::dayOfWeek() 1 … 7.
QString WeekdayName(int dayOfWeek);
