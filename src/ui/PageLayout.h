#pragma once

class QVBoxLayout;
class QWidget;

// The column at the top left of a page into which its boxes go, one under the
// other; the rest of the page stays empty when the window grows.
QVBoxLayout* topLeftColumn(QWidget* page);
