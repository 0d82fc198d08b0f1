// The program's own dialogs (QtDialogs) in the real window: message boxes show
// their texts as given, connect messages carry the server's reason, and file
// dialogs open in the working folder or in the folder last used for the same
// kind of file, never where Qt's per-user history points. The boxes and dialogs
// are built as the program builds them; only waiting for the operator is replaced.
#include "events/EventsPage.h"
#include "support/AppFixture.h"
#include "support/Files.h"
#include "ui/Polish.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QQueue>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <QUrl>

namespace {

QString canonical(const QString& folder) { return QFileInfo(folder).canonicalFilePath(); }

class RecordingQtDialogs : public QtDialogs {
public:
    struct Box {
        QString title, text, details;
        Qt::TextFormat format;
        QStringList buttons;
    };
    struct FileDialog {
        QString folder;
        QStringList visited;   // every folder the dialog showed, the current one last
        QString preset;        // the file name filled in
        QFileDialog::AcceptMode mode;
    };
    QList<Box> boxes;
    QList<FileDialog> fileDialogs;
    QQueue<QString> files;   // the answers of the file dialogs; none: cancelled

protected:
    int runBox(QMessageBox& box) override
    {
        QStringList buttons;
        for (QAbstractButton* b : box.buttons())
            buttons << b->text();
        boxes << Box{box.windowTitle(), box.text(), box.detailedText(), box.textFormat(), buttons};
        return QMessageBox::Yes;
    }
    QString runFileDialog(QFileDialog& dialog) override
    {
        FileDialog d{canonical(dialog.directory().absolutePath()), {}, QString(), dialog.acceptMode()};
        const QStringList selected = dialog.selectedFiles();
        if (!selected.isEmpty() && !QFileInfo(selected.first()).isDir())
            d.preset = QFileInfo(selected.first()).fileName();
        // Walks back through the dialog's own history: where it has been since it was built.
        auto* back = dialog.findChild<QToolButton*>(QStringLiteral("backButton"));
        d.visited << d.folder;
        for (int i = 0; back && back->isEnabled() && i < 10; ++i) {
            back->click();
            d.visited.prepend(canonical(dialog.directory().absolutePath()));
        }
        fileDialogs << d;
        return files.isEmpty() ? QString() : files.dequeue();
    }
};

class QtDialogsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // Qt's per-user settings of this process live in a folder of the test.
        ASSERT_TRUE(settingsDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }
    void TearDown() override
    {
        AppTest::TearDown();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString());
    }
    // The real window on the test database, with the program's own dialogs.
    void start()
    {
        writeConfig(testServerAddress(), databaseName());
        module = std::make_unique<TDataModule3>();
        form = std::make_unique<TForm1>(*module, qt);
        form->Timer1->stop();
    }
    QString folder(const QString& name)
    {
        const QString path = workPath(name);
        EXPECT_TRUE(QDir().mkpath(path));
        return canonical(path);
    }

    QTemporaryDir settingsDir;
    RecordingQtDialogs qt;
};

