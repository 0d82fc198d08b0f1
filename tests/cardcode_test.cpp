// The card-code converter: known cards in every printed form, the Wiegand frames
// and their parity, refused input, and its window beside the code field.
#include "people/CardCode.h"
#include "people/CardCodeDialog.h"
#include "people/UsersPage.h"
#include "support/AppFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

using namespace CardCode;

namespace {

QString refusal(const std::function<void()>& conversion)
{
    try {
        conversion();
    } catch (const InputError& e) {
        return e.message();
    }
    return QStringLiteral("(accepted)");
}

TEST(CardCodeTest, KnownCardsInEveryForm)
{
    // Facility 12, card 34567: 12 * 65536 + 34567 = 820999 = 0xC8707.
    EXPECT_EQ(storedCode(fromWiegand(Wiegand26, "12", "34567")), "00000C8707");
    EXPECT_EQ(storedCode(fromWiegand(Wiegand34, "12", "34567")), "00000C8707");
    EXPECT_EQ(storedCode(fromDecimal("820999")), "00000C8707");
    EXPECT_EQ(storedCode(fromDecimal("0000820999")), "00000C8707");   // as printed, with zeros
    EXPECT_EQ(storedCode(fromHex("c8707")), "00000C8707");
    EXPECT_EQ(storedCode(fromHex("0x00 0C 87 07")), "00000C8707");
    EXPECT_EQ(fromStoredCode("00000c8707"), 820999u);
    // Wiegand 40 puts the card number in 22 bits: the same number reads FC 0.
    EXPECT_EQ(fromWiegand(Wiegand40, "0", "820999"), 820999u);
    EXPECT_EQ(storedCode(fromWiegand(Wiegand40, "3", "5")), "0000C00005");   // 3 << 22 | 5

    EXPECT_EQ(storedCode(fromWiegand(Wiegand26, "255", "65535")), "0000FFFFFF");
    EXPECT_EQ(storedCode(fromWiegand(Wiegand34, "65535", "65535")), "00FFFFFFFF");
    EXPECT_EQ(storedCode(fromWiegand(Wiegand40, "65535", "4194303")), "3FFFFFFFFF");
    EXPECT_EQ(storedCode(fromDecimal("1099511627775")), "FFFFFFFFFF");
    EXPECT_EQ(storedCode(0), "0000000000");

    const QStringList lines = describe(820999);
    EXPECT_EQ(lines.mid(0, 3), QStringList({"Kod w systemie: 00000C8707", "Szesnastkowo: C8707",
                                            QString::fromUtf8("Dziesiętnie: 820999")}));
    EXPECT_EQ(lines[3], QString::fromUtf8("Wiegand 26: kod obiektu (FC) 12, numer karty (CN) 34567"));
    // 00001100 1000 holds three ones: the even parity bit is 1; 0111 00000111
    // holds six: the odd parity bit is 1.
    EXPECT_EQ(lines[4], QString::fromUtf8("  ramka 26 bitów (P | FC 8 | CN 16 | P): "
                                          "1 00001100 1000011100000111 1"));
    EXPECT_EQ(lines[5], QString::fromUtf8("  bit 1 = 1: parzystość parzysta (bity 2–13 mają "
                                          "3 jedynki, z tym bitem 4 – parzyście)"));
    EXPECT_EQ(lines[6], QString::fromUtf8("  bit 26 = 1: parzystość nieparzysta (bity 14–25 mają "
                                          "6 jedynek, z tym bitem 7 – nieparzyście)"));
    EXPECT_TRUE(lines.contains(QString::fromUtf8("Wiegand 40: kod obiektu (FC) 0, numer karty (CN) 820999")));

    // The counts agree with their numbers: "mają 1 jedynkę", "0 jedynek", "34 bitów".
    const QStringList one = describe(fromWiegand(Wiegand26, "1", "0"));
    EXPECT_TRUE(one.contains(QString::fromUtf8("  bit 1 = 1: parzystość parzysta (bity 2–13 mają "
                                               "1 jedynkę, z tym bitem 2 – parzyście)")))
        << one.join('\n').toStdString();
    EXPECT_TRUE(one.contains(QString::fromUtf8("  bit 26 = 1: parzystość nieparzysta (bity 14–25 mają "
                                               "0 jedynek, z tym bitem 1 – nieparzyście)")))
        << one.join('\n').toStdString();
    EXPECT_TRUE(one.filter(QString::fromUtf8("ramka 34 bitów (P | FC 16 | CN 16 | P)")).size() == 1)
        << one.join('\n').toStdString();

    // A card of all zeros still carries an odd parity bit of 1.
    EXPECT_EQ(wiegandFrame(Wiegand26, 0).bits, "0 00000000 0000000000000000 1");
    EXPECT_EQ(wiegandFrame(Wiegand26, 0xFFFFFF).bits, "0 11111111 1111111111111111 1");
}

TEST(CardCodeTest, FramesCarryTheDataAndTheirParityHolds)
{
    QRandomGenerator random(2024);
    for (const WiegandLayout* layout : WiegandLayouts) {
        for (int i = 0; i < 200; ++i) {
            const std::uint64_t number = random.generate64() >> (64 - layout->dataBits());
            const WiegandFrame frame = wiegandFrame(*layout, number);
            ASSERT_TRUE(frame.fits);
            const QString bits = QString(frame.bits).remove(QLatin1Char(' '));
            ASSERT_EQ(bits.size(), layout->frameBits) << layout->name;
            const QString data = bits.mid(1, layout->dataBits());
            EXPECT_EQ(data.toULongLong(nullptr, 2), number);
            const int half = layout->dataBits() / 2;
            EXPECT_EQ((bits.left(1 + half).count('1')) % 2, 0) << layout->name << " " << number;
            EXPECT_EQ((bits.mid(1 + half).count('1')) % 2, 1) << layout->name << " " << number;
            EXPECT_EQ(fromWiegand(*layout, QString::number(frame.facility), QString::number(frame.card)),
                      number);
        }
        EXPECT_FALSE(wiegandFrame(*layout, std::uint64_t(1) << layout->dataBits()).fits);
    }
    EXPECT_TRUE(describe(1u << 24).contains(
        QString::fromUtf8("Wiegand 26: nie mieści się w 24 bitach danych (największy numer to 16777215)")));
}

TEST(CardCodeTest, RefusalsNameTheFieldAndTheRange)
{
    EXPECT_EQ(refusal([] { fromWiegand(Wiegand26, "256", "1"); }),
              QString::fromUtf8("Pole „Kod obiektu (FC)”: dozwolona liczba dziesiętna od 0 do 255 "
                                "(wpisano „256”)."));
    EXPECT_EQ(refusal([] { fromWiegand(Wiegand26, "1", "65536"); }),
              QString::fromUtf8("Pole „Numer karty (CN)”: dozwolona liczba dziesiętna od 0 do 65535 "
                                "(wpisano „65536”)."));
    EXPECT_TRUE(refusal([] { fromWiegand(Wiegand34, "65536", "0"); }).contains("od 0 do 65535"));
    EXPECT_TRUE(refusal([] { fromWiegand(Wiegand40, "0", "4194304"); }).contains("od 0 do 4194303"));
    EXPECT_TRUE(refusal([] { fromWiegand(Wiegand26, "-1", "0"); }).contains("Kod obiektu (FC)"));
    EXPECT_EQ(refusal([] { fromWiegand(Wiegand26, " ", "0"); }),
              QString::fromUtf8("Pole „Kod obiektu (FC)” jest puste: dozwolona liczba dziesiętna "
                                "od 0 do 255."));
    EXPECT_TRUE(refusal([] { fromDecimal("1099511627776"); })
                    .startsWith(QString::fromUtf8("Pole „Numer dziesiętny”: dozwolona liczba "
                                                  "dziesiętna od 0 do 1099511627775")));
    EXPECT_TRUE(refusal([] { fromDecimal("99999999999999999999999"); }).contains("Numer dziesiętny"));
    EXPECT_TRUE(refusal([] { fromDecimal("12a"); }).contains("Numer dziesiętny"));
    EXPECT_TRUE(refusal([] { fromHex("10000000000"); }).contains("od 0 do FFFFFFFFFF"));
    EXPECT_TRUE(refusal([] { fromHex("G1"); }).contains(QString::fromUtf8("Pole „Kod szesnastkowy”")));
    EXPECT_TRUE(refusal([] { fromHex("0x"); }).contains("Kod szesnastkowy"));
    EXPECT_TRUE(refusal([] { fromStoredCode("00000C870Z"); }).contains(QString::fromUtf8("Pole „Kod w systemie”")));
    EXPECT_TRUE(refusal([] { fromStoredCode("000000C8707"); }).contains("od 1 do 10 cyfr"));
    EXPECT_TRUE(refusal([] { fromStoredCode(""); }).contains("jest puste"));
}

// The window beside the code field hands its code to the field, and Enter stores it.
class CardCodeWindowTest : public AppTest {};

TEST_F(CardCodeWindowTest, UseFillsTheCodeFieldWhichEnterStores)
{
    sql("INSERT INTO USERS (ID_GROUP, FIRST_NAME, NAME) VALUES (1, 'Jan', 'Kowalski')");
    createForm();
    connectDatabase();
    UsersPage* page = form->usersPage();
    click("CardCodeButton");
    CardCodeDialog* dialog = page->cardCodeDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->useButton->isEnabled());

