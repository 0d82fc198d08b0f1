// The buttons of "Eksport wyfiltrowanych zdarzeń": all events of the filter, not
// only the page shown, into a file chosen by the operator.
#include "events/EventsPage.h"

#include "db/TDataModule3.h"
#include "events/EventExport.h"
#include "text/PolishPlural.h"
#include "ui/Dialogs.h"

#include <QProgressBar>
#include <QPushButton>

#include <limits>

void EventsPage::exportEvents(int mode, const QString& filter, const QString& suffix,
                              const QString& preset)
{
    if (!connected() || exportRunning())
        return;
    const QString fileName = context_.dialogs.saveFileName(filter, suffix, preset);
    if (fileName.isEmpty())
        return;
    const ShownFilter shown = shownFilter();
    const EventFilter& f = shown.filter;
    QueryEvents(f.personId, f.groupId, f.deviceId, f.eventType, f.dateMode, shown.offset, PageSize,
                mode, f.from, f.to, fileName);
}

void EventsPage::Button30Click()
{
    exportEvents(2, QStringLiteral("CSV|csv"), QStringLiteral("csv"), QString());
}

void EventsPage::Button31Click()
{
    exportEvents(3, QStringLiteral("XML|xml"), QStringLiteral("xml"), QString());
}

// The spreadsheet export runs the query and writes no file; its button is hidden.
void EventsPage::Button29Click()
{
    exportEvents(1, QStringLiteral("XLSX|xlsx"), QString(), QStringLiteral("export_valdrix"));
}

void EventsPage::ExportStopClick()
{
    if (!exportRunning())
        return;
    export_->stop();
    ExportStop->setEnabled(false);
}

bool EventsPage::exportRunning() const { return export_->running(); }

void EventsPage::waitForExport() { export_->waitUntilDone(); }

// The worker's count comes first and sets the labels; then the bar moves.
void EventsPage::showExportProgress(qint64 written, qint64 total)
{
    constexpr qint64 Largest = std::numeric_limits<int>::max();
    if (total < 0) {
        ExportProgress->setRange(0, 0);
    } else {
        ExportProgress->setRange(0, static_cast<int>(std::min(total, Largest)));
        ExportProgress->setValue(static_cast<int>(std::min(written, Largest)));
    }
    ExportProgress->setFormat(QStringLiteral("zapisano %1 z %2 zdarzeń").arg(written).arg(std::max<qint64>(total, 0)));
}

void EventsPage::exportFinished(const ExportOutcome& outcome)
{
    ExportProgress->hide();
    ExportStop->hide();
    Button30->setEnabled(true);
    Button31->setEnabled(true);
    const QString& file = outcome.request.fileName;
    if (outcome.failure)
        std::rethrow_exception(outcome.failure);
    if (outcome.stopped)
        emit context_.pageSignals.statusMessage(
            QStringLiteral("Eksport przerwany: plik %1 pozostał bez zmian").arg(file));
    else
        emit context_.pageSignals.statusMessage(
            QStringLiteral("Zapisano %1 do pliku %2").arg(countOf(outcome.written, "zdarzenie", "zdarzenia", "zdarzeń"), file));
}
