#pragma once

#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

#include <QTemporaryDir>
#include <memory>

class BoundGrid;
class QAbstractButton;
class QComboBox;

// A test database plus the real main window, headless, started in a working
// directory of its own whose Config.ini points at the test database.
class AppTest : public DatabaseTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes Config.ini for the test database (or the given server and database).
    void writeConfig(const QString& server, const QString& database);
    // Creates the window (runs FormCreate); the timers are stopped so that tests
    // drive them by hand.
    void createForm(bool withConfig = true);
    void connectDatabase();   // the menu "Connect", through the window's error guard
    // Creates the window and connects it; the connect must show nothing.
    void startConnected();
    // No message box or file dialog was shown (those shown are listed if any).
    void expectNothingShown();
    // The change counter of one STATUS column.
    long long counter(const char* column);

    void click(const char* buttonName);
    // Types a text into a cell of an editable grid as the operator does: F2, the
    // text, Enter.
    void editCell(BoundGrid* grid, int row, int column, const QString& text);
    // The texts of one grid column, top to bottom.
    static QStringList shown(const BoundGrid* grid, int column);
    // The items of a combo box, in order.
    static QStringList items(const QComboBox* combo);
    // Clicks with the mouse (and the modifier keys) the first row whose cell in
    // `column` reads `text`, scrolled into view first.
    void clickRow(BoundGrid* grid, const QString& text, int column = 0,
                  Qt::KeyboardModifiers modifiers = {});
    template <typename T>
    T* find(const char* name) const
    {
        T* widget = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString workPath(const QString& file) const { return workDir.filePath(file); }

    QTemporaryDir workDir;
    QString previousDir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TDataModule3> module;
    std::unique_ptr<TForm1> form;
    QStringList statusTexts;   // every text written to panel 0, in order
};
