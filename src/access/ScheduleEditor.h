#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// The quarter-hour raster of a day: entry k (0 … 95) is k × 15 minutes as "HH:MM",
// entry 96 is "23:59", the end of the day. Slot k begins at entry k.
extern const std::array<QString, 97> TimeLabels;

// The week grid DrawGrid1: 96 quarter-hour columns by 7 day rows (Monday first).
// Cells are 5 × 20 pixels with 1-pixel grid lines after each cell, so cell (c, r)
// covers x = c*6 … c*6+4 and y = r*21 … r*21+19. Each cell shows the colour last
// painted into it; a cell never painted shows a plain white background.
class ScheduleGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int Columns = 96;
    static constexpr int Rows = 7;
    static constexpr int CellWidth = 5;
    static constexpr int CellHeight = 20;
    static constexpr int ColumnPitch = CellWidth + 1;
    static constexpr int RowPitch = CellHeight + 1;

    explicit ScheduleGrid(QWidget* parent = nullptr);

    void paintCell(int col, int row, const QColor& colour);
    std::optional<QColor> cellColor(int col, int row) const;

    // The cell under a pixel, or (-1, -1) when the pixel is outside the grid.
    // A grid line belongs to the cell left of / above it (it is one pixel away),
    // so every pixel inside the widget hits a cell.
    QPoint cellAt(QPoint pixel) const;

signals:
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pixel);
    void mouseMoved(Qt::KeyboardModifiers modifiers, QPoint pixel);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pixel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::array<std::array<std::optional<QColor>, Columns>, Rows> colours_;
};

// The hour ruler Image3 above the grid: hours 0 … 23 over a tick scale with a long
// tick each hour and a short one each quarter hour. The tick of quarter k is at
// x = k*6, over the left edge of grid column k; the background is left transparent.
class HourRuler : public QWidget {
    Q_OBJECT
public:
    static constexpr int Width = 581;
    static constexpr int Height = 47;

    explicit HourRuler(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The schedule editor panel: ruler, grid, day labels, the 14 read-only time fields,
// the save button and the caption. The grid is edited with the mouse only; a drag
// rewrites ScheduleBuffer, which is then shown in the grid and in the fields.
// The fields, not the grid, are what the owner saves.
class ScheduleEditor : public QWidget {
    Q_OBJECT
public:
    explicit ScheduleEditor(QWidget* parent = nullptr);

    // Paints one day row from a template's start and end texts (exact matches
    // against TimeLabels; texts matching no label are painted by the same rule).
    void PaintDayRow(int row, const QString& start, const QString& end);
    // Shows ScheduleBuffer in all seven rows of the grid and in all 14 fields.
    void RepaintSchedule();
    // Rewrites the rows from the press row to the current row with the run from the
    // press column to the current column.
    void ApplyDragRectangle();

    // The grid's mouse handlers; button and modifiers are not used. x and y are
    // pixels in the grid.
    void DrawGrid1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void DrawGrid1MouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void DrawGrid1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

    QString startText(int row) const;
    QString endText(int row) const;
    // Sets a row's fields to the texts exactly as given, malformed or empty ones too.
    void setDayFields(int row, const QString& start, const QString& end);
    void setCaption(const QString& text);

    // The colour last painted into a cell; invalid when never painted.
    QColor cellColor(int col, int row) const;

    ScheduleGrid* grid() const { return grid_; }
    HourRuler* ruler() const { return ruler_; }
    QPushButton* saveButton() const { return saveButton_; }
    // Places a control of the page under "Zapamiętaj zmiany".
    void addBesideSave(QWidget* widget);
    QLineEdit* startField(int row) const { return startFields_.at(row); }
    QLineEdit* endField(int row) const { return endFields_.at(row); }
    const auto& scheduleBuffer() const { return ScheduleBuffer; }
    bool dragging() const { return dragging_; }

    // Whether the fields describe a schedule: a template row was loaded, or the
    // mouse drew one, since the last load that found no row. Saving needs one.
    bool holdsSchedule() const { return holdsSchedule_; }
    void setHoldsSchedule(bool holds) { holdsSchedule_ = holds; }

private:
    ScheduleGrid* grid_ = nullptr;
    HourRuler* ruler_ = nullptr;
    QLabel* caption_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    std::array<QLineEdit*, ScheduleGrid::Rows> startFields_{};
    std::array<QLineEdit*, ScheduleGrid::Rows> endFields_{};

    // Set slots are inside the day's period. Only the mouse changes it; loading a
    // template does not, so it keeps its contents for the program's lifetime.
    std::array<std::array<bool, ScheduleGrid::Columns>, ScheduleGrid::Rows> ScheduleBuffer{};
    bool dragging_ = false;
    bool holdsSchedule_ = false;
    QPoint pressCell_{0, 0};     // always a real cell
    QPoint currentCell_{0, 0};   // (-1, -1) while the pointer is outside the cells
};
