#include "access/ScheduleEditor.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

const std::array<QString, 97> TimeLabels = [] {
    std::array<QString, 97> labels;
    for (int k = 0; k < 96; ++k) {
        const int minutes = k * 15;
        labels[k] = QStringLiteral("%1:%2")
                        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    }
    labels[96] = QStringLiteral("23:59");
    return labels;
}();

namespace {

const QColor Green(0, 255, 0);
const QColor Blue(0, 0, 255);
const QColor GridLineColour(192, 192, 192);
const QColor UnpaintedColour(Qt::white);

bool validCell(int col, int row)
{
    return col >= 0 && col < ScheduleGrid::Columns && row >= 0 && row < ScheduleGrid::Rows;
}

} // namespace

// ---------------------------------------------------------------------------
// ScheduleGrid

ScheduleGrid::ScheduleGrid(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("DrawGrid1"));
    // 576 × 146: a grid line after every column, but only between the rows.
    setFixedSize(Columns * ColumnPitch, Rows * RowPitch - 1);
    // No mouse tracking: moves matter only while a button is held, and Qt delivers
    // those to the pressed widget anyway.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScheduleGrid::paintCell(int col, int row, const QColor& colour)
{
    if (!validCell(col, row))
        return;
    colours_[row][col] = colour;
    update(col * ColumnPitch, row * RowPitch, CellWidth, CellHeight);
}

std::optional<QColor> ScheduleGrid::cellColor(int col, int row) const
{
    if (!validCell(col, row))
        return std::nullopt;
    return colours_[row][col];
}

QPoint ScheduleGrid::cellAt(QPoint pixel) const
{
    if (pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= width() || pixel.y() >= height())
        return {-1, -1};
    return {pixel.x() / ColumnPitch, pixel.y() / RowPitch};
}

void ScheduleGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The grid lines are what shows between the cells.
    painter.fillRect(rect(), GridLineColour);
    for (int row = 0; row < Rows; ++row) {
        for (int col = 0; col < Columns; ++col) {
            const auto& colour = colours_[row][col];
            // Fill and outline in one colour: the cell is solid.
            painter.fillRect(col * ColumnPitch, row * RowPitch, CellWidth, CellHeight,
                             colour ? *colour : UnpaintedColour);
        }
    }
}

void ScheduleGrid::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(event->button(), event->modifiers(), event->position().toPoint());
}

void ScheduleGrid::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->modifiers(), event->position().toPoint());
}

void ScheduleGrid::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseReleased(event->button(), event->modifiers(), event->position().toPoint());
}

// ---------------------------------------------------------------------------
// HourRuler

HourRuler::HourRuler(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Image3"));
    setFixedSize(Width, Height);
    // Nothing is filled: the page shows through between ticks and numbers.
    setAutoFillBackground(false);
}

void HourRuler::paintEvent(QPaintEvent*)
{
    constexpr int bottom = Height - 1;
    constexpr int longTick = 14;
    constexpr int shortTick = 6;
    constexpr int numberGap = 2;   // between a number and the top of its tick

    QPainter painter(this);
    const QColor ink(Qt::black);

    // The scale's base line, from the start of the day to its end (x = 96 × 6).
    const int dayEnd = ScheduleGrid::Columns * ScheduleGrid::ColumnPitch;
    painter.fillRect(0, bottom, dayEnd + 1, 1, ink);
    // One tick per quarter hour and a closing one at the end of the day.
    for (int k = 0; k <= ScheduleGrid::Columns; ++k) {
        const int length = k % 4 == 0 ? longTick : shortTick;
        painter.fillRect(k * ScheduleGrid::ColumnPitch, bottom - length + 1, 1, length, ink);
    }

    // A fixed pixel size, since the picture itself has a fixed size.
    QFont numberFont = font();
    numberFont.setPixelSize(10);
    painter.setFont(numberFont);
    painter.setPen(ink);
    const QFontMetrics metrics(numberFont);
    const int baseline = bottom - longTick - numberGap;
    for (int hour = 0; hour < 24; ++hour) {
        const QString text = QString::number(hour);
        const int tick = hour * 4 * ScheduleGrid::ColumnPitch;
        // Centred over the tick; "0" is kept inside the picture.
        const int left = std::max(0, tick - metrics.horizontalAdvance(text) / 2);
        painter.drawText(left, baseline, text);
    }
}

