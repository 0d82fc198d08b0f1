// The client against servers whose default SQL mode is not the usual one: without
// strict mode, and without backslash escapes. These tests change the server's
// global mode for a moment, so CTest runs them alone (RUN_SERIAL): no other test
// may connect while the mode is changed.
#include "access/AccessPage.h"
#include "dataaccess/Command.h"
#include "dataaccess/Errors.h"
#include "support/AppFixture.h"

#include <QLineEdit>

#include <optional>

namespace {

class ServerModeTest : public AppTest {
protected:
    // Runs `connect` while the server's default mode is `mode`, then restores it.
    // A `connect` that throws or fails leaves the restoring to TearDown, so that
    // the rest of the run never sees the changed mode.
    template <typename Connect>
    void withServerMode(const QString& mode, Connect connect)
    {
        previousMode = scalar("SELECT @@GLOBAL.sql_mode");
        sql("SET GLOBAL sql_mode = '" + mode + "'");
        connect();
        restoreMode();
    }

    void TearDown() override
    {
        restoreMode();
        AppTest::TearDown();
    }

private:
    void restoreMode()
    {
        if (!previousMode)
            return;
        sql("SET GLOBAL sql_mode = '" + *previousMode + "'");
        previousMode.reset();
    }

    std::optional<QString> previousMode;   // set while the server's mode is changed
};

TEST_F(ServerModeTest, SessionIsStrictAndKeepsTheServersOtherFlags)
{
    Connection connection;
    configure(connection);
    withServerMode("NO_BACKSLASH_ESCAPES", [&] { connection.open(); });
    Dataset session(connection, "session");
    session.setStatement("SELECT @@SESSION.sql_mode");
    session.open();
    EXPECT_EQ(session.textAt(0), "NO_BACKSLASH_ESCAPES,STRICT_TRANS_TABLES");

    // Typed values are stored exactly when quotes are doubled instead of escaped.
    const QString tricky = QString::fromUtf8("O'Brien \\ \"x\"; DROP TABLE TYP; -- ")
                           + QChar(0) + QString::fromUtf8(" zażółć ŁÓDŹ\r\n\x1a");
    Command c(connection, "MyCommand1");
    c.addLine("INSERT INTO GROUPS (NAME) VALUES ('" + connection.escape(tricky) + "')");
    c.execute();
    Dataset stored(connection, "stored");
    stored.setStatement("SELECT NAME FROM GROUPS WHERE ID_GROUP > 1");
    stored.open();
    EXPECT_EQ(stored.text("NAME"), tricky);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM TYP"), "4");
}

TEST_F(ServerModeTest, OverlongNameIsRefusedOnANonStrictServer)
{
    withServerMode("", [&] {
        createForm();
        connectDatabase();
    });
    AccessPage* page = form->accessPage();
    page->Edit5->setText(QString(300, QLatin1Char('g')));
    click("Button7");
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors().first().contains("too long")) << dialogs.errors().first().toStdString();
    // Typed again, it is refused again: no truncated twin slips past the duplicate test.
    click("Button7");
    EXPECT_EQ(dialogs.errors().size(), 2);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM GROUPS"), 1);
    EXPECT_EQ(scalarInt("SELECT GROUPS FROM STATUS"), 0);
}

}  // namespace
