#include "access/ScheduleEditor.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int Cols = ScheduleGrid::Columns;
constexpr int Rows = ScheduleGrid::Rows;

// One character per cell: 'G' green, 'B' blue, 'W' white (never painted), '?' other.
char colourCode(const QColor& c)
{
    if (c == QColor(0, 255, 0))
        return 'G';
    if (c == QColor(0, 0, 255))
        return 'B';
    if (c == QColor(Qt::white))
        return 'W';
    return '?';
}

// A row that is blue except for the green columns from … to (none when from < 0).
std::string expectedRow(int from, int to, char rest = 'B')
{
    std::string row(Cols, rest);
    for (int c = std::max(from, 0); from >= 0 && c <= to; ++c)
        row[c] = 'G';
    return row;
}

QPoint cellCentre(int col, int row)
{
    return {col * ScheduleGrid::ColumnPitch + 2, row * ScheduleGrid::RowPitch + 10};
}

} // namespace

class ScheduleEditorTest : public ::testing::Test {
protected:
    ScheduleEditor editor;
    ScheduleGrid* grid = editor.grid();

    // What the screen shows in one row, sampled at the centre of each cell.
    static std::string shownRow(const QImage& image, int row)
    {
        std::string codes;
        for (int c = 0; c < Cols; ++c)
            codes += colourCode(image.pixelColor(cellCentre(c, row)));
        return codes;
    }
    std::string shownRow(int row) const { return shownRow(grid->grab().toImage(), row); }

    // The buffer in the same code: 'G' set, 'B' clear.
    std::string bufferRow(int row) const
    {
        std::string codes;
        for (bool set : editor.scheduleBuffer()[row])
            codes += set ? 'G' : 'B';
        return codes;
    }

    std::pair<QString, QString> fields(int row) const { return {editor.startText(row), editor.endText(row)}; }

    // Real mouse events on DrawGrid1.
    void press(QPoint pixel) { QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, pixel); }
    void release(QPoint pixel) { QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, pixel); }
    void moveHeld(QPoint pixel)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(pixel), grid->mapToGlobal(QPointF(pixel)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid, &move);
    }
    void drag(QPoint fromCell, const std::vector<QPoint>& overCells)
    {
        press(cellCentre(fromCell.x(), fromCell.y()));
        for (const QPoint& cell : overCells)
            moveHeld(cellCentre(cell.x(), cell.y()));
        release(cellCentre(overCells.back().x(), overCells.back().y()));
    }

    // Expects a row's buffer, its cells on screen and its two fields.
    void expectDay(int row, int from, int to, const QString& start, const QString& end)
    {
        SCOPED_TRACE(testing::Message() << "row " << row);
        EXPECT_EQ(bufferRow(row), expectedRow(from, to));
        EXPECT_EQ(shownRow(row), expectedRow(from, to));
        EXPECT_EQ(fields(row), std::make_pair(start, end));
    }
    void expectEmptyDay(int row) { expectDay(row, -1, -1, "00:00", "00:00"); }
};

TEST(TimeLabelsTest, QuarterHoursThenEndOfDay)
{
    EXPECT_EQ(TimeLabels[0], "00:00");
    EXPECT_EQ(TimeLabels[1], "00:15");
    EXPECT_EQ(TimeLabels[4], "01:00");
    EXPECT_EQ(TimeLabels[39], "09:45");
    EXPECT_EQ(TimeLabels[95], "23:45");
    EXPECT_EQ(TimeLabels[96], "23:59");
    for (int k = 1; k < 97; ++k)
        EXPECT_LT(TimeLabels[k - 1], TimeLabels[k]) << k;
}

TEST_F(ScheduleEditorTest, StartsClearWithUnpaintedGrid)
{
    EXPECT_EQ(grid->objectName(), "DrawGrid1");
    EXPECT_EQ(grid->size(), QSize(576, 146));
    const QImage image = grid->grab().toImage();
    for (int r = 0; r < Rows; ++r) {
        EXPECT_EQ(shownRow(image, r), expectedRow(-1, -1, 'W'));
        EXPECT_EQ(bufferRow(r), expectedRow(-1, -1));
        EXPECT_EQ(fields(r), std::make_pair(QString("00:00"), QString("00:00")));
    }
    EXPECT_FALSE(editor.cellColor(0, 0).isValid());
    EXPECT_FALSE(editor.dragging());
}

