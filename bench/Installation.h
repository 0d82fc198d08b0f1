#pragma once

// The generator of large installations that every benchmark builds on.
// createInstallation() makes a fresh database from src/db/schema.sql on a loopback
// server (login vqx / vqx) and fills it on the server side, deterministically for
// given sizes and newest event time. Keys are dense: every id from 1 to the last
// one exists (groups: 1 from the schema, the generated ones from 2).
//
// What the rows look like:
// - People (index i = ID_USER - 1): Polish first name and surname, unique as pairs
//   (see generatedPersonName); every 250th (i % 250 == 249) a placeholder with an
//   empty first name and the surname "Nowy N"; every 50th (i % 50 == 17) soft-deleted.
//   Every 10th (i % 10 == 3) in group 1, the others spread over the live groups.
// - Groups: live ones 2 .. lastGroupId, then groups / 20 deleted ones (no members, no
//   permissions). The last live group has members but no permission rows.
// - Templates: day strings on quarter hours ("08:00:16:00"), some around the clock,
//   weekends mostly "00:00:00:00".
// - Locations: TIME_ZONE 0..25 (odd ids 13), multi-line addresses.
// - Devices: unique 12-digit FACTORY numbers, spread over the locations, DEL 0.
// - Permissions: permissionsPerGroup rows per live group on distinct devices,
//   INPUT / OUTPUT mostly 1 / 1, some 1 / 0 or 0 / 1.
// - Cards (index c = ID_CARD - 1): unique codes of 10 upper-case hex digits (see
//   generatedCardCode); card c belongs to person c % people + 1, except every 20th
//   card and the cards of deleted people, which have no owner (ID_USER_FK 0).
// - Events (ID 1..events): every person and device in turn (coprime steps), times
//   spread evenly over the 365 days before newestEvent and growing with the ID, except
//   one in 1009 moved to the exact midnight of its day and one in 1009 to 23:59:59
//   (never after newestEvent). ID_GROUP is the person's group. Head A (CANAL "1"):
//   TYPE 1, every 97th 4; head B (CANAL "2"): TYPE 2, every 53rd 3. SERIAL is the
//   device's FACTORY, HEAD the head's name (NAME_A / NAME_B), NULL for one in 101.
//   A few deliberate orphans that no event view shows: ID % 100000 == 33333 names
//   device 0, == 55555 type 0, == 77777 person 0 (group 0); orphanEvents counts them.
//   STATUS.EVENTS holds the number of events; the other counters stay 0.
// - History (ID 1..history): five operators in turn on three workstations, times
//   spread evenly over the 365 days before newestEvent; rows of people (label the
//   person's names), cards (the code and the owner's names), permissions and groups
//   in turn, each with a small before / after JSON as the client writes them.
// Takes about 23 s of server CPU for 20,000 people and 1,000,000 events.

#include <QDateTime>
#include <QString>

#include <cstdio>

class Connection;
struct st_mysql;

struct InstallationSizes {
    int people = 20000;
    int cards = 40000;
    int groups = 50;                // live groups besides the default group 1
    int templates = 20;
    int locations = 20;
    int devices = 500;
    int permissionsPerGroup = 20;   // capped at devices
    int events = 1000000;           // need people and devices
    int history = 0;                // rows of HISTORY; need people
    QDateTime newestEvent;          // invalid: now, in whole seconds
};

struct Installation {
    QString server;
    QString database;
    InstallationSizes sizes;        // newestEvent filled in

    int lastPersonId = 0;           // people 1 .. lastPersonId
    int deletedPeople = 0;
    int firstGroupId = 2;           // live generated groups firstGroupId .. lastGroupId
    int lastGroupId = 1;
    int lastDeletedGroupId = 1;     // deleted groups lastGroupId + 1 .. lastDeletedGroupId
    int groupWithoutPermissions = 0; // a live group above 1 with members, no permission rows
    int lastTemplateId = 0;
    int lastLocationId = 0;
    int lastDeviceId = 0;
    int permissionRows = 0;
    int lastCardId = 0;
    int cardsWithoutOwner = 0;
    int lastEventId = 0;
    int orphanEvents = 0;           // events with person, device or type 0
    QDateTime oldestEvent;
    QDateTime newestEvent;

    // A live person of a group above 1, with a first name, cards and events.
    int samplePersonId = 0;
    int samplePersonGroupId = 0;
    QString samplePersonFirstName;
    QString samplePersonSurname;
    int samplePersonCards = 0;
    int samplePersonEvents = 0;
    int sampleDeviceId = 0;
    // The passage whose groups (those with permission rows on it) hold the most
    // people, and how many: the largest "Kto wejdzie" list.
    int busiestDeviceId = 0;
    int busiestDevicePeople = 0;
};

struct PersonName {
    QString firstName;
    QString surname;
};

// Drops DATABASE if it exists, creates it with the schema and fills it. Prints the
// time of each table to log (nothing when log is null). Throws std::runtime_error.
Installation createInstallation(const QString& server, const QString& database,
                                const InstallationSizes& sizes, std::FILE* log = stdout);
void dropInstallation(const Installation& installation);

// The names and codes the generator gives to index i (ID - 1). Indexes at or past the
// generated count give pairs and codes that the installation does not hold yet, for
// benchmarks that add people or cards. Names run out at generatedNameCapacity().
PersonName generatedPersonName(int index);
int generatedNameCapacity();
QString generatedCardCode(int index);

// A bare client-library connection (utf8mb4) to the server, on DATABASE when given;
// the caller closes it with mysql_close. Throws std::runtime_error.
st_mysql* connectBare(const QString& server, const QString& database = QString());
// Points a Connection at the installation (server, vqx / vqx, database).
void configureConnection(Connection& connection, const Installation& installation);
