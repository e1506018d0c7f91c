#pragma once
// Small pieces shared by the list page's dialogs: named buttons, the bold
// headings over their lists and fields, the help button and a button row.
#include <QString>

#include <initializer_list>

class QBoxLayout;
class QDialog;
class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption);
// Opens the help page ("filter.htm") when pressed; named "SpeedButtonHelp".
QPushButton* MakeHelpButton(QWidget* parent, const char* page);
QLabel* MakeHeading(QWidget* parent, const char* name, const QString& caption);
// `left` buttons at the left edge, `right` ones at the right edge.
struct TOkCancel {
    QPushButton* ok;  // the default button; accepts the dialog
    QPushButton* cancel;
};
TOkCancel MakeOkCancel(QDialog* dialog, const char* okName, const QString& okCaption,
                       const char* cancelName);
// The whole body of a dialog that offers a list to choose from: a heading,
// the list (a double click chooses) and Ok and Cancel buttons.
QListWidget* MakeChoiceList(QDialog* dialog, const char* listName, const char* headingName,
                            const QString& heading, const char* okName, const char* cancelName);

// The Tab key visits the widgets in this order.
void SetTabOrder(std::initializer_list<QWidget*> widgets);
QBoxLayout* ButtonRow(std::initializer_list<QWidget*> left, std::initializer_list<QWidget*> right);