TEST_F(ScheduleEditorTest, PaintDayRowFollowsStartAndEndLabels)
{
    struct Case {
        const char* start;
        const char* end;
        int greenFrom, greenTo;   // -1: no green cell
    };
    const Case cases[] = {
        {"08:00", "17:00", 32, 67},
        {"00:00", "23:59", 0, 95},    // 23:59 matches no column: green to the last cell
        {"00:00", "00:00", -1, -1},   // start tested first: equal texts stay blue
        {"17:00", "08:00", 68, 95},   // end before start
        {"08:10", "17:00", -1, -1},   // start matching no label: all blue
        {"08:00", "08:10", 32, 95},
        {"", "", -1, -1},             // a template row that is missing
        {"23:45", "23:59", 95, 95},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " - " << c.end);
        editor.PaintDayRow(2, c.start, c.end);
        editor.setDayFields(2, c.start, c.end);
        const QImage image = grid->grab().toImage();
        EXPECT_EQ(shownRow(image, 2), expectedRow(c.greenFrom, c.greenTo));
        EXPECT_EQ(fields(2), std::make_pair(QString(c.start), QString(c.end)));
        // Only its own row is painted, and the buffer is not touched.
        EXPECT_EQ(shownRow(image, 1), expectedRow(-1, -1, 'W'));
        EXPECT_EQ(shownRow(image, 3), expectedRow(-1, -1, 'W'));
        EXPECT_EQ(bufferRow(2), expectedRow(-1, -1));
    }
    EXPECT_EQ(editor.cellColor(95, 2), QColor(0, 255, 0));
    EXPECT_EQ(editor.cellColor(94, 2), QColor(0, 0, 255));
}

TEST_F(ScheduleEditorTest, CellsAreSolidBetweenVisibleGridLines)
{
    editor.PaintDayRow(0, "00:00", "23:59");
    editor.PaintDayRow(1, "00:00", "00:00");
    const QImage image = grid->grab().toImage();
    for (int x = 60; x <= 64; ++x)
        for (int y = 0; y < 20; ++y) {
            ASSERT_EQ(image.pixelColor(x, y), QColor(0, 255, 0)) << x << "," << y;
            ASSERT_EQ(image.pixelColor(x, y + 21), QColor(0, 0, 255)) << x << "," << y + 21;
        }
    // Lines after a column and between rows are neither cell colour nor background.
    for (const QPoint line : {QPoint(65, 5), QPoint(65, 26), QPoint(62, 20), QPoint(62, 41), QPoint(575, 5)})
        EXPECT_EQ(colourCode(image.pixelColor(line)), '?') << line.x() << "," << line.y();
}

TEST_F(ScheduleEditorTest, HitTestMapsPixelsToCells)
{
    EXPECT_EQ(grid->cellAt({0, 0}), QPoint(0, 0));
    EXPECT_EQ(grid->cellAt({4, 19}), QPoint(0, 0));
    EXPECT_EQ(grid->cellAt({6, 21}), QPoint(1, 1));
    EXPECT_EQ(grid->cellAt(cellCentre(40, 1)), QPoint(40, 1));
    EXPECT_EQ(grid->cellAt({574, 145}), QPoint(95, 6));
    // Grid lines go with the cell left of / above them.
    EXPECT_EQ(grid->cellAt({5, 20}), QPoint(0, 0));
    EXPECT_EQ(grid->cellAt({575, 0}), QPoint(95, 0));
    for (const QPoint outside : {QPoint(-1, 0), QPoint(0, -1), QPoint(576, 0), QPoint(0, 146)})
        EXPECT_EQ(grid->cellAt(outside), QPoint(-1, -1));
}

TEST_F(ScheduleEditorTest, ClickSetsOneQuarterHourAndRepaintsEveryDay)
{
    // A loaded template is on screen first; the click replaces all days by the buffer.
    editor.PaintDayRow(0, "08:00", "17:00");
    editor.setDayFields(0, "08:00", "17:00");
    editor.PaintDayRow(6, "08:10", "");
    editor.setDayFields(6, "08:10", "");

    press(cellCentre(40, 1));
    EXPECT_TRUE(editor.dragging());
    release(cellCentre(40, 1));
    EXPECT_FALSE(editor.dragging());

    expectDay(1, 40, 40, "10:00", "10:15");
    for (int r : {0, 2, 3, 4, 5, 6})
        expectEmptyDay(r);
}

TEST_F(ScheduleEditorTest, DragDownRightSetsTheRunOnEverySpannedDay)
{
    press(cellCentre(32, 0));
    moveHeld(cellCentre(40, 2));
    // Every move of the drag already shows the buffer.
    for (int r = 0; r <= 2; ++r)
        expectDay(r, 32, 40, "08:00", "10:15");
    moveHeld(cellCentre(67, 4));
    release(cellCentre(67, 4));

    for (int r = 0; r <= 4; ++r)
        expectDay(r, 32, 67, "08:00", "17:00");
    expectEmptyDay(5);
    expectEmptyDay(6);
}

