// The check of what the program relies on in its database: the requirements
// against databases that lack indexes, use MyISAM or hold odd data; the tool
// "valdrix db-check [--fix]"; and the window's word after "Connect" with the
// list and the index button on the page "Ustawienia".
#include "app/CommandLine.h"
#include "app/DatabaseCheckBox.h"
#include "app/SettingsPage.h"
#include "dataaccess/Connection.h"
#include "db/DatabaseCheck.h"
#include "support/AppFixture.h"
#include "support/CommandRun.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>

#include <cstdio>

namespace {

class DatabaseCheckTest : public AppTest {
protected:
    std::vector<DatabaseCheck::Finding> findings()
    {
        Connection connection;
        configure(connection);
        return DatabaseCheck::check(connection);
    }
    QStringList texts()
    {
        QStringList out;
        for (const DatabaseCheck::Finding& f : findings())
            out << f.text;
        return out;
    }
    // The columns of each index of a table, "NAME:COL,COL".
    QStringList indexesOf(const QString& table)
    {
        return column(QStringLiteral("SELECT CONCAT(INDEX_NAME, ':', GROUP_CONCAT(COLUMN_NAME ORDER BY SEQ_IN_INDEX)) "
                                     "FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = DATABASE() AND "
                                     "TABLE_NAME = '%1' GROUP BY INDEX_NAME ORDER BY INDEX_NAME").arg(table));
    }
    using Outcome = CommandOutcome;
    Outcome tool(const QStringList& arguments) { return runCommand(arguments); }
};

// Every index the schema declares is a requirement, by name and columns, and a
// database made from the schema lacks nothing.
TEST_F(DatabaseCheckTest, TheSchemaMeetsTheRequirementsAndTheyHoldEveryIndexOfIt)
{
    EXPECT_TRUE(findings().empty()) << texts().join('\n').toStdString();

    QFile schema(QStringLiteral(VALDRIX_SCHEMA_PATH));
    ASSERT_TRUE(schema.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(schema.readAll());
    QStringList declared;
    const QRegularExpression key(QStringLiteral("^\\s*KEY `(\\w+)` \\(([^)]*)\\)"), QRegularExpression::MultilineOption);
    for (auto match = key.globalMatch(text); match.hasNext();) {
        const auto m = match.next();
        // The history table's indexes come with the table (History::createStatements).
        if (!m.captured(1).startsWith(QStringLiteral("HISTORY_")))
            declared << m.captured(1) + ":" + m.captured(2).remove('`').remove(' ');
    }
    QStringList required;
    for (const DatabaseCheck::Requirement& r : DatabaseCheck::programRequirements().all())
        if (r.kind == DatabaseCheck::Requirement::Kind::Index)
            required << r.index + ":" + r.columns.join(',');
    declared.sort();
    required.sort();
    EXPECT_EQ(required, declared);
    EXPECT_EQ(declared.size(), 17);
}

TEST_F(DatabaseCheckTest, MissingIndexesMyIsamAndOddDataAreFoundAndOnlyIndexesCreated)
{
    sql("DROP INDEX EVENTS_TIME ON EVENTS");
    sql("DROP INDEX CARDS_OWNER ON CARDS");
    // Another name with the same leading columns serves as well.
    sql("DROP INDEX USERS_GROUP ON USERS");
    sql("CREATE INDEX by_group ON USERS (ID_GROUP, NAME)");
    // The recommended name taken by an index on other columns.
    sql("DROP INDEX EVENTS_DEVICE ON EVENTS");
    sql("CREATE INDEX EVENTS_DEVICE ON EVENTS (SERIAL)");
    sql("ALTER TABLE TYP ENGINE=MyISAM");
    sql("INSERT INTO STATUS VALUES (0, 0, 0, 0, 0, 0, 0, 0)");
    sql("ALTER TABLE LOCALIZATION MODIFY NAME VARCHAR(255) CHARACTER SET latin1 NULL DEFAULT ''");

    const std::vector<DatabaseCheck::Finding> found = findings();
    QStringList creates;
    for (const DatabaseCheck::Finding& f : found)
        if (!f.createStatement.isEmpty())
            creates << f.createStatement;
    EXPECT_EQ(creates, QStringList({"CREATE INDEX `CARDS_OWNER` ON `CARDS` (`ID_USER_FK`);",
                                    "CREATE INDEX `EVENTS_DEVICE_2` ON `EVENTS` (`ID_DEVICE`);",
                                    "CREATE INDEX `EVENTS_TIME` ON `EVENTS` (`TIME`);"}));
    const QStringList t = texts();
    ASSERT_EQ(t.size(), 6) << t.join('\n').toStdString();
    EXPECT_TRUE(t[0].startsWith(QString::fromUtf8("tabela TYP używa silnika MyISAM, nie InnoDB"))) << t[0].toStdString();
    EXPECT_TRUE(t[1].startsWith(QString::fromUtf8("brak indeksu CARDS_OWNER (ID_USER_FK) w tabeli CARDS"))) << t[1].toStdString();
    EXPECT_TRUE(t[4].startsWith(QString::fromUtf8("tabela STATUS ma 2 wierszy"))) << t[4].toStdString();
    EXPECT_TRUE(t[5].startsWith(QString::fromUtf8("tabela LOCALIZATION przechowuje tekst w kodowaniu latin1 (kolumny NAME)")))
        << t[5].toStdString();

    // The tool lists the same, one finding a line (the statement under its index), exit 1.
    writeConfig(testServerAddress(), databaseName());
    const Outcome listed = tool({"db-check"});
    EXPECT_EQ(listed.status, 1) << listed.err.toStdString();
    EXPECT_EQ(listed.out, QStringLiteral("Baza %1 na serwerze %2:\n").arg(databaseName(), testServerAddress())
                              + DatabaseCheck::describe(found).join('\n') + '\n');
    EXPECT_TRUE(listed.err.isEmpty());
    EXPECT_EQ(indexesOf("EVENTS").size(), 4);

    // --fix says what it creates, creates the indexes and nothing else.
    const Outcome fixed = tool({"db-check", "--fix"});
    EXPECT_EQ(fixed.status, 1) << fixed.err.toStdString();
    EXPECT_TRUE(fixed.out.contains(QString::fromUtf8("Tworzenie brakujących indeksów (3), nic poza tym:\n")
                                   + creates.join('\n') + "\n")) << fixed.out.toStdString();
    EXPECT_TRUE(indexesOf("EVENTS").contains("EVENTS_DEVICE_2:ID_DEVICE"));
    EXPECT_TRUE(indexesOf("EVENTS").contains("EVENTS_TIME:TIME"));
    EXPECT_TRUE(indexesOf("CARDS").contains("CARDS_OWNER:ID_USER_FK"));
    EXPECT_EQ(scalar("SELECT ENGINE FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'TYP'"),
              "MyISAM");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM STATUS"), 2);
    EXPECT_EQ(texts().size(), 3);

    // With the rest mended by hand, the check passes: exit 0.
    sql("ALTER TABLE TYP ENGINE=InnoDB");
    sql("DELETE FROM STATUS LIMIT 1");
    sql("ALTER TABLE LOCALIZATION MODIFY NAME VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_polish_ci NULL DEFAULT ''");
    const Outcome clean = tool({"db-check"});
    EXPECT_EQ(clean.status, 0) << clean.out.toStdString();
    EXPECT_TRUE(clean.out.endsWith(QString::fromUtf8("Baza danych ma wszystko, czego program potrzebuje.\n")));
    EXPECT_EQ(tool({"db-check", "--fix"}).status, 0);
}

TEST_F(DatabaseCheckTest, AMissingTableIsToldOnceAndTheToolRefusesOtherArguments)
{
    sql("DROP TABLE PERMISSIONS_has_GROUPS");
    sql("DROP TABLE STATUS");
    EXPECT_EQ(texts(), QStringList({"brak tabeli PERMISSIONS_has_GROUPS", "brak tabeli STATUS"}));

    writeConfig(testServerAddress(), databaseName());
    const Outcome wrong = tool({"db-check", "--all"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_TRUE(wrong.err.startsWith("valdrix db-check: nieznany argument '--all'")) << wrong.err.toStdString();
    writeConfig(deadServerAddress(), databaseName());
    const Outcome unreachable = tool({"db-check"});
    EXPECT_EQ(unreachable.status, 2);
    EXPECT_TRUE(unreachable.err.contains(deadServerAddress())) << unreachable.err.toStdString();
}

// A feature appends its own requirements to a list of its own making.
TEST_F(DatabaseCheckTest, RequirementsAreAListThatFeaturesAppendTo)
{
    sql("CREATE TABLE ARCHIVE (ID INT PRIMARY KEY, AT DATETIME) ENGINE=MyISAM");
    DatabaseCheck::Requirements list = DatabaseCheck::programRequirements();
    list.table("ARCHIVE", "historia zmian")
        .index("ARCHIVE", "ARCHIVE_AT", {"AT"}, "historia po czasie")
        .condition("historia", [](Connection&) { return QStringList("historia do przeniesienia"); });
    Connection connection;
    configure(connection);
    QStringList found;
    for (const DatabaseCheck::Finding& f : DatabaseCheck::check(connection, list))
        found << f.text;
    ASSERT_EQ(found.size(), 3) << found.join('\n').toStdString();
    EXPECT_TRUE(found[0].startsWith(QString::fromUtf8("tabela ARCHIVE używa silnika MyISAM")));
    EXPECT_TRUE(found[1].startsWith(QString::fromUtf8("brak indeksu ARCHIVE_AT (AT) w tabeli ARCHIVE")));
    EXPECT_EQ(found[2], "historia do przeniesienia");
    EXPECT_TRUE(findings().empty());   // the program's own list is unchanged
}

// After "Connect" the status bar says once that something is missing; the page
// "Ustawienia" lists it and its button creates the indexes.
TEST_F(DatabaseCheckTest, TheWindowTellsAfterConnectAndCreatesTheIndexes)
{
    startConnected();
    DatabaseCheckBox* box = form->settingsPage()->databaseCheck();
    EXPECT_EQ(box->DatabaseCheckList->toPlainText(), QString::fromUtf8("Baza danych ma wszystko, czego program potrzebuje."));
    EXPECT_FALSE(box->CreateIndexes->isEnabled());
    EXPECT_EQ(form->statusText(), module->ConnectedText);

    sql("DROP INDEX EVENTS_COUNT ON EVENTS");
    sql("ALTER TABLE CARDS ENGINE=MyISAM");
    connectDatabase();
    expectNothingShown();
    EXPECT_EQ(form->statusText(), QString::fromUtf8("Baza danych nie ma wszystkiego, czego program potrzebuje: 2 braki "
                                                    "(szczegóły na stronie \u201eUstawienia\u201d)"));
    EXPECT_EQ(box->DatabaseCheckList->toPlainText(), DatabaseCheck::describe(findings()).join('\n'));
    ASSERT_TRUE(box->CreateIndexes->isEnabled());

    dialogs.questionAnswers.enqueue(false);
    click("CreateIndexes");
    EXPECT_EQ(indexesOf("EVENTS").size(), 4);
    click("CreateIndexes");
    EXPECT_EQ(dialogs.texts("question").size(), 2);
    EXPECT_TRUE(indexesOf("EVENTS").contains("EVENTS_COUNT:ID_GROUP,TYPE,ID_DEVICE,ID_USER,TIME"));
    EXPECT_TRUE(box->DatabaseCheckList->toPlainText().startsWith(QString::fromUtf8("tabela CARDS używa silnika MyISAM")));
    EXPECT_FALSE(box->CreateIndexes->isEnabled());
    EXPECT_TRUE(box->CreateIndexesProgress->isHidden());
    EXPECT_EQ(dialogs.errors(), QStringList());
}

}  // namespace
