#include "support/AppFixture.h"

#include "support/Files.h"
#include "ui/BoundGrid.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QTimer>

void AppTest::SetUp()
{
    DatabaseTest::SetUp();
    ASSERT_TRUE(workDir.isValid());
    previousDir = QDir::currentPath();
    QDir::setCurrent(workDir.path());
}

void AppTest::TearDown()
{
    form.reset();
    module.reset();
    QDir::setCurrent(previousDir);
    DatabaseTest::TearDown();
}

void AppTest::writeConfig(const QString& server, const QString& database)
{
    ASSERT_TRUE(writeFile(workPath(QStringLiteral("Config.ini")),
                          QStringLiteral("[SERVER]\r\nIP=%1\r\nLogin=vqx\r\npassword=vqx\r\nDATABASE=%2\r\n")
                              .arg(server, database)
                              .toLatin1()));
}

void AppTest::createForm(bool withConfig)
{
    if (withConfig && !QFile::exists(workPath(QStringLiteral("Config.ini"))))
        writeConfig(testServerAddress(), databaseName());
    module = std::make_unique<TDataModule3>();
    QObject::connect(module.get(), &TDataModule3::statusTextChanged,
                     [this](const QString& text) { statusTexts << text; });
    form = std::make_unique<TForm1>(*module, dialogs);
    form->Timer1->stop();
}

void AppTest::connectDatabase() { form->Connect1->trigger(); }

void AppTest::startConnected()
{
    createForm();
    connectDatabase();
    ASSERT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("\n").toStdString();
}

void AppTest::expectNothingShown()
{
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("\n").toStdString();
}

long long AppTest::counter(const char* column)
{
    return scalarInt(QStringLiteral("SELECT `%1` FROM STATUS").arg(QString::fromLatin1(column)));
}

void AppTest::click(const char* buttonName)
{
    QAbstractButton* button = find<QAbstractButton>(buttonName);
    ASSERT_NE(button, nullptr);
    button->click();
}

void AppTest::editCell(BoundGrid* grid, int row, int column, const QString& text)
{
    const QModelIndex index = grid->model()->index(row, column);
    grid->setCurrentIndex(index);
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);   // the delegate commits on the next turn
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(grid->indexWidget(index), nullptr);   // the editor closed
}

QStringList AppTest::shown(const BoundGrid* grid, int column)
{
    QStringList out;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        out << grid->model()->index(row, column).data().toString();
    return out;
}

QStringList AppTest::items(const QComboBox* combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

void AppTest::clickRow(BoundGrid* grid, const QString& text, int column,
                       Qt::KeyboardModifiers modifiers)
{
    const int row = static_cast<int>(shown(grid, column).indexOf(text));
    ASSERT_GE(row, 0) << "no row " << text.toStdString();
    grid->resize(600, 400);
    const QModelIndex index = grid->model()->index(row, column);
    grid->scrollTo(index);
    const QRect cell = grid->visualRect(index);
    ASSERT_TRUE(cell.isValid()) << text.toStdString();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cell.center());
}