TEST_F(QtDialogsTest, MessagesShowStoredTextAsItIs)
{
    sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Biuro')");
    sql("INSERT INTO USERS (ID_GROUP, FIRST_NAME, NAME) VALUES (2, '<b>Jan</b> %1', '%2 &lt; Kowalski')");
    start();
    form->Connect1->trigger();
    ASSERT_TRUE(qt.boxes.isEmpty());

    form->findChild<QLineEdit*>(QStringLiteral("Edit6"))->setText(QStringLiteral("<b>Jan</b> %1"));
    form->findChild<QLineEdit*>(QStringLiteral("Edit7"))->setText(QStringLiteral("%2 &lt; Kowalski"));
    form->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    ASSERT_EQ(qt.boxes.size(), 1);
    EXPECT_EQ(qt.boxes[0].title, "Valdrix");
    EXPECT_EQ(qt.boxes[0].text, QString::fromUtf8("Osoba: <b>Jan</b> %1  %2 &lt; Kowalski  już istnieje w bazie."));
    EXPECT_EQ(qt.boxes[0].format, Qt::PlainText);   // not taken for markup
    EXPECT_EQ(qt.boxes[0].buttons, QStringList("OK"));

    // The question and the error box alike.
    qt.boxes.clear();
    qt.question(QStringLiteral("<i>%1</i>?"));
    qt.errorBox(QStringLiteral("<p>błąd %1</p>"));
    ASSERT_EQ(qt.boxes.size(), 2);
    EXPECT_EQ(qt.boxes[0].title, "Confirm");
    EXPECT_EQ(qt.boxes[0].buttons, QStringList({"&Yes", "&No"}));
    for (const auto& box : qt.boxes)
        EXPECT_EQ(box.format, Qt::PlainText) << box.text.toStdString();
    EXPECT_EQ(qt.boxes[1].text, QString::fromUtf8("<p>błąd %1</p>"));
}

// Under Qt's Polish translation (as the program runs) Qt's own texts are Polish,
// and the boxes still carry exactly their English titles and captions.
TEST_F(QtDialogsTest, BoxesKeepTheirCaptionsUnderThePolishTranslation)
{
    QTranslator* polish = usePolish(*QCoreApplication::instance());
    if (!polish)
        GTEST_SKIP() << "Qt's Polish translation is not installed (qt6-translations-l10n)";
    struct Undo {
        QTranslator* translator;
        ~Undo()
        {
            QCoreApplication::removeTranslator(translator);
            delete translator;
            QLocale::setDefault(QLocale::c());
        }
    } undo{polish};
    // The translation is in force: Qt's own buttons speak Polish.
    QMessageBox plain(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Cancel);
    EXPECT_EQ(plain.button(QMessageBox::Cancel)->text(), "Anuluj");
    EXPECT_EQ(QLocale().standaloneMonthName(2), "luty");

    qt.notice(QStringLiteral("a"));
    qt.question(QStringLiteral("b"));
    qt.errorBox(QStringLiteral("c"));
    qt.connectMessage(QStringLiteral("d"), QString());
    ASSERT_EQ(qt.boxes.size(), 4);
    EXPECT_EQ(qt.boxes[0].title, "Valdrix");
    EXPECT_EQ(qt.boxes[0].buttons, QStringList("OK"));
    EXPECT_EQ(qt.boxes[1].title, "Confirm");
    EXPECT_EQ(qt.boxes[1].buttons, QStringList({"&Yes", "&No"}));
    EXPECT_EQ(qt.boxes[2].title, "Valdrix");
    EXPECT_EQ(qt.boxes[2].buttons, QStringList("OK"));
    EXPECT_EQ(qt.boxes[3].title, "Valdrix");
    QStringList connect = qt.boxes[3].buttons;
    connect.sort();
    EXPECT_EQ(connect, QStringList({"&Yes", "All", "Cancel"}));
}

TEST_F(QtDialogsTest, ConnectMessagesKeepTheirTextsAndGiveTheReasonAsDetails)
{
    start();
    form->findChild<QLineEdit*>(QStringLiteral("MaskEdit2"))->setText(QStringLiteral("not-the-password"));
    form->Connect1->trigger();
    ASSERT_EQ(qt.boxes.size(), 8);
    EXPECT_EQ(qt.boxes[0].title, "Valdrix");
    EXPECT_EQ(qt.boxes[0].text, "Problem z otwarciem bazy danych");
    EXPECT_EQ(qt.boxes[7].text, QString::fromUtf8("Problem z tabelą \"STATUS\" "));
    EXPECT_EQ(qt.boxes[0].format, Qt::PlainText);
    EXPECT_TRUE(qt.boxes[0].buttons.contains("All")) << qt.boxes[0].buttons.join(", ").toStdString();
    for (const auto& box : qt.boxes)
        EXPECT_TRUE(box.details.startsWith("Access denied for user 'vqx'")) << box.details.toStdString();
}

