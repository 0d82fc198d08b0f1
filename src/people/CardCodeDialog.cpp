#include "people/CardCodeDialog.h"

#include "people/CardCode.h"
#include "ui/Named.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const CardCode::WiegandLayout& layoutOf(int format)
{
    return format == CardCodeDialog::Wiegand26   ? CardCode::Wiegand26
           : format == CardCodeDialog::Wiegand34 ? CardCode::Wiegand34
                                                 : CardCode::Wiegand40;
}

}  // namespace

CardCodeDialog::CardCodeDialog(std::function<void(const QString&)> use, QWidget* parent)
    : QDialog(parent), use_(std::move(use))
{
    setObjectName(QStringLiteral("CardCodeDialog"));
    setWindowTitle(QStringLiteral("Przelicz kod karty"));
    resize(780, 470);

    format = named<QComboBox>("CardCodeFormat", this);
    format->addItems({QStringLiteral("Szesnastkowo"), QStringLiteral("Dziesiętnie"),
                      QStringLiteral("Wiegand 26 (FC 8 bitów + CN 16 bitów)"),
                      QStringLiteral("Wiegand 34 (FC 16 bitów + CN 16 bitów)"),
                      QStringLiteral("Wiegand 40 (FC 16 bitów + CN 22 bity)"),
                      QStringLiteral("Kod w systemie (odczyt wstecz)")});
    valueLabel = new QLabel(this);
    value = named<QLineEdit>("CardCodeValue", this);
    facilityLabel = new QLabel(this);
    facility = named<QLineEdit>("CardCodeFacility", this);
    cardLabel = new QLabel(this);
    card = named<QLineEdit>("CardCodeNumber", this);
    result = named<QLabel>("CardCodeResult", this);
    QFont large = result->font();
    large.setPointSizeF(large.pointSizeF() * 1.8);
    large.setBold(true);
    large.setFamily(QStringLiteral("monospace"));
    result->setFont(large);
    result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    error = named<QLabel>("CardCodeError", this);
    error->setStyleSheet(QStringLiteral("color: #b3261e;"));
    error->setWordWrap(true);
    error->setTextFormat(Qt::PlainText);   // quotes what was typed, as typed
    details = named<QPlainTextEdit>("CardCodeDetails", this);
    details->setReadOnly(true);
    details->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed = details->font();
    fixed.setFamily(QStringLiteral("monospace"));
    details->setFont(fixed);

    auto* fields = new QFormLayout();
    fields->addRow(QStringLiteral("Na karcie"), format);
    fields->addRow(valueLabel, value);
    fields->addRow(facilityLabel, facility);
    fields->addRow(cardLabel, card);
    fields->addRow(QStringLiteral("Kod w systemie"), result);

    auto* buttons = new QDialogButtonBox(this);
    useButton = buttons->addButton(QStringLiteral("Użyj"), QDialogButtonBox::AcceptRole);
    useButton->setObjectName(QStringLiteral("CardCodeUse"));
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setText(QStringLiteral("Zamknij"));
    connect(useButton, &QPushButton::clicked, this, &CardCodeDialog::UseClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(error);
    layout->addWidget(details, 1);
    layout->addWidget(buttons);

    connect(format, &QComboBox::currentIndexChanged, this, [this] {
        showFields();
        Convert();
    });
    for (QLineEdit* edit : {value, facility, card})
        connect(edit, &QLineEdit::textChanged, this, [this] { Convert(); });
    showFields();
    Convert();
}

// The fields the chosen format needs, each labelled with its allowed range.
void CardCodeDialog::showFields()
{
    const int f = format->currentIndex();
    const bool wiegand = f == Wiegand26 || f == Wiegand34 || f == Wiegand40;
    for (QWidget* w : {static_cast<QWidget*>(valueLabel), static_cast<QWidget*>(value)})
        w->setVisible(!wiegand);
    for (QWidget* w : {static_cast<QWidget*>(facilityLabel), static_cast<QWidget*>(facility),
                       static_cast<QWidget*>(cardLabel), static_cast<QWidget*>(card)})
        w->setVisible(wiegand);
    if (wiegand) {
        const CardCode::WiegandLayout& layout = layoutOf(f);
        facilityLabel->setText(QStringLiteral("%1 (0–%2)").arg(CardCode::FacilityField).arg(layout.maxFacility()));
        cardLabel->setText(QStringLiteral("%1 (0–%2)").arg(CardCode::CardField).arg(layout.maxCard()));
    } else if (f == Hex) {
        valueLabel->setText(CardCode::HexField + QStringLiteral(" (0–FFFFFFFFFF)"));
    } else if (f == Decimal) {
        valueLabel->setText(CardCode::DecimalField + QStringLiteral(" (0–%1)").arg(CardCode::MaxNumber));
    } else {
        valueLabel->setText(CardCode::StoredField + QStringLiteral(" (1–10 cyfr 0–9, A–F)"));
    }
}

QString CardCodeDialog::Convert()
{
    const int f = format->currentIndex();
    const bool wiegand = f == Wiegand26 || f == Wiegand34 || f == Wiegand40;
    const bool empty = wiegand ? facility->text().trimmed().isEmpty() && card->text().trimmed().isEmpty()
                               : value->text().trimmed().isEmpty();
    QString code;
    error->clear();
    if (!empty) {
        try {
            std::uint64_t number = 0;
            if (wiegand)
                number = CardCode::fromWiegand(layoutOf(f), facility->text(), card->text());
            else if (f == Hex)
                number = CardCode::fromHex(value->text());
            else if (f == Decimal)
                number = CardCode::fromDecimal(value->text());
            else
                number = CardCode::fromStoredCode(value->text().trimmed());
            code = CardCode::storedCode(number);
            details->setPlainText(CardCode::describe(number).join(QLatin1Char('\n')));
        } catch (const CardCode::InputError& e) {
            error->setText(e.message());
        }
    }
    if (code.isEmpty())
        details->clear();
    result->setText(code.isEmpty() ? QStringLiteral("—") : code);
    useButton->setEnabled(!code.isEmpty());
    return code;
}

void CardCodeDialog::UseClick()
{
    const QString code = Convert();
    if (code.isEmpty())
        return;
    use_(code);
    accept();
}
