// The import's dry run on the page "Import": the forecast of every row of the
// preview grid in its Status cell, and the counts in one line.
#include "import/ImportPage.h"

#include "db/TDataModule3.h"
#include "import/ImportCheck.h"
#include "ui/StringGrid.h"

#include <QLabel>

void ImportPage::ImportCheckButtonClick()
{
    if (importing_)
        return;
    if (!m_.Quorvel.isOpen()) {
        ImportState->setText(QStringLiteral("Sprawdzenie pliku: brak połączenia z bazą – wybierz "
                                            "DATABASE → Connect."));
        return;
    }
    std::vector<ImportCheckRow> rows;
    for (int row = 1; row < StringGrid1->rowCount(); ++row)
        rows.push_back({StringGrid1->cells(1, row), StringGrid1->cells(2, row), StringGrid1->cells(3, row)});
    const ImportCheckResult result = ImportCheck::check(m_.Quorvel, rows);
    for (std::size_t i = 0; i < result.rows.size(); ++i)
        setStatus(static_cast<int>(i + 1), result.rows[i].status());
    QString summary = result.summary();
    if (chosenGroup().isEmpty())
        summary += QStringLiteral(" Nie wybrano grupy: „Importuj” nic nie zrobi, dopóki jej nie wybierzesz.");
    ImportState->setText(summary);
}