    dialog->format->setCurrentIndex(CardCodeDialog::Wiegand26);
    EXPECT_TRUE(dialog->facility->isVisibleTo(dialog));
    EXPECT_FALSE(dialog->value->isVisibleTo(dialog));
    dialog->facility->setText("300");
    dialog->card->setText("34567");
    EXPECT_TRUE(dialog->error->text().contains(QString::fromUtf8("„Kod obiektu (FC)”: dozwolona liczba "
                                                                 "dziesiętna od 0 do 255")));
    EXPECT_FALSE(dialog->useButton->isEnabled());
    // What was typed is quoted as typed, never taken for markup.
    dialog->facility->setText("<b>%1</b>");
    EXPECT_TRUE(dialog->error->text().endsWith(QString::fromUtf8("(wpisano „<b>%1</b>”).")))
        << dialog->error->text().toStdString();
    EXPECT_EQ(dialog->error->textFormat(), Qt::PlainText);
    dialog->facility->setText("12");
    EXPECT_EQ(dialog->result->text(), "00000C8707");
    EXPECT_TRUE(dialog->error->text().isEmpty());
    EXPECT_TRUE(dialog->details->toPlainText().contains("1 00001100 1000011100000111 1"));

    dialog->useButton->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(page->Edit13->text(), "00000C8707");
    QTest::keyClick(page->Edit13, Qt::Key_Return);
    expectNothingShown();
    EXPECT_EQ(scalar("SELECT CODE FROM CARDS"), "00000C8707");
    EXPECT_EQ(scalarInt("SELECT ID_USER_FK FROM CARDS"), scalarInt("SELECT ID_USER FROM USERS"));

    // Reading a stored code back.
    click("CardCodeButton");
    dialog->format->setCurrentIndex(CardCodeDialog::Stored);
    dialog->value->setText("00000c8707");
    EXPECT_EQ(dialog->result->text(), "00000C8707");
    EXPECT_TRUE(dialog->details->toPlainText().contains("Wiegand 34: kod obiektu (FC) 12, numer karty (CN) 34567"));
}

}  // namespace