TEST_F(ScheduleEditorTest, RunsAtTheEdgesOfTheDay)
{
    drag({0, 3}, {{95, 3}});
    expectDay(3, 0, 95, "00:00", "23:59");
    drag({0, 4}, {{0, 4}});
    expectDay(4, 0, 0, "00:00", "00:15");
    drag({95, 5}, {{95, 5}});
    expectDay(5, 95, 95, "23:45", "23:59");
    drag({90, 6}, {{95, 6}});
    expectDay(6, 90, 95, "22:30", "23:59");
}

TEST_F(ScheduleEditorTest, DragEndingLeftOfPressClearsSpannedDays)
{
    drag({10, 0}, {{20, 2}});
    drag({50, 0}, {{30, 1}});
    expectEmptyDay(0);
    expectEmptyDay(1);
    expectDay(2, 10, 20, "02:30", "05:15");
}

TEST_F(ScheduleEditorTest, DragEndingAbovePressChangesNoSlotButRepaintsAllDays)
{
    drag({10, 0}, {{20, 2}});
    const auto before = editor.scheduleBuffer();
    // A template loaded afterwards shows in rows 0 and 6 …
    editor.PaintDayRow(0, "00:00", "23:59");
    editor.setDayFields(0, "00:00", "23:59");
    editor.PaintDayRow(6, "08:00", "17:00");
    editor.setDayFields(6, "08:00", "17:00");

    // … until a drag from Thursday up to Tuesday, which shows the buffer again.
    drag({5, 3}, {{30, 1}});
    EXPECT_EQ(editor.scheduleBuffer(), before);
    for (int r = 0; r <= 2; ++r)
        expectDay(r, 10, 20, "02:30", "05:15");
    for (int r = 3; r < Rows; ++r)
        expectEmptyDay(r);
}

TEST_F(ScheduleEditorTest, RowsLeftBehindKeepTheirRun)
{
    // Monday down to Thursday, then back up to Tuesday further right.
    drag({10, 0}, {{20, 3}, {30, 1}});
    expectDay(0, 10, 30, "02:30", "07:45");
    expectDay(1, 10, 30, "02:30", "07:45");
    expectDay(2, 10, 20, "02:30", "05:15");
    expectDay(3, 10, 20, "02:30", "05:15");
    expectEmptyDay(4);
}

TEST_F(ScheduleEditorTest, PressOffTheCellsAndReleaseOutside)
{
    // Released outside the cells: the last move's state stays and the drag ends.
    press(cellCentre(10, 0));
    moveHeld(cellCentre(20, 1));
    moveHeld({-30, 300});
    release({-30, 300});
    EXPECT_FALSE(editor.dragging());
    expectDay(0, 10, 20, "02:30", "05:15");
    expectDay(1, 10, 20, "02:30", "05:15");

    // A press on no cell starts no drag, so moves change nothing …
    editor.setDayFields(4, "12:00", "13:00");
    editor.DrawGrid1MouseDown(Qt::LeftButton, Qt::NoModifier, 600, 10);
    EXPECT_FALSE(editor.dragging());
    editor.DrawGrid1MouseMove(Qt::NoModifier, cellCentre(50, 4).x(), cellCentre(50, 4).y());
    EXPECT_EQ(fields(4), std::make_pair(QString("12:00"), QString("13:00")));
    EXPECT_EQ(bufferRow(4), expectedRow(-1, -1));

    // … but a release still applies, from the last real press cell (Monday 10).
    editor.DrawGrid1MouseUp(Qt::LeftButton, Qt::NoModifier, cellCentre(12, 2).x(), cellCentre(12, 2).y());
    for (int r = 0; r <= 2; ++r)
        expectDay(r, 10, 12, "02:30", "03:15");
    expectEmptyDay(4);
}

TEST_F(ScheduleEditorTest, HourRulerTicksLineUpWithGridColumns)
{
    HourRuler* ruler = editor.findChild<HourRuler*>("Image3");
    ASSERT_NE(ruler, nullptr);
    EXPECT_EQ(ruler->size(), QSize(581, 47));
    const QImage image = ruler->grab().toImage();
    auto dark = [&](int x, int y) { return image.pixelColor(x, y).lightness() < 100; };

    for (int k = 0; k < Cols; ++k) {
        const int x = k * 6;
        EXPECT_TRUE(dark(x, 43)) << "quarter tick " << k;
        EXPECT_FALSE(dark(x + 3, 43)) << "between ticks " << k;
        EXPECT_EQ(dark(x, 36), k % 4 == 0) << "long tick only at full hours " << k;
    }
    EXPECT_TRUE(dark(8 * 24, 40));
    // Each hour has its number above its tick.
    for (int hour = 0; hour < 24; ++hour) {
        bool ink = false;
        for (int x = std::max(0, hour * 24 - 8); x <= hour * 24 + 8; ++x)
            for (int y = 10; y < 31; ++y)
                ink = ink || dark(x, y);
        EXPECT_TRUE(ink) << "hour " << hour;
    }
}

