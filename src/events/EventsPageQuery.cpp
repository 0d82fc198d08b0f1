// The event query with its filter and paging, and the watch's refresh of it.
#include "dataaccess/Errors.h"
#include "db/TDataModule3.h"
#include "db/Lookups.h"
#include "dataaccess/ConnectionSettings.h"
#include "events/EventExport.h"
#include "events/EventLog.h"
#include "events/EventsPage.h"
#include "events/WatchRefresh.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <errmsg.h>

namespace {

int integerText(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return Dataset::toInteger(bytes.constData(), static_cast<unsigned long>(bytes.size()));
}

template <typename Entry>
int idAt(const std::vector<Entry>& list, int index)
{
    return index >= 0 && index < static_cast<int>(list.size()) ? list[index].id : 0;
}

}  // namespace

void EventsPage::QueryEvents(int personId, int groupId, int deviceId, int eventType, int dateMode,
                             qint64 offset, int count, int mode, const QDate& from, const QDate& to,
                             const QString& fileName)
{
    if (!connected())
        return;
    const EventFilter filter{personId, groupId, deviceId, eventType, dateMode, from, to,
                             QDate::currentDate()};
    if (mode == 0)
        ++generation_;   // a watch refresh begun before this is outdated

    // The file exports count and write on a connection of their own, off the
    // GUI thread; the labels take their count when it arrives.
    if (mode == 2 || mode == 3) {
        if (exportRunning())
            return;
        Button30->setEnabled(false);
        Button31->setEnabled(false);
        showExportProgress(0, -1);
        ExportProgress->show();
        ExportStop->setEnabled(true);
        ExportStop->show();
        exportGeneration_ = generation_;
        export_->start({settingsOf(m_.Quorvel), filter, mode, fileName});
        return;
    }

    const EventCount counted = EventLog::CountEvents(m_, filter);
    showCount(counted.text);
    if (mode == 0)
        EventLog::ShowEventPage(m_, filter, offset, count, counted);
    else
        EventLog::RunExportStatement(m_, filter);
}

// The record count, and the page count as count div 100 + 1.
void EventsPage::showCount(const QString& count)
{
    Label61->setText(QStringLiteral("liczba rekordów: ") + count);
    Label62->setText(QString::number(count.toLongLong() / PageSize + 1));
}

EventsPage::ShownFilter EventsPage::shownFilter()
{
    const Lookups& lookups = context_.lookups;
    ShownFilter shown;
    EventFilter& f = shown.filter;
    f.from = DateTimePicker3->date();
    f.to = DateTimePicker4->date();
    f.today = QDate::currentDate();
    // No selected item reads entry 0 of the person list, and no group or passage.
    if (CheckBox11->isChecked())
        f.personId = idAt(lookups.PersonList, ComboBox9->currentIndex() + 1);
    if (CheckBox12->isChecked())
        f.groupId = idAt(lookups.GroupList, ComboBox10->currentIndex());
    if (CheckBox13->isChecked())
        f.deviceId = idAt(lookups.PassageList, ComboBox11->currentIndex());
    f.eventType = std::max(0, ComboBox12->currentIndex());
    if (RadioButton1->isChecked())
        f.dateMode = 1;
    if (RadioButton3->isChecked())
        f.dateMode = 2;

    int page = integerText(Edit18->text());
    // Pages count from 1: a lower number shows the first page, and says so.
    if (page < 1) {
        page = 1;
        Edit18->setText(QStringLiteral("1"));
    }
    shown.offset = (static_cast<qint64>(page) - 1) * PageSize;
    return shown;
}

// "Filtruj": the current filter for the current page.
void EventsPage::Button27Click()
{
    if (!connected())
        return;
    const ShownFilter shown = shownFilter();
    const EventFilter& f = shown.filter;
    QueryEvents(f.personId, f.groupId, f.deviceId, f.eventType, f.dateMode, shown.offset, PageSize,
                0, f.from, f.to, QString());
}

void EventsPage::BitBtn1Click()
{
    Edit18->setText(QStringLiteral("1"));
    Button27Click();
}

// On page 1 it shows page 1 again.
void EventsPage::BitBtn2Click()
{
    const int page = integerText(Edit18->text());
    if (page > 1)
        Edit18->setText(QString::number(page - 1));
    Button27Click();
}

// On the last page it does nothing at all.
void EventsPage::BitBtn3Click()
{
    const int page = integerText(Edit18->text());
    if (page >= integerText(Label62->text()))
        return;
    Edit18->setText(QString::number(page + 1));
    Button27Click();
}

void EventsPage::BitBtn4Click()
{
    Edit18->setText(Label62->text());
    Button27Click();
}

void EventsPage::Edit18Click() { Button27Click(); }

void EventsPage::refreshForWatch()
{
    if (!connected())
        return;
    const ShownFilter shown = shownFilter();
    watch_->start({generation_, settingsOf(m_.Quorvel), shown.filter, shown.offset, PageSize});
}

void EventsPage::waitForWatchRefresh() { watch_->waitUntilIdle(); }

// The watch's rows, shown in the order and with the effects of "Filtruj": the
// count in SQL and the two labels, then the page in Events, whose row number stays.
void EventsPage::applyWatchReply(WatchReply& reply)
{
    const WatchRequest& r = reply.request;
    const Connection& c = m_.Quorvel;
    // The operator queried since, or the connection was closed or pointed elsewhere.
    if (r.generation != generation_ || !c.isOpen() || r.settings != settingsOf(c))
        return;

    auto fail = [&] {
        // As if the statement had failed on the window's own connection.
        if (reply.errorCode == CR_SERVER_LOST || reply.errorCode == CR_SERVER_GONE_ERROR)
            m_.Quorvel.closeIfDead();
        if (m_.Quorvel.onError)
            m_.Quorvel.onError(reply.error);
        throw DatabaseError(reply.error, reply.errorCode);
    };
    if (!reply.count)
        fail();
    m_.SQL.assign(reply.countStatement, reply.count.release());
    showCount(m_.SQL.textAt(0));
    if (!reply.page)
        fail();
    const int recordNo = m_.Events.recordNo();
    m_.Events.assign(reply.pageStatement, reply.page.release());
    m_.Events.setRecordNo(recordNo);
}
