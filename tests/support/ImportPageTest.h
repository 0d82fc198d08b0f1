#pragma once

#include "text/Windows1250.h"
#include "import/ImportPage.h"
#include "support/AppFixture.h"
#include "support/Files.h"
#include "ui/StringGrid.h"

// The page "Import" on the real window, connected to the test database.
class ImportPageTest : public AppTest {
protected:
    // Creates the window, connected unless told otherwise; nothing may be shown.
    void start(bool connect = true)
    {
        createForm();
        if (connect)
            connectDatabase();
        ASSERT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("\n").toStdString();
        page = form->importPage();
        grid = page->StringGrid1;
    }

    // Loads the bytes as the operator would, from a file of the work folder: the
    // file dialog, then the load.
    void load(const QByteArray& bytes)
    {
        const QString path = workPath("people.csv");
        ASSERT_TRUE(writeFile(path, bytes));
        dialogs.fileNames.enqueue(path);
        click("Button35");
    }
    static QByteArray cp1250(const char* utf8) { return Windows1250::encode(QString::fromUtf8(utf8)); }

    // The Status column, one text for each row under the titles.
    QStringList statuses() const
    {
        QStringList out;
        for (int r = 1; r < grid->rowCount(); ++r)
            out << grid->cells(4, r);
        return out;
    }

    ImportPage* page = nullptr;
    StringGrid* grid = nullptr;
};