TEST_F(ScheduleEditorTest, PanelKeepsRulerLabelsAndFieldsLevelWithTheGrid)
{
    const char* days[] = {"Poniedzialek", "Wtorek", "Środa", "Czwartek", "Piątek", "Sobota", "Niedziela"};
    const int startNumbers[] = {15, 3, 5, 7, 9, 11, 13};
    const char* starts[] = {"08:00", "08:00", "08:00", "08:00", "08:00", "09:00", "00:00"};
    const char* ends[] = {"17:00", "17:00", "17:00", "17:00", "17:00", "13:00", "00:00"};
    for (int r = 0; r < Rows; ++r) {
        editor.PaintDayRow(r, starts[r], ends[r]);
        editor.setDayFields(r, starts[r], ends[r]);
    }
    auto* caption = editor.findChild<QLabel*>("Label38");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), "---");
    editor.setCaption(QString::fromUtf8("Szablon: Biuro"));
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));

    const QImage shot = editor.grab().toImage();
    if (const QString dir = qEnvironmentVariable("VALDRIX_SCREENSHOT_DIR"); !dir.isEmpty()) {
        QDir().mkpath(dir);
        EXPECT_TRUE(shot.save(QDir(dir).filePath("schedule-editor.png")));
    }

    auto rectIn = [&](QWidget* w) { return QRect(w->mapTo(&editor, QPoint(0, 0)), w->size()); };
    auto layoutSnapshot = [&] {
        std::vector<QRect> rects{rectIn(grid), rectIn(editor.ruler()), rectIn(editor.saveButton()), rectIn(caption)};
        for (int r = 0; r < Rows; ++r)
            for (QWidget* w : {static_cast<QWidget*>(editor.startField(r)), static_cast<QWidget*>(editor.endField(r))})
                rects.push_back(rectIn(w));
        return rects;
    };

    const QRect gridRect = rectIn(grid);
    const QRect rulerRect = rectIn(editor.ruler());
    EXPECT_EQ(rulerRect.left(), gridRect.left());
    EXPECT_EQ(rulerRect.bottom() + 1, gridRect.top());
    EXPECT_GT(rectIn(caption).top(), gridRect.bottom());

    for (int r = 0; r < Rows; ++r) {
        SCOPED_TRACE(testing::Message() << "row " << r);
        const int rowCentre = gridRect.top() + r * 21 + 10;
        auto* label = editor.findChild<QLabel*>(QString("Label%1").arg(20 + r));
        auto* start = editor.findChild<QLineEdit*>(QString("MaskEdit%1").arg(startNumbers[r]));
        auto* end = editor.findChild<QLineEdit*>(QString("MaskEdit%1").arg(startNumbers[r] + 1));
        ASSERT_TRUE(label && start && end);
        EXPECT_EQ(label->text(), QString::fromUtf8(days[r]));
        EXPECT_EQ(start, editor.startField(r));
        EXPECT_EQ(end, editor.endField(r));
        EXPECT_TRUE(start->isReadOnly());
        EXPECT_EQ(start->maxLength(), 5);
        EXPECT_TRUE(start->inputMask().isEmpty());
        for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(start), static_cast<QWidget*>(end)})
            EXPECT_LE(std::abs(rectIn(w).center().y() - rowCentre), 1) << w->objectName().toStdString();
        EXPECT_LT(rectIn(label).right(), gridRect.left());
        EXPECT_GT(rectIn(start).left(), rulerRect.right());
        EXPECT_GT(rectIn(end).left(), rectIn(start).right());
        EXPECT_GE(start->width(), start->fontMetrics().horizontalAdvance("00:00"));
    }
    // The save button sits under the hours, at their left edge (the page stays narrow).
    EXPECT_GT(rectIn(editor.saveButton()).top(), rectIn(editor.endField(Rows - 1)).bottom());
    EXPECT_EQ(rectIn(editor.saveButton()).left(), rectIn(editor.startField(0)).left());
    EXPECT_EQ(editor.saveButton()->objectName(), "Button11");
    EXPECT_EQ(editor.saveButton()->text(), QString::fromUtf8("Zapamiętaj zmiany"));

    // A larger page around the panel moves and stretches nothing.
    const auto before = layoutSnapshot();
    editor.resize(editor.size() + QSize(500, 300));
    QApplication::processEvents();
    EXPECT_EQ(layoutSnapshot(), before);
}
