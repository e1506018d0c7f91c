#pragma once
// Small pieces shared by the list page's dialogs: named buttons, the bold
// headings over their lists and fields, the help button and a button row.
#include <QString>

#include <initializer_list>

class QBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption);
// Opens the help page ("filter.htm") when pressed; named "SpeedButtonHelp".
QPushButton* MakeHelpButton(QWidget* parent, const char* page);
QLabel* MakeHeading(QWidget* parent, const char* name, const QString& caption);
// `left` buttons at the left edge, `right` ones at the right edge.
// The Tab key visits the widgets in this order.
void SetTabOrder(std::initializer_list<QWidget*> widgets);
QBoxLayout* ButtonRow(std::initializer_list<QWidget*> left, std::initializer_list<QWidget*> right);
