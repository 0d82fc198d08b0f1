// The buttons of "Eksport wyfiltrowanych zdarzeń": all events of the filter, not
// only the page shown, into a file chosen by the operator.
#include "events/EventsPage.h"
#include "ui/Dialogs.h"

void EventsPage::exportEvents(int mode, const QString& filter, const QString& suffix,
                              const QString& preset)
{
    if (!connected())
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