// ---------------------------------------------------------------------------
// ScheduleEditor

namespace {

// A column of seven widgets, one per grid row: 20 pixels high with 1 pixel between,
// so that each sits level with its row of the grid.
QVBoxLayout* rowColumn()
{
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(ScheduleGrid::RowPitch - ScheduleGrid::CellHeight);
    column->setAlignment(Qt::AlignTop);
    return column;
}

QLineEdit* timeField(const QString& name, QWidget* parent)
{
    auto* field = new QLineEdit(QStringLiteral("00:00"), parent);
    field->setObjectName(name);
    // No input mask: the texts are shown exactly as a template holds them.
    field->setReadOnly(true);
    field->setMaxLength(5);
    const int textWidth = field->fontMetrics().horizontalAdvance(QStringLiteral("00:00"));
    field->setFixedSize(textWidth + 14, ScheduleGrid::CellHeight);
    return field;
}

} // namespace

ScheduleEditor::ScheduleEditor(QWidget* parent)
    : QWidget(parent)
{
    static const char* const dayLabelNames[ScheduleGrid::Rows] = {
        "Label20", "Label21", "Label22", "Label23", "Label24", "Label25", "Label26"};
    static const char* const dayTexts[ScheduleGrid::Rows] = {
        "Poniedzialek", "Wtorek", "Środa", "Czwartek", "Piątek", "Sobota", "Niedziela"};
    static const int startFieldNumbers[ScheduleGrid::Rows] = {15, 3, 5, 7, 9, 11, 13};
    static const int endFieldNumbers[ScheduleGrid::Rows] = {16, 4, 6, 8, 10, 12, 14};

    ruler_ = new HourRuler(this);
    grid_ = new ScheduleGrid(this);

    auto* labels = rowColumn();
    auto* starts = rowColumn();
    auto* ends = rowColumn();
    for (int row = 0; row < ScheduleGrid::Rows; ++row) {
        auto* label = new QLabel(QString::fromUtf8(dayTexts[row]), this);
        label->setObjectName(QString::fromLatin1(dayLabelNames[row]));
        label->setFixedHeight(ScheduleGrid::CellHeight);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        labels->addWidget(label);

        startFields_[row] = timeField(QStringLiteral("MaskEdit%1").arg(startFieldNumbers[row]), this);
        endFields_[row] = timeField(QStringLiteral("MaskEdit%1").arg(endFieldNumbers[row]), this);
        starts->addWidget(startFields_[row]);
        ends->addWidget(endFields_[row]);
    }

    saveButton_ = new QPushButton(QStringLiteral("Zapamiętaj zmiany"), this);
    saveButton_->setObjectName(QStringLiteral("Button11"));

    caption_ = new QLabel(QStringLiteral("---"), this);
    caption_->setObjectName(QStringLiteral("Label38"));
    caption_->setTextFormat(Qt::PlainText);   // a template's name, shown as stored

    // Ruler directly on top of the grid, both at the same left edge; everything keeps
    // its size and place when the page around grows (the last row and column stretch).
    auto* layout = new QGridLayout(this);
    layout->setVerticalSpacing(0);
    layout->setHorizontalSpacing(6);
    layout->addWidget(ruler_, 0, 1, Qt::AlignLeft | Qt::AlignBottom);
    layout->addLayout(labels, 1, 0);
    layout->addWidget(grid_, 1, 1, Qt::AlignLeft | Qt::AlignTop);
    layout->addLayout(starts, 1, 2);
    layout->addLayout(ends, 1, 3);
    // Under the hours, not beside them: the page fits a 1024-pixel screen.
    layout->addWidget(saveButton_, 2, 2, 1, 3, Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(caption_, 2, 1, Qt::AlignLeft | Qt::AlignTop);
    layout->setRowMinimumHeight(2, 24);
    layout->setColumnStretch(5, 1);
    layout->setRowStretch(3, 1);

    connect(grid_, &ScheduleGrid::mousePressed, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pixel) {
                DrawGrid1MouseDown(button, modifiers, pixel.x(), pixel.y());
            });
    connect(grid_, &ScheduleGrid::mouseMoved, this,
            [this](Qt::KeyboardModifiers modifiers, QPoint pixel) {
                DrawGrid1MouseMove(modifiers, pixel.x(), pixel.y());
            });
    connect(grid_, &ScheduleGrid::mouseReleased, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pixel) {
                DrawGrid1MouseUp(button, modifiers, pixel.x(), pixel.y());
            });
}

