#include "devices/TimeZones.h"

// The texts are shown and compared exactly, blanks included.
const QStringList& TimeZoneTexts()
{
    static const QStringList texts = {
        QStringLiteral("(GMT-12:00) linia zmiany daty - Zachód"),
        QStringLiteral("(GMT-11:00) Wyspa Midway, Samoa"),
        QStringLiteral("(GMT-10:00) Hawaje"),
        QStringLiteral("(GMT-9:00) Alaska"),
        QStringLiteral("(GMT-8:00) Stany Zjednoczone (czas pacyficzny)"),
        QStringLiteral("(GMT-7:00) Stany Zjednoczone (czas górski)"),
        QStringLiteral("(GMT-6:00) Ameryka środkowa"),
        QStringLiteral("(GMT-5:00) Bogorta, Lima"),
        QStringLiteral("(GMT-4:00) Czas atlantycki"),
        QStringLiteral("(GMT-3:00) Brazylia"),
        QStringLiteral("(GMT-2:00) Środkowy Atlantyk"),
        QStringLiteral("(GMT-1:00) Azory"),
        QStringLiteral("(GMT) Czas uniwersalny"),
        QStringLiteral("(GMT+1:00) Polska,Węgry, Czechy, Słowacja"),
        QStringLiteral("(GMT+2:00) Grecja,Bialoruś"),
        QStringLiteral("(GMT+3:00) Kuwejt,Iran"),
        QStringLiteral("(GMT+4:00) Armenia"),
        QStringLiteral("(GMT+5:00) Jekaterinburg"),
        QStringLiteral("(GMT+6:00) Dakka"),
        QStringLiteral("(GMT+7:00) Hanoi"),
        QStringLiteral("(GMT+8:00) Singapur"),
        QStringLiteral("(GMT+9:00) Osaka,Tokio"),
        QStringLiteral("(GMT+10:00) Władywostok"),
        QStringLiteral("(GMT+11:00) Auckland"),
        QStringLiteral("(GMT+12:00) Fidżi "),
        QStringLiteral("(GMT+13:00) Nuku'alofa   "),
    };
    return texts;
}
