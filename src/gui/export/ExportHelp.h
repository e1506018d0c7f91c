#pragma once
// The help buttons of the export windows: a page of the shipped help opened
// in the desktop's browser.  Without the page there is no button.
class QPushButton;
class QWidget;

QPushButton* MakeExportHelpButton(QWidget* parent, const char* page);