void ScheduleEditor::PaintDayRow(int row, const QString& start, const QString& end)
{
    QColor colour = Blue;
    for (int i = 0; i < ScheduleGrid::Columns; ++i) {
        // Start before end within a column: equal start and end leave the row blue.
        if (start == TimeLabels[i])
            colour = Green;
        if (end == TimeLabels[i])
            colour = Blue;
        grid_->paintCell(i, row, colour);
    }
}

void ScheduleEditor::RepaintSchedule()
{
    for (int r = 0; r < ScheduleGrid::Rows; ++r) {
        const auto& daySlots = ScheduleBuffer[r];
        bool empty = true;
        QString start = startFields_[r]->text();
        QString end = endFields_[r]->text();
        for (int j = 0; j < ScheduleGrid::Columns; ++j) {
            if (daySlots[j] && (j == 0 || !daySlots[j - 1]))
                start = TimeLabels[j];
            if (j > 0 && !daySlots[j] && daySlots[j - 1])
                end = TimeLabels[j];
            if (daySlots[ScheduleGrid::Columns - 1])
                end = TimeLabels[96];
            if (daySlots[j])
                empty = false;
            grid_->paintCell(j, r, daySlots[j] ? Green : Blue);
        }
        if (empty)
            start = end = TimeLabels[0];
        startFields_[r]->setText(start);
        endFields_[r]->setText(end);
    }
    holdsSchedule_ = true;
}

void ScheduleEditor::ApplyDragRectangle()
{
    // A drag that ends above its press row changes nothing (nor does a release
    // outside the cells, whose row is -1).
    if (currentCell_.y() < pressCell_.y())
        return;
    for (int r = pressCell_.y(); r <= currentCell_.y(); ++r) {
        auto& daySlots = ScheduleBuffer[r];
        daySlots.fill(false);
        // Ending left of the press column leaves the rows cleared.
        for (int c = pressCell_.x(); c <= currentCell_.x(); ++c)
            daySlots[c] = true;
    }
}

void ScheduleEditor::DrawGrid1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)
{
    const QPoint cell = grid_->cellAt(QPoint(x, y));
    if (cell.x() < 0 || cell.y() < 0)
        return;
    pressCell_ = cell;
    dragging_ = true;
}

void ScheduleEditor::DrawGrid1MouseMove(Qt::KeyboardModifiers, int x, int y)
{
    if (!dragging_)
        return;
    currentCell_ = grid_->cellAt(QPoint(x, y));
    ApplyDragRectangle();
    RepaintSchedule();
}

void ScheduleEditor::DrawGrid1MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)
{
    // Not conditional on a drag: the release always applies and repaints.
    currentCell_ = grid_->cellAt(QPoint(x, y));
    dragging_ = false;
    ApplyDragRectangle();
    RepaintSchedule();
}

QString ScheduleEditor::startText(int row) const
{
    return startFields_.at(row)->text();
}

QString ScheduleEditor::endText(int row) const
{
    return endFields_.at(row)->text();
}

void ScheduleEditor::setDayFields(int row, const QString& start, const QString& end)
{
    startFields_.at(row)->setText(start);
    endFields_.at(row)->setText(end);
}

void ScheduleEditor::setCaption(const QString& text)
{
    caption_->setText(text);
}

QColor ScheduleEditor::cellColor(int col, int row) const
{
    return grid_->cellColor(col, row).value_or(QColor());
}

void ScheduleEditor::addBesideSave(QWidget* widget)
{
    static_cast<QGridLayout*>(layout())->addWidget(widget, 3, 2, 1, 3, Qt::AlignLeft | Qt::AlignTop);
}
