#pragma once

#include "access/Reach.h"

#include <QDialog>

class QLabel;
class QTableWidget;

// The window "Skutki zmiany": who would gain and who would lose passage if the
// change beside whose button it was asked were made now. Shows only; the change
// itself stays with its own button.
class ChangePreviewDialog : public QDialog {
    Q_OBJECT
public:
    explicit ChangePreviewDialog(QWidget* parent);

    // `what` names the change ("Usunięcie grupy „Biuro”").
    void showPreview(const QString& what, const ChangePreview& preview);
    void showText(const QString& what, const QString& text);

    QLabel* summary = nullptr;      // "PreviewSummary"
    QTableWidget* list = nullptr;   // "PreviewList": straci/zyska, passage, head, person
};
