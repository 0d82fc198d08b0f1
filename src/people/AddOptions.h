#pragma once

#include <QString>

// How AddUser and AddCard are asked to add when many people and cards are added in
// a row (the import). The defaults are those of the page's own buttons.
struct AddOptions {
    // Read the lists of people and cards again after the add. A caller adding many
    // reads them once at the end instead: nobody sees the lists in between.
    bool reloadLists = true;
    // How often the change counter is raised, inside the add's own unit (the
    // import counts each person and card twice).
    int counterBumps = 1;
    // The action the history records the add under; empty: the page's own button.
    QString action;
};
