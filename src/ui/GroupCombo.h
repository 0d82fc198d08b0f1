#pragma once

class Lookups;
class QComboBox;

// Replaces a drop-down list's items by the names of GroupList; selects item 0
// when asked (and there is one), otherwise no item.
void fillGroupCombo(QComboBox* combo, const Lookups& lookups, bool selectFirst);
