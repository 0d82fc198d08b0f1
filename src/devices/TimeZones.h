#pragma once

#include <QStringList>

// The time zones a location can have, as the operator picks them. A location
// stores the position of its zone; position p stands for GMT + (p - 12) hours.
const QStringList& TimeZoneTexts();
