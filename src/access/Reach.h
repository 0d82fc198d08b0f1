#pragma once

#include "access/AccessCheck.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

class Connection;

// The access questions asked the other way round: who passes one reader head
// ("Kto wejdzie"), where one person or card goes ("Dokąd wejdzie"), which cards
// need attention, and what a change of templates, permissions or groups would do
// before it is made. Each reads the rows in a few statements and applies the
// controller's rule (AccessRule, the same pieces CheckAccess uses) to them.
// Nothing here writes.

// A change not made yet, applied to the rows read instead of to the database.
struct AccessChange {
    enum Kind { None, SaveTemplate, RevokePermission, DeleteGroup, DeleteTemplate };
    Kind kind = None;
    int id = 0;           // the template, the permission row (NMID) or the group
    QStringList days;     // SaveTemplate: D1 .. D7 as they would be written
};

// One person in "Kto wejdzie".
struct WhoEntry {
    int personId = 0;
    QString firstName, surname;
    int groupId = 0;
    QString groupName;
    bool passes = false;
    // What decides when the person passes: the first card that opens and its
    // group's first permission row that opens, with the template's period.
    int cardId = 0;
    QString cardCode;
    int permissionId = 0;   // PERMISSIONS_has_GROUPS.NMID
    int templateId = 0;
    QString templateName;
    QString period;         // "08:00–16:00"
    QString reason;         // why not, when the person does not pass

    QString personText() const;   // "Surname First name"
};

struct WhoAnswer {
    int deviceId = 0;
    QString passage;        // DEVICE.NAME
    QString headLabel;      // NAME_A or NAME_B
    ReaderHead head = ReaderHead::A;
    QDate date;
    QTime time;
    QString problem;        // the passage is missing or deleted: nobody passes
    // Everyone who passes, and the members of the groups with rows on the passage
    // who do not; by surname and first name.
    QList<WhoEntry> entries;

    int passing() const;
    int refused() const;
    // "Wejdzie: 12 osób, nie wejdzie: 3 osoby."
    QString summary() const;
    // A header and one line a person, fields separated by ';' (for the CSV file)
    // or by tabs (for the command line).
    QStringList lines(QChar separator) const;
};

// One reader head of one passage in "Dokąd wejdzie".
struct WhereHead {
    ReaderHead head = ReaderHead::A;
    QString label;          // NAME_A or NAME_B
    bool passes = false;
    int cardId = 0;
    QString cardCode;
    int permissionId = 0;
    QString reason;         // why not
    QStringList week;       // 7 texts, Monday first: "08:00–16:00", "—" when closed
};

struct WherePassage {
    int deviceId = 0;
    QString name;
    QDate date;             // now, at the passage
    QTime time;
    WhereHead heads[2];
};

struct WhereAnswer {
    QString subject;        // the person or the card asked about
    QString problem;        // nothing found to answer about
    QList<WherePassage> passages;   // every passage the groups concerned have rows on, by name
    int passableHeads() const;
    QStringList lines() const;
};

struct AttentionCard {
    int cardId = 0;
    QString code;
    QString validFrom, validTo;   // as stored, empty when NULL
    int ownerId = 0;
    QString owner;                // "Surname First name", empty without one
    QString groupName;
    QString note;                 // what needs attention
};

struct CardsReport {
    int days = 30;
    QDate today;
    QList<AttentionCard> expiring;      // validity ends within `days` days
    QList<AttentionCard> orphaned;      // valid, but the owner or the group is deleted
    QList<AttentionCard> withoutValidity;
    QStringList lines() const;
};

struct PreviewEntry {
    int personId = 0;
    QString person;
    int deviceId = 0;
    QString passage;
    ReaderHead head = ReaderHead::A;
    bool operator==(const PreviewEntry& o) const
    {
        return personId == o.personId && deviceId == o.deviceId && head == o.head;
    }
};

struct ChangePreview {
    QList<PreviewEntry> gains, losses;   // by passage, head and person
    // "37 osób straci dostęp do 4 przejść; 2 osoby zyskają dostęp do 1 przejścia."
    QString summary() const;
    QStringList lines() const;
};

namespace Reach {

// The passage's own date and time at the UTC moment (its location's time zone).
QDateTime PassageNow(Connection& connection, int deviceId,
                     const QDateTime& utc = QDateTime::currentDateTimeUtc());

// "Kto wejdzie" through one head at the passage's local date and time.
WhoAnswer WhoCanPass(Connection& connection, int deviceId, ReaderHead head, const QDate& date,
                     const QTime& time);

// Writes the header and the entries at the positions `shown` (those the operator
// sees) as a CSV file (Windows-1250, ';'). Throws FileError when it cannot.
void SaveWhoCsv(const WhoAnswer& answer, const QString& fileName, const QList<int>& shown);

// "Dokąd wejdzie" for a person (cardCode empty) or for the cards with that code,
// each passage at its own local time of the UTC moment.
WhereAnswer WhereCanGo(Connection& connection, int personId, const QString& cardCode,
                       const QDateTime& utc = QDateTime::currentDateTimeUtc());

// Cards whose validity ends within `days` days of today, valid cards of deleted
// owners or groups, and cards without a validity period.
CardsReport CardsNeedingAttention(Connection& connection, int days, const QDate& today);

// Who would gain and who would lose passage if the change were made, on every
// passage it touches, each at its own local time of the UTC moment.
ChangePreview PreviewChange(Connection& connection, const AccessChange& change,
                            const QDateTime& utc = QDateTime::currentDateTimeUtc());

}  // namespace Reach
