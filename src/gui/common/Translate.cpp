#include "gui/common/Translate.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMetaProperty>

#include <algorithm>

#include "core/Ucommon.h"
#include "core/Ulang.h"

const std::vector<std::string>& TranslatedWindowNames() {
    static const std::vector<std::string> names{
        "FormMain",          "FormNewList",          "FormEdit",           "FormConfig",
        "FormBrowseOptions", "FormFilter",           "FormFilterAdd",      "FormSearch",
        "FormAbout",         "FormCoversManagement", "FormPictureReplace", "FormVersion",
        "FormTip",           "FormRemoteCommander",  "FormGetDirectory",   "FormRootDirs",
        "FormListBuilder",   "FormToolbars",         "FormExport",         "FormTemplate",
        "FormCmoChoose",     "FormFreeDB",           "FormBatch"};
    return names;
}

namespace {
bool SetQtProperty(QObject* target, const char* name, const QString& text) {
    const QMetaObject* meta = target->metaObject();
    const int index = meta->indexOfProperty(name);
    if (index < 0) return false;
    QMetaProperty property = meta->property(index);
    if (property.metaType().id() != QMetaType::QString || !property.isWritable()) return false;
    return property.write(target, text);
}

// A text property named without regard to case ("placeholdertext").
bool SetAnyTextProperty(QObject* target, const QString& name, const QString& text) {
    const QMetaObject* meta = target->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QString propertyName = QString::fromLatin1(meta->property(i).name());
        if (propertyName.compare(name, Qt::CaseInsensitive) == 0)
            return SetQtProperty(target, meta->property(i).name(), text);
    }
    return false;
}

bool SetCaption(QObject* target, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(target)) {
        action->setText(text);
        const QString hint = QString::fromStdString(StripAmpersands(text.toStdString()));
        action->setToolTip(hint);
        action->setStatusTip(hint);
        return true;
    }
    if (auto* widget = qobject_cast<QWidget*>(target); widget && widget->isWindow()) {
        widget->setWindowTitle(text);
        return true;
    }
    if (auto* box = qobject_cast<QGroupBox*>(target)) {
        box->setTitle(text);
        return true;
    }
    if (auto* menu = qobject_cast<QMenu*>(target)) {
        menu->setTitle(text);
        return true;
    }
    return SetQtProperty(target, "text", text) || SetQtProperty(target, "title", text) ||
           SetQtProperty(target, "windowTitle", text);
}

bool SetHint(QObject* target, const QString& text) {
    if (!SetQtProperty(target, "toolTip", text)) return false;
    SetQtProperty(target, "statusTip", text);
    return true;
}

bool SetText(QObject* target, const QString& text) {
    return SetQtProperty(target, "text", text) || SetQtProperty(target, "plainText", text);
}

void ApplyLine(QWidget* window, const LangLine& line,
               const std::function<void(QObject*)>& beforeChange) {
    QObject* target = window;
    const auto& elements = line.elements;
    for (size_t i = 1; i + 1 < elements.size(); ++i) {
        target = FindComponent(target, QString::fromStdString(elements[i]));
        if (!target) return;
    }
    if (beforeChange) beforeChange(target);
    SetTextProperty(target, QString::fromStdString(elements.back()),
                    QString::fromStdString(line.text));
}

// Every text property a language line can reach.
const char* const kTextProperties[] = {"text",      "title",     "windowTitle",    "toolTip",
                                       "statusTip", "plainText", "placeholderText"};
}  // namespace

bool SetTextProperty(QObject* target, const QString& property, const QString& text) {
    if (property.compare("Caption", Qt::CaseInsensitive) == 0) return SetCaption(target, text);
    if (property.compare("Hint", Qt::CaseInsensitive) == 0) return SetHint(target, text);
    if (property.compare("Text", Qt::CaseInsensitive) == 0) return SetText(target, text);
    return SetAnyTextProperty(target, property, text);
}

QObject* FindComponent(QObject* owner, const QString& name) {
    if (name.isEmpty()) return nullptr;
    for (QObject* child : owner->children()) {
        // Another window (a dialog the main window created) owns its own controls.
        if (auto* widget = qobject_cast<QWidget*>(child); widget && widget->isWindow()) continue;
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0) return child;
        if (QObject* found = FindComponent(child, name)) return found;
    }
    return nullptr;
}

std::vector<std::string> MenuLanguages() {
    std::vector<std::string> languages = LangList();
    const auto named = [](const std::string& name) { return LowerAscii(name) == "english"; };
    if (std::none_of(languages.begin(), languages.end(), named)) {
        const auto place = std::find_if(languages.begin(), languages.end(), [](const auto& name) {
            return LowerAscii(name) > "english";
        });
        languages.insert(place, "English");
    }
    return languages;
}

void TranslateForm(QWidget* window, const std::function<void(QObject*)>& beforeChange) {
    const std::string name = window->objectName().toStdString();
    for (const std::string& text : LangLines()) {
        const LangLine line = ParseLangLine(text);
        if (line.isComment || line.section != name || !line.hasEquals) continue;
        if (line.elements.size() < 2) continue;
        ApplyLine(window, line, beforeChange);
    }
}

void TTranslationRegistry::Register(QWidget* window) {
    if (!Find(window->objectName().toStdString())) windows_.emplace_back(window);
}

QWidget* TTranslationRegistry::Find(const std::string& name) const {
    for (const auto& window : windows_)
        if (window && window->objectName().toStdString() == name) return window;
    return nullptr;
}

std::vector<QWidget*> TTranslationRegistry::InOrder() const {
    std::vector<QWidget*> ordered;
    for (const auto& name : TranslatedWindowNames())
        if (QWidget* window = Find(name)) ordered.push_back(window);
    return ordered;
}

void TTranslationRegistry::KeepOriginal(QObject* object) {
    for (const auto& original : originals_)
        if (original.object == object) return;
    TOriginal original{object, {}};
    const QMetaObject* meta = object->metaObject();
    for (const char* name : kTextProperties) {
        const int index = meta->indexOfProperty(name);
        if (index >= 0 && meta->property(index).metaType().id() == QMetaType::QString)
            original.texts.emplace_back(name, meta->property(index).read(object).toString());
    }
    originals_.push_back(std::move(original));
}

void TTranslationRegistry::RestoreEnglish() {
    for (const auto& original : originals_)
        if (original.object)
            for (const auto& [name, text] : original.texts)
                original.object->setProperty(name.constData(), text);
    originals_.clear();
}

void TTranslationRegistry::TranslateAll() {
    for (QWidget* window : InOrder())
        TranslateForm(window, [this](QObject* object) { KeepOriginal(object); });
}
