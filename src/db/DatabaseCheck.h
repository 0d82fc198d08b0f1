#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class Connection;

// What the program relies on in its database beyond the tables' columns: InnoDB
// tables (a change and its counter bump are one transaction only there), the
// indexes its statements are fast with, and a few conditions of the data. The
// requirements are a list that each feature appends to; the check compares the
// database with it and says what is missing.
namespace DatabaseCheck {

struct Requirement {
    enum class Kind {
        InnoDbTable,   // the table exists and its engine is InnoDB
        Index,         // the table has an index whose leading columns are `columns`
        Condition,     // `condition` finds nothing wrong
    };
    Kind kind = Kind::Condition;
    QString table;
    QString index;          // Index: the name it gets when created
    QStringList columns;    // Index: in order
    QString why;            // what needs it, in a few words
    // Condition: what is wrong, one text a problem; empty when it holds.
    std::function<QStringList(Connection&)> condition;
};

// The program's requirements, in the order they are checked and listed. A
// feature with tables of its own appends its tables and indexes here.
class Requirements {
public:
    Requirements& table(const QString& name, const QString& why);
    Requirements& index(const QString& table, const QString& name, const QStringList& columns,
                        const QString& why);
    Requirements& condition(const QString& why, std::function<QStringList(Connection&)> check);
    const std::vector<Requirement>& all() const { return list_; }

private:
    std::vector<Requirement> list_;
};

const Requirements& programRequirements();

// One thing missing. `createStatement` is set for a missing index: the statement
// that creates it (the only kind of finding that fixing creates).
struct Finding {
    Requirement::Kind kind = Requirement::Kind::Condition;
    QString text;
    QString createStatement;
};

// Compares the connection's database with the requirements; empty when all hold.
std::vector<Finding> check(Connection& connection, const Requirements& requirements = programRequirements());

// Creates the missing indexes among the findings, one statement each, telling
// `before` each statement before it runs. Returns how many were created.
int createMissingIndexes(Connection& connection, const std::vector<Finding>& findings,
                         const std::function<void(const QString& statement)>& before = {});

// The findings as lines for the operator: "everything holds", or one line each.
QStringList describe(const std::vector<Finding>& findings);

// The status bar's word after "Connect" when something is missing ("" when not).
QString summary(const std::vector<Finding>& findings);

}  // namespace DatabaseCheck