// The file dialogs of "Wczytaj plik z użytkownikami", "Eksport do pliku CSV" and
// "... XML", each remembering its own folder for the session.
TEST_F(QtDialogsTest, FileDialogsOpenInTheWorkingFolderOrTheLastOneOfTheirKind)
{
    // Qt's per-user history names another folder (it once named /proc, whose
    // listing blocks): the dialogs never go there.
    const QString elsewhere = folder("elsewhere");
    {
        QSettings history(QSettings::UserScope, QStringLiteral("QtProject"));
        history.setValue("FileDialog/lastVisited", QUrl::fromLocalFile(elsewhere).toString());
        history.setValue("FileDialog/history", QStringList(QUrl::fromLocalFile(elsewhere).toString()));
    }
    const QString work = canonical(QDir::currentPath());
    const QString imports = folder("imports");
    const QString exports = folder("exports");
    ASSERT_TRUE(writeFile(imports + "/people.csv", "Jan;Kowalski;\r\n"));
    start();
    form->Connect1->trigger();
    ASSERT_TRUE(qt.boxes.isEmpty());
    // An export runs in the background: it is waited for.
    auto press = [&](const char* button) {
        form->findChild<QPushButton*>(QString::fromLatin1(button))->click();
        form->eventsPage()->waitForExport();
    };

    press("Button35");   // cancelled
    ASSERT_EQ(qt.fileDialogs.size(), 1);
    EXPECT_EQ(qt.fileDialogs[0].folder, work);
    EXPECT_FALSE(qt.fileDialogs[0].visited.contains(elsewhere)) << qt.fileDialogs[0].visited.join(", ").toStdString();
    EXPECT_EQ(qt.fileDialogs[0].mode, QFileDialog::AcceptOpen);

    qt.files.enqueue(imports + "/people.csv");
    press("Button35");
    EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("Label65"))->text(), "1");   // loaded
    press("Button35");
    EXPECT_EQ(qt.fileDialogs[2].folder, imports);

    // The exports: each kind on its own, the import's folder is not theirs.
    qt.files.enqueue(exports + "/events.csv");
    press("Button30");
    EXPECT_EQ(qt.fileDialogs[3].folder, work);
    EXPECT_EQ(qt.fileDialogs[3].mode, QFileDialog::AcceptSave);
    EXPECT_TRUE(QFileInfo::exists(exports + "/events.csv"));
    press("Button31");
    EXPECT_EQ(qt.fileDialogs[4].folder, work);
    press("Button30");
    EXPECT_EQ(qt.fileDialogs[5].folder, exports);
    press("Button35");
    EXPECT_EQ(qt.fileDialogs[6].folder, imports);

    // A remembered folder that is gone: the working folder again.
    ASSERT_TRUE(QDir(exports).removeRecursively());
    press("Button30");
    EXPECT_EQ(qt.fileDialogs[7].folder, work);
    for (const auto& d : qt.fileDialogs)
        EXPECT_FALSE(d.visited.contains(elsewhere)) << d.visited.join(", ").toStdString();
    EXPECT_TRUE(qt.boxes.isEmpty());
}

// The hidden spreadsheet export names its file in the folder of its kind.
TEST_F(QtDialogsTest, APresetNameIsFilledInInTheStartFolder)
{
    const QString work = canonical(QDir::currentPath());
    EXPECT_TRUE(qt.saveFileName("XLSX|xlsx", QString(), "export_valdrix").isEmpty());
    ASSERT_EQ(qt.fileDialogs.size(), 1);
    EXPECT_EQ(qt.fileDialogs[0].folder, work);
    EXPECT_EQ(qt.fileDialogs[0].preset, "export_valdrix");
    EXPECT_EQ(canonical(qt.startFolder("save XLSX|xlsx")), work);
}

}  // namespace
