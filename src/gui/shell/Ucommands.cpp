#include "gui/shell/Ucommands.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "core/FileSystem.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "gui/shell/Icons.h"

namespace {
QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
QString Q(const char* text) {
    return QString::fromUtf8(text);
}

QString NumberedName(const QString& prefix, int number) {
    return prefix + QString::number(number);
}
}  // namespace

bool RuleEnables(TEnableRule rule, const TCommandState& s) {
    const bool albumCurrent = s.listOpen && s.hasAlbumRows && s.albumCurrent;
    switch (rule) {
        case TEnableRule::Always:
            return true;
        case TEnableRule::SaveList:
            // Saving a new list asks for its name.
            return s.modified && (s.hasFileName || s.listOpen);
        case TEnableRule::ListOpen:
            return s.listOpen;
        case TEnableRule::Selection:
            return s.listOpen && s.selectionChosen;
        case TEnableRule::SelectionEdit:
            return s.listOpen && s.selectionChosen && s.selectionEditMode;
        case TEnableRule::Album:
            return albumCurrent;
        case TEnableRule::AlbumRows:
            return s.listOpen && s.hasAlbumRows;
        case TEnableRule::Track:
            return albumCurrent && s.trackCurrent;
        case TEnableRule::NotYet:
            return false;
    }
    return true;
}

TCommands::TCommands(QWidget* window) : QObject(window), window_(window) {
    setObjectName("Commands");
    MakeTableCommands();
    MakeNumberedCommands("ActionFileMRU", kRecentFileCommands, recentFiles_);
    MakeNumberedCommands("ActionEditLang", kLanguageCommands, languages_);
}

QAction* TCommands::AddAction(const QString& name, const QString& caption) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    // The hint is the caption without its accelerator mark, as a language
    // file's caption line sets it too.
    QString hint = Q(StripAmpersands(caption.toStdString()));
    action->setToolTip(hint);
    action->setStatusTip(hint);
    window_->addAction(action);
    byName_[name] = action;
    ordered_.push_back(action);
    return action;
}

void TCommands::MakeTableCommands() {
    for (const auto& info : CommandTable()) {
        QAction* action = AddAction(Q(info.name), Q(info.caption));
        byId_.push_back(action);
        if (*info.shortcut) action->setShortcut(QKeySequence(Q(info.shortcut)));
        action->setIcon(CommandIcon(info));
        action->setCheckable(info.check != TCheckKind::None);
        if (info.check == TCheckKind::SortOrder)
            connect(action, &QAction::triggered, this,
                    [this, action] { emit SortOrderChosen(action); });
    }
}

void TCommands::MakeNumberedCommands(const QString& prefix, int count,
                                     std::vector<QAction*>& made) {
    const bool languages = prefix == "ActionEditLang";
    for (int i = 1; i <= count; ++i) {
        QAction* action = AddAction(NumberedName(prefix, i), QString());
        made.push_back(action);
        action->setVisible(false);
        action->setCheckable(languages);
        if (languages)
            connect(action, &QAction::triggered, this, [this, i] { emit LanguageChosen(i); });
        else
            connect(action, &QAction::triggered, this, [this, i] { emit RecentFileChosen(i - 1); });
    }
}

QAction* TCommands::RecentFileAction(int index) const {
    return recentFiles_.at(static_cast<size_t>(index));
}

QAction* TCommands::LanguageAction(int position) const {
    return languages_.at(static_cast<size_t>(position - 1));
}

QAction* TCommands::Action(const QString& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

void TCommands::BuildMenuBar(QMenuBar* bar) {
    for (const auto& info : MenuTable()) {
        QMenu* menu = bar->addMenu(Q(info.englishCaption));
        menu->setObjectName(Q(info.name));
        FillMenu(menu, info);
        menus_.emplace_back(menu, &info);
    }
}

void TCommands::FillMenu(QMenu* menu, const TMenuInfo& info) {
    for (const char* entry : info.entries) {
        const std::string_view e(entry);
        if (e == kSeparator) {
            menu->addSeparator();
        } else if (e == kRecentFilesMarker) {
            for (QAction* action : recentFiles_) menu->addAction(action);
        } else if (e == kLanguagesMarker) {
            for (QAction* action : languages_) menu->addAction(action);
        } else {
            menu->addAction(Action(Q(entry)));
        }
    }
}

QMenu* TCommands::Menu(const QString& name) const {
    for (const auto& [menu, info] : menus_)
        if (name == info->name) return menu;
    return nullptr;
}

void TCommands::TranslateMenus() {
    for (const auto& [menu, info] : menus_)
        menu->setTitle(Q(LangText(info->name, info->englishCaption)));
}

void TCommands::ApplyStates(const TCommandState& state) {
    const auto& table = CommandTable();
    for (size_t i = 0; i < table.size(); ++i) {
        QAction* action = byId_[i];
        const bool enabled = RuleEnables(table[i].rule, state);
        action->setEnabled(enabled);
        // Leaving the selection edit mode is what disabling its command means.
        if (!enabled && action == Action(TCommandId::SelectionEdit)) action->setChecked(false);
    }
}

void TCommands::ShowRecentFiles(const std::vector<std::string>& recentFiles) {
    for (int i = 1; i <= kRecentFileCommands; ++i) {
        QAction* action = RecentFileAction(i - 1);
        const bool used = i <= static_cast<int>(recentFiles.size());
        action->setVisible(used);
        if (used) action->setText(Q(DupAmpersands(ExtractFileName(recentFiles[i - 1]))));
    }
}

void TCommands::ShowLanguages(const std::vector<std::string>& languages) {
    for (int i = 1; i <= kLanguageCommands; ++i) {
        QAction* action = LanguageAction(i);
        const bool used = i <= static_cast<int>(languages.size());
        action->setVisible(used);
        if (used) action->setText(Q(languages[i - 1]));
    }
}

void TCommands::CheckLanguage(int position, int count) {
    for (int i = 1; i <= std::min(count, kLanguageCommands); ++i)
        LanguageAction(i)->setChecked(false);
    if (position >= 1 && position <= kLanguageCommands) LanguageAction(position)->setChecked(true);
}

void TCommands::CheckSortOrder(const std::string& sortString) {
    const QString checked = "ActionList" + Q(sortString);
    const auto& table = CommandTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].check == TCheckKind::SortOrder) byId_[i]->setChecked(checked == table[i].name);
}
