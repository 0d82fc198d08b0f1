#include "access/ChangePreviewDialog.h"

#include "access/AccessRule.h"
#include "ui/Named.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

ChangePreviewDialog::ChangePreviewDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ChangePreviewDialog"));
    setWindowTitle(QStringLiteral("Skutki zmiany"));
    resize(640, 460);
    summary = named<QLabel>("PreviewSummary", this);
    summary->setTextFormat(Qt::PlainText);
    summary->setWordWrap(true);
    list = named<QTableWidget>("PreviewList", 0, 4, this);
    list->setHorizontalHeaderLabels({"Skutek", "Przejście", "Głowica", "Osoba"});
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->verticalHeader()->hide();
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 8);
    list->horizontalHeader()->setStretchLastSection(true);
    auto* note = new QLabel(QStringLiteral("Stan w tej chwili, w czasie każdego przejścia; nic nie zostało "
                                           "zmienione."),
                            this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(list, 1);
    layout->addWidget(note);
}

void ChangePreviewDialog::showText(const QString& what, const QString& text)
{
    summary->setText(what + QStringLiteral(": ") + text);
    list->setRowCount(0);
    show();
    raise();
}

void ChangePreviewDialog::showPreview(const QString& what, const ChangePreview& preview)
{
    summary->setText(what + QStringLiteral(": ") + preview.summary());
    list->setUpdatesEnabled(false);
    list->clearContents();
    list->setRowCount(static_cast<int>(preview.losses.size() + preview.gains.size()));
    int row = 0;
    for (const auto* entries : {&preview.losses, &preview.gains})
        for (const PreviewEntry& e : *entries) {
            const bool loses = entries == &preview.losses;
            auto* effect = new QTableWidgetItem(loses ? QStringLiteral("straci") : QStringLiteral("zyska"));
            effect->setForeground(loses ? QColor(0xb3, 0x26, 0x1e) : QColor(0x1b, 0x7f, 0x2a));
            list->setItem(row, 0, effect);
            list->setItem(row, 1, new QTableWidgetItem(e.passage));
            list->setItem(row, 2, new QTableWidgetItem(AccessRule::headName(e.head)));
            list->setItem(row, 3, new QTableWidgetItem(e.person));
            ++row;
        }
    list->resizeColumnsToContents();
    list->setUpdatesEnabled(true);
    show();
    raise();
}
