#include "gui/common/Prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

#include "core/Ulang.h"
#include "gui/common/Version.h"

namespace {
// The extension of a name filter such as "Mavelo (*.mvo)": "mvo".
QString SuffixOf(const QString& filter) {
    const int star = filter.indexOf("*.");
    if (star < 0) return {};
    QString suffix = filter.mid(star + 2);
    const int end = suffix.indexOf(QRegularExpression("[ ;)]"));
    return end < 0 ? suffix : suffix.left(end);
}

QString RunFileDialog(QWidget* parent, const QString& folder, const QString& filters, bool save) {
    QFileDialog dialog(parent, QString(), folder, filters);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(SuffixOf(filters));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString& filter) { dialog.setDefaultSuffix(SuffixOf(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}
}  // namespace

bool TPrompts::Confirm(const QString& text) {
    // The buttons speak the chosen language too.
    QMessageBox box(QMessageBox::Question, kProductName, text, QMessageBox::NoButton, parent_);
    QPushButton* yes =
        box.addButton(QString::fromStdString(LangText("Yes", "&Yes")), QMessageBox::YesRole);
    QPushButton* no =
        box.addButton(QString::fromStdString(LangText("No", "&No")), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

int TPrompts::RunModal(QDialog& dialog) {
    return dialog.exec();
}

void TPrompts::Inform(const QString& text) {
    QMessageBox::information(parent_, kProductName, text);
}

void TPrompts::Error(const QString& text) {
    QMessageBox::critical(parent_, kProductName, text);
}

void TPrompts::ErrorCaptioned(const QString& text, const QString& caption) {
    QMessageBox::critical(parent_, caption, text);
}

std::optional<QString> TPrompts::AskText(const QString& title, const QString& prompt,
                                         const QString& initial) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}

QString TPrompts::OpenFileName(const QString& folder, const QString& filters) {
    return RunFileDialog(parent_, folder, filters, false);
}

QString TPrompts::SaveFileName(const QString& folder, const QString& filters) {
    return RunFileDialog(parent_, folder, filters, true);
}
